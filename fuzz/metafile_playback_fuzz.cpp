// Plays arbitrary bytes as a metafile onto a small bitmap: the first byte
// chooses an enhanced (even) or an old-style (odd) metafile. Whatever the
// records say, playback must end without a memory error, an undefined
// operation or a huge allocation.

#include <cstddef>
#include <cstdint>

#include "platform/gdi/gdi.h"
#include "platform/gdi/metafile.h"

using namespace win;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool enhanced = (data[0] & 1) == 0;
    ++data;
    --size;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bm = CreateBitmap(64, 64, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bm);
    const RECT frame{0, 0, 64, 64};
    if (enhanced) {
        if (HENHMETAFILE m = SetEnhMetaFileBits(static_cast<UINT>(size), data)) {
            PlayEnhMetaFile(dc, m, &frame);
            DeleteEnhMetaFile(m);
        }
    } else if (HMETAFILE m = SetMetaFileBitsEx(static_cast<UINT>(size), data)) {
        PlayMetaFile(dc, m);
        DeleteMetaFile(m);
    }
    SelectObject(dc, old);
    DeleteObject(bm);
    DeleteDC(dc);
    return 0;
}
