#include "toolkit/output/printer_driver.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "toolkit/core/error_report.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/printer_device_context.h"
#include "toolkit/output/printer_primitives.h"

namespace tk {

namespace {

constexpr const char* kCapabilities = "00000111111111100010011011110";

struct DriverState {
    int queryStatus = 1;
    int colourCount = 0;
    int red = 255, green = 255, blue = 255;
    int previousRed = 255, previousGreen = 255, previousBlue = 255;
    int cellHeight = 0, ascent = 0;
    int pagePixelsX = 0, pagePixelsY = 0;
    float resolutionX = 0, resolutionY = 0;
};

DriverState& driver() {
    static DriverState s;
    return s;
}

int toX(float x) {
    return static_cast<int>(graphicsState().hardcopyScaleX * x);
}

int toY(float y) {
    const GraphicsState& g = graphicsState();
    return static_cast<int>((g.plotExtentY - y) * g.hardcopyScaleY);
}

bool ntFamily() {
    int kind = 0;
    WindowsPlatformQuery(kind);
    return kind == 4;
}

void initialise() {
    DeviceParameterBlock& b = deviceBlock();
    if (b.count == -999) {
        b.count = hc::PrinterDriverNumber;
        return;
    }
    HardcopyDriverDefaults();
    HardcopyOptions& o = hardcopyOptions();
    HardcopyDeviceState& d = hardcopyDeviceState();
    DriverState& s = driver();
    if (b.value != -998) {
        const PrinterPageCaps caps = PrinterQueryCaps();
        o.sheetWidth = caps.longSide;
        o.sheetHeight = caps.shortSide;
        o[hc::PageWidth] = caps.usableWidth;
        o[hc::PageHeight] = caps.usableHeight;
        o[hc::PageOffsetX] = caps.offsetX;
        o[hc::PageOffsetY] = caps.offsetY;
        o[hc::Orientation] = caps.orientation;
        o[hc::Copies] = caps.copies;
        s.colourCount = caps.colourCount;
        s.queryStatus = caps.error;
        d.colourCount = s.colourCount;
        d.colourLimit = 256;
        o.printerAvailable = caps.error == 0 ? 1 : 0;
        o[hc::BlackLines] = s.colourCount <= 2 ? 1 : 0;
    }
    DeviceInfo& info = hardcopyDeviceInfo();
    info.hardcopyTextLayout = 1;
    info.hardcopyTextBox = 1;
    auto& gradient = graphicsServices().gradientFillSupport;
    info.gradientFillAvailable = gradient ? gradient() : 2;
    info.trueColour = 1;
    info.styledVadiLines = ntFamily() ? 2 : 1;
    info.textAngleCapability = 360;
    info.lineStyleCount = 8;
    info.deviceTextThreshold = 1.7e38f;
    info.hardcopyColourCount = d.colourCount;
    info.capabilities.assign(kCapabilities);
    d.printCommandAllowed = 0;
    d.activeDriver = hc::PrinterDriverNumber;
}

void beginOutput() {
    DeviceParameterBlock& b = deviceBlock();
    HardcopyOptions& o = hardcopyOptions();
    DriverState& s = driver();
    GraphicsState& g = graphicsState();
    if (b.value > 0) {
        PrnDocStart start;
        start.status = 1;
        if (s.queryStatus == 0) {
            if (b.pixX[1] == 0) o.title.assign("Veraziderad graphic");
            const std::string title(o.title.trimmed());
            start =
                PrnStartDoc(o[hc::PageWidth], o[hc::PageHeight], o[hc::PageOffsetX],
                            o[hc::PageOffsetY], o[hc::Orientation], o[hc::Copies], title.c_str());
        } else {
            start.error = s.queryStatus;
        }
        if (start.status != 0) {
            ToolkitState& t = toolkitState();
            t.OsErrorCode = start.error;
            t.ErrorCategory = 2;
            ReportLibraryError(1, "XXWIN");
            g.hardcopyDriver = 0;
            return;
        }
        HardcopyDeviceState& d = hardcopyDeviceState();
        d.resolutionX = start.resolutionX;
        d.resolutionY = start.resolutionY;
        s.resolutionX = static_cast<float>(start.resolutionX);
        s.resolutionY = static_cast<float>(start.resolutionY);
        s.pagePixelsX = start.resolutionX * o[hc::PageWidth] / 72;
        s.pagePixelsY = start.resolutionY * o[hc::PageHeight] / 72;
        d.colourCount = std::min(start.colourCount, 256);
        s.red = s.green = s.blue = 255;
    }
    if (g.targetWidth > 0)
        g.hardcopyScaleX = static_cast<float>(s.pagePixelsX) / static_cast<float>(g.targetWidth);
    if (g.targetHeight > 0)
        g.hardcopyScaleY = static_cast<float>(s.pagePixelsY) / static_cast<float>(g.targetHeight);
}

void colourRequest() {
    DriverState& s = driver();
    const GraphicsState& g = graphicsState();
    s.previousRed = s.red, s.previousGreen = s.green, s.previousBlue = s.blue;
    if (hardcopyOptions()[hc::BlackLines] != 0) {
        const bool white = g.colourMode == 2 ? (g.rgb & 0xFFFFFF) == 0xFFFFFF : g.colourNumber == 0;
        s.red = s.green = s.blue = white ? 255 : 0;
    } else {
        ColourNumberComponents(g.colourMode == 2 ? g.rgb : g.colourNumber, s.red, s.green, s.blue);
        PrnColourInvert(s.red, s.green, s.blue);
    }
    PrnSetColour(s.red, s.green, s.blue);
}

void loadPoints(int n) {
    const DevicePointArrays& p = devicePointArrays();
    std::vector<win::POINT>& points = prnState().points;
    n = std::clamp(n, 0, static_cast<int>(p.x.size()));
    points.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        points[static_cast<std::size_t>(i)].x = toX(p.x[static_cast<std::size_t>(i)]);
        points[static_cast<std::size_t>(i)].y = toY(p.y[static_cast<std::size_t>(i)]);
    }
}

void loadCorners(int n) {
    const DeviceParameterBlock& b = deviceBlock();
    std::vector<win::POINT>& points = prnState().points;
    points.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        points[static_cast<std::size_t>(i)] = win::POINT{toX(b.fx[i + 1]), toY(b.fy[i + 1])};
}

// Start and end points of a sector, in printer pixels.
void sectorPoints(int& x1, int& y1, int& x2, int& y2) {
    const DeviceParameterBlock& b = deviceBlock();
    const float cx = b.fx[1], cy = b.fy[1], rx = b.fx[2], ry = b.fy[2];
    x1 = toX(cx + rx * std::cos(b.fx[3]));
    y1 = toY(cy + ry * std::sin(b.fx[3]));
    x2 = toX(cx + rx * std::cos(b.fy[3]));
    y2 = toY(cy + ry * std::sin(b.fy[3]));
    if (x1 != x2 || y1 != y2 || std::fabs(b.fy[4]) > 10.0f) return;
    float a = std::fmod(b.fx[4], 360.0f);
    if (a < 0) a += 360.0f;
    if (a < 90)
        --x2, --y2;
    else if (a < 180)
        --x2, ++y2;
    else if (a < 270)
        ++x2, ++y2;
    else
        ++x2, --y2;
}

int radiusX() {
    return static_cast<int>(graphicsState().hardcopyScaleX * deviceBlock().fx[2]);
}

int radiusY() {
    return static_cast<int>(graphicsState().hardcopyScaleY * deviceBlock().fy[2]);
}

void filledRequest(int request) {
    DeviceParameterBlock& b = deviceBlock();
    DriverState& s = driver();
    const GraphicsState& g = graphicsState();
    const int f = g.fillStyle;
    const bool solidLike = f > 2 || (f > 0 && s.colourCount <= 2 && s.colourCount > 0);
    if (b.value == -1) {
        if (solidLike) {
            PrnSetColour(s.previousRed, s.previousGreen, s.previousBlue);
            PrnSetColour(s.red, s.green, s.blue);
        }
        return;
    }
    hardcopyDeviceState().pageDirty = true;
    if (solidLike) {
        int r = 0, gr = 0, bl = 0;
        ColourNumberComponents(g.colourMode == 2 ? g.rgb : g.colourNumber, r, gr, bl);
        if (f == 3) {
            int pr = 0, pg = 0, pb = 0;
            ColourNumberComponents(g.colourMode == 2 ? g.previousRgb : g.previousColourNumber, pr,
                                   pg, pb);
            r = (r + pr) / 2, gr = (gr + pg) / 2, bl = (bl + pb) / 2;
        }
        PrnColourInvert(r, gr, bl);
        PrnSetColour(r, gr, bl);
    }
    if (f <= 2 && request != 5) return;
    switch (request) {
        case 5:
            PrnEllipse(toX(b.fx[1]), toY(b.fy[1]), radiusX(), radiusY(), f);
            break;
        case 7:
            loadCorners(4);
            PrnPolygon(4, 0);
            break;
        case 9: {
            const float left = std::max(g.devX1, b.fx[1]), lower = std::max(g.devY1, b.fy[1]);
            const float right = std::min(g.devX2, b.fx[2]), upper = std::min(g.devY2, b.fy[2]);
            PrnRectangle(toX(left), toY(upper), toX(right), toY(lower));
            break;
        }
        case 11:
            loadCorners(3);
            PrnPolygon(3, 0);
            break;
        case 13: {
            int x1, y1, x2, y2;
            sectorPoints(x1, y1, x2, y2);
            PrnPie(toX(b.fx[1]), toY(b.fy[1]), radiusX(), radiusY(), x1, y1, x2, y2);
            break;
        }
        case 15:
            loadPoints(b.count);
            PrnPolygon(static_cast<int>(prnState().points.size()), g.textFill);
            prnState().points.clear();
            break;
        default:
            break;
    }
}

void fontRequest() {
    const GraphicsState& g = graphicsState();
    DriverState& s = driver();
    float w = g.charWidthFraction * g.rotDevSpanX * g.rotHardcopyScaleX;
    float h = g.charHeightFraction * g.rotDevSpanY * g.rotHardcopyScaleY;
    int style = g.fontStyle;
    if (g.textMode != 0) {
        w *= (g.textMode == 1 ? 0.607f : 0.725f) * (g.deviceFontKind == 4 ? 1.38f : 1.0f);
        h *= 0.821f;
        if (g.textMode == 1) style &= ~4;
    }
    const std::string face(g.textFontName.trimmed());
    int height = static_cast<int>(h);
    PrnSelectFont(static_cast<int>(w), height, s.ascent, static_cast<int>(g.deviceTextAngle),
                  g.deviceFontKind, style, face.c_str());
    s.cellHeight = height;
}

void textRequest() {
    DeviceParameterBlock& b = deviceBlock();
    const GraphicsState& g = graphicsState();
    const DriverState& s = driver();
    const float d = static_cast<float>(s.ascent) - static_cast<float>(s.cellHeight) / 2.0f;
    const float dx = g.rotHardcopyScaleX != 0 ? d * g.dirSinOverA / g.rotHardcopyScaleX : 0;
    const float dy = g.rotHardcopyScaleY != 0 ? d * g.dirCos / g.rotHardcopyScaleY : 0;
    const int justification = g.textMode == 1 ? 0 : g.textJustification;
    const bool opaque = (g.fontStyle & 8) != 0 && g.textStacking == 0 && g.textMode != 1;
    const int n = std::clamp(b.pixX[1], 0, 260);
    PrnTextOut(toX(b.fx[1] + dx), toY(b.fy[1] - dy), toX(b.fx[3] + dx), toY(b.fy[3] - dy),
               justification, opaque,
               std::string_view(deviceTextBuffer().data(), static_cast<std::size_t>(n)));
    b.pixX[4] = 0;
}

void clipRequest() {
    const GraphicsState& g = graphicsState();
    PrnClip(static_cast<int>(g.hardcopyScaleX * g.devX1),
            static_cast<int>((g.plotExtentY - g.devY2) * g.hardcopyScaleY),
            static_cast<int>(g.hardcopyScaleX * g.devX2 + 0.99f),
            static_cast<int>((g.plotExtentY - g.devY1) * g.hardcopyScaleY + 0.99f));
}

void lineWidthRequest() {
    const DriverState& s = driver();
    const float option = static_cast<float>(hardcopyOptions()[hc::LineWidthOption]);
    const int wx = std::max(1, static_cast<int>(option * s.resolutionX / 720.0f + 0.5f));
    const int wy = std::max(1, static_cast<int>(option * s.resolutionY / 720.0f + 0.5f));
    PrnLineWidth((wx + wy - 2) / 2);
}

void gradientRequest() {
    const GraphicsState& g = graphicsState();
    GradientPolygon& polygon = gradientPolygon();
    const DevicePointArrays& p = devicePointArrays();
    const int n = std::min(polygon.vertexCount, static_cast<int>(p.x.size()));
    for (int i = 0; i < n; ++i) {
        polygon.x[static_cast<std::size_t>(i)] = toX(p.x[static_cast<std::size_t>(i)]);
        polygon.y[static_cast<std::size_t>(i)] = toY(p.y[static_cast<std::size_t>(i)]);
    }
    GradientPolygonPrepare(hardcopyDeviceInfo().gradientFillAvailable,
                           static_cast<int>(g.hardcopyScaleX * g.devX1),
                           static_cast<int>((g.plotExtentY - g.devY2) * g.hardcopyScaleY),
                           static_cast<int>(g.hardcopyScaleX * g.devX2),
                           static_cast<int>((g.plotExtentY - g.devY1) * g.hardcopyScaleY),
                           PrnGradientPixel, PrnGradientTriangles);
}

void drawingRequest(int request) {
    DeviceParameterBlock& b = deviceBlock();
    const GraphicsState& g = graphicsState();
    hardcopyDeviceState().pageDirty = true;
    switch (request) {
        case 2:
            PrnLine(toX(b.fx[1]), toY(b.fy[1]), toX(b.fx[2]), toY(b.fy[2]));
            break;
        case 22:
            textRequest();
            break;
        case 26:
            PrnPoint(toX(b.fx[1]), toY(b.fy[1]));
            break;
        case 32:
            loadPoints(b.count);
            PrnPolyline(static_cast<int>(prnState().points.size()));
            prnState().points.clear();
            break;
        case 34: {
            int x1, y1, x2, y2;
            sectorPoints(x1, y1, x2, y2);
            PrnArc(toX(b.fx[1]), toY(b.fy[1]), radiusX(), radiusY(), x1, y1, x2, y2, g.fillDensity);
            b.value = 1;
            break;
        }
        case 38:
            if (prnState().pagePending) PrnBeginPage();
            WindowsImageRequest(prnState().dc, prnState().clip);
            break;
        case 40:
            gradientRequest();
            break;
        default:
            break;
    }
}

}  // namespace

