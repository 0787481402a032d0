#pragma once
// The status bar of the current window: parts whose widths are given in
// window units (one part may take the rest of the bar) and texts written
// into single parts, shown at once even while the program computes.

#include <optional>
#include <span>
#include <string_view>

namespace tk {

// Divides the bar into count parts (at most 255); -1 is the part that takes
// the rest. A count of 0 or less, or more than one -1, changes nothing.
// Styles: 0 no borders, 2 raised, anything else (and absent) sunken.
void StatusBarParts(int count, std::span<const int> widths,
                    std::optional<std::span<const int>> styles = {});
// Writes a text, without its trailing blanks, into part 1-255; other parts
// and windows without a status bar are ignored.
void StatusBarText(int part, std::string_view text);

}  // namespace tk
