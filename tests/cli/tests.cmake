# SPDX-License-Identifier: GPL-3.0-or-later
# ketrano-cli tests: scripts and programs that run the built ketrano-cli.
ketrano_gtest(cli_sync_test ${CMAKE_CURRENT_LIST_DIR}/cli_sync_test.cpp)
add_test(NAME cli_commands_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/cli_commands_test.sh $<TARGET_FILE:ketrano-cli>)
set_tests_properties(cli_commands_test PROPERTIES ENVIRONMENT "${KETRANO_TEST_ENV}")
ketrano_gtest(cli_scan_test ${CMAKE_CURRENT_LIST_DIR}/cli_scan_test.cpp)
add_test(NAME cli_completion_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/cli_completion_test.sh $<TARGET_FILE:ketrano-cli>
          ${CMAKE_SOURCE_DIR}/data)
set_tests_properties(cli_completion_test PROPERTIES ENVIRONMENT "${KETRANO_TEST_ENV}")
ketrano_gtest(cli_settings_test ${CMAKE_CURRENT_LIST_DIR}/cli_settings_test.cpp)
ketrano_gtest(cli_json_test ${CMAKE_CURRENT_LIST_DIR}/cli_json_test.cpp)
ketrano_gtest(cli_progress_test ${CMAKE_CURRENT_LIST_DIR}/cli_progress_test.cpp
              ${CMAKE_SOURCE_DIR}/src/cli/cli_progress.cpp)
ketrano_gtest(cli_terminal_test ${CMAKE_CURRENT_LIST_DIR}/cli_terminal_test.cpp)
target_link_libraries(cli_terminal_test PRIVATE util)
