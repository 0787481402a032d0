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

# An installation in the usual places: the program in bin, its help document
# and the example survey in share/pelk-gm (where help looks beside bin), and
# the desktop's menu entry and icon.
include(GNUInstallDirs)
install(TARGETS pelk-gm RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PELK_HELP_DOCUMENT} DESTINATION ${CMAKE_INSTALL_DATADIR}/pelk-gm)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/pelk-gm/examples)
install(FILES ${CMAKE_SOURCE_DIR}/src/shell/desktop/pelk-gm.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/src/shell/desktop/pelk-gm.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

# The installation checked as a user meets it: installed into a fresh prefix,
# started from "/" with a home of its own.
if(PELK_TESTS)
  add_test(NAME install.layout_and_start
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/installation_test.sh
                   ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/screenshots)
  set_tests_properties(install.layout_and_start PROPERTIES TIMEOUT 120 LABELS install)
endif()
