# SPDX-License-Identifier: GPL-3.0-or-later
# Result list tests: one line per test executable.
ketrano_gtest(result_sort_test ${CMAKE_CURRENT_LIST_DIR}/result_sort_test.cpp)
target_link_libraries(result_sort_test PRIVATE Qt6::Test)
ketrano_qtest(file_icon_model_test ${CMAKE_CURRENT_LIST_DIR}/file_icon_model_test.cpp)
