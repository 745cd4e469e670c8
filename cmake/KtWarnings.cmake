# kt_warnings(target): the project's warning set, applied per target so that
# third-party code found through find_package is not affected.
function(kt_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wformat=2 -Wnull-dereference)
endfunction()
