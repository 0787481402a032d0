#include "platform/x11/shown_pixels.h"

#include <algorithm>
#include <cstring>

namespace win::x11 {
namespace {

// The first and one past the last column where two rows differ; first ==
// last when they are equal.
void changedColumns(const std::uint32_t* a, const std::uint32_t* b, int width, int& first,
                    int& last) {
    first = last = 0;
    if (std::memcmp(a, b, static_cast<std::size_t>(width) * 4) == 0) return;
    int l = 0, r = width;
    while (l < r && a[l] == b[l]) ++l;
    while (r > l && a[r - 1] == b[r - 1]) --r;
    first = l;
    last = r;
}

}  // namespace

std::vector<RECT> ShownPixels::takeDamage(const Surface& now) {
    std::vector<RECT> damage;
    if (now.width <= 0 || now.height <= 0) return damage;
    if (!valid_ || now.width != width_ || now.height != height_) {
        width_ = now.width;
        height_ = now.height;
        pixels_ = now.pixels;
        valid_ = true;
        damage.push_back({0, 0, width_, height_});
        return damage;
    }
    RECT band{};
    bool open = false;
    for (int y = 0; y < height_; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * width_;
        int first = 0, last = 0;
        changedColumns(now.pixels.data() + row, pixels_.data() + row, width_, first, last);
        if (first == last) {
            if (open) damage.push_back(band);
            open = false;
            continue;
        }
        std::memcpy(pixels_.data() + row + first, now.pixels.data() + row + first,
                    static_cast<std::size_t>(last - first) * 4);
        if (!open) {
            band = {first, y, last, y + 1};
            open = true;
        } else {
            band.left = std::min<LONG>(band.left, first);
            band.right = std::max<LONG>(band.right, last);
            band.bottom = y + 1;
        }
    }
    if (open) damage.push_back(band);
    return damage;
}

void ShownPixels::forget() {
    valid_ = false;
}

}  // namespace win::x11
