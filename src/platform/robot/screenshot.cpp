#include "platform/robot/screenshot.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

#include "platform/window/window_state.h"

namespace win::robot {
namespace {

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

void chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    put32(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

}  // namespace

const Surface& screen() { return composeScreen(); }

bool writePng(const Surface& s, const RECT& areaIn, const std::string& path) {
    const RECT area = detail::intersectRect(areaIn, {0, 0, s.width, s.height});
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return false;
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<std::size_t>(h) * (1 + 3 * static_cast<std::size_t>(w)));
    for (int y = area.top; y < area.bottom; ++y) {
        raw.push_back(0);  // no filter
        for (int x = area.left; x < area.right; ++x) {
            const std::uint32_t p = s.at(x, y);
            raw.push_back(static_cast<unsigned char>(p >> 16));
            raw.push_back(static_cast<unsigned char>(p >> 8));
            raw.push_back(static_cast<unsigned char>(p));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) return false;
    packed.resize(packedSize);
    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    put32(header, static_cast<std::uint32_t>(w));
    put32(header, static_cast<std::uint32_t>(h));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    chunk(file, "IHDR", header);
    chunk(file, "IDAT", packed);
    chunk(file, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

bool saveScreenPng(const std::string& path) {
    const Surface& s = composeScreen();
    return writePng(s, {0, 0, s.width, s.height}, path);
}

bool saveWindowPng(HWND hwnd, const std::string& path) {
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return false;
    return writePng(composeScreen(), r, path);
}

}  // namespace win::robot
