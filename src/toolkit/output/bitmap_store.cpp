#include "toolkit/output/bitmap_store.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/window/image_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/screen_driver.h"
#include "toolkit/output/bitmap_viewer.h"
#include "toolkit/output/image_transfer.h"

namespace tk {

namespace {

struct BitmapStore {
    std::array<BitmapEntry, kBitmapSlots> slots{};
    win::DWORD transferMode = win::SRCCOPY;
    int targetIndex = -1;  // the slot that is the drawing surface
    win::HDC targetDC = nullptr;
    win::HGDIOBJ targetReplaced = nullptr;
};

BitmapStore& store() {
    static BitmapStore s;
    return s;
}

// The current output window's context, from which bitmaps and memory
// contexts are made; the screen's while no window is open.
class ReferenceDC {
  public:
    ReferenceDC() : dc_(windowSystem().ClientDC) {
        if (!dc_) dc_ = win::GetDC(nullptr), owned_ = true;
    }
    ~ReferenceDC() {
        if (owned_) win::ReleaseDC(nullptr, dc_);
    }
    ReferenceDC(const ReferenceDC&) = delete;
    ReferenceDC& operator=(const ReferenceDC&) = delete;
    win::HDC get() const { return dc_; }

  private:
    win::HDC dc_;
    bool owned_ = false;
};

// A memory context holding a bitmap for the length of one operation (the
// drawing surface itself when the bitmap is the target).
class BitmapDC {
  public:
    explicit BitmapDC(int index) {
        BitmapStore& s = store();
        if (index == s.targetIndex && s.targetDC) {
            dc_ = s.targetDC;
            return;
        }
        ReferenceDC reference;
        dc_ = win::CreateCompatibleDC(reference.get());
        owned_ = true;
        replaced_ = win::SelectObject(dc_, s.slots[static_cast<std::size_t>(index)].handle);
        if (win::HPALETTE p = windowSystem().Palette) win::SelectPalette(dc_, p, 0);
    }
    ~BitmapDC() {
        if (!owned_) return;
        win::SelectObject(dc_, replaced_);
        win::DeleteDC(dc_);
    }
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;
    win::HDC get() const { return dc_; }
    bool selected() const { return !owned_ || (replaced_ && replaced_ != win::HGDI_ERROR); }

  private:
    win::HDC dc_ = nullptr;
    win::HGDIOBJ replaced_ = nullptr;
    bool owned_ = false;
};

bool inUse(int index) {
    const BitmapEntry* e = bitmapSlot(index);
    return e && e->handle;
}

// A colour as the store writes it: the nearest palette entry with the
// toolkit's palette, else the nearest colour the device shows.
win::COLORREF mapped(win::HDC dc, std::int32_t colour) {
    const auto c = static_cast<win::COLORREF>(colour) & 0xFFFFFFu;
    if (win::HPALETTE p = windowSystem().Palette)
        return win::PALETTEINDEX(static_cast<win::WORD>(win::GetNearestPaletteIndex(p, c)));
    return win::GetNearestColor(dc, c);
}

win::HDC surfaceDC() {
    return drawingSurface().dc;
}

// The whole bitmap as packed colours, top row first, and back.
std::vector<std::uint32_t> readPixels(win::HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * height);
    win::BITMAPINFO info = Dib32Header(width, height);
    ReferenceDC reference;
    win::GetDIBits(reference.get(), bitmap, 0, static_cast<win::UINT>(height), bits.data(), &info,
                   win::DIB_RGB_COLORS);
    for (std::uint32_t& p : bits)
        p = SwapRedBlue(p);
    return bits;
}

void writePixels(win::HBITMAP bitmap, int width, int height, std::vector<std::uint32_t> bits) {
    for (std::uint32_t& p : bits)
        p = SwapRedBlue(p);
    const win::BITMAPINFO info = Dib32Header(width, height);
    ReferenceDC reference;
    win::SetDIBits(reference.get(), bitmap, 0, static_cast<win::UINT>(height), bits.data(), &info,
                   win::DIB_RGB_COLORS);
}

// Replaces the slot's bitmap by a new one of the given size; the old one
// is destroyed.
void replace(int index, win::HBITMAP bitmap, int width, int height) {
    BitmapEntry& e = *bitmapSlot(index);
    win::DeleteObject(e.handle);
    e = BitmapEntry{bitmap, width, height};
}

}  // namespace

