# --- window layer (windows, messages, menus, robot, X11 presenter) ---
find_package(X11 REQUIRED)
target_link_libraries(pelk_platform PUBLIC ZLIB::ZLIB X11::X11)
# --- end of window layer ---
