#pragma once
// What the desktop shows of one top-level window: a copy of the pixels last
// sent, so that each presentation sends only the rectangles that changed
// since. Knows nothing of X, so it can be measured on its own.

#include <cstdint>
#include <vector>

#include "platform/window/surface.h"

namespace win::x11 {

class ShownPixels {
  public:
    // The rectangles of `now` that differ from what was shown (all of it
    // after a change of size or forget()), rows that changed together
    // joined into one rectangle; `now` counts as shown afterwards.
    std::vector<RECT> takeDamage(const Surface& now);
    // The desktop lost what it showed (an exposure): all of it goes again.
    void forget();

  private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
    bool valid_ = false;
};

}  // namespace win::x11
