# --- window layer (windows, messages, menus, robot, X11 presenter) ---
target_link_libraries(pelk_platform PUBLIC ZLIB::ZLIB)
# --- end of window layer ---
