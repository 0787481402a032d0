#pragma once
// What every fuzzer of an import needs: silent message boxes, a dialog that
// is never shown and view routines that do nothing, and a way to take a few
// choices from the front of the input.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/messages.h"

namespace fuzz_support {

inline void quiet() {
    static const bool once = [] {
        files::messageBoxes() = {[](std::string_view) {}, [](std::string_view) {},
                                 [](std::string_view) { return false; }};
        return true;
    }();
    (void)once;
}

// Takes the next byte of the input as a choice (0 when none is left).
inline int takeByte(const std::uint8_t*& data, std::size_t& size) {
    if (size == 0) return 0;
    const int b = *data;
    ++data;
    --size;
    return b;
}

}  // namespace fuzz_support
