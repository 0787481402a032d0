#include "toolkit/output/wmf_driver.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/wmf_primitives.h"

namespace tk {
namespace {

constexpr const char* kCapabilities = "00000111111111100010011011110";
constexpr const char* kDefaultTitle = "Veraziderad graphic";

struct WmfDriverState {
    int red = 255, green = 255, blue = 255;
    int prevRed = 255, prevGreen = 255, prevBlue = 255;
    int width = 0, height = 0;  // logical size of the picture
    float lineWidthRatio = 1;
    WmfSettings settings;
};

WmfDriverState& state() {
    static WmfDriverState s;
    return s;
}

int convertX(float x) {
    return static_cast<int>(graphicsState().hardcopyScaleX * x);
}
int convertY(float y) {
    const GraphicsState& g = graphicsState();
    return static_cast<int>((g.plotExtentY - y) * g.hardcopyScaleY);
}
win::POINT convert(float x, float y) {
    return win::POINT{convertX(x), convertY(y)};
}

void dirty() {
    if (wmfDriverHooks().setPageDirty) wmfDriverHooks().setPageDirty(true);
}

void currentComponents(int colourNumber, int rgb, int& r, int& g, int& b) {
    ColourNumberComponents(graphicsState().colourMode == 1 ? colourNumber : rgb, r, g, b);
    WmfColourInvert(state().settings.colourHandling, r, g, b);
}

void initialise(DeviceParameterBlock& b) {
    if (b.count == -999) {
        b.count = 11;
        return;
    }
    if (wmfDriverHooks().applyDefaults) wmfDriverHooks().applyDefaults();
    DeviceInfo& info = hardcopyDeviceInfo();
    info.hardcopyTextLayout = 1;
    info.hardcopyTextBox = 1;
    info.hardcopyColourCount = 256;
    info.gradientFillAvailable = 2;
    info.trueColour = 1;
    info.styledVadiLines = toolkitState().NtFamily ? 2 : 1;
    info.textAngleCapability = 360;
    info.lineStyleCount = 8;
    info.deviceTextThreshold = 1.7e38f;
    info.capabilities.assign(kCapabilities);
}

void updateScales() {
    GraphicsState& g = graphicsState();
    const WmfDriverState& s = state();
    if (g.plotExtentX != 0) g.hardcopyScaleX = static_cast<float>(s.width) / g.plotExtentX;
    if (g.plotExtentY != 0) g.hardcopyScaleY = static_cast<float>(s.height) / g.plotExtentY;
    const bool quarter = g.pageRotation == 90 || g.pageRotation == 270;
    g.rotHardcopyScaleX = quarter ? g.hardcopyScaleY : g.hardcopyScaleX;
    g.rotHardcopyScaleY = quarter ? g.hardcopyScaleX : g.hardcopyScaleY;
}

void beginOutput(DeviceParameterBlock& b) {
    WmfDriverState& s = state();
    if (b.value > 0) {
        s.settings = wmfDriverHooks().settings ? wmfDriverHooks().settings() : WmfSettings{};
        const WmfSettings& o = s.settings;
        if (b.pixX[1] == 0 || o.title.empty()) s.settings.title = kDefaultTitle;
        s.width = 10 * o.pageWidth;
        s.height = 10 * o.pageHeight;
        std::string description = "ZAZ metafile driver";
        description.push_back('\0');
        description += s.settings.title;
        description.push_back('\0');
        description.push_back('\0');
        if (WmfIsOpen()) WmfClose();
        const WmfCreateResult r =
            WmfCreate(s.width, s.height, o.metafileKind, o.systemDashes, o.pageWidth, o.pageHeight,
                      b.count == 1, deviceTextBuffer().trimmed(), description);
        if (r.status != 0) {
            toolkitState().OsErrorCode = r.error;
            toolkitState().ErrorCategory = 2;
            ReportLibraryError(1, "XXWMF");
            if (wmfDriverHooks().outputOff) wmfDriverHooks().outputOff();
            return;
        }
        if (o.metafileKind == kEnhancedMetafile && o.pageWidth > 0)
            s.lineWidthRatio = static_cast<float>(s.width) / static_cast<float>(10 * o.pageWidth);
        s.red = s.green = s.blue = 255;
    }
    updateScales();
}

void setColour() {
    WmfDriverState& s = state();
    const GraphicsState& g = graphicsState();
    s.prevRed = s.red, s.prevGreen = s.green, s.prevBlue = s.blue;
    currentComponents(g.colourNumber, g.rgb, s.red, s.green, s.blue);
    WmfSetColour(s.red, s.green, s.blue);
}

// Start and end points of a sector in logical units.
void sectorPoints(const DeviceParameterBlock& b, win::POINT& start, win::POINT& end) {
    const float cx = b.fx[1], cy = b.fy[1], rx = b.fx[2], ry = b.fy[2];
    start = convert(cx + rx * std::cos(b.fx[3]), cy + ry * std::sin(b.fx[3]));
    end = convert(cx + rx * std::cos(b.fy[3]), cy + ry * std::sin(b.fy[3]));
    if (start.x == end.x && start.y == end.y && std::fabs(b.fy[4]) <= 10.0f) {
        float a = std::fmod(b.fx[4], 360.0f);
        if (a < 0) a += 360.0f;
        if (a < 90)
            end.x -= 1, end.y -= 1;
        else if (a < 180)
            end.x -= 1, end.y += 1;
        else if (a < 270)
            end.x += 1, end.y += 1;
        else
            end.x += 1, end.y -= 1;
    }
}

std::vector<win::POINT> bufferPoints(int count) {
    const DevicePointArrays& p = devicePointArrays();
    const int n = std::clamp(count, 0, static_cast<int>(p.x.size()));
    std::vector<win::POINT> pts(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < pts.size(); ++i)
        pts[i] = convert(p.x[i], p.y[i]);
    return pts;
}

void filled(const DeviceParameterBlock& b, DeviceRequest request) {
    WmfDriverState& s = state();
    const GraphicsState& g = graphicsState();
    const bool solid = g.fillStyle > 2;
    if (b.value == -1) {
        // Put back the line colour and the previous colour behind it.
        if (solid) {
            WmfSetColour(s.prevRed, s.prevGreen, s.prevBlue);
            WmfSetColour(s.red, s.green, s.blue);
        }
        return;
    }
    dirty();
    if (solid) {
        int r = 0, gr = 0, bl = 0;
        ColourNumberComponents(g.colourMode == 1 ? g.colourNumber : g.rgb, r, gr, bl);
        if (g.fillStyle == 3) {
            int pr = 0, pg = 0, pb = 0;
            ColourNumberComponents(g.colourMode == 1 ? g.previousColourNumber : g.previousRgb, pr,
                                   pg, pb);
            r = (r + pr) / 2, gr = (gr + pg) / 2, bl = (bl + pb) / 2;
        }
        WmfColourInvert(s.settings.colourHandling, r, gr, bl);
        WmfSetColour(r, gr, bl);
    }
    if (!solid && request != 5) return;
    const win::POINT c = convert(b.fx[1], b.fy[1]);
    const int rx = static_cast<int>(g.hardcopyScaleX * b.fx[2]);
    const int ry = static_cast<int>(g.hardcopyScaleY * b.fy[2]);
    switch (request) {
        case 5:
            WmfEllipse(c.x, c.y, rx, ry, g.fillStyle);
            break;
        case 7:
        case 11: {
            std::vector<win::POINT> pts;
            for (int k = 1; k <= (request == 7 ? 4 : 3); ++k)
                pts.push_back(convert(b.fx[k], b.fy[k]));
            WmfPolygon(pts.data(), static_cast<int>(pts.size()));
            break;
        }
        case 9: {
            const win::POINT lo = convert(std::max(g.devX1, b.fx[1]), std::min(g.devY2, b.fy[2]));
            const win::POINT hi = convert(std::min(g.devX2, b.fx[2]), std::max(g.devY1, b.fy[1]));
            WmfRectangle(lo.x, lo.y, hi.x, hi.y);
            break;
        }
        case 13: {
            win::POINT a{}, z{};
            sectorPoints(b, a, z);
            WmfPie(c.x, c.y, rx, ry, a.x, a.y, z.x, z.y);
            break;
        }
        default: {
            const auto pts = bufferPoints(b.count);
            WmfPolygon(pts.data(), static_cast<int>(pts.size()));
        }
    }
}

void selectFont() {
    const GraphicsState& g = graphicsState();
    float w = g.charWidthFraction * g.devSpanX * g.rotHardcopyScaleX;
    float h = g.charHeightFraction * g.devSpanY * g.rotHardcopyScaleY;
    int style = g.fontStyle;
    const int font = g.effectiveFontKind;
    if (g.textMode == 1) {
        w *= 0.607f, h *= 0.821f;
        style &= ~4;
    } else if (g.textMode == 2) {
        w *= 0.725f, h *= 0.821f;
    }
    if (font == 4 && (g.textMode == 1 || g.textMode == 2)) w *= 1.38f;
    WmfSelectFont(static_cast<int>(w), static_cast<int>(h), static_cast<int>(g.deviceTextAngle),
                  font, style, g.textFontName.trimmed());
}

void text(DeviceParameterBlock& b) {
    dirty();
    const GraphicsState& g = graphicsState();
    const float ox = g.heightX / 4, oy = g.heightY / 4;
    const win::POINT a = convert(b.fx[1] + ox, b.fy[1] - oy);
    const win::POINT z = convert(b.fx[3] + ox, b.fy[3] - oy);
    const int justification = g.textMode == 1 ? 0 : g.textJustification;
    const bool opaque = (g.fontStyle & 8) != 0 && g.textFill == 0 && g.textMode != 1;
    const int n = std::clamp(b.pixX[1], 0, static_cast<int>(deviceTextBuffer().size()));
    WmfTextOut(a.x, a.y, z.x, z.y, justification, opaque,
               std::string_view(deviceTextBuffer().data(), static_cast<std::size_t>(n)));
    b.pixX[4] = 0;
}

void clipToArea() {
    const GraphicsState& g = graphicsState();
    WmfClip(static_cast<int>(g.hardcopyScaleX * g.devX1),
            static_cast<int>((g.plotExtentY - g.devY2) * g.hardcopyScaleY),
            static_cast<int>(g.hardcopyScaleX * g.devX2 + 0.99f),
            static_cast<int>((g.plotExtentY - g.devY1) * g.hardcopyScaleY + 0.99f));
}

void gradient() {
    dirty();
    const GraphicsState& g = graphicsState();
    const DevicePointArrays& a = devicePointArrays();
    GradientPolygon& polygon = gradientPolygon();
    const int n =
        std::min({polygon.vertexCount, static_cast<int>(a.x.size()), kMaxGradientVertices});
    polygon.vertexCount = n;
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
        polygon.x[k] = convertX(a.x[k]);
        polygon.y[k] = convertY(a.y[k]);
    }
    const int mode = WmfIsEnhanced() ? hardcopyDeviceInfo().gradientFillAvailable : 1;
    GradientPolygonPrepare(mode, convertX(g.devX1), convertY(g.devY2), convertX(g.devX2),
                           convertY(g.devY1), WmfGradientPixel, WmfGradientTriangles);
}

}  // namespace

