#pragma once
// Comma-separated text files of grids: lines ended by CR LF, fields
// separated by commas, texts in double quotes with inner quotes doubled.

#include <optional>
#include <span>
#include <string_view>

namespace tk {

// flags: 1 no enclosing quotes, 2 write labels (a first line of column
// labels, a row label in front of every line).
void GrdSave(int field, std::string_view fileName, std::optional<int> startColumn = std::nullopt,
             std::optional<int> endColumn = std::nullopt,
             std::optional<int> startRow = std::nullopt, std::optional<int> endRow = std::nullopt,
             std::optional<int> flags = std::nullopt);
// grow = 1 lets the rows in use rise to take the file's lines; flags: 2
// read labels.
void GrdLoad(int field, std::string_view fileName, std::optional<int> grow = std::nullopt,
             std::optional<int> flags = std::nullopt);

// Doubles every double quote of the NUL-terminated text in place; the caller
// leaves room behind it. length is the room.
void CsvQuoteDouble(std::span<char> text);
// Within the text up to its last non-blank, every pair of double quotes
// becomes one; the freed end is blank-filled.
void CsvFieldUnquote(std::span<char> text);

}  // namespace tk
