# kt_gtest(target [WRAPPER cmd...] [LABELS l...])
# Registers every test of a GoogleTest executable with CTest. WRAPPER runs
# the executable through a launcher (umockdev-wrapper for the USB testbed).
function(kt_gtest target)
  cmake_parse_arguments(T "" "" "WRAPPER;LABELS" ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
  kt_warnings(${target})
  if(T_WRAPPER)
    # One CTest entry per executable: discovery would run it outside the
    # launcher. gtest prints every case; a failing case fails the entry.
    add_test(NAME ${target} COMMAND ${T_WRAPPER} $<TARGET_FILE:${target}>)
    set_tests_properties(${target} PROPERTIES TIMEOUT 300 LABELS "${T_LABELS}")
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT 120 LABELS "${T_LABELS}")
  endif()
endfunction()
