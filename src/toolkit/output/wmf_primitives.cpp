#include "toolkit/output/wmf_primitives.h"

#include <array>
#include <vector>

#include "base/little_endian.h"
#include "platform/gdi/metafile.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "platform/kernel/handles.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/output/reference_context.h"

namespace tk {
namespace {

using namespace win;

// Screen dash patterns in screen pixels, alternately dash and gap.
constexpr std::array<std::array<DWORD, 6>, 7> kBaseDashes = {
    {{1, 4}, {8, 6}, {1, 4, 8, 4}, {1, 4, 1, 4, 8, 4}, {8, 4, 4, 4}, {4, 4}, {8, 4, 4, 4, 4, 4}}};
constexpr std::array<int, 7> kDashCounts = {2, 2, 4, 6, 4, 2, 6};
constexpr std::array<int, 8> kPenStyles = {PS_SOLID,      PS_DOT,     PS_DASH, PS_DASHDOT,
                                           PS_DASHDOTDOT, PS_DASHDOT, PS_DASH, PS_DASHDOTDOT};

struct WmfPrimitiveState {
    HDC dc = nullptr;
    int kind = 0;
    bool clipboard = false;
    HANDLE file = nullptr;
    int frameRight = 0, frameBottom = 0;
    COLORREF colour = 0, previous = 0;
    int penStyle = PS_SOLID, lineStyle = 0, penWidth = 1;
    HPEN pen = nullptr;
    HGDIOBJ replacedPen = nullptr;
    int cachedColour = -1, cachedStyle = -1, cachedWidth = -1;
    HFONT font = nullptr;
    HGDIOBJ replacedFont = nullptr;
    HRGN clip = nullptr;
    int referenceDpi = 96;
    int systemDashes = 0;
    std::array<std::array<DWORD, 6>, 7> dashes = kBaseDashes;
};

WmfPrimitiveState& st() {
    static WmfPrimitiveState s;
    return s;
}

void replaceObject(HDC dc, HGDIOBJ& current, HGDIOBJ& replaced, HGDIOBJ next) {
    if (current) {
        SelectObject(dc, replaced);
        DeleteObject(current);
    }
    replaced = next ? SelectObject(dc, next) : nullptr;
    current = next;
}

// Draws with a temporary pen and brush, then puts the current pen back.
template <typename Draw>
void withPenAndBrush(HGDIOBJ pen, HGDIOBJ brush, Draw draw) {
    HDC dc = st().dc;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    draw(dc);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void withSolid(bool edge, void (*draw)(HDC, const void*), const void* arg) {
    HBRUSH brush = CreateSolidBrush(st().colour);
    HPEN pen = edge ? CreatePen(PS_SOLID, 1, st().colour) : nullptr;
    withPenAndBrush(pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN), brush,
                    [&](HDC dc) { draw(dc, arg); });
    if (pen) DeleteObject(pen);
    DeleteObject(brush);
}

int lastErrorOr1() {
    const DWORD e = GetLastError();
    return e != 0 ? static_cast<int>(e) : 1;
}

void writeFileBytes(HANDLE file, const void* data, std::size_t size) {
    DWORD written = 0;
    WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
}

int deliverToClipboard(HMETAFILE wmf, HENHMETAFILE emf) {
    WmfPrimitiveState& s = st();
    if (!OpenClipboard(nullptr)) {
        if (wmf) DeleteMetaFile(wmf);
        if (emf) DeleteEnhMetaFile(emf);
        return 1094;
    }
    EmptyClipboard();
    if (emf) {
        SetClipboardData(CF_ENHMETAFILE, emf);
    } else {
        HGLOBAL block =
            GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, sizeof(METAFILEPICT));
        auto* pict = static_cast<METAFILEPICT*>(GlobalLock(block));
        pict->mm = MM_ANISOTROPIC;
        pict->xExt = s.frameRight;
        pict->yExt = s.frameBottom;
        pict->hMF = CopyMetaFileA(wmf, nullptr);
        GlobalUnlock(block);
        SetClipboardData(CF_METAFILEPICT, block);
        DeleteMetaFile(wmf);
    }
    CloseClipboard();
    return 0;
}

}  // namespace

std::string WmfPlaceableHeader(int pageWidth, int pageHeight) {
    const int right = 1000 * pageWidth / 72, bottom = 1000 * pageHeight / 72;
    base::ByteWriter w;
    w.u32(0x9AC6CDD7u);
    w.i16(0);  // metafile handle
    w.i16(0);  // bounding box left, top
    w.i16(0);
    w.i16(static_cast<std::int16_t>(right));
    w.i16(static_cast<std::int16_t>(bottom));
    w.i16(1000);  // units per inch
    w.u32(0);
    w.i16(static_cast<std::int16_t>((right ^ bottom ^ 0x54F9) & 0xFFFF));
    const auto& b = w.buffer();
    return std::string(b.begin(), b.end());
}

