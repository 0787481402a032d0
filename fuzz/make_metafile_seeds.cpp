// Writes the seed corpus of the metafile playback fuzzer: the same small
// drawing (lines, a filled polygon, an ellipse, text, a clip) recorded as an
// enhanced and as an old-style metafile, each behind its choice byte.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/metafile.h"

using namespace win;

namespace {

void draw(HDC dc) {
    HPEN pen = CreatePen(PS_DASH, 1, RGB(200, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 60, 40);
    HBRUSH brush = CreateSolidBrush(RGB(0, 90, 200));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    const POINT triangle[3] = {{10, 50}, {30, 10}, {50, 50}};
    Polygon(dc, triangle, 3);
    Ellipse(dc, 5, 5, 25, 25);
    IntersectClipRect(dc, 0, 0, 40, 60);
    TextOutA(dc, 4, 40, "Pelk", 4);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void put(const std::string& path, char choice, const std::vector<BYTE>& bits) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(choice)};
    bytes.insert(bytes.end(), bits.begin(), bits.end());
    if (!base::writeFile(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    const RECT frame{0, 0, 1600, 1600};
    HDC emf = CreateEnhMetaFileA(nullptr, nullptr, &frame, "seed\0\0");
    draw(emf);
    HENHMETAFILE e = CloseEnhMetaFile(emf);
    std::vector<BYTE> bits(GetEnhMetaFileBits(e, 0, nullptr));
    GetEnhMetaFileBits(e, static_cast<UINT>(bits.size()), bits.data());
    put(folder + "/enhanced", 0, bits);
    DeleteEnhMetaFile(e);

    HDC wmf = CreateMetaFileA(nullptr);
    draw(wmf);
    HMETAFILE w = CloseMetaFile(wmf);
    bits.assign(GetMetaFileBitsEx(w, 0, nullptr), 0);
    GetMetaFileBitsEx(w, static_cast<UINT>(bits.size()), bits.data());
    put(folder + "/old-style", 1, bits);
    DeleteMetaFile(w);
    return 0;
}
