# The toolkit's own resources (the grid editor's dialog templates) are
# compiled once and linked into every program that links the toolkit, so that
# their registration is never dropped from the static library.
add_library(pelk_toolkit_resources OBJECT)
pelk_add_resources(pelk_toolkit_resources
    ${CMAKE_SOURCE_DIR}/src/toolkit/editors/resources/grid_editor_dialogs.rc
    ${CMAKE_SOURCE_DIR}/src/toolkit/editors/resources/grid_editor_ids.h)
target_link_libraries(pelk_toolkit_resources PRIVATE pelk_platform)
target_link_libraries(pelk_toolkit INTERFACE $<TARGET_OBJECTS:pelk_toolkit_resources>)
