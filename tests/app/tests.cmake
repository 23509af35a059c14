# SPDX-License-Identifier: GPL-3.0-or-later
# Application shell tests.
ketrano_qtest(window_road_test ${CMAKE_CURRENT_LIST_DIR}/window_road_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_driver.cpp)
add_test(NAME program_start_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/program_start_test.sh $<TARGET_FILE:ketrano>)
set_tests_properties(program_start_test PROPERTIES ENVIRONMENT
  "${KETRANO_TEST_ENV};DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent")
add_test(NAME install_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR}
          ${PROJECT_SOURCE_DIR})
ketrano_qtest(mainform_results_test ${CMAKE_CURRENT_LIST_DIR}/mainform_results_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_driver.cpp)
ketrano_qtest(unattended_run_test ${CMAKE_CURRENT_LIST_DIR}/unattended_run_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_driver.cpp)
ketrano_qtest(mainform_layout_test ${CMAKE_CURRENT_LIST_DIR}/mainform_layout_test.cpp)
ketrano_qtest(desktop_notice_test ${CMAKE_CURRENT_LIST_DIR}/desktop_notice_test.cpp)
# What a screen reader finds in the window, through the accessibility bus on an X server of
# its own. The system's Python, which has the Debian package pyatspi.
find_program(KETRANO_SYSTEM_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(KETRANO_SYSTEM_PYTHON python3)
add_test(NAME accessibility_test COMMAND ${KETRANO_SYSTEM_PYTHON}
  ${CMAKE_CURRENT_LIST_DIR}/accessibility_test.py $<TARGET_FILE:ketrano>)
set_tests_properties(accessibility_test PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 180)
ketrano_qtest(front_ends_test ${CMAKE_CURRENT_LIST_DIR}/front_ends_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_driver.cpp)
ketrano_qtest(run_progress_test ${CMAKE_CURRENT_LIST_DIR}/run_progress_test.cpp)
# The window in German: the locale's translation, Qt's own, and every visible text translated.
ketrano_qtest(translation_test ${CMAKE_CURRENT_LIST_DIR}/translation_test.cpp)
target_compile_definitions(translation_test PRIVATE
  KETRANO_TS_FILE="${PROJECT_SOURCE_DIR}/translations/ketrano_de.ts")
set_property(TEST translation_test APPEND PROPERTY ENVIRONMENT
  "LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8;LANGUAGE=de")
