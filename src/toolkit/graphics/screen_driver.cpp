#include "toolkit/graphics/screen_driver.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/seams.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_primitives.h"
#include "toolkit/graphics/screen_text.h"

namespace tk {

using namespace screen;

namespace {

// Dash patterns by line style, on-off alternating, first entry drawn.
const std::vector<win::DWORD> kDashTables[8] = {
    {}, {1, 4}, {8, 6}, {1, 4, 8, 4}, {1, 4, 1, 4, 8, 4}, {8, 4, 4, 4}, {4, 4}, {8, 4, 4, 4, 4, 4}};

bool ntPlatform() {
    auto& nt = graphicsServices().ntPlatform;
    return nt ? nt() : true;
}

int flipped(int y) {
    return graphicsState().targetHeight - 1 - y;
}

int tableRgb(int n) {
    int rgb = 0;
    ColourNumberRgb(n, rgb);
    return rgb;
}

void fillDeviceInfo() {
    DeviceInfo& info = screenDeviceInfo();
    const ScreenMetrics metrics = seams().screenMetrics ? seams().screenMetrics() : ScreenMetrics{};
    const int bits = std::min(metrics.planes * std::min(metrics.bitsPerPixel, 24), 24);
    auto& gradient = graphicsServices().gradientFillSupport;
    info.textAngleCapability = 360;
    info.styledVadiLines = ntPlatform() ? 2 : 1;
    info.trueColour = (1 << bits) > 256 ? 1 : 0;
    info.gradientFillAvailable = gradient ? gradient() : 2;
    info.deviceTextThreshold = 1.7e38f;
    info.lineStyleCount = 8;
    info.capabilities.assign(ScreenCapabilities);
    if (graphicsState().targetType == MetafileTarget) info.capabilities[28] = '0';
}

// Loads `count` points of the given arrays into the point buffer, y flipped
// (one look at the state for the whole run: a curve brings thousands).
void loadPoints(int count) {
    const DevicePointArrays& a = devicePointArrays();
    const auto n = static_cast<std::size_t>(std::clamp<int>(count, 0, static_cast<int>(a.x.size())));
    std::vector<win::POINT>& points = screen::primitives().points;
    points.resize(n);
    const int bottom = flipped(0);
    for (std::size_t i = 0; i < n; ++i)
        points[i] = {static_cast<int>(a.x[i]), bottom - static_cast<int>(a.y[i])};
}

void loadBlockPoints(int n) {
    const DeviceParameterBlock& b = deviceBlock();
    PointBufferAlloc(n);
    for (int k = 1; k <= n; ++k)
        PointBufferSet(b.pixX[k], flipped(b.pixY[k]), k - 1);
}

// Start and end points of a pie or arc; when both fall on the same pixel
// and the sweep is small, the end moves one pixel so that the window system
// does not take it for a full ellipse.
void pieGeometry(int& cx, int& cy, int& rx, int& ry, win::POINT& start, win::POINT& end) {
    const DeviceParameterBlock& b = deviceBlock();
    cx = b.pixX[1];
    cy = flipped(b.pixY[1]);
    rx = static_cast<int>(b.fx[2]);
    ry = static_cast<int>(b.fy[2]);
    auto at = [&](float angle) {
        return win::POINT{b.pixX[1] + static_cast<int>(b.fx[2] * std::cos(angle)),
                          flipped(b.pixY[1] + static_cast<int>(b.fy[2] * std::sin(angle)))};
    };
    start = at(b.fx[3]);
    end = at(b.fy[3]);
    if (start.x != end.x || start.y != end.y || std::fabs(b.fy[4]) > 10.0f) return;
    float a = std::fmod(b.fx[4], 360.0f);
    if (a < 0) a += 360.0f;
    if (a < 90.0f)
        end.x -= 1, end.y -= 1;
    else if (a < 180.0f)
        end.x -= 1, end.y += 1;
    else if (a < 270.0f)
        end.x += 1, end.y += 1;
    else
        end.x += 1, end.y -= 1;
}

void pieRequest(int code) {
    int cx = 0, cy = 0, rx = 0, ry = 0;
    win::POINT start{}, end{};
    pieGeometry(cx, cy, rx, ry, start, end);
    const GraphicsState& g = graphicsState();
    if (code == 34)
        ScreenArc(cx, cy, rx, ry, start, end, g.fillDensity, g.fillStyle);
    else
        ScreenPie(cx, cy, rx, ry, start, end, code - 10);
}

void clipRequest() {
    const GraphicsState& g = graphicsState();
    const bool whole = g.devIX1 == 0 && g.devIY1 == 0 && g.devIX2 == g.targetWidth - 1 &&
                       g.devIY2 == g.targetHeight - 1;
    if (g.targetType == DialogFieldTarget || !whole)
        ScreenClipRectangle(g.devIX1, flipped(g.devIY2), g.devIX2, flipped(g.devIY1));
    else
        ScreenClipRectangle(0, 0, 0, -1);
}

void lineWidthRequest() {
    const GraphicsState& g = graphicsState();
    int width = g.lineWidthScreen;
    if (g.targetType == MetafileTarget) {
        auto& pixels = graphicsServices().metafileSlotSize;
        auto& millimetres = graphicsServices().metafileSlotMillimetres;
        const TargetSize px = pixels ? pixels(g.targetId) : TargetSize{};
        const TargetSize mm = millimetres ? millimetres(g.targetId) : TargetSize{};
        width = mm.width > 0 ? g.lineWidthMetafile * px.width / (10 * mm.width) : 1;
    }
    ScreenLineWidth(width);
}

void getPixelRequest() {
    DeviceParameterBlock& b = deviceBlock();
    if (graphicsState().targetType == MetafileTarget) {
        b.pixX[1] = -1;
        return;
    }
    b.pixX[1] = ScreenGetPixel(b.pixX[1], flipped(b.pixY[1]));
}

void copyRequest() {
    const GraphicsState& g = graphicsState();
    if (g.targetType == MetafileTarget) return;
    const DeviceParameterBlock& b = deviceBlock();
    ScreenCopyRectangle(b.pixX[1], flipped(b.pixY[2]), b.pixX[3],
                        g.targetHeight - 1 - (b.pixY[3] + b.pixY[2] - b.pixY[1]),
                        b.pixX[2] - b.pixX[1] + 1, b.pixY[2] - b.pixY[1] + 1, b.value != 0,
                        tableRgb(0));
}

// The image fills the integer device area; on a page turned by 90 or 270
// degrees the loader turns it and needs the swapped rectangle.
void imageRequest() {
    const GraphicsState& g = graphicsState();
    const DeviceParameterBlock& b = deviceBlock();
    ImageRequest r;
    r.rotation = g.pageRotation;
    const bool turned = ntPlatform() && (g.pageRotation == 90 || g.pageRotation == 270);
    r.left = turned ? g.devIY1 : g.devIX1;
    r.right = turned ? g.devIY2 : g.devIX2;
    r.top = flipped(turned ? g.devIX2 : g.devIY2);
    r.bottom = flipped(turned ? g.devIX1 : g.devIY1);
    const int h = g.targetHeight;
    switch (g.pageRotation) {
        case 90:
            r.offsetX = g.devIX1 + g.devIX2 - h, r.offsetY = h;
            break;
        case 180:
            r.offsetX = g.devIX1 + g.devIX2, r.offsetY = 2 * h - g.devIY2 - g.devIY1;
            break;
        case 270:
            r.offsetX = h, r.offsetY = h - g.devIY2 - g.devIY1;
            break;
        default:
            break;
    }
    r.pixX1 = b.pixX[1], r.pixY1 = b.pixY[1], r.value = b.value, r.count = b.count;
    r.file = deviceTextBuffer().trimmed();
    if (auto& load = graphicsServices().imageFileToDC) load(r);
}

void shapeRequest(int code) {
    const DeviceParameterBlock& b = deviceBlock();
    switch (code) {
        case 4:
        case 5:
        case 6:
            ScreenEllipse(b.pixX[1], flipped(b.pixY[1]), b.pixX[2], b.pixY[2], code,
                          code == 4 ? 0 : code - 2);
            break;
        case 7:
        case 8:
            loadBlockPoints(4);
            ScreenPolygon(4, code - 4);
            break;
        case 11:
        case 12:
            loadBlockPoints(3);
            ScreenPolygon(3, code - 8);
            break;
        case 9:
        case 10:
            ScreenRectangle(b.pixX[1], flipped(b.pixY[2]), b.pixX[2], flipped(b.pixY[1]), code - 6);
            break;
        case 15:
        case 16:
            loadPoints(b.count);
            ScreenPolygon(b.count, code - 12);
            break;
        default:
            break;
    }
}

void dispatch(int code) {
    const GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    switch (code) {
        case 1:
            fillDeviceInfo();
            break;
        case 2:
            ScreenLine(b.pixX[1], flipped(b.pixY[1]), b.pixX[2], flipped(b.pixY[2]));
            break;
        case 3:
            ScreenSetColour(g.deviceColour, g.rgb);
            break;
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 15:
        case 16:
            shapeRequest(code);
            break;
        case 13:
        case 14:
        case 34:
            pieRequest(code);
            break;
        case 17:
            ScreenClear(g.targetWidth, g.targetHeight, tableRgb(0));
            break;
        case 18:
            ScreenForgetFont();
            break;
        case 20:
            ScreenPrintRequest();
            break;
        case 21:
        case 33:
            ScreenFontRequest();
            break;
        case 22:
            ScreenTextRequest();
            break;
        case 23:
            copyRequest();
            break;
        case 24:
            clipRequest();
            break;
        case 25:
            ScreenTextExtentRequest();
            break;
        case 26:
            ScreenSetPixel(b.pixX[1], flipped(b.pixY[1]));
            break;
        case 27:
            ScreenDrawingMode(g.drawingMode);
            break;
        case 28:
            ScreenPaletteColourRequest();
            break;
        case 29:
            ScreenLineStyle(g.lineStyle);
            break;
        case 30:
            lineWidthRequest();
            break;
        case 31:
            getPixelRequest();
            break;
        case 32:
            loadPoints(b.count);
            ScreenPolyline(b.count);
            break;
        case 35:
            ScreenPaletteLoadRequest();
            break;
        case 38:
            imageRequest();
            break;
        case 40:
            ScreenGradientRequest();
            break;
        default:
            break;  // 19, 36, 37, 39 and unknown codes do nothing
    }
}

}  // namespace

void YYGAPI(int code) {
    if (graphicsState().screenOutput == 0 || code < 1 || code > 40) return;
    dispatch(code);
}

void ScaleDashTables() {
    PrimitiveState& p = primitives();
    if (!ntPlatform()) return;
    const ScreenMetrics metrics = seams().screenMetrics ? seams().screenMetrics() : ScreenMetrics{};
    const int s = metrics.logPixelsX > 0 ? metrics.logPixelsX : 96;
    const int r = drawingSurface().metafile ? drawingSurface().referenceResolution : s;
    for (int style = 0; style < 8; ++style) {
        std::vector<win::DWORD>& scaled = p.scaledDashes[style];
        scaled.clear();
        for (std::size_t i = 0; i < kDashTables[style].size(); ++i) {
            win::DWORD v =
                kDashTables[style][i] * static_cast<win::DWORD>(r) / static_cast<win::DWORD>(s);
            if (p.penWidth >= 2 && i % 2 == 1) v += static_cast<win::DWORD>(p.penWidth - 1);
            scaled.push_back(v);
        }
    }
}

std::vector<win::DWORD> ScaledDashPattern(int style) {
    if (style < 0 || style > 7) return {};
    const std::vector<win::DWORD>& scaled = primitives().scaledDashes[style];
    return scaled.empty() ? kDashTables[style] : scaled;
}

void ScreenSurfaceChanged() {
    PrimitiveState& p = primitives();
    win::HDC dc = drawingSurface().dc;
    if (!dc) return;
    p.halftoneDirty = true;
    win::SetROP2(dc, p.rop2);
    win::SetBkMode(dc, win::TRANSPARENT);
    if (p.pen) win::SelectObject(dc, p.pen);
    if (p.font) win::SelectObject(dc, p.font);
    ScaleDashTables();
    if (win::HPALETTE palette = drawingSurface().palette) {
        win::SelectPalette(dc, palette, 0);
        win::RealizePalette(dc);
    }
}

void ResetScreenDriver() {
    releasePrimitives();
    ScreenForgetFont();
}

void PointBufferAlloc(int n) {
    primitives().points.assign(static_cast<std::size_t>(n > 0 ? n : 0), {});
}

void PointBufferSet(int x, int y, int i) {
    auto& points = primitives().points;
    if (i >= 0 && static_cast<std::size_t>(i) < points.size())
        points[static_cast<std::size_t>(i)] = {x, y};
}

void PointBufferFree() {
    primitives().points.clear();
}

}  // namespace tk
