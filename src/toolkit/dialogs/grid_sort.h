#pragma once
// Sorting the rows of a grid by one column, in place, and exchanging rows.

#include <optional>

namespace tk {

// flags: 1 descending, 2 ignore case, 4 row labels move with their rows.
// Rows and columns from 1; the row range is cut to the rows in use.
void GrdSort(int field, int column, std::optional<int> flags = std::nullopt,
             std::optional<int> startRow = std::nullopt, std::optional<int> endRow = std::nullopt);
// Rows from 0, unchecked beyond the allocated rows (refused there).
void GridSwapRows(int field, int rowA, int rowB, bool swapLabels);

}  // namespace tk
