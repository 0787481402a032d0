target_link_libraries(pelk_toolkit PUBLIC ZLIB::ZLIB)
