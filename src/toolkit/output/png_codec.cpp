#include "toolkit/output/png_codec.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "toolkit/output/image_loading.h"

namespace tk {

namespace {

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool ended = false;
    // The largest block libpng may take at once: a damaged chunk length must
    // not make it allocate more than a row or a chunk of a sound file needs.
    std::size_t largestBlock = 0;
};

png_voidp limitedAllocation(png_structp png, png_alloc_size_t size) {
    const auto* r = static_cast<const MemoryReader*>(png_get_mem_ptr(png));
    if (r && size > r->largestBlock) return nullptr;
    return std::malloc(size);
}

void limitedFree(png_structp, png_voidp block) {
    std::free(block);
}

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (r->size - r->at < count) {
        r->ended = true;
        png_error(png, "short data");
    }
    std::memcpy(out, r->data + r->at, count);
    r->at += count;
}

void writeToMemory(png_structp png, png_bytep data, png_size_t count) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void flushNothing(png_structp) {}

// Errors end the decoding through longjmp; neither they nor warnings are
// printed.
void quietWarning(png_structp, png_const_charp) {}
[[noreturn]] void quietError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// Colour types 2 (RGB), 3 (palette) and 6 (RGB with alpha), without
// interlacing, are the ones read.
int checkHeader(const std::uint8_t* data, std::size_t size) {
    if (size < 33) return 0;
    const int colourType = data[25], filter = data[27], interlace = data[28];
    if ((colourType != 2 && colourType != 3 && colourType != 6) || filter != 0 || interlace != 0)
        return 27;
    const long long w = readU32(data + 16), h = readU32(data + 20);
    if (!PlausibleImageSize(w, h, size)) return 27;
    return -1;
}

}  // namespace

int DecodePng(const std::uint8_t* data, std::size_t size, ImagePixelArray& image) {
    const int header = checkHeader(data, size);
    if (header >= 0) return header;
    // A row of the widest image the reader takes, at 8 bytes a pixel, or a
    // chunk of the size libpng is told to accept, whichever is larger.
    constexpr std::size_t kChunkLimit = std::size_t{1} << 24;
    const std::size_t widest = readU32(data + 16);
    MemoryReader reader{data, size};
    reader.largestBlock = std::max(kChunkLimit, 8 * widest + 4096);
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, quietError,
                                               quietWarning, &reader, limitedAllocation, limitedFree);
    if (!png) return 2;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row;
    // 0 before the rows, 1 while they are read.
    volatile int stage = 0;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return 2;
    }
    if (setjmp(png_jmpbuf(png))) {
        // Data that ends among the rows keeps what was decoded; rows that do
        // not inflate are a compression error; damaged chunks, or data that
        // ends before the first row, a read error.
        png_destroy_read_struct(&png, &info, nullptr);
        if (stage == 0) return 2;
        return reader.ended ? 0 : 1044;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
    png_set_user_limits(png, static_cast<png_uint_32>(kMaxImagePixels),
                        static_cast<png_uint_32>(kMaxImagePixels));
    png_set_chunk_malloc_max(png, kChunkLimit);
    png_set_chunk_cache_max(png, 1000);
    png_read_info(png, info);
    const int width = static_cast<int>(png_get_image_width(png, info));
    const int height = static_cast<int>(png_get_image_height(png, info));
    const int colourType = png_get_color_type(png, info);
    std::array<std::uint32_t, 256> colours{};
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &palette, &count) == PNG_INFO_PLTE)
            for (int k = 0; k < std::min(count, 256); ++k)
                colours[static_cast<std::size_t>(k)] =
                    static_cast<std::uint32_t>(palette[k].red) |
                    static_cast<std::uint32_t>(palette[k].green) << 8 |
                    static_cast<std::uint32_t>(palette[k].blue) << 16;
        png_set_packing(png);
    } else {
        png_set_strip_16(png);
        png_set_strip_alpha(png);
    }
    png_read_update_info(png, info);
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    row.resize(png_get_rowbytes(png, info));
    stage = 1;
    for (int y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        std::uint32_t* out = image.pixels.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (colourType == PNG_COLOR_TYPE_PALETTE) {
                out[x] = colours[row[static_cast<std::size_t>(x)]];
            } else {
                const png_byte* p = row.data() + 3 * static_cast<std::size_t>(x);
                out[x] = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                         static_cast<std::uint32_t>(p[2]) << 16;
            }
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return 0;
}

std::vector<std::uint8_t> EncodePng(const PngRows& image) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    if (!png) return {};
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, writeToMemory, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), image.bitDepth,
                 image.rgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::uint32_t c : image.palette)
        palette.push_back(png_color{static_cast<png_byte>(c & 255u),
                                    static_cast<png_byte>((c >> 8) & 255u),
                                    static_cast<png_byte>((c >> 16) & 255u)});
    if (!image.rgb) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    png_set_filter(png, 0, PNG_FILTER_NONE);
    png_write_info(png, info);
    for (const auto& row : image.rows)
        png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace tk
