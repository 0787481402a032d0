// Image lists: each picture kept as its own colour pixels and, for lists made
// with ILC_MASK, which of them are transparent. Drawing composes the picture
// with the style asked for and lays it on the device context with the
// classic mask-and-invert pair of blits.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/controls/image_list_api.h"
#include "platform/window/image_api.h"
#include "platform/window/user_api.h"

namespace win {

struct ImageList__ {
    int cx = 16, cy = 16;
    UINT flags = 0;
    COLORREF background = CLR_NONE;
    struct Picture {
        std::vector<COLORREF> colour;
        std::vector<bool> transparent;
    };
    std::vector<Picture> pictures;
};

namespace {

std::unordered_map<HIMAGELIST, std::unique_ptr<ImageList__>>& lists() {
    static std::unordered_map<HIMAGELIST, std::unique_ptr<ImageList__>> m;
    return m;
}

ImageList__* find(HIMAGELIST h) {
    auto it = lists().find(h);
    return it == lists().end() ? nullptr : it->second.get();
}

bool masked(const ImageList__& l) {
    return (l.flags & ILC_MASK) != 0;
}

// The pixels of a bitmap as COLORREFs, row by row from the top.
struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> at;
};

Pixels readBitmap(HBITMAP bitmap) {
    Pixels p;
    BITMAP bm;
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    const bool mono = bm.bmBitsPixel == 1;
    const std::size_t stride =
        ((static_cast<std::size_t>(p.width) * (mono ? 1 : 32) + 15) / 16) * 2;
    std::vector<std::uint8_t> bytes(stride * static_cast<std::size_t>(p.height));
    GetBitmapBits(bitmap, static_cast<LONG>(bytes.size()), bytes.data());
    p.at.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
        const std::uint8_t* row = bytes.data() + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < p.width; ++x) {
            COLORREF c;
            if (mono)
                c = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? RGB(255, 255, 255) : RGB(0, 0, 0);
            else
                c = RGB(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
            p.at[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
                 static_cast<std::size_t>(x)] = c;
        }
    }
    return p;
}

HBITMAP makeBitmap(int w, int h, const std::vector<COLORREF>& px) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    for (std::size_t i = 0; i < px.size(); ++i) {
        bytes[4 * i] = GetBValue(px[i]);
        bytes[4 * i + 1] = GetGValue(px[i]);
        bytes[4 * i + 2] = GetRValue(px[i]);
    }
    return CreateBitmap(w, h, 1, 32, bytes.data());
}

// Cuts picture `k` out of a strip; `isTransparent` decides each pixel.
template <class Transparent>
ImageList__::Picture cut(const ImageList__& l, const Pixels& strip, int k,
                         Transparent isTransparent) {
    ImageList__::Picture pic;
    const std::size_t n = static_cast<std::size_t>(l.cx) * static_cast<std::size_t>(l.cy);
    pic.colour.assign(n, RGB(0, 0, 0));
    pic.transparent.assign(n, false);
    for (int y = 0; y < l.cy && y < strip.height; ++y)
        for (int x = 0; x < l.cx; ++x) {
            const int sx = k * l.cx + x;
            if (sx >= strip.width) break;
            const std::size_t s =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(strip.width) +
                static_cast<std::size_t>(sx);
            const std::size_t d = static_cast<std::size_t>(y) * static_cast<std::size_t>(l.cx) +
                                  static_cast<std::size_t>(x);
            pic.colour[d] = strip.at[s];
            pic.transparent[d] = masked(l) && isTransparent(s);
        }
    return pic;
}

int addStrip(ImageList__& l, const Pixels& strip, auto isTransparent) {
    const int n = strip.width / l.cx;
    if (n <= 0) return -1;
    const int first = static_cast<int>(l.pictures.size());
    for (int k = 0; k < n; ++k)
        l.pictures.push_back(cut(l, strip, k, isTransparent));
    return first;
}

