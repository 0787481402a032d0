#include "toolkit/output/screen_picture_print.h"

#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/output/printer_device_context.h"

namespace tk {

namespace {

struct ScreenPrint {
    win::HDC dc = nullptr;
    int width = 0, height = 0;  // the picture in printer pixels
};

ScreenPrint& job() {
    static ScreenPrint p;
    return p;
}

int dibBits(int bits) {
    return bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
}

}  // namespace

void ScreenPrintStart(int width, int height, int offsetX, int offsetY, int& status, int landscape,
                      int copies, const char* title) {
    ScreenPrint& p = job();
    status = 1;
    p.dc = PrinterCreateDC(landscape, copies);
    if (!p.dc) return;
    win::DOCINFOA info;
    info.lpszDocName = title;
    if (win::StartDocA(p.dc, &info) <= 0) {
        win::DeleteDC(p.dc);
        p.dc = nullptr;
        return;
    }
    status = 0;
    const int dx = win::GetDeviceCaps(p.dc, win::LOGPIXELSX);
    const int dy = win::GetDeviceCaps(p.dc, win::LOGPIXELSY);
    const int px = win::GetDeviceCaps(p.dc, win::PHYSICALOFFSETX);
    const int py = win::GetDeviceCaps(p.dc, win::PHYSICALOFFSETY);
    p.width = width * dx / 72;
    p.height = height * dy / 72;
    win::StartPage(p.dc);
    win::SetWindowOrgEx(p.dc, px - offsetX * dx / 72, py - offsetY * dy / 72, nullptr);
    win::SetWindowExtEx(p.dc, p.width, p.height, nullptr);
    win::SetBkMode(p.dc, win::TRANSPARENT);
}

void ScreenPrintBitmap(int left, int top, int right, int bottom, int& status) {
    ScreenPrint& p = job();
    const int w = right - left + 1, h = bottom - top + 1;
    status = 1;
    win::HDC screen = drawingSurface().dc;
    if (!p.dc || !screen || w <= 0 || h <= 0) return;
    win::HDC memory = win::CreateCompatibleDC(screen);
    win::HBITMAP bitmap = win::CreateCompatibleBitmap(screen, w, h);
    win::HGDIOBJ previous = win::SelectObject(memory, bitmap);
    win::BitBlt(memory, 0, 0, w, h, screen, left, top, win::SRCCOPY);
    win::SelectObject(memory, previous);
    win::HPALETTE palette =
        drawingSurface().palette
            ? drawingSurface().palette
            : static_cast<win::HPALETTE>(win::GetStockObject(win::DEFAULT_PALETTE));
    win::SelectPalette(memory, palette, 0);
    win::RealizePalette(memory);

    win::BITMAP object;
    win::GetObjectA(bitmap, sizeof object, &object);
    const int bits = dibBits(object.bmPlanes * object.bmBitsPixel);
    win::BITMAPINFOHEADER header;
    header.biWidth = w;
    header.biHeight = h;
    header.biBitCount = static_cast<win::WORD>(bits);
    const int table = DibColourTableSize(&header);
    const int rowBytes = (w * bits + 31) / 32 * 4;
    std::vector<unsigned char> block(sizeof header + static_cast<std::size_t>(table) +
                                     static_cast<std::size_t>(rowBytes * h));
    auto* info = reinterpret_cast<win::BITMAPINFO*>(block.data());
    info->bmiHeader = header;
    if (win::GetDIBits(memory, bitmap, 0, static_cast<win::UINT>(h), nullptr, info,
                       win::DIB_RGB_COLORS) != 0) {
        std::size_t image = info->bmiHeader.biSizeImage;
        if (image == 0) image = static_cast<std::size_t>(rowBytes * h);
        block.resize(sizeof header + static_cast<std::size_t>(table) + image);
        info = reinterpret_cast<win::BITMAPINFO*>(block.data());
        unsigned char* pixels = block.data() + sizeof header + table;
        if (win::GetDIBits(memory, bitmap, 0, static_cast<win::UINT>(h), pixels, info,
                           win::DIB_RGB_COLORS) != 0 &&
            win::StretchDIBits(p.dc, 0, 0, p.width, p.height, 0, 0, w, h, pixels, info,
                               win::DIB_RGB_COLORS, win::SRCCOPY) != win::GDI_ERROR)
            status = 0;
    }
    win::DeleteObject(bitmap);
    win::DeleteDC(memory);
}

void ScreenPrintEnd() {
    ScreenPrint& p = job();
    if (!p.dc) return;
    win::EndPage(p.dc);
    win::EndDoc(p.dc);
    win::DeleteDC(p.dc);
    p.dc = nullptr;
}

int PrintScreenPicture(std::string_view title, int left, int top, int right, int bottom) {
    const ToolkitState& t = toolkitState();
    const std::string name(title);
    int status = 1;
    ScreenPrintStart(t.PageWords[2], t.PageWords[3], t.PageWords[4], t.PageWords[5], status, 1, 1,
                     name.c_str());
    if (status != 0) return 1;
    ScreenPrintBitmap(left, top, right, bottom, status);
    ScreenPrintEnd();
    return status == 0 ? 0 : 64;
}

}  // namespace tk
