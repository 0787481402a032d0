# The window-layer tests use resources compiled by our own resource compiler.
if(COMMAND pelk_add_resources)
  pelk_add_resources(test_platform ${CMAKE_CURRENT_LIST_DIR}/window_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/window_test_ids.h
                     ${CMAKE_CURRENT_LIST_DIR}/fixtures/toolbar.bmp ${CMAKE_CURRENT_LIST_DIR}/fixtures/app.ico)
  target_compile_definitions(test_platform PRIVATE PELK_HAS_TEST_RESOURCES=1)
  pelk_add_resources(test_platform ${CMAKE_CURRENT_LIST_DIR}/dialog_test_resources.rc
                     ${CMAKE_CURRENT_LIST_DIR}/dialog_test_ids.h)
  pelk_add_resources(test_platform ${CMAKE_CURRENT_LIST_DIR}/common_dialog_test_resources.rc)
endif()
# Pictures of dialogs for a person to look at.
target_compile_definitions(test_platform PRIVATE PELK_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots")

# The X11 presenter under a virtual X server, when the machine has one.
add_executable(x11_probe ${CMAKE_CURRENT_LIST_DIR}/x11_probe_program.cc)
target_link_libraries(x11_probe PRIVATE pelk_platform)
find_program(PELK_XVFB_RUN xvfb-run)
find_program(PELK_XDOTOOL xdotool)
if(PELK_XVFB_RUN AND PELK_XDOTOOL)
  add_test(NAME platform.x11_presenter_click_and_key
           COMMAND ${PELK_XVFB_RUN} -a sh ${CMAKE_CURRENT_LIST_DIR}/x11_probe.sh $<TARGET_FILE:x11_probe>)
else()
  add_test(NAME platform.x11_presenter_click_and_key COMMAND sh -c "echo xvfb-run or xdotool missing; exit 77")
endif()
set_tests_properties(platform.x11_presenter_click_and_key PROPERTIES
  TIMEOUT 60 SKIP_RETURN_CODE 77 ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")

# The program's windows as windows of a desktop under a virtual X server
# started for the test: titles, places, menus, outside moves and sizes, a
# modal dialog and close messages, looked at through Xlib.
add_executable(x11_desktop_check ${CMAKE_CURRENT_LIST_DIR}/x11_desktop_check.cc)
target_link_libraries(x11_desktop_check PRIVATE X11::X11)
add_test(NAME platform.x11_desktop_windows
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/x11_desktop_test.sh $<TARGET_FILE:pelk-gm>
                 $<TARGET_FILE:x11_desktop_check> ${CMAKE_SOURCE_DIR}/examples ${CMAKE_BINARY_DIR}/screenshots)
# The same under a small window manager (its frames, moves, focus, maximise).
add_test(NAME platform.x11_desktop_windows_managed
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/x11_desktop_test.sh $<TARGET_FILE:pelk-gm>
                 $<TARGET_FILE:x11_desktop_check> ${CMAKE_SOURCE_DIR}/examples ${CMAKE_BINARY_DIR}/screenshots
                 1366x768 openbox)
set_tests_properties(platform.x11_desktop_windows platform.x11_desktop_windows_managed PROPERTIES
  TIMEOUT 300 SKIP_RETURN_CODE 77 ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
