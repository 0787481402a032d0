# ---- drawing interface (src/platform/gdi): fonts, printing to PDF ----------
find_package(PkgConfig REQUIRED)
pkg_check_modules(PELK_GDI_DEPS REQUIRED IMPORTED_TARGET freetype2 fontconfig cairo cairo-pdf cairo-ft)
target_link_libraries(pelk_platform PUBLIC PkgConfig::PELK_GDI_DEPS ZLIB::ZLIB)
# ---- end of the drawing interface block --------------------------------------

# --- window layer (windows, messages, menus, robot, X11 presenter) ---
find_package(X11 REQUIRED)
target_link_libraries(pelk_platform PUBLIC ZLIB::ZLIB X11::X11)
# --- end of window layer ---
