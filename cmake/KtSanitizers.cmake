# KT_SANITIZE=address,undefined instruments every target of the build.
if(KT_SANITIZE)
  add_compile_options(-fsanitize=${KT_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${KT_SANITIZE})
endif()

# kt_fuzzer(name sources... LIBS libs...): a libFuzzer target.
function(kt_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
endfunction()
