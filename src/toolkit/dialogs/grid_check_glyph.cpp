#include "toolkit/dialogs/grid_check_glyph.h"

#include <initializer_list>

#include "platform/window/user_constants.h"

namespace tk {
namespace {

// destination AND NOT source
constexpr win::DWORD kAndInvertedSource = 0x00220326;

win::SIZE bitmapSize(win::HBITMAP b) {
    win::BITMAP bm{};
    win::GetObjectA(b, sizeof bm, &bm);
    return {bm.bmWidth, bm.bmHeight};
}

}  // namespace

void GridCheckGlyphMasks(win::HBITMAP glyph, win::HBITMAP highlighted, win::HBITMAP work) {
    const win::SIZE size = bitmapSize(glyph);
    win::HDC screen = win::GetDC(nullptr);
    win::HDC source = win::CreateCompatibleDC(screen);
    win::HDC result = win::CreateCompatibleDC(screen);
    win::HDC mask = win::CreateCompatibleDC(screen);
    win::ReleaseDC(nullptr, screen);
    win::HGDIOBJ oldSource = win::SelectObject(source, glyph);
    win::HGDIOBJ oldResult = win::SelectObject(result, highlighted);
    win::HGDIOBJ oldMask = win::SelectObject(mask, work);

    const win::RECT all{0, 0, size.cx, size.cy};
    win::HBRUSH highlight = win::CreateSolidBrush(win::GetSysColor(win::COLOR_HIGHLIGHT));
    win::FillRect(result, &all, highlight);
    win::DeleteObject(highlight);
    // White in the mask where the glyph shows the button face.
    win::SetBkColor(source, win::GetSysColor(win::COLOR_BTNFACE));
    win::BitBlt(mask, 0, 0, size.cx, size.cy, source, 0, 0, win::SRCCOPY);
    // Mask bits become black and white in the colour bitmaps.
    for (win::HDC dc : {source, result}) {
        win::SetTextColor(dc, win::RGB(0, 0, 0));
        win::SetBkColor(dc, win::RGB(255, 255, 255));
    }
    win::BitBlt(result, 0, 0, size.cx, size.cy, mask, 0, 0, win::SRCAND);
    win::BitBlt(source, 0, 0, size.cx, size.cy, mask, 0, 0, kAndInvertedSource);
    win::BitBlt(result, 0, 0, size.cx, size.cy, source, 0, 0, win::SRCPAINT);

    win::SelectObject(mask, oldMask);
    win::SelectObject(result, oldResult);
    win::SelectObject(source, oldSource);
    for (win::HDC dc : {source, result, mask})
        win::DeleteDC(dc);
}

void gridHighlightCheckEditor(win::HWND editor) {
    win::RECT r{};
    win::GetClientRect(editor, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    win::HDC dc = win::GetDC(editor);
    win::HBITMAP glyph = win::CreateCompatibleBitmap(dc, w, h);
    win::HBITMAP highlighted = win::CreateCompatibleBitmap(dc, w, h);
    win::HBITMAP work = win::CreateBitmap(w, h, 1, 1, nullptr);
    win::HDC memory = win::CreateCompatibleDC(dc);
    win::HGDIOBJ old = win::SelectObject(memory, glyph);
    win::BitBlt(memory, 0, 0, w, h, dc, 0, 0, win::SRCCOPY);
    win::SelectObject(memory, old);
    GridCheckGlyphMasks(glyph, highlighted, work);
    old = win::SelectObject(memory, highlighted);
    win::BitBlt(dc, 0, 0, w, h, memory, 0, 0, win::SRCCOPY);
    win::SelectObject(memory, old);
    win::DeleteDC(memory);
    for (win::HBITMAP b : {glyph, highlighted, work})
        win::DeleteObject(b);
    win::ReleaseDC(editor, dc);
}

}  // namespace tk
