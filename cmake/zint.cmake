# zint (BSD licence), the Code 128 encoder of the printed labels and cards: found as a header and
# a library first (Debian's libzint-dev, or the Windows dependency prefix), pkg-config's zint.pc
# otherwise. Gives the imported target Zint::Zint.
find_path(ZINT_INCLUDE_DIR zint.h)
find_library(ZINT_LIBRARY NAMES zint libzint)
if(ZINT_INCLUDE_DIR AND ZINT_LIBRARY)
  add_library(Zint::Zint UNKNOWN IMPORTED)
  set_target_properties(Zint::Zint PROPERTIES IMPORTED_LOCATION "${ZINT_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${ZINT_INCLUDE_DIR}")
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(ZINT REQUIRED IMPORTED_TARGET GLOBAL zint)
  add_library(Zint::Zint ALIAS PkgConfig::ZINT)
endif()