BitmapEntry* bitmapSlot(int index) {
    if (index < 0 || index >= kBitmapSlots) return nullptr;
    return &store().slots[static_cast<std::size_t>(index)];
}

void ResetBitmapStore() {
    BitmapReleaseTarget();
    for (BitmapEntry& e : store().slots)
        if (e.handle) win::DeleteObject(e.handle);
    store() = BitmapStore{};
}

win::HBITMAP BitmapCreateFilled(int width, int height, int colour) {
    ReferenceDC reference;
    win::HBITMAP bitmap = win::CreateCompatibleBitmap(reference.get(), width, height);
    if (!bitmap) return nullptr;
    // A new bitmap is black: black needs no filling (unless a palette maps
    // it to another entry).
    if ((colour & 0xFFFFFF) == 0 && !windowSystem().Palette) return bitmap;
    win::HDC dc = win::CreateCompatibleDC(reference.get());
    win::HGDIOBJ oldBitmap = win::SelectObject(dc, bitmap);
    win::HGDIOBJ oldPen = win::SelectObject(dc, win::GetStockObject(win::NULL_PEN));
    if (win::HPALETTE p = windowSystem().Palette) win::SelectPalette(dc, p, 0);
    win::HBRUSH brush = win::CreateSolidBrush(mapped(dc, colour));
    win::HGDIOBJ oldBrush = win::SelectObject(dc, brush);
    const int oldMode = win::SetROP2(dc, win::R2_COPYPEN);
    win::Rectangle(dc, 0, 0, width + 1, height + 1);
    win::SetROP2(dc, oldMode);
    win::SelectObject(dc, oldBrush);
    win::SelectObject(dc, oldPen);
    win::SelectObject(dc, oldBitmap);
    win::DeleteObject(brush);
    win::DeleteDC(dc);
    return bitmap;
}

void BitmapCreate(int& number, int width, int height, int colour) {
    number = 0;
    auto& slots = store().slots;
    const auto free = std::find_if(slots.begin(), slots.end(),
                                   [](const BitmapEntry& e) { return e.handle == nullptr; });
    if (free == slots.end() || width <= 0 || height <= 0) return;
    win::HBITMAP bitmap = BitmapCreateFilled(width, height, colour);
    if (!bitmap) return;
    *free = BitmapEntry{bitmap, width, height};
    number = static_cast<int>(free - slots.begin()) + 1;
}

void BitmapDelete(int index, int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    if (BitmapViewerFind(index) != 0) {
        status = 1036;
        return;
    }
    BitmapEntry& e = *bitmapSlot(index);
    win::DeleteObject(e.handle);
    e = BitmapEntry{};
    status = 0;
}

void BitmapCopyFromScreen(int index, int x, int y, int width, int height, int& status) {
    BitmapPutToScreen(index, x, y, 0, 0, width, height, 0, status);
}

void BitmapPutPixels(int index, const std::int32_t* pixels, int x1, int y1, int x2, int y2,
                     int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    BitmapDC dc(index);
    const int w = x2 - x1 + 1;
    for (int y = y2; y >= y1; --y)
        for (int x = x1; x <= x2; ++x)
            win::SetPixelV(dc.get(), x, y,
                           mapped(dc.get(), pixels[static_cast<std::size_t>((y - y1) * w + (x - x1))]));
    status = 0;
}

