# The toolkit window tests load a menu and accelerators from resources
# compiled by our own resource compiler.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_toolkit ${CMAKE_CURRENT_LIST_DIR}/window_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/window_test_ids.h)
endif()
# The menu, toolbar and status-bar tests' resources, with a toolbar picture.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_toolkit ${CMAKE_CURRENT_LIST_DIR}/menu_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/menu_test_ids.h
                     ${CMAKE_CURRENT_LIST_DIR}/fixtures/menu_toolbar.bmp)
endif()
target_compile_definitions(test_toolkit PRIVATE PELK_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")

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

# The grid editor tests copy a grid field of a dialog.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_toolkit ${CMAKE_CURRENT_LIST_DIR}/grid_editor_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/grid_editor_test_ids.h)
endif()
