# Scan tests: one executable per file.
ketrano_gtest(scan_wildcard_test ${CMAKE_CURRENT_LIST_DIR}/wildcard_test.cpp)
ketrano_gtest(scan_extension_filters_test ${CMAKE_CURRENT_LIST_DIR}/extension_filters_test.cpp)
ketrano_gtest(scan_enumeration_test ${CMAKE_CURRENT_LIST_DIR}/enumeration_test.cpp)
ketrano_gtest(scan_compare_sides_test ${CMAKE_CURRENT_LIST_DIR}/compare_sides_test.cpp)
ketrano_gtest(scan_driver_test ${CMAKE_CURRENT_LIST_DIR}/scan_driver_test.cpp)
ketrano_qtest(mainform_scan_test ${CMAKE_CURRENT_LIST_DIR}/mainform_scan_test.cpp)