void XXWIN(int request) {
    DeviceParameterBlock& b = deviceBlock();
    const bool documentOpen = prnState().documentOpen;
    switch (request) {
        case 1:
            initialise();
            return;
        case 18:
            beginOutput();
            return;
        default:
            break;
    }
    // Everything else needs an open document.
    if (!documentOpen) return;
    switch (request) {
        case 2:
        case 22:
        case 26:
        case 32:
        case 34:
        case 38:
        case 40:
            drawingRequest(request);
            break;
        case 3:
        case 35:
            colourRequest();
            break;
        case 5:
        case 7:
        case 9:
        case 11:
        case 13:
        case 15:
            filledRequest(request);
            break;
        case 19:
            PrnEndDoc();
            break;
        case 20:
            hardcopyDeviceState().pageDirty = false;
            PrnEndPage();
            break;
        case 21:
        case 33:
            fontRequest();
            break;
        case 24:
            clipRequest();
            break;
        case 25: {
            const int n = std::clamp(b.value, 0, 260);
            const int width = PrnTextExtent(
                std::string_view(deviceTextBuffer().data(), static_cast<std::size_t>(n)));
            b.count = 1;
            const float scale = graphicsState().rotHardcopyScaleX;
            b.fx[1] = scale != 0 ? static_cast<float>(width) / scale : 0;
            break;
        }
        case 29:
            PrnLineStyle(graphicsState().lineStyle);
            break;
        case 30:
            lineWidthRequest();
            break;
        default:
            break;
    }
}

int PrinterDriverQueryStatus() {
    return driver().queryStatus;
}

void ResetPrinterDriver() {
    ResetPrinterPrimitives();
    driver() = DriverState{};
}

}  // namespace tk
