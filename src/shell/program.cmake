# The program itself, with its resources compiled by our resource compiler.
set(PELK_SHELL_RESOURCES
    ${CMAKE_SOURCE_DIR}/src/shell/resources/pelk-gm.rc
    ${CMAKE_SOURCE_DIR}/src/shell/resources/resource_ids.h
    ${CMAKE_SOURCE_DIR}/src/shell/resources/editing.rc
    ${CMAKE_SOURCE_DIR}/src/shell/resources/editing_ids.h
    ${CMAKE_SOURCE_DIR}/src/views/view_properties_fields.h
    ${CMAKE_SOURCE_DIR}/src/shell/resources/toolbar.bmp
    ${CMAKE_SOURCE_DIR}/src/shell/resources/profile_toolbar.bmp
    ${CMAKE_SOURCE_DIR}/src/shell/resources/pelk-gm.ico)
add_executable(pelk-gm ${CMAKE_SOURCE_DIR}/src/shell/main.cpp)
target_link_libraries(pelk-gm PRIVATE pelk_shell)
pelk_add_resources(pelk-gm ${PELK_SHELL_RESOURCES})

# The help document goes beside the program, where the help command looks.
set(PELK_HELP_DOCUMENT ${CMAKE_SOURCE_DIR}/src/shell/help/pelk-gm.html)
add_custom_command(TARGET pelk-gm POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PELK_HELP_DOCUMENT}
          $<TARGET_FILE_DIR:pelk-gm>/pelk-gm.html)
install(TARGETS pelk-gm RUNTIME DESTINATION bin)
install(FILES ${PELK_HELP_DOCUMENT} DESTINATION bin)