void BitmapGetPixels(int index, std::int32_t* pixels, int x1, int y1, int x2, int y2, int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    BitmapDC dc(index);
    const int w = x2 - x1 + 1;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            pixels[static_cast<std::size_t>((y - y1) * w + (x - x1))] =
                static_cast<std::int32_t>(win::GetPixel(dc.get(), x, y) & 0xFFFFFFu);
    status = 0;
}

void BitmapLoadResource(int index, int resource, int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    auto loaded = static_cast<win::HBITMAP>(win::LoadImageA(
        nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(resource)), win::IMAGE_BITMAP, 0, 0, 0));
    if (!loaded) {
        status = 1066;
        return;
    }
    const BitmapEntry& e = *bitmapSlot(index);
    ReferenceDC reference;
    win::HDC source = win::CreateCompatibleDC(reference.get());
    win::HGDIOBJ old = win::SelectObject(source, loaded);
    BitmapDC target(index);
    const bool ok = win::BitBlt(target.get(), 0, 0, e.width, e.height, source, 0, 0, win::SRCCOPY);
    win::SelectObject(source, old);
    win::DeleteDC(source);
    win::DeleteObject(loaded);
    status = ok ? 0 : 1066;
}

void BitmapResourceSize(int resource, int& width, int& height) {
    width = height = 0;
    auto loaded = static_cast<win::HBITMAP>(win::LoadImageA(
        nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(resource)), win::IMAGE_BITMAP, 0, 0, 0));
    if (!loaded) return;
    win::BITMAP b{};
    win::GetObjectA(loaded, sizeof b, &b);
    width = static_cast<int>(b.bmWidth) & 0xFFFF;
    height = static_cast<int>(b.bmHeight) & 0xFFFF;
    win::DeleteObject(loaded);
}

void BitmapFlip(int index, int direction, int& viewer, int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    viewer = BitmapViewerFind(index);
    const BitmapEntry& e = *bitmapSlot(index);
    const std::vector<std::uint32_t> old = readPixels(e.handle, e.width, e.height);
    std::vector<std::uint32_t> flipped(old.size());
    for (int y = 0; y < e.height; ++y)
        for (int x = 0; x < e.width; ++x) {
            const int sx = direction != 0 ? x : e.width - 1 - x;
            const int sy = direction != 0 ? e.height - 1 - y : y;
            flipped[static_cast<std::size_t>(y * e.width + x)] =
                old[static_cast<std::size_t>(sy * e.width + sx)];
        }
    writePixels(e.handle, e.width, e.height, std::move(flipped));
    status = 0;
}

void BitmapRasterOp(int code) {
    static constexpr win::DWORD kModes[4] = {win::SRCCOPY, win::SRCPAINT, win::SRCAND, win::SRCINVERT};
    if (code >= 0 && code <= 3) store().transferMode = kModes[code];
}

void BitmapPutToScreen(int index, int sourceX, int sourceY, int x, int y, int width, int height,
                       int direction, int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    BitmapDC bitmap(index);
    const win::DWORD mode = store().transferMode;
    const bool ok = direction != 0
                        ? win::BitBlt(surfaceDC(), x, y, width, height, bitmap.get(), sourceX, sourceY, mode)
                        : win::BitBlt(bitmap.get(), x, y, width, height, surfaceDC(), sourceX, sourceY, mode);
    status = ok ? 0 : 1066;
}

void BitmapStretchToScreen(int index, int stretch, int x, int y, int width, int height,
                           int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    const BitmapEntry& e = *bitmapSlot(index);
    BitmapDC bitmap(index);
    if (!bitmap.selected()) {
        status = 1066;
        return;
    }
    const win::DWORD mode = store().transferMode;
    const bool ok = stretch != 0 ? win::StretchBlt(surfaceDC(), x, y, width, height, bitmap.get(), 0,
                                                   0, e.width, e.height, mode)
                                 : win::BitBlt(surfaceDC(), x, y, width, height, bitmap.get(), 0, 0, mode);
    status = ok ? 0 : 1066;
}

