# KT::zint: the barcode library that encodes the printer's barcodes and
# two-dimensional codes (Debian's libzint-dev ships no CMake or pkg-config
# files, so it is found by its header and library).
if(NOT TARGET KT::zint)
  find_path(KT_ZINT_INCLUDE_DIR zint.h REQUIRED)
  find_library(KT_ZINT_LIBRARY zint REQUIRED)
  add_library(KT::zint UNKNOWN IMPORTED)
  set_target_properties(KT::zint PROPERTIES IMPORTED_LOCATION "${KT_ZINT_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${KT_ZINT_INCLUDE_DIR}")
endif()
