# SPDX-License-Identifier: GPL-3.0-or-later
# Settings store tests.
ketrano_gtest(registry_test ${CMAKE_CURRENT_LIST_DIR}/registry_test.cpp)
