# The explorer: random journeys through the whole program, a test program of
# its own, since each journey runs in a child process forked from a parent
# that never runs the program itself.
file(GLOB explorer_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/explorer/*.cpp)
add_executable(test_explorer ${explorer_sources} ${CMAKE_SOURCE_DIR}/tests/files/zaf_fixtures.cpp)
target_link_libraries(test_explorer PRIVATE pelk_shell GTest::gtest GTest::gmock GTest::gtest_main)
target_include_directories(test_explorer PRIVATE ${CMAKE_SOURCE_DIR}/tests
                           ${CMAKE_SOURCE_DIR}/tests/files ${CMAKE_SOURCE_DIR}/tests/explorer)
target_compile_definitions(test_explorer PRIVATE
    PELK_SOURCE_DIR="${CMAKE_SOURCE_DIR}" PELK_BINARY_DIR="${CMAKE_BINARY_DIR}"
    PELK_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")
if(PELK_SANITIZE)
  target_compile_options(test_explorer PRIVATE -O0)
endif()
pelk_add_resources(test_explorer ${PELK_SHELL_RESOURCES})
gtest_discover_tests(test_explorer DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 900 LABELS each)
add_test(NAME explorer.fixed_seeds COMMAND test_explorer --gtest_brief=1)
set_tests_properties(explorer.fixed_seeds PROPERTIES TIMEOUT 1800 LABELS shard)