WmfCreateResult WmfCreate(int& width, int& height, int kind, int systemDashes, int pageWidth,
                          int pageHeight, bool clipboard, std::string_view fileName,
                          std::string_view description) {
    WmfPrimitiveState& s = st();
    s = WmfPrimitiveState{};
    s.kind = kind;
    s.clipboard = clipboard;
    s.frameRight = 10 * pageWidth * 254 / 72;
    s.frameBottom = 10 * pageHeight * 254 / 72;
    const std::string name(fileName);
    WmfCreateResult r;
    SetLastError(0);
    if (kind == kEnhancedMetafile) {
        // The printer when it is known, so the picture is measured against
        // the device it will most likely be printed on.
        const ReferenceContext reference;
        HDC ref = reference.get();
        s.referenceDpi = GetDeviceCaps(ref, LOGPIXELSX);
        const int hres = GetDeviceCaps(ref, HORZRES), vres = GetDeviceCaps(ref, VERTRES);
        const int hsize = GetDeviceCaps(ref, HORZSIZE), vsize = GetDeviceCaps(ref, VERTSIZE);
        if (hsize > 0 && vsize > 0) {
            width = static_cast<int>(static_cast<double>(width) * hres * 25.4 / (hsize * 720.0));
            height = static_cast<int>(static_cast<double>(height) * vres * 25.4 / (vsize * 720.0));
        }
        const RECT frame{0, 0, s.frameRight, s.frameBottom};
        const std::string desc(description);
        s.dc = CreateEnhMetaFileA(ref, clipboard ? nullptr : name.c_str(), &frame, desc.c_str());
        s.systemDashes = systemDashes;
        WmfScaleDashes();
    } else if (clipboard || kind != kPlainWmf) {
        if (!clipboard) {
            s.file = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_ALWAYS, 0, nullptr);
            if (s.file == INVALID_HANDLE_VALUE) {
                s.file = nullptr;
                return {1, lastErrorOr1()};
            }
            const std::string header = WmfPlaceableHeader(pageWidth, pageHeight);
            writeFileBytes(s.file, header.data(), header.size());
        }
        s.dc = CreateMetaFileA(nullptr);
    } else {
        s.dc = CreateMetaFileA(name.c_str());
    }
    if (!s.dc) {
        r = {1, lastErrorOr1()};
        if (s.file) CloseHandle(s.file);
        s.file = nullptr;
        return r;
    }
    if (kind != kEnhancedMetafile) SetMapMode(s.dc, MM_ANISOTROPIC);
    SetWindowExtEx(s.dc, width + 1, height + 1, nullptr);
    SetBkMode(s.dc, TRANSPARENT);
    return r;
}

int WmfClose() {
    WmfPrimitiveState& s = st();
    if (!s.dc) return 0;
    int status = 0;
    if (s.clip) {
        SelectClipRgn(s.dc, nullptr);
        DeleteObject(s.clip);
    }
    HGDIOBJ font = s.font, pen = s.pen;
    replaceObject(s.dc, font, s.replacedFont, nullptr);
    replaceObject(s.dc, pen, s.replacedPen, nullptr);
    if (s.kind == kEnhancedMetafile) {
        HENHMETAFILE emf = CloseEnhMetaFile(s.dc);
        if (s.clipboard)
            status = deliverToClipboard(nullptr, emf);
        else
            DeleteEnhMetaFile(emf);
    } else {
        HMETAFILE wmf = CloseMetaFile(s.dc);
        if (s.clipboard) {
            status = deliverToClipboard(wmf, nullptr);
        } else {
            if (s.file && s.kind == kPlaceableWmf) {
                std::vector<BYTE> bits(GetMetaFileBitsEx(wmf, 0, nullptr));
                GetMetaFileBitsEx(wmf, static_cast<UINT>(bits.size()), bits.data());
                writeFileBytes(s.file, bits.data(), bits.size());
            }
            DeleteMetaFile(wmf);
        }
    }
    if (s.file) CloseHandle(s.file);
    s = WmfPrimitiveState{};
    return status;
}

bool WmfIsOpen() {
    return st().dc != nullptr;
}
bool WmfIsEnhanced() {
    return st().dc != nullptr && st().kind == kEnhancedMetafile;
}
HDC WmfDC() {
    return st().dc;
}

void WmfSetColour(int red, int green, int blue) {
    st().previous = st().colour;
    st().colour = static_cast<COLORREF>(red + 256 * green + 65536 * blue);
}

void WmfLineStyle(int lineStyle) {
    if (lineStyle < 0 || lineStyle > 7) return;
    st().lineStyle = lineStyle;
    st().penStyle = kPenStyles[static_cast<std::size_t>(lineStyle)];
}

