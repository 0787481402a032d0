# The end-to-end tests run the program's main routine with its own resources.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_shell ${PELK_SHELL_RESOURCES})
endif()
target_compile_definitions(test_shell PRIVATE PELK_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
target_compile_definitions(test_shell PRIVATE
  PELK_HELP_DOCUMENT="${CMAKE_SOURCE_DIR}/src/shell/help/pelk-gm.html")
