# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of src/sync
ketrano_gtest(copy_file_test ${CMAKE_CURRENT_LIST_DIR}/copy_file_test.cpp)
ketrano_gtest(sync_test ${CMAKE_CURRENT_LIST_DIR}/sync_test.cpp)
ketrano_gtest(reliability_test ${CMAKE_CURRENT_LIST_DIR}/reliability_test.cpp)
ketrano_gtest(target_faults_test ${CMAKE_CURRENT_LIST_DIR}/target_faults_test.cpp)
ketrano_gtest(flush_order_test ${CMAKE_CURRENT_LIST_DIR}/flush_order_test.cpp)
ketrano_gtest(versions_test ${CMAKE_CURRENT_LIST_DIR}/versions_test.cpp)
ketrano_gtest(copy_ahead_test ${CMAKE_CURRENT_LIST_DIR}/copy_ahead_test.cpp)
