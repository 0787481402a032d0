// Writes the seed corpus of the image reader fuzzers: small images of every
// depth into the corpus folder, in the format its name ends with
// (corpus-png, corpus-bmp or corpus-pcx).

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "toolkit/output/image_writers.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    const std::string kind = folder.substr(folder.size() >= 3 ? folder.size() - 3 : 0);
    if (kind != "png" && kind != "bmp" && kind != "pcx") return 2;
    int serial = 0;
    for (int depth : {1, 4, 8, 24})
        for (int width : {1, 7, 16}) {
            tk::ImageToWrite image;
            image.width = width, image.height = 5, image.depth = depth;
            for (int k = 0; k < (depth == 24 ? 0 : 1 << depth); ++k)
                image.palette.push_back(static_cast<std::uint32_t>(k * 0x010305));
            image.pixel = [depth](int x, int y) {
                const std::uint32_t v = static_cast<std::uint32_t>(x * 3 + y * 11);
                return depth == 24 ? v * 0x0A0B0Cu & 0xFFFFFFu : v % (1u << depth);
            };
            const std::vector<std::uint8_t> bytes =
                kind == "png" ? tk::PngFileBytes(image)
                : kind == "bmp" ? tk::BmpFileBytes(image, depth == 4 || depth == 8)
                                : tk::PcxFileBytes(image);
            std::ofstream(folder + "/seed" + std::to_string(++serial) + "." + kind, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        }
    return 0;
}
