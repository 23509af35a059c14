# Application shell tests.
ketrano_qtest(mainform_test ${CMAKE_CURRENT_LIST_DIR}/mainform_test.cpp)
add_test(NAME signal_close_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/signal_close_test.sh $<TARGET_FILE:ketrano>)
set_tests_properties(signal_close_test PROPERTIES ENVIRONMENT "TZ=UTC;LANG=C.UTF-8;LC_ALL=C.UTF-8")
add_test(NAME install_test
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR})
ketrano_qtest(mainform_results_test ${CMAKE_CURRENT_LIST_DIR}/mainform_results_test.cpp)
ketrano_qtest(unattended_run_test ${CMAKE_CURRENT_LIST_DIR}/unattended_run_test.cpp)
