#pragma once
// Reading BMP, PCX and PNG image files into packed colours (red + 256 x
// green + 65536 x blue), one word per pixel, top row first.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tk {

// Image kinds by their numbers in the graphics file kinds.
namespace image_kind {
inline constexpr int Clipboard = 0, Bmp = 1, Pcx = 2, Png = 15;
}

struct ImagePixelArray {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // width x height, row-major, top row first
    std::uint32_t at(int column, int row) const {
        return pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(column)];
    }
};

// Images of more pixels than this are refused as unsupported, so that a
// damaged size field never asks for a huge array; so are images of more
// than a million pixels with less than a byte of file for 1024 pixels,
// more than any of the three codings packs.
inline constexpr long long kMaxImagePixels = 1LL << 24;
bool PlausibleImageSize(long long width, long long height, std::size_t fileSize);

// The kind (image_kind, or -1) told by the first bytes of a file.
int ImageKindOf(const std::uint8_t* data, std::size_t size);

// Decodes the bytes of an image file of any of the three kinds. Returns 0,
// or the error number: 27 kind or variant not supported (or too large), 2
// data inconsistent with the header (a 256-colour PCX without its palette,
// PNG data that cannot be read), 1044 PNG data that does not inflate. Data
// that ends early leaves the pixels decoded so far and answers 0.
int DecodeImage(const std::uint8_t* data, std::size_t size, ImagePixelArray& image);
int DecodeBmp(const std::uint8_t* data, std::size_t size, ImagePixelArray& image);
int DecodePcx(const std::uint8_t* data, std::size_t size, ImagePixelArray& image);
int DecodePng(const std::uint8_t* data, std::size_t size, ImagePixelArray& image);

// Reads the whole file; false after an error that BinFileOpen or the read
// has reported.
bool ReadWholeFile(std::string_view name, std::vector<std::uint8_t>& bytes);

// Reads an image file; failures are reported under "GrLoadImageData".
void GrLoadImageData(std::string_view name, ImagePixelArray& image);

}  // namespace tk
