# SPDX-License-Identifier: GPL-3.0-or-later
# Tests of src/core: names as bytes, file systems, remembered roots, thread checks.
ketrano_gtest(core_test ${CMAKE_CURRENT_LIST_DIR}/name_bytes_test.cpp
              ${CMAKE_CURRENT_LIST_DIR}/file_system_test.cpp)
ketrano_gtest(thread_check_test ${CMAKE_CURRENT_LIST_DIR}/thread_check_test.cpp)
