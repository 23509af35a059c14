# ketrano-cli tests: scripts and programs that run the built ketrano-cli.
ketrano_gtest(cli_sync_test ${CMAKE_CURRENT_LIST_DIR}/cli_sync_test.cpp)
target_compile_definitions(cli_sync_test PRIVATE KETRANO_CLI="$<TARGET_FILE:ketrano-cli>")
add_dependencies(cli_sync_test ketrano-cli)
add_test(NAME cli_commands_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/cli_commands_test.sh $<TARGET_FILE:ketrano-cli>)
set_tests_properties(cli_commands_test PROPERTIES ENVIRONMENT "${KETRANO_TEST_ENV}")
ketrano_gtest(cli_scan_test ${CMAKE_CURRENT_LIST_DIR}/cli_scan_test.cpp)
target_compile_definitions(cli_scan_test PRIVATE KETRANO_CLI="$<TARGET_FILE:ketrano-cli>")
add_dependencies(cli_scan_test ketrano-cli)
