# SPDX-License-Identifier: GPL-3.0-or-later
# Scan tests: the rules, real trees and the driver.
ketrano_gtest(scan_test ${CMAKE_CURRENT_LIST_DIR}/scan_test.cpp)
