// Icons (colour and mask images kept by the layer), cursors from resources,
// and bitmaps loaded into the drawing interface.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "platform/gdi/dib.h"
#include "platform/gdi/gdi.h"
#include "platform/message_box_icons.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "platform/window/user_api.h"
#include "platform/window/window_internal.h"

namespace win {
namespace detail {

struct Icon {
    Surface colour;
    std::vector<std::uint8_t> alpha;  // 255 opaque, 0 transparent
    bool cursor = false;
    bool shared = false;
    POINT hotSpot;
};

namespace {

std::map<HICON, std::unique_ptr<Icon>>& icons() {
    static std::map<HICON, std::unique_ptr<Icon>> m;
    return m;
}
std::uintptr_t nextIcon = 0x50010;
std::map<std::pair<std::string, int>, HANDLE> sharedImages;

HICON addIcon(std::unique_ptr<Icon> icon) {
    const HICON h = reinterpret_cast<HICON>(nextIcon);
    nextIcon += 4;
    icons()[h] = std::move(icon);
    return h;
}

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// An icon image: a DIB of twice the height, the colour rows then a one-bit
// mask (1 = transparent), both bottom-up.
std::unique_ptr<Icon> decodeIconImage(const std::uint8_t* data, std::size_t size) {
    if (size < 40 || le32(data) < 40) return nullptr;
    std::vector<std::uint8_t> header(data, data + std::min<std::size_t>(size, 40 + 256 * 4));
    const auto width = static_cast<int>(le32(data + 4));
    const int height = static_cast<int>(le32(data + 8)) / 2;
    if (width <= 0 || height <= 0 || width > 512 || height > 512) return nullptr;
    const std::uint32_t h = static_cast<std::uint32_t>(height);
    std::memcpy(header.data() + 8, &h, 4);  // the colour image alone
    gdi::DibFormat f;
    if (!gdi::readDibFormat(reinterpret_cast<const BITMAPINFO*>(header.data()), DIB_RGB_COLORS, f))
        return nullptr;
    const std::size_t bitsAt =
        le32(data) +
        gdi::dibColourTableBytes(*reinterpret_cast<const BITMAPINFOHEADER*>(header.data()));
    const std::size_t colourBytes = f.stride() * static_cast<std::size_t>(height);
    const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    if (bitsAt + colourBytes > size) return nullptr;
    auto icon = std::make_unique<Icon>();
    icon->colour.resize(width, height, 0);
    gdi::decodeDibRows(f, data + bitsAt, 0, height, icon->colour);
    icon->alpha.assign(static_cast<std::size_t>(width) * height, 255);
    const bool hasMask =
        bitsAt + colourBytes + maskStride * static_cast<std::size_t>(height) <= size;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t a = 255;
            if (f.bitCount == 32)
                a = data[bitsAt + static_cast<std::size_t>(height - 1 - y) * f.stride() +
                         4 * static_cast<std::size_t>(x) + 3];
            if (hasMask) {
                const std::uint8_t* row = data + bitsAt + colourBytes +
                                          static_cast<std::size_t>(height - 1 - y) * maskStride;
                if (row[x / 8] & (0x80 >> (x % 8))) a = 0;
            }
            icon->alpha[static_cast<std::size_t>(y) * width + x] = a;
        }
    return icon;
}

// Picks the entry of an icon directory nearest to the wanted size.
int bestEntry(const std::vector<std::pair<int, int>>& sizes, int cx, int cy) {
    int best = -1, bestScore = 1 << 30;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const int score = std::abs(sizes[i].first - cx) + std::abs(sizes[i].second - cy);
        if (score < bestScore) {
            bestScore = score;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::vector<std::uint8_t> readFile(LPCSTR path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

std::unique_ptr<Icon> loadIcon(HINSTANCE inst, LPCSTR name, bool cursor, int cx, int cy,
                               UINT flags) {
    std::vector<std::pair<int, int>> sizes;
    if (flags & LR_LOADFROMFILE) {
        const std::vector<std::uint8_t> file = readFile(name);
        if (file.size() < 6) return nullptr;
        const int count = le16(file.data() + 4);
        for (int i = 0; i < count && 6 + 16 * static_cast<std::size_t>(i + 1) <= file.size(); ++i) {
            const std::uint8_t* e = file.data() + 6 + 16 * i;
            sizes.emplace_back(e[0] ? e[0] : 256, e[1] ? e[1] : 256);
        }
        const int pick = bestEntry(sizes, cx ? cx : 32, cy ? cy : 32);
        if (pick < 0) return nullptr;
        const std::uint8_t* e = file.data() + 6 + 16 * pick;
        const std::uint32_t bytes = le32(e + 8), offset = le32(e + 12);
        if (offset + bytes > file.size()) return nullptr;
        auto icon = decodeIconImage(file.data() + offset, bytes);
        if (icon && cursor) icon->hotSpot = {le16(e + 4), le16(e + 6)};
        return icon;
    }
    HRSRC group =
        FindResourceA(inst, name, cursor ? MAKEINTRESOURCEA(RT_GROUP_CURSOR_ID) : RT_GROUP_ICON);
    if (!group) return nullptr;
    const auto* dir = static_cast<const std::uint8_t*>(LockResource(LoadResource(inst, group)));
    const DWORD dirSize = SizeofResource(inst, group);
    const int count = dirSize >= 6 ? le16(dir + 4) : 0;
    for (int i = 0; i < count && 6 + 14 * static_cast<std::size_t>(i + 1) <= dirSize; ++i) {
        const std::uint8_t* e = dir + 6 + 14 * i;
        sizes.emplace_back(e[0] ? e[0] : 256, e[1] ? e[1] : 256);
    }
    const int pick = bestEntry(sizes, cx ? cx : 32, cy ? cy : 32);
    if (pick < 0) return nullptr;
    const WORD id = le16(dir + 6 + 14 * pick + 12);
    HRSRC image = FindResourceA(inst, MAKEINTRESOURCEA(id), cursor ? RT_CURSOR : RT_ICON);
    if (!image) return nullptr;
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(inst, image)));
    const DWORD size = SizeofResource(inst, image);
    if (cursor) {
        // A cursor image starts with its hot spot.
        if (size < 4) return nullptr;
        auto icon = decodeIconImage(bytes + 4, size - 4);
        if (icon) icon->hotSpot = {le16(bytes), le16(bytes + 2)};
        return icon;
    }
    return decodeIconImage(bytes, size);
}

// The stock icons: drawn by the layer (message_box_icons.cpp), as no image
// of them may be copied.
std::unique_ptr<Icon> stockIcon(WORD id) {
    const IconPicture picture = systemIconPicture(id);
    auto icon = std::make_unique<Icon>();
    icon->colour.resize(IconPicture::kSize, IconPicture::kSize, 0);
    icon->colour.pixels = picture.colour;
    icon->alpha = picture.alpha;
    return icon;
}

Surface scaled(const Surface& s, int w, int h) {
    Surface out(w, h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.at(x, y) = s.at(x * s.width / w, y * s.height / h);
    return out;
}

std::uint32_t systemPixel(int index) {
    return pixelOf(GetSysColor(index));
}

HBITMAP bitmapFromSurface(const Surface& s) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = s.width;
    info.bmiHeader.biHeight = -s.height;  // top-down, as the surface
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) std::memcpy(bits, s.pixels.data(), s.pixels.size() * 4);
    return bmp;
}

HBITMAP loadBitmap(HINSTANCE inst, LPCSTR name, int cx, int cy, UINT flags) {
    std::vector<std::uint8_t> file;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    if (flags & LR_LOADFROMFILE) {
        file = readFile(name);
        if (file.size() < 14 + 40 || file[0] != 'B' || file[1] != 'M') return nullptr;
        data = file.data() + 14;
        size = file.size() - 14;
    } else {
        HRSRC r = FindResourceA(inst, name, RT_BITMAP);
        if (!r) return nullptr;
        data = static_cast<const std::uint8_t*>(LockResource(LoadResource(inst, r)));
        size = SizeofResource(inst, r);
    }
    gdi::DibFormat f;
    if (size < 40 ||
        !gdi::readDibFormat(reinterpret_cast<const BITMAPINFO*>(data), DIB_RGB_COLORS, f))
        return nullptr;
    const std::size_t bitsAt =
        le32(data) + gdi::dibColourTableBytes(*reinterpret_cast<const BITMAPINFOHEADER*>(data));
    if (bitsAt + f.stride() * static_cast<std::size_t>(f.height) > size) return nullptr;
    Surface s(f.width, f.height, 0);
    gdi::decodeDibRows(f, data + bitsAt, 0, f.height, s);
    if (flags & LR_LOADTRANSPARENT) {
        // The colour of the first pixel in the file's order stands for the background.
        const std::uint32_t key = s.at(0, f.topDown ? 0 : f.height - 1);
        const std::uint32_t replacement =
            systemPixel((flags & LR_LOADMAP3DCOLORS) ? COLOR_BTNFACE : COLOR_WINDOW);
        for (auto& p : s.pixels)
            if (p == key) p = replacement;
    }
    if (flags & LR_LOADMAP3DCOLORS) {
        // Greys of the classic scheme follow the system's 3-D colours.
        for (auto& p : s.pixels) {
            if (p == 0x808080)
                p = systemPixel(COLOR_BTNSHADOW);
            else if (p == 0xC0C0C0)
                p = systemPixel(COLOR_BTNFACE);
            else if (p == 0xDFDFDF)
                p = systemPixel(COLOR_3DLIGHT);
        }
    }
    if ((cx && cx != s.width) || (cy && cy != s.height))
        s = scaled(s, cx ? cx : s.width, cy ? cy : s.height);
    return bitmapFromSurface(s);
}

std::string keyOf(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
    std::string key(name);
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

}  // namespace

Icon* findIcon(HICON h) {
    const auto it = icons().find(h);
    return it == icons().end() ? nullptr : it->second.get();
}

namespace {
// Where the pixel at (i, j) of an icon scaled to w x h comes from, as an
// index into its colour and alpha.
std::size_t scaledIndex(const Icon& icon, int i, int j, int w, int h) {
    const int sx = i * icon.colour.width / w, sy = j * icon.colour.height / h;
    return static_cast<std::size_t>(sy) * icon.colour.width + sx;
}
}  // namespace

// Draws an icon straight onto a surface (frames of windows), scaled to w x h.
void paintIcon(Surface& s, const RECT& clip, HICON h, int x, int y, int w, int h2) {
    Icon* icon = findIcon(h);
    if (!icon || icon->colour.width == 0) return;
    for (int j = 0; j < h2; ++j)
        for (int i = 0; i < w; ++i) {
            const int px = x + i, py = y + j;
            if (!pointIn(clip, {px, py}) || !s.contains(px, py)) continue;
            const std::size_t k = scaledIndex(*icon, i, j, w, h2);
            if (icon->alpha[k] >= 128) s.at(px, py) = icon->colour.pixels[k];
        }
}

bool iconPixels(HICON h, int size, std::vector<std::uint32_t>& argb) {
    Icon* icon = findIcon(h);
    if (!icon || icon->colour.width == 0 || size <= 0) return false;
    argb.assign(static_cast<std::size_t>(size) * size, 0);
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const std::size_t k = scaledIndex(*icon, i, j, size, size);
            argb[static_cast<std::size_t>(j) * size + i] =
                (std::uint32_t{icon->alpha[k]} << 24) | (icon->colour.pixels[k] & 0xFFFFFF);
        }
    return true;
}

void resetImages() {
    icons().clear();
    sharedImages.clear();
}

}  // namespace detail