void WmfLineWidth(int width) {
    st().penWidth = width;
    WmfScaleDashes();
}

void WmfScaleDashes() {
    WmfPrimitiveState& s = st();
    const int screenDpi =
        toolkitState().ScreenLogPixelsX > 0 ? toolkitState().ScreenLogPixelsX : 96;
    for (std::size_t t = 0; t < kBaseDashes.size(); ++t) {
        for (int k = 0; k < kDashCounts[t]; ++k) {
            DWORD v = static_cast<DWORD>(s.referenceDpi) *
                      kBaseDashes[t][static_cast<std::size_t>(k)] / static_cast<DWORD>(screenDpi);
            if (k % 2 == 1 && s.penWidth >= 2) v += static_cast<DWORD>(s.penWidth - 1);
            s.dashes[t][static_cast<std::size_t>(k)] = v;
        }
    }
}

void WmfSelectPen() {
    WmfPrimitiveState& s = st();
    if (!s.dc) return;
    if (static_cast<int>(s.colour) == s.cachedColour && s.lineStyle == s.cachedStyle &&
        s.penWidth == s.cachedWidth)
        return;
    HPEN pen = nullptr;
    const bool extended =
        toolkitState().NtFamily && s.penStyle != PS_SOLID && s.kind == kEnhancedMetafile;
    if (extended) {
        LOGBRUSH brush;
        brush.lbStyle = BS_SOLID;
        brush.lbColor = s.colour;
        const DWORD caps = static_cast<DWORD>(PS_GEOMETRIC | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL);
        if (s.systemDashes != 0) {
            pen = ExtCreatePen(caps | static_cast<DWORD>(s.penStyle),
                               static_cast<DWORD>(s.penWidth), &brush, 0, nullptr);
        } else if (s.lineStyle >= 1) {
            const std::size_t t = static_cast<std::size_t>(s.lineStyle - 1);
            pen = ExtCreatePen(caps | PS_USERSTYLE, static_cast<DWORD>(s.penWidth), &brush,
                               static_cast<DWORD>(kDashCounts[t]), s.dashes[t].data());
        }
    } else {
        pen = CreatePen(s.penStyle, s.penWidth, s.colour);
    }
    HGDIOBJ current = s.pen;
    replaceObject(s.dc, current, s.replacedPen, pen);
    s.pen = pen;
    s.cachedColour = static_cast<int>(s.colour);
    s.cachedStyle = s.lineStyle;
    s.cachedWidth = s.penWidth;
}

void WmfLine(int x1, int y1, int x2, int y2) {
    WmfSelectPen();
    MoveToEx(st().dc, x1, y1, nullptr);
    LineTo(st().dc, x2, y2);
    if (st().penStyle == PS_SOLID) SetPixel(st().dc, x2, y2, st().colour);
}

void WmfPolyline(const POINT* points, int n) {
    if (n <= 0) return;
    WmfSelectPen();
    Polyline(st().dc, points, n);
    const POINT& a = points[0];
    const POINT& z = points[n - 1];
    if (st().penStyle == PS_SOLID && (a.x != z.x || a.y != z.y))
        SetPixel(st().dc, z.x, z.y, st().colour);
}

void WmfPolygon(const POINT* points, int n) {
    struct Args {
        const POINT* p;
        int n;
    } args{points, n};
    withSolid(
        false,
        [](HDC dc, const void* a) {
            const auto* g = static_cast<const Args*>(a);
            Polygon(dc, g->p, g->n);
        },
        &args);
}

void WmfEllipse(int x, int y, int rx, int ry, int fillStyle) {
    const RECT box{x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2};
    if (fillStyle < 3) {
        WmfSelectPen();
        HGDIOBJ old = SelectObject(st().dc, GetStockObject(HOLLOW_BRUSH));
        Ellipse(st().dc, box.left, box.top, box.right, box.bottom);
        SelectObject(st().dc, old);
        return;
    }
    withSolid(
        true,
        [](HDC dc, const void* a) {
            const auto* b = static_cast<const RECT*>(a);
            Ellipse(dc, b->left, b->top, b->right, b->bottom);
        },
        &box);
}

void WmfRectangle(int left, int top, int right, int bottom) {
    const RECT box{left, top, right + 2, bottom + 2};
    withSolid(
        false,
        [](HDC dc, const void* a) {
            const auto* b = static_cast<const RECT*>(a);
            Rectangle(dc, b->left, b->top, b->right, b->bottom);
        },
        &box);
}

