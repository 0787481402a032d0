# The program itself, with its resources compiled by our resource compiler.
set(PELK_SHELL_RESOURCES
    ${CMAKE_SOURCE_DIR}/src/shell/resources/pelk-gm.rc
    ${CMAKE_SOURCE_DIR}/src/shell/resources/resource_ids.h
    ${CMAKE_SOURCE_DIR}/src/shell/resources/editing.rc
    ${CMAKE_SOURCE_DIR}/src/shell/resources/editing_ids.h
    ${CMAKE_SOURCE_DIR}/src/shell/resources/toolbar.bmp
    ${CMAKE_SOURCE_DIR}/src/shell/resources/pelk-gm.ico)
add_executable(pelk-gm ${CMAKE_SOURCE_DIR}/src/shell/main.cpp)
target_link_libraries(pelk-gm PRIVATE pelk_shell)
pelk_add_resources(pelk-gm ${PELK_SHELL_RESOURCES})