void BitmapResize(int index, int width, int height, int& viewer, int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    viewer = BitmapViewerFind(index);
    win::HBITMAP fresh = width > 0 && height > 0 ? BitmapCreateFilled(width, height, 0) : nullptr;
    if (!fresh) {
        status = 1020;
        return;
    }
    const BitmapEntry& e = *bitmapSlot(index);
    {
        BitmapDC source(index);
        ReferenceDC reference;
        win::HDC target = win::CreateCompatibleDC(reference.get());
        win::HGDIOBJ old = win::SelectObject(target, fresh);
        win::StretchBlt(target, 0, 0, width, height, source.get(), 0, 0, e.width, e.height,
                        store().transferMode);
        win::SelectObject(target, old);
        win::DeleteDC(target);
    }
    replace(index, fresh, width, height);
    status = 0;
}

void BitmapRotate(int index, int angle, int& viewer, int& status) {
    if (!inUse(index)) {
        status = 1021;
        return;
    }
    viewer = BitmapViewerFind(index);
    const BitmapEntry& e = *bitmapSlot(index);
    const int w = e.width, h = e.height;
    const int nw = angle == 180 ? w : h, nh = angle == 180 ? h : w;
    win::HBITMAP fresh = BitmapCreateFilled(nw, nh, 0);
    if (!fresh) {
        status = 1020;
        return;
    }
    const std::vector<std::uint32_t> old = readPixels(e.handle, w, h);
    std::vector<std::uint32_t> turned(old.size(), 0u);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            int tx = x, ty = y;
            if (angle == 90)
                tx = y, ty = w - 1 - x;
            else if (angle == 180)
                tx = w - 1 - x, ty = h - 1 - y;
            else if (angle == 270)
                tx = h - 1 - y, ty = x;
            if (tx < nw && ty < nh)
                turned[static_cast<std::size_t>(ty * nw + tx)] = old[static_cast<std::size_t>(y * w + x)];
        }
    writePixels(fresh, nw, nh, std::move(turned));
    replace(index, fresh, nw, nh);
    status = 0;
}

void BitmapInfo(int index, int& width, int& height) {
    width = height = 0;
    if (!inUse(index)) return;
    width = bitmapSlot(index)->width;
    height = bitmapSlot(index)->height;
}

void BitmapSelectTarget(int index, int& status, int& width, int& height) {
    if (!inUse(index)) {
        status = 1;
        return;
    }
    BitmapReleaseTarget();
    BitmapStore& s = store();
    const BitmapEntry& e = *bitmapSlot(index);
    width = e.width;
    height = e.height;
    ReferenceDC reference;
    s.targetDC = win::CreateCompatibleDC(reference.get());
    s.targetReplaced = win::SelectObject(s.targetDC, e.handle);
    s.targetIndex = index;
    win::SetBkMode(s.targetDC, win::TRANSPARENT);
    if (win::HPALETTE p = windowSystem().Palette) {
        win::SelectPalette(s.targetDC, p, 0);
        win::RealizePalette(s.targetDC);
    }
    DrawingSurface& surface = drawingSurface();
    surface = DrawingSurface{};
    surface.dc = s.targetDC;
    surface.palette = windowSystem().Palette;
    ScreenSurfaceChanged();
    status = 0;
}

bool BitmapReleaseTarget() {
    BitmapStore& s = store();
    if (!s.targetDC) return false;
    if (drawingSurface().dc == s.targetDC) drawingSurface() = DrawingSurface{};
    win::SelectObject(s.targetDC, s.targetReplaced);
    win::DeleteDC(s.targetDC);
    s.targetDC = nullptr;
    s.targetReplaced = nullptr;
    s.targetIndex = -1;
    return true;
}

int BitmapTargetIndex() {
    return store().targetIndex;
}

}  // namespace tk
