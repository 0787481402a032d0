find_package(PNG REQUIRED)
target_link_libraries(pelk_toolkit PUBLIC ZLIB::ZLIB PNG::PNG)