COLORREF blend(COLORREF a, COLORREF b, int percentOfB) {
    auto mix = [&](int x, int y) { return (x * (100 - percentOfB) + y * percentOfB) / 100; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int) {
    if (cx <= 0 || cy <= 0) return nullptr;
    auto l = std::make_unique<ImageList__>();
    l->cx = cx;
    l->cy = cy;
    l->flags = flags;
    l->pictures.reserve(static_cast<std::size_t>(std::max(0, initial)));
    HIMAGELIST h = l.get();
    lists()[h] = std::move(l);
    return h;
}

BOOL ImageList_Destroy(HIMAGELIST h) {
    return lists().erase(h) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST h, HBITMAP image, HBITMAP mask) {
    ImageList__* l = find(h);
    const Pixels strip = readBitmap(image);
    if (!l || strip.at.empty()) return -1;
    const Pixels m = readBitmap(mask);
    return addStrip(*l, strip, [&](std::size_t s) {
        return s < m.at.size() && m.at[s] != RGB(0, 0, 0);  // set mask bits: transparent
    });
}

int ImageList_AddMasked(HIMAGELIST h, HBITMAP image, COLORREF maskColour) {
    ImageList__* l = find(h);
    const Pixels strip = readBitmap(image);
    if (!l || strip.at.empty()) return -1;
    return addStrip(*l, strip,
                    [&](std::size_t s) { return strip.at[s] == (maskColour & 0xFFFFFF); });
}

BOOL ImageList_Replace(HIMAGELIST h, int index, HBITMAP image, HBITMAP mask) {
    ImageList__* l = find(h);
    if (!l || index < 0 || index >= static_cast<int>(l->pictures.size())) return FALSE;
    const Pixels strip = readBitmap(image);
    if (strip.at.empty()) return FALSE;
    const Pixels m = readBitmap(mask);
    l->pictures[static_cast<std::size_t>(index)] = cut(
        *l, strip, 0, [&](std::size_t s) { return s < m.at.size() && m.at[s] != RGB(0, 0, 0); });
    return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST h, int index, HICON icon) {
    ImageList__* l = find(h);
    if (!l || !icon || index < -1 || index >= static_cast<int>(l->pictures.size())) return -1;
    // The icon drawn at the list's size: its colours (black where clear) and its mask.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, l->cx, l->cy);
    HBITMAP mask = CreateCompatibleBitmap(screen, l->cx, l->cy);
    HGDIOBJ old = SelectObject(mem, colour);
    const BOOL drawn = DrawIconEx(mem, 0, 0, icon, l->cx, l->cy, 0, nullptr, DI_IMAGE);
    SelectObject(mem, mask);
    DrawIconEx(mem, 0, 0, icon, l->cx, l->cy, 0, nullptr, DI_MASK);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    int result = -1;
    if (drawn) {
        const Pixels c = readBitmap(colour), m = readBitmap(mask);
        const UINT flags = l->flags;
        l->flags |= ILC_MASK;  // an icon keeps its shape even in a list without masks
        ImageList__::Picture pic =
            cut(*l, c, 0, [&](std::size_t s) { return m.at[s] != RGB(0, 0, 0); });
        l->flags = flags;
        if (!masked(*l)) pic.transparent.assign(pic.transparent.size(), false);
        if (index < 0) {
            l->pictures.push_back(std::move(pic));
            result = static_cast<int>(l->pictures.size()) - 1;
        } else {
            l->pictures[static_cast<std::size_t>(index)] = std::move(pic);
            result = index;
        }
    }
    DeleteObject(colour);
    DeleteObject(mask);
    return result;
}

BOOL ImageList_Remove(HIMAGELIST h, int index) {
    ImageList__* l = find(h);
    if (!l || index < -1 || index >= static_cast<int>(l->pictures.size())) return FALSE;
    if (index < 0)
        l->pictures.clear();
    else
        l->pictures.erase(l->pictures.begin() + index);
    return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST h, int index, HDC dc, int x, int y, int dx, int dy,
                      COLORREF background, COLORREF foreground, UINT style) {
    ImageList__* l = find(h);
    if (!l || !dc || index < 0 || index >= static_cast<int>(l->pictures.size())) return FALSE;
    const ImageList__::Picture& pic = l->pictures[static_cast<std::size_t>(index)];
    const int w = dx > 0 ? std::min(dx, l->cx) : l->cx, ht = dy > 0 ? std::min(dy, l->cy) : l->cy;
    if (background == CLR_DEFAULT) background = l->background;
    if (foreground == CLR_DEFAULT) foreground = GetSysColor(COLOR_HIGHLIGHT);
    const bool clear = (style & ILD_TRANSPARENT) || background == CLR_NONE;
    const int share = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
    std::vector<COLORREF> colour(static_cast<std::size_t>(w) * static_cast<std::size_t>(ht));
    std::vector<COLORREF> mask(colour.size());
    bool anyClear = false;
    for (int j = 0; j < ht; ++j)
        for (int i = 0; i < w; ++i) {
            const std::size_t s = static_cast<std::size_t>(j) * static_cast<std::size_t>(l->cx) +
                                  static_cast<std::size_t>(i);
            const std::size_t d = static_cast<std::size_t>(j) * static_cast<std::size_t>(w) +
                                  static_cast<std::size_t>(i);
            const bool transparent = pic.transparent[s];
            COLORREF c = transparent ? background : pic.colour[s];
            if (!transparent && share && foreground != CLR_NONE) c = blend(c, foreground, share);
            if (style & ILD_MASK) c = transparent ? RGB(255, 255, 255) : RGB(0, 0, 0);
            const bool hole = transparent && clear && !(style & ILD_MASK);
            anyClear = anyClear || hole;
            colour[d] = hole ? RGB(0, 0, 0) : (c & 0xFFFFFF);
            mask[d] = hole ? RGB(255, 255, 255) : RGB(0, 0, 0);
        }
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP cb = makeBitmap(w, ht, colour);
    HGDIOBJ old = SelectObject(mem, cb);
    if (anyClear) {
        HBITMAP mb = makeBitmap(w, ht, mask);
        SelectObject(mem, mb);
        BitBlt(dc, x, y, w, ht, mem, 0, 0, SRCAND);
        SelectObject(mem, cb);
        BitBlt(dc, x, y, w, ht, mem, 0, 0, SRCINVERT);
        SelectObject(mem, old);
        DeleteObject(mb);
    } else {
        BitBlt(dc, x, y, w, ht, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
    }
    DeleteObject(cb);
    DeleteDC(mem);
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST h, int index, HDC dc, int x, int y, UINT style) {
    return ImageList_DrawEx(h, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

int ImageList_GetImageCount(HIMAGELIST h) {
    const ImageList__* l = find(h);
    return l ? static_cast<int>(l->pictures.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST h, int* cx, int* cy) {
    const ImageList__* l = find(h);
    if (!l || !cx || !cy) return FALSE;
    *cx = l->cx;
    *cy = l->cy;
    return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST h, COLORREF colour) {
    ImageList__* l = find(h);
    if (!l) return CLR_NONE;
    const COLORREF before = l->background;
    l->background = colour;
    return before;
}

COLORREF ImageList_GetBkColor(HIMAGELIST h) {
    const ImageList__* l = find(h);
    return l ? l->background : CLR_NONE;
}

}  // namespace win
