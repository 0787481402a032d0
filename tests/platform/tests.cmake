# The window-layer tests use resources compiled by our own resource compiler.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_platform ${CMAKE_CURRENT_LIST_DIR}/window_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/window_test_ids.h)
  target_compile_definitions(test_platform PRIVATE PELK_HAS_TEST_RESOURCES=1)
endif()