void WmfPie(int x, int y, int rx, int ry, int xs, int ys, int xe, int ye) {
    const std::array<int, 8> a = {x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2, xs, ys, xe, ye};
    withSolid(
        true,
        [](HDC dc, const void* p) {
            const auto& v = *static_cast<const std::array<int, 8>*>(p);
            Pie(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        },
        &a);
}

void WmfArc(int x, int y, int rx, int ry, int xs, int ys, int xe, int ye, int density) {
    WmfSelectPen();
    HDC dc = st().dc;
    HGDIOBJ old = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    if (density > 2)
        Arc(dc, x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2, xs, ys, xe, ye);
    else
        Pie(dc, x - rx - 1, y - ry - 1, x + rx + 2, y + ry + 2, xs, ys, xe, ye);
    SelectObject(dc, old);
}

void WmfPoint(int x, int y) {
    SetPixel(st().dc, x, y, st().colour);
}

void WmfClip(int left, int top, int right, int bottom) {
    WmfPrimitiveState& s = st();
    if (s.clip) DeleteObject(s.clip);
    s.clip = CreateRectRgn(left, top, right, bottom);
    SelectClipRgn(s.dc, s.clip);
}

void WmfSelectFont(int width, int height, int angle, int fontNumber, int style,
                   std::string_view face) {
    struct Face {
        const char* name;
        DWORD family, charset;
    };
    static constexpr std::array<Face, 5> faces = {{{nullptr, 0, 1},
                                                   {"Courier New", 48, 0},
                                                   {"Arial", 32, 0},
                                                   {"Times New Roman", 16, 0},
                                                   {"Symbol", 16, 2}}};
    const Face& f =
        faces[static_cast<std::size_t>(fontNumber >= 0 && fontNumber <= 4 ? fontNumber : 0)];
    const std::string faceName = f.name ? std::string(f.name) : std::string(face);
    HFONT font = CreateFontA(-height, width, angle * 10, angle * 10, (style & 1) ? 700 : 400,
                             (style & 2) ? 1 : 0, (style & 4) ? 1 : 0, 0, f.charset, 2, 1, 0,
                             f.family + 2, faceName.c_str());
    HGDIOBJ current = st().font;
    replaceObject(st().dc, current, st().replacedFont, font);
    st().font = font;
}

void WmfTextOut(int x1, int y1, int x2, int y2, int justification, bool opaque,
                std::string_view text) {
    HDC dc = st().dc;
    UINT align = 0;
    int x = 0, y = 0;
    switch (justification) {
        case 0:
            align = TA_LEFT | TA_BASELINE, x = x1, y = y1;
            break;
        case 1:
            align = TA_CENTER | TA_BASELINE, x = (x1 + x2) / 2, y = (y1 + y2) / 2;
            break;
        case 2:
            align = TA_RIGHT | TA_BASELINE, x = x2, y = y2;
            break;
        default:
            return;
    }
    const COLORREF oldText = SetTextColor(dc, st().colour);
    const COLORREF oldBack = SetBkColor(dc, st().previous);
    const int oldMode = SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    SetTextAlign(dc, align);
    TextOutA(dc, x, y, std::string(text).c_str(), static_cast<int>(text.size()));
    SetBkMode(dc, oldMode);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
}

int WmfTextExtent(std::string_view text) {
    SIZE size;
    GetTextExtentPoint32A(st().dc, std::string(text).c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void WmfGradientPixel(int x, int y, int colour) {
    SetPixel(st().dc, x, y, static_cast<COLORREF>(colour));
}

int WmfGradientTriangles(const int* x, const int* y, const int* colours, const int* triangles,
                         int vertexCount, int triangleCount) {
    std::vector<TRIVERTEX> v(static_cast<std::size_t>(vertexCount));
    for (std::size_t i = 0; i < v.size(); ++i) {
        v[i].x = x[i];
        v[i].y = y[i];
        v[i].Red = static_cast<USHORT>((colours[i] & 0xFF) << 8);
        v[i].Green = static_cast<USHORT>(((colours[i] >> 8) & 0xFF) << 8);
        v[i].Blue = static_cast<USHORT>(((colours[i] >> 16) & 0xFF) << 8);
    }
    std::vector<GRADIENT_TRIANGLE> t(static_cast<std::size_t>(triangleCount));
    for (std::size_t k = 0; k < t.size(); ++k) {
        t[k].Vertex1 = static_cast<ULONG>(triangles[3 * k] - 1);
        t[k].Vertex2 = static_cast<ULONG>(triangles[3 * k + 1] - 1);
        t[k].Vertex3 = static_cast<ULONG>(triangles[3 * k + 2] - 1);
    }
    return GradientFill(st().dc, v.data(), static_cast<ULONG>(v.size()), t.data(),
                        static_cast<ULONG>(t.size()), GRADIENT_FILL_TRIANGLE)
               ? 0
               : 1;
}

}  // namespace tk