WmfDriverHooks& wmfDriverHooks() {
    static WmfDriverHooks hooks;
    return hooks;
}

void XXWMF(DeviceRequest request) {
    DeviceParameterBlock& b = deviceBlock();
    if (request == 1) return initialise(b);
    if (request == 18) return beginOutput(b);
    if (!WmfIsOpen()) return;
    const GraphicsState& g = graphicsState();
    WmfDriverState& s = state();
    switch (request) {
        case 2:
            dirty();
            WmfLine(convertX(b.fx[1]), convertY(b.fy[1]), convertX(b.fx[2]), convertY(b.fy[2]));
            break;
        case 3:
        case 35:
            setColour();
            break;
        case 5:
        case 7:
        case 9:
        case 11:
        case 13:
        case 15:
            filled(b, request);
            break;
        case 19: {
            const int status = WmfClose();
            if (status != 0) ReportLibraryError(status, "XXWMF");
            break;
        }
        case 20:
            if (wmfDriverHooks().setPageDirty) wmfDriverHooks().setPageDirty(false);
            break;
        case 21:
        case 33:
            selectFont();
            break;
        case 22:
            text(b);
            break;
        case 24:
            if (WmfIsEnhanced()) clipToArea();
            break;
        case 25:
            if (WmfIsEnhanced()) {
                const int n = std::clamp(b.value, 0, static_cast<int>(deviceTextBuffer().size()));
                const int width = WmfTextExtent(
                    std::string_view(deviceTextBuffer().data(), static_cast<std::size_t>(n)));
                b.count = 1;
                b.fx[1] =
                    g.rotHardcopyScaleX != 0 ? static_cast<float>(width) / g.rotHardcopyScaleX : 0;
            }
            break;
        case 26:
            dirty();
            WmfPoint(convertX(b.fx[1]), convertY(b.fy[1]));
            break;
        case 29:
            WmfLineStyle(g.lineStyle);
            break;
        case 30:
            WmfLineWidth(WmfIsEnhanced()
                             ? static_cast<int>(static_cast<float>(s.settings.lineWidthOption) *
                                                s.lineWidthRatio)
                             : s.settings.lineWidthOption);
            break;
        case 32: {
            dirty();
            const auto pts = bufferPoints(b.count);
            WmfPolyline(pts.data(), static_cast<int>(pts.size()));
            break;
        }
        case 34: {
            dirty();
            win::POINT a{}, z{};
            sectorPoints(b, a, z);
            WmfArc(convertX(b.fx[1]), convertY(b.fy[1]),
                   static_cast<int>(g.hardcopyScaleX * b.fx[2]),
                   static_cast<int>(g.hardcopyScaleY * b.fy[2]), a.x, a.y, z.x, z.y, g.fillDensity);
            break;
        }
        case 38:
            dirty();
            WindowsImageRequest(WmfDC(), nullptr);
            break;
        case 40:
            gradient();
            break;
        default:
            break;
    }
}

}  // namespace tk