using namespace detail;

HANDLE LoadImageA(HINSTANCE inst, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    if (!name) return nullptr;
    const bool share = (flags & LR_SHARED) != 0;
    const auto key = std::make_pair(keyOf(name), static_cast<int>(type) * 100000 + cx * 1000 + cy);
    if (share)
        if (auto it = sharedImages.find(key); it != sharedImages.end()) return it->second;
    HANDLE result = nullptr;
    if (type == IMAGE_BITMAP) {
        result = loadBitmap(inst, name, cx, cy, flags);
    } else if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
        if (type == IMAGE_CURSOR && !inst && IS_INTRESOURCE(name))
            return LoadCursorA(nullptr, name);
        if ((flags & LR_DEFAULTSIZE) && !cx) cx = GetSystemMetrics(SM_CXICON);
        if ((flags & LR_DEFAULTSIZE) && !cy) cy = GetSystemMetrics(SM_CYICON);
        std::unique_ptr<Icon> icon = loadIcon(inst, name, type == IMAGE_CURSOR, cx, cy, flags);
        if (!icon) return nullptr;
        icon->cursor = type == IMAGE_CURSOR;
        icon->shared = share;
        if (cx && cy && (cx != icon->colour.width || cy != icon->colour.height)) {
            Surface alphaSurface(icon->colour.width, icon->colour.height, 0);
            for (std::size_t i = 0; i < icon->alpha.size(); ++i)
                alphaSurface.pixels[i] = icon->alpha[i];
            icon->colour = scaled(icon->colour, cx, cy);
            const Surface a = scaled(alphaSurface, cx, cy);
            icon->alpha.assign(a.pixels.begin(), a.pixels.end());
        }
        result = addIcon(std::move(icon));
    }
    if (share && result) sharedImages[key] = result;
    return result;
}

