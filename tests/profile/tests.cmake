# SPDX-License-Identifier: GPL-3.0-or-later
# Profile tests.
ketrano_gtest(profile_test ${CMAKE_CURRENT_LIST_DIR}/profile_test.cpp)
ketrano_qtest(profile_window_test ${CMAKE_CURRENT_LIST_DIR}/profile_window_test.cpp)
