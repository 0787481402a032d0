#pragma once
// The ink of a rendered page, read back with the toolkit's image reader.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "toolkit/output/image_loading.h"

namespace tk::test {

// The share of non-white pixels in each quarter of a rendered page (top
// left, top right, bottom left, bottom right), empty when the file cannot be
// read: the sample drawing leaves ink in all four.
inline std::vector<double> inkByQuarter(const std::filesystem::path& png) {
    std::ifstream in(png, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    ImagePixelArray image;
    if (bytes.empty() || DecodeImage(bytes.data(), bytes.size(), image) != 0) return {};
    std::vector<double> ink(4, 0.0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y) != 0xFFFFFF) ink[(y * 2 / image.height) * 2 + x * 2 / image.width] += 1;
    for (double& share : ink) share /= image.width * image.height / 4.0;
    return ink;
}

}  // namespace tk::test