HICON LoadIconA(HINSTANCE inst, LPCSTR name) {
    if (!inst && IS_INTRESOURCE(name)) {
        const auto id = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name));
        if (id < IDI_APPLICATION_ID || id > IDI_ASTERISK_ID) return nullptr;
        const auto key = std::make_pair(keyOf(name), -1);
        if (auto it = sharedImages.find(key); it != sharedImages.end())
            return static_cast<HICON>(it->second);
        auto icon = stockIcon(id);
        icon->shared = true;
        const HICON h = addIcon(std::move(icon));
        sharedImages[key] = h;
        return h;
    }
    return static_cast<HICON>(LoadImageA(inst, name, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                         GetSystemMetrics(SM_CYICON), LR_SHARED));
}

HANDLE CopyImage(HANDLE image, UINT type, int cx, int cy, UINT flags) {
    HANDLE result = nullptr;
    if (type == IMAGE_ICON || type == IMAGE_CURSOR) {
        Icon* icon = findIcon(static_cast<HICON>(image));
        if (!icon) return nullptr;
        auto copy = std::make_unique<Icon>(*icon);
        copy->shared = false;
        const int w = cx ? cx : icon->colour.width, h = cy ? cy : icon->colour.height;
        if (w != icon->colour.width || h != icon->colour.height) {
            Surface alphaSurface(icon->colour.width, icon->colour.height, 0);
            for (std::size_t i = 0; i < icon->alpha.size(); ++i)
                alphaSurface.pixels[i] = icon->alpha[i];
            copy->colour = scaled(icon->colour, w, h);
            const Surface a = scaled(alphaSurface, w, h);
            copy->alpha.assign(a.pixels.begin(), a.pixels.end());
        }
        result = addIcon(std::move(copy));
        if ((flags & LR_COPYDELETEORG) && !icon->shared) DestroyIcon(static_cast<HICON>(image));
    } else if (type == IMAGE_BITMAP) {
        BITMAP bm;
        if (!GetObjectA(image, sizeof bm, &bm)) return nullptr;
        const int w = cx ? cx : bm.bmWidth, h = cy ? cy : bm.bmHeight;
        HDC src = CreateCompatibleDC(nullptr);
        HDC dst = CreateCompatibleDC(nullptr);
        Surface blank(w, h, 0);
        HBITMAP copy = bitmapFromSurface(blank);
        HGDIOBJ oldSrc = SelectObject(src, image);
        HGDIOBJ oldDst = SelectObject(dst, copy);
        StretchBlt(dst, 0, 0, w, h, src, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
        SelectObject(src, oldSrc);
        SelectObject(dst, oldDst);
        DeleteDC(src);
        DeleteDC(dst);
        result = copy;
        if (flags & LR_COPYDELETEORG) DeleteObject(image);
    }
    return result;
}

BOOL DestroyIcon(HICON icon) {
    Icon* i = findIcon(icon);
    if (!i) return FALSE;
    if (i->shared) return TRUE;  // shared images live as long as the program
    icons().erase(icon);
    return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) {
    return findIcon(cursor) ? DestroyIcon(cursor) : TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON h, int cx, int cy, UINT, HBRUSH, UINT flags) {
    Icon* icon = findIcon(h);
    if (!icon || !dc) return FALSE;
    const int w = icon->colour.width, ht = icon->colour.height;
    if (!cx) cx = w;
    if (!cy) cy = ht;
    if (!flags) flags = DI_NORMAL;
    // The classic way: the mask (white where transparent) ANDed in, then the
    // colour (black where transparent) XORed on top.
    Surface mask(w, ht, 0), colour(w, ht, 0);
    for (int j = 0; j < ht; ++j)
        for (int i = 0; i < w; ++i) {
            const bool opaque = icon->alpha[static_cast<std::size_t>(j) * w + i] >= 128;
            mask.at(i, j) = opaque ? 0x000000 : 0xFFFFFF;
            colour.at(i, j) = opaque ? icon->colour.at(i, j) : 0x000000;
        }
    HDC mem = CreateCompatibleDC(dc);
    if (flags & DI_MASK) {
        HBITMAP bmp = bitmapFromSurface(mask);
        HGDIOBJ old = SelectObject(mem, bmp);
        StretchBlt(dc, x, y, cx, cy, mem, 0, 0, w, ht, (flags & DI_IMAGE) ? SRCAND : SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
    }
    if (flags & DI_IMAGE) {
        HBITMAP bmp = bitmapFromSurface(colour);
        HGDIOBJ old = SelectObject(mem, bmp);
        StretchBlt(dc, x, y, cx, cy, mem, 0, 0, w, ht, (flags & DI_MASK) ? SRCINVERT : SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bmp);
    }
    DeleteDC(mem);
    return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    return DrawIconEx(dc, x, y, icon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0,
                      nullptr, DI_NORMAL);
}

}  // namespace win
