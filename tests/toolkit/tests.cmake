# The toolkit window tests load a menu and accelerators from resources
# compiled by our own resource compiler.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_toolkit ${CMAKE_CURRENT_LIST_DIR}/window_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/window_test_ids.h)
endif()

# The dialog manager's tests load dialog templates with their settings texts.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_toolkit ${CMAKE_CURRENT_LIST_DIR}/dialog_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/dialog_test_ids.h)
endif()

# The grid tests define columns from a template dialog.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_toolkit ${CMAKE_CURRENT_LIST_DIR}/grid_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/grid_test_ids.h)
endif()
