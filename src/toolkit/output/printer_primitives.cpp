#include "toolkit/output/printer_primitives.h"

#include <algorithm>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "platform/kernel/errors.h"
#include "platform/window/user_api.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/printer_device_context.h"

namespace tk {

namespace {

// Dash and gap lengths in screen pixels by line style 1 to 7.
const std::array<std::vector<unsigned long>, 7> kBaseDashes = {{
    {1, 4},
    {8, 6},
    {1, 4, 8, 4},
    {1, 4, 1, 4, 8, 4},
    {8, 4, 4, 4},
    {4, 4},
    {8, 4, 4, 4, 4, 4},
}};

constexpr int kWindowsPenStyle[8] = {win::PS_SOLID,   win::PS_DOT,        win::PS_DASH,
                                     win::PS_DASHDOT, win::PS_DASHDOTDOT, win::PS_DASHDOT,
                                     win::PS_DASH,    win::PS_DASHDOTDOT};

int screenResolution() {
    win::HDC screen = win::GetDC(nullptr);
    const int dpi = screen ? win::GetDeviceCaps(screen, win::LOGPIXELSX) : 96;
    if (screen) win::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

void ensurePage() {
    if (prnState().pagePending) PrnBeginPage();
}

// Selects a GDI object, deleting it afterwards when asked.
struct Selected {
    win::HDC dc;
    win::HGDIOBJ previous;
    win::HGDIOBJ object;
    bool owned;
    Selected(win::HDC d, win::HGDIOBJ o, bool own)
        : dc(d), previous(win::SelectObject(d, o)), object(o), owned(own) {}
    ~Selected() {
        win::SelectObject(dc, previous);
        if (owned) win::DeleteObject(object);
    }
};

win::HGDIOBJ solidBrush() {
    return win::CreateSolidBrush(prnState().colour);
}

win::HGDIOBJ thinPen() {
    return win::CreatePen(win::PS_SOLID, 1, prnState().colour);
}

}  // namespace

PrnState& prnState() {
    static PrnState s;
    return s;
}

void ResetPrinterPrimitives() {
    PrnState& s = prnState();
    if (s.documentOpen) PrnEndDoc();
    s = PrnState{};
}

PrnDocStart PrnStartDoc(int width, int height, int offsetX, int offsetY, int landscape, int copies,
                        const char* title) {
    PrnState& s = prnState();
    PrnDocStart r;
    // A document held open across outputs starts the next output's page
    // with its first drawing, so that an output that draws nothing adds
    // no blank page.
    const bool continued = s.documentOpen;
    if (!continued) {
        s.dc = PrinterCreateDC(landscape, copies);
        if (!s.dc) {
            r.status = 1;
            r.error = static_cast<int>(win::GetLastError());
            return r;
        }
        win::DOCINFOA info;
        info.lpszDocName = title;
        if (win::StartDocA(s.dc, &info) <= 0) {
            r.status = 1;
            r.error = static_cast<int>(win::GetLastError());
            win::DeleteDC(s.dc);
            s.dc = nullptr;
            return r;
        }
        s.documentOpen = true;
    }
    r.colourCount = win::GetDeviceCaps(s.dc, win::NUMCOLORS);
    r.resolutionX = win::GetDeviceCaps(s.dc, win::LOGPIXELSX);
    r.resolutionY = win::GetDeviceCaps(s.dc, win::LOGPIXELSY);
    s.resolutionX = r.resolutionX;
    PrnScaleDashes();
    s.originX = win::GetDeviceCaps(s.dc, win::PHYSICALOFFSETX) - offsetX * r.resolutionX / 72;
    s.originY = win::GetDeviceCaps(s.dc, win::PHYSICALOFFSETY) - offsetY * r.resolutionY / 72;
    s.pageX = width * r.resolutionX / 72;
    s.pageY = height * r.resolutionY / 72;
    if (continued)
        s.pagePending = true;
    else
        PrnBeginPage();
    s.clip = nullptr;
    win::SetBkMode(s.dc, win::TRANSPARENT);
    s.cachedColour = -1;
    s.cachedStyle = s.cachedWidth = -1;
    return r;
}

void PrnBeginPage() {
    PrnState& s = prnState();
    win::StartPage(s.dc);
    win::SetWindowOrgEx(s.dc, s.originX, s.originY, nullptr);
    win::SetWindowExtEx(s.dc, s.pageX, s.pageY, nullptr);
    if (s.font) win::SelectObject(s.dc, s.font);
    if (s.pen) win::SelectObject(s.dc, s.pen);
    if (s.clip) win::SelectClipRgn(s.dc, s.clip);
    win::SetBkMode(s.dc, win::TRANSPARENT);
    s.pagePending = false;
}

void PrnEndPage() {
    PrnState& s = prnState();
    if (!s.documentOpen) return;
    win::EndPage(s.dc);
    s.pagePending = true;
}

void PrnEndDoc() {
    PrnState& s = prnState();
    if (!s.documentOpen) return;
    win::SelectClipRgn(s.dc, nullptr);
    if (s.clip) win::DeleteObject(s.clip);
    s.clip = nullptr;
    if (s.font) {
        win::SelectObject(s.dc, s.replacedFont);
        win::DeleteObject(s.font);
        s.font = nullptr;
    }
    if (s.pen) {
        win::SelectObject(s.dc, s.replacedPen);
        win::DeleteObject(s.pen);
        s.pen = nullptr;
        s.cachedColour = -1;
    }
    win::EndDoc(s.dc);
    win::DeleteDC(s.dc);
    s.dc = nullptr;
    s.documentOpen = false;
    s.pagePending = false;
}

void PrnSetColour(int red, int green, int blue) {
    PrnState& s = prnState();
    s.previousColour = s.colour;
    s.colour = static_cast<win::COLORREF>(red + 256 * green + 65536 * blue);
}

void PrnSelectPen() {
    PrnState& s = prnState();
    if (static_cast<long>(s.colour) == s.cachedColour && s.lineStyle == s.cachedStyle &&
        s.penWidth == s.cachedWidth)
        return;
    if (s.pen) {
        win::SelectObject(s.dc, s.replacedPen);
        win::DeleteObject(s.pen);
        s.pen = nullptr;
    }
    win::HPEN pen = nullptr;
    if (s.extendedPens && s.penStyle != win::PS_SOLID) {
        if (s.lineStyle < 1 || s.lineStyle > 7) return;
        win::LOGBRUSH brush;
        brush.lbStyle = win::BS_SOLID;
        brush.lbColor = s.colour;
        const auto& table = s.dashes[static_cast<std::size_t>(s.lineStyle - 1)];
        std::vector<win::DWORD> entries(table.begin(), table.end());
        pen = win::ExtCreatePen(0x11107, static_cast<win::DWORD>(s.penWidth), &brush,
                                static_cast<win::DWORD>(entries.size()), entries.data());
    } else {
        pen = win::CreatePen(s.penStyle, s.penWidth, s.colour);
    }
    s.pen = pen;
    s.replacedPen = static_cast<win::HPEN>(win::SelectObject(s.dc, pen));
    s.cachedColour = static_cast<long>(s.colour);
    s.cachedStyle = s.lineStyle;
    s.cachedWidth = s.penWidth;
}

void PrnScaleDashes() {
    PrnState& s = prnState();
    if (!s.extendedPens) return;
    const unsigned long screen = static_cast<unsigned long>(screenResolution());
    for (std::size_t k = 0; k < kBaseDashes.size(); ++k) {
        s.dashes[k] = kBaseDashes[k];
        for (std::size_t i = 0; i < s.dashes[k].size(); ++i) {
            s.dashes[k][i] = static_cast<unsigned long>(s.resolutionX) * kBaseDashes[k][i] / screen;
            if (s.penWidth >= 2 && i % 2 == 1)
                s.dashes[k][i] += static_cast<unsigned long>(s.penWidth - 1);
        }
    }
}

void PrnLineStyle(int style) {
    PrnState& s = prnState();
    if (style >= 0 && style <= 7) s.penStyle = kWindowsPenStyle[style];
    s.lineStyle = style;
}

void PrnLineWidth(int width) {
    prnState().penWidth = width;
    PrnScaleDashes();
}

void PrnLine(int x1, int y1, int x2, int y2) {
    ensurePage();
    PrnSelectPen();
    PrnState& s = prnState();
    win::MoveToEx(s.dc, x1, y1, nullptr);
    win::LineTo(s.dc, x2, y2);
    if (s.penStyle == win::PS_SOLID) win::SetPixel(s.dc, x2, y2, s.colour);
}

void PrnPolyline(int n) {
    ensurePage();
    PrnSelectPen();
    PrnState& s = prnState();
    if (n < 1 || static_cast<std::size_t>(n) > s.points.size()) return;
    win::Polyline(s.dc, s.points.data(), n);
    const win::POINT& first = s.points.front();
    const win::POINT& last = s.points[static_cast<std::size_t>(n - 1)];
    if (s.penStyle == win::PS_SOLID && (last.x != first.x || last.y != first.y))
        win::SetPixel(s.dc, last.x, last.y, s.colour);
}

void PrnEllipse(int x, int y, int rx, int ry, int fillStyle) {
    ensurePage();
    PrnState& s = prnState();
    if (fillStyle < 3) {
        PrnSelectPen();
        Selected brush(s.dc, win::GetStockObject(win::HOLLOW_BRUSH), false);
        win::Ellipse(s.dc, x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2);
        return;
    }
    Selected brush(s.dc, solidBrush(), true);
    Selected pen(s.dc, thinPen(), true);
    win::Ellipse(s.dc, x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2);
}

void PrnRectangle(int left, int top, int right, int bottom) {
    ensurePage();
    PrnState& s = prnState();
    Selected brush(s.dc, solidBrush(), true);
    Selected pen(s.dc, win::GetStockObject(win::NULL_PEN), false);
    win::Rectangle(s.dc, left, top, right + 2, bottom + 2);
}

void PrnPie(int x, int y, int rx, int ry, int x1, int y1, int x2, int y2) {
    ensurePage();
    PrnState& s = prnState();
    Selected brush(s.dc, solidBrush(), true);
    Selected pen(s.dc, thinPen(), true);
    win::Pie(s.dc, x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2, x1, y1, x2, y2);
}

void PrnArc(int x, int y, int rx, int ry, int x1, int y1, int x2, int y2, int density) {
    ensurePage();
    PrnSelectPen();
    PrnState& s = prnState();
    Selected brush(s.dc, win::GetStockObject(win::HOLLOW_BRUSH), false);
    if (density > 2)
        win::Arc(s.dc, x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2, x1, y1, x2, y2);
    else
        win::Pie(s.dc, x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2, x1, y1, x2, y2);
}

void PrnPolygon(int n, int edge) {
    ensurePage();
    PrnState& s = prnState();
    if (n < 1 || static_cast<std::size_t>(n) > s.points.size()) return;
    Selected brush(s.dc, solidBrush(), true);
    Selected pen(s.dc, edge != 0 ? thinPen() : win::GetStockObject(win::NULL_PEN), edge != 0);
    win::Polygon(s.dc, s.points.data(), n);
}

void PrnPoint(int x, int y) {
    ensurePage();
    PrnState& s = prnState();
    const int w = s.penWidth, d = w / 2;
    Selected brush(s.dc, solidBrush(), true);
    Selected pen(s.dc, win::GetStockObject(win::NULL_PEN), false);
    win::Rectangle(s.dc, x - d, y - d, x + w - d + 1, y + w - d + 1);
}

void PrnClip(int left, int top, int right, int bottom) {
    PrnState& s = prnState();
    if (s.clip) win::DeleteObject(s.clip);
    s.clip = win::CreateRectRgn(left - s.originX, top - s.originY, right - s.originX,
                                bottom - s.originY);
    win::SelectClipRgn(s.dc, s.clip);
}

void PrnSelectFont(int width, int& height, int& ascent, int angle, int fontNumber, int style,
                   const char* face) {
    PrnState& s = prnState();
    if (s.font) {
        win::SelectObject(s.dc, s.replacedFont);
        win::DeleteObject(s.font);
        s.font = nullptr;
    }
    struct Family {
        const char* face;
        int family;
        int charset;
    };
    const Family families[] = {{face, win::FF_DONTCARE, win::DEFAULT_CHARSET},
                               {"Courier New", win::FF_MODERN, win::ANSI_CHARSET},
                               {"Arial", win::FF_SWISS, win::ANSI_CHARSET},
                               {"Times New Roman", win::FF_ROMAN, win::ANSI_CHARSET},
                               {"Symbol", win::FF_ROMAN, win::SYMBOL_CHARSET}};
    const Family& f = families[fontNumber >= 0 && fontNumber <= 4 ? fontNumber : 0];
    const int weight = (style & 1) ? 700 : 400;
    const win::DWORD italic = (style & 2) ? 1 : 0, underline = (style & 4) ? 1 : 0;
    const auto create = [&](int h, int escapement) {
        return win::CreateFontA(-h, width, escapement, escapement, weight, italic, underline, 0,
                                static_cast<win::DWORD>(f.charset), 2, 1, 0,
                                static_cast<win::DWORD>(f.family + 2), f.face);
    };
    win::HFONT probe = create(height, 0);
    win::HGDIOBJ old = win::SelectObject(s.dc, probe);
    win::TEXTMETRICA metrics;
    win::GetTextMetricsA(s.dc, &metrics);
    height = metrics.tmHeight;
    ascent = metrics.tmAscent;
    win::SelectObject(s.dc, old);
    win::DeleteObject(probe);
    s.font = create(height, angle * 10);
    s.replacedFont = static_cast<win::HFONT>(win::SelectObject(s.dc, s.font));
}

void PrnTextOut(int x1, int y1, int x2, int y2, int justification, bool opaque,
                std::string_view text) {
    ensurePage();
    PrnState& s = prnState();
    if (justification < 0 || justification > 2) return;
    const win::COLORREF oldText = win::SetTextColor(s.dc, s.colour);
    const win::COLORREF oldBack = win::SetBkColor(s.dc, s.previousColour);
    const int oldMode = win::SetBkMode(s.dc, opaque ? win::OPAQUE : win::TRANSPARENT);
    const std::string chars(text);
    const int n = static_cast<int>(chars.size());
    if (justification == 0) {
        win::SetTextAlign(s.dc, 24);
        win::TextOutA(s.dc, x1, y1, chars.c_str(), n);
    } else if (justification == 1) {
        win::SetTextAlign(s.dc, 30);
        win::TextOutA(s.dc, (x1 + x2) / 2, (y1 + y2) / 2, chars.c_str(), n);
    } else {
        win::SetTextAlign(s.dc, 26);
        win::TextOutA(s.dc, x2, y2, chars.c_str(), n);
    }
    win::SetBkMode(s.dc, oldMode);
    win::SetBkColor(s.dc, oldBack);
    win::SetTextColor(s.dc, oldText);
}

int PrnTextExtent(std::string_view text) {
    win::SIZE size;
    const std::string chars(text);
    win::GetTextExtentPoint32A(prnState().dc, chars.c_str(), static_cast<int>(chars.size()), &size);
    return size.cx;
}

void PrnGradientPixel(int x, int y, int colour) {
    ensurePage();
    win::SetPixel(prnState().dc, x, y, static_cast<win::COLORREF>(colour));
}

int PrnGradientTriangles(const int* x, const int* y, const int* colours, const int* triangles,
                         int vertexCount, int triangleCount) {
    ensurePage();
    std::vector<win::TRIVERTEX> vertices(static_cast<std::size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        win::TRIVERTEX& v = vertices[static_cast<std::size_t>(i)];
        v.x = x[i];
        v.y = y[i];
        v.Red = static_cast<win::USHORT>((colours[i] & 0xFF) * 256);
        v.Green = static_cast<win::USHORT>(((colours[i] >> 8) & 0xFF) * 256);
        v.Blue = static_cast<win::USHORT>(((colours[i] >> 16) & 0xFF) * 256);
    }
    std::vector<win::GRADIENT_TRIANGLE> mesh(static_cast<std::size_t>(triangleCount));
    for (int k = 0; k < triangleCount; ++k) {
        win::GRADIENT_TRIANGLE& t = mesh[static_cast<std::size_t>(k)];
        t.Vertex1 = static_cast<win::ULONG>(triangles[3 * k] - 1);
        t.Vertex2 = static_cast<win::ULONG>(triangles[3 * k + 1] - 1);
        t.Vertex3 = static_cast<win::ULONG>(triangles[3 * k + 2] - 1);
    }
    const win::BOOL ok = win::GradientFill(
        prnState().dc, vertices.data(), static_cast<win::ULONG>(vertices.size()), mesh.data(),
        static_cast<win::ULONG>(mesh.size()), win::GRADIENT_FILL_TRIANGLE);
    return ok ? 0 : 1;
}

void PrnColourInvert(int& red, int& green, int& blue) {
    ApplyColourHandling(hardcopyOptions()[hc::ColourHandling], red, green, blue);
}

}  // namespace tk
