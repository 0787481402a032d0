# The end-to-end tests run the program's main routine with its own resources.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_shell ${PELK_SHELL_RESOURCES})
endif()
target_compile_definitions(test_shell PRIVATE PELK_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
target_compile_definitions(test_shell PRIVATE
  PELK_HELP_DOCUMENT="${CMAKE_SOURCE_DIR}/src/shell/help/pelk-gm.html")
# Sibling binary files made to order for the import journeys.
target_sources(test_shell PRIVATE ${CMAKE_SOURCE_DIR}/tests/files/zaf_fixtures.cpp)
target_include_directories(test_shell PRIVATE ${CMAKE_SOURCE_DIR}/tests/files)
# The explorer's program uses the same resources and fixtures.
include(${CMAKE_SOURCE_DIR}/tests/explorer/tests.cmake)
