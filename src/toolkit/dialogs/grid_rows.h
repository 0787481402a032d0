#pragma once
// Whole-row grid routines: find a text, label a row, delete and insert rows.
// Rows and columns count from 1; optional arguments may be absent.

#include <optional>
#include <string_view>

namespace tk {

// flags: 1 continue after the current cell, 2 ignore case, 4 search number
// columns too. found: true when the current cell moved to a match.
void GrdFind(int field, std::string_view text, std::optional<int> flags = std::nullopt,
             bool* found = nullptr, std::optional<int> startColumn = std::nullopt,
             std::optional<int> endColumn = std::nullopt,
             std::optional<int> startRow = std::nullopt, std::optional<int> endRow = std::nullopt);
void GrdLabelRow(int field, int row, std::string_view label);
void GrdDeleteRows(int field, int row, std::optional<int> count = std::nullopt,
                   std::optional<int> shrink = std::nullopt,
                   std::optional<int> moveLabels = std::nullopt);
void GrdInsertRows(int field, int row, std::optional<int> count = std::nullopt,
                   std::optional<int> grow = std::nullopt,
                   std::optional<int> moveLabels = std::nullopt);

// The search of one column: the first row from firstRow to lastRow (from 1)
// whose cell text, blank-padded to cellLength, holds the text; -1 when none.
void GridFindInColumn(int field, int column, std::string_view text, int firstRow, int lastRow,
                      int cellLength, bool ignoreCase, int& foundRow);

}  // namespace tk
