# The project's version and install layout, written once into a generated
# header (kt_build_info.h) that every program includes through the
# interface target kt_build_info.
#
# KT_PACKAGE_NAME is the Debian-style name used for the package and for
# share/doc/<name>, where the help file is installed.
set(KT_PACKAGE_NAME kt-sw-utility)
set(KT_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/${KT_PACKAGE_NAME})

# Relative paths stay right when the tree is installed under another
# prefix (cmake --install --prefix, a package root).
file(RELATIVE_PATH KT_LIBDIR_FROM_BINDIR /p/${CMAKE_INSTALL_BINDIR} /p/${CMAKE_INSTALL_LIBDIR})
file(RELATIVE_PATH KT_DOCDIR_FROM_BINDIR /p/${CMAKE_INSTALL_BINDIR} /p/${KT_INSTALL_DOCDIR})

configure_file(${CMAKE_CURRENT_LIST_DIR}/kt_build_info.h.in
               ${PROJECT_BINARY_DIR}/generated/kt_build_info.h @ONLY)
add_library(kt_build_info INTERFACE)
target_include_directories(kt_build_info INTERFACE $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/generated>)
