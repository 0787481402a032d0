#pragma once
// The body shared by the image reader fuzzers: whatever the bytes, decoding
// ends with a known error number or with an image whose array matches its
// size, within the reader's size limit, without a memory error.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/output/image_loading.h"

namespace fuzz {

using Decoder = int (*)(const std::uint8_t*, std::size_t, tk::ImagePixelArray&);

inline int decodeChecked(Decoder decode, const std::uint8_t* data, std::size_t size) {
    tk::ImagePixelArray image;
    const int error = decode(data, size, image);
    if (error != 0 && error != 2 && error != 27 && error != 1044) std::abort();
    const long long pixels = static_cast<long long>(image.width) * image.height;
    if (pixels > tk::kMaxImagePixels) std::abort();
    if (!image.pixels.empty() && static_cast<long long>(image.pixels.size()) != pixels) std::abort();
    for (std::uint32_t p : image.pixels)
        if (p > 0xFFFFFFu) std::abort();
    return 0;
}

}  // namespace fuzz
