# Application shell tests.
ketrano_qtest(mainform_test ${CMAKE_CURRENT_LIST_DIR}/mainform_test.cpp)
add_test(NAME signal_close_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/signal_close_test.sh $<TARGET_FILE:ketrano>)
set_tests_properties(signal_close_test PROPERTIES ENVIRONMENT "${KETRANO_TEST_ENV}")
add_test(NAME install_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_COMMAND} ${CMAKE_CPACK_COMMAND}
          ${CMAKE_BINARY_DIR})
ketrano_qtest(mainform_scan_test ${CMAKE_CURRENT_LIST_DIR}/mainform_scan_test.cpp)
ketrano_qtest(mainform_results_test ${CMAKE_CURRENT_LIST_DIR}/mainform_results_test.cpp)
ketrano_qtest(unattended_run_test ${CMAKE_CURRENT_LIST_DIR}/unattended_run_test.cpp)
