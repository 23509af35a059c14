// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/result_row.h"

#include <vector>

// The order of result rows sorted ascending by one column (ResultListModel::Column):
// "Name", "Source", "Target" and "Status" by their text ignoring letter case, "Last Modified"
// by time and "size(KB)" by size. Rows that compare equal keep their relative order.
// Returns the old row numbers in their new order.
std::vector<int> sortedRowOrder(const ResultRows& rows, int column);
