# The Debian package of the whole project, made with `cpack -G DEB` in a
# tree configured for /usr (scripts/package.sh). One package holds the
# programs, the library with its development files, the man pages, the
# desktop entry and the udev rule: a dealer's machine and a developer's get
# the same thing.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${KT_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT
    "KT_SW_Utility maintainers <maintainers@users.noreply.c-seed-1e9f73ce.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "service tool for receipt printers: utility window, command line, emulator")
# The summary is the description's first line; cpack indents the rest and
# turns its empty line into the paragraph mark.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "KT_SW_Utility reads and changes the soft switches and language settings of
the maker's receipt printers over USB, serial, parallel and TCP, in one
window (KT_SW_Utility) or on the command line (ktsw), which also backs up,
restores and deploys settings and finds printers on the machine and the
network. kt-emulator plays a printer for developers and tests.

The package also holds the printer link library libKT4000 with its header,
pkg-config file and CMake package, man pages, bash completion and an
optional udev rule that gives the lp group access to the printers.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the binaries need, from dpkg-shlibdeps, and the desktop's
# opener that HELP starts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils")
# libKT4000.so.1: a shlibs file for packages built against it, and the
# ldconfig trigger (cpack itself only adds ldconfig calls to postinst and
# postrm).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
