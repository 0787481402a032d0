#include "toolkit/core/status_bar.h"

#include <algorithm>
#include <string>

#include "toolkit/core/text_args.h"
#include "toolkit/core/window_classes.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_units.h"

namespace tk {
namespace {

constexpr int kMaxParts = 255;
constexpr int kRestPart = -1;
constexpr int kSunken = 1;

}  // namespace

void StatusBarParts(int count, std::span<const int> widths,
                    std::optional<std::span<const int>> styles) {
    if (count <= 0) return;
    count = std::min({count, kMaxParts, static_cast<int>(widths.size())});
    const auto used = widths.first(static_cast<std::size_t>(count));
    if (std::count(used.begin(), used.end(), kRestPart) > 1) return;
    WindowSystem& w = windowSystem();
    for (int i = 0; i < count; ++i) {
        const int units = used[static_cast<std::size_t>(i)];
        const int pixels = units == kRestPart ? kRestPart : pixelsFromUnits(units, w.CurrentWidth);
        int style = kSunken;
        if (styles && static_cast<std::size_t>(i) < styles->size())
            style = (*styles)[static_cast<std::size_t>(i)];
        StatusBarPartSet(i + 1, pixels, style);
    }
    w.slots[w.CurrentSlot].statusPartCount = count;
    StatusBarPartsApply(count);
}

void StatusBarText(int part, std::string_view text) {
    if (part < 1 || part > kMaxParts) return;
    StatusBarPartTextSet(part, std::string(trimRight(text)));
}

}  // namespace tk
