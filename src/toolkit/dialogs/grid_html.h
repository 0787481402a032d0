#pragma once
// A rectangular range of a grid as an HTML table, optionally inside a whole
// document with a title and a background colour.

#include <optional>
#include <string_view>

namespace tk {

// flags: 1 table only, 2 centre title and table, 4 check boxes as Y/N,
// 8 no cell colours. background is a packed RGB colour.
void GrdSaveHTML(int field, std::string_view fileName,
                 std::optional<int> startColumn = std::nullopt,
                 std::optional<int> endColumn = std::nullopt,
                 std::optional<int> startRow = std::nullopt,
                 std::optional<int> endRow = std::nullopt, std::optional<int> flags = std::nullopt,
                 std::optional<std::string_view> title = std::nullopt,
                 std::optional<int> border = std::nullopt,
                 std::optional<int> background = std::nullopt);

}  // namespace tk
