# Scan tests: the engine (rules, real trees, the driver) and the window's Scan.
ketrano_gtest(scan_test ${CMAKE_CURRENT_LIST_DIR}/scan_test.cpp)
ketrano_qtest(mainform_scan_test ${CMAKE_CURRENT_LIST_DIR}/mainform_scan_test.cpp)
