#include "toolkit/output/software_rasteriser.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/raster_state.h"

namespace tk {

namespace {

constexpr int kUnit = 2;

struct Dash {
    int pattern, length;
};
constexpr Dash kDashTable[8] = {{0xFFF, 12},  {0x104, 12}, {0xE07, 12}, {0x1E1, 12},
                                {0x3C9, 12},  {0xCE7, 12}, {0x8E3, 12}, {0x19CE7, 17}};

int column(float x) {
    return static_cast<int>(x * graphicsState().hardcopyScaleX);
}
int row(float y) {
    return static_cast<int>(y * graphicsState().hardcopyScaleY);
}

void markDrawn() {
    hardcopyDeviceState().pageDirty = true;
    rasterState().pageDrawn = true;
}

int currentColourNumber() {
    const GraphicsState& g = graphicsState();
    if (g.colourNumber >= 0) return g.colourNumber;
    int n = 0;
    NearestColourNumber(g.rgb, n);
    return n;
}

void initialise() {
    HardcopyDriverDefaults();
    DeviceInfo& info = hardcopyDeviceInfo();
    info.hardcopyTextLayout = 0;
    info.hardcopyTextBox = 0;
    info.trueColour = 1;
    info.textAngleCapability = 0;
    info.deviceTextThreshold = 0.0f;
    info.gradientFillAvailable = 0;
    rasterState().totalWords = 0;
}

// The dither patterns tell where a colour is bright; a one-bit page inks
// its dots, so its fills take the complement (a white fill clears, a black
// one inks every dot).
ColourPatternTriple inkPatterns() {
    ColourPatternTriple p = ColourToGreyDither(rasterState().colourScheme);
    if (rasterState().bitsPerPixel == 1) p = {~p.first, ~p.second, ~p.third};
    return p;
}

void colourRequest() {
    RasterState& r = rasterState();
    const GraphicsState& g = graphicsState();
    r.previousPixelValue = r.pixelValue;
    r.previousPatterns = r.colourPatterns;
    r.colourPatterns = inkPatterns();
    const int handling = hardcopyOptions()[hc::ColourHandling];
    const int n = currentColourNumber();
    switch (r.bitsPerPixel) {
        case 1:
            r.pixelValue = n == (handling == 0 ? 0 : 223) ? 0u : 1u;
            break;
        case 3: {
            int red = 0, green = 0, blue = 0;
            ColourNumberComponents(g.colourMode == 2 ? g.rgb : g.colourNumber, red, green, blue);
            int v = (red >= 128) + 2 * (green >= 128) + 4 * (blue >= 128);
            if (handling == 2 && (v == 0 || v == 7)) v = 7 - v;
            if (r.colourScheme == 2) v = 7 - v;
            r.pixelValue = static_cast<std::uint32_t>(v);
            break;
        }
        case 4:
            r.pixelValue = static_cast<std::uint32_t>(NibbleColour(n));
            break;
        case 8:
            r.pixelValue = static_cast<std::uint32_t>(n);
            break;
        default: {
            int rgb = g.rgb;
            if (g.colourMode == 1) ColourNumberRgb(n, rgb);
            r.pixelValue = static_cast<std::uint32_t>(rgb) & 0xFFFFFFu;
            break;
        }
    }
}

void trapezium() {
    const RasterState& r = rasterState();
    const DeviceParameterBlock& b = deviceBlock();
    int i[5], j[5];
    for (int k = 1; k <= 4; ++k)
        i[k] = column(b.fx[k]), j[k] = row(b.fy[k]);
    const int first = std::max(r.clipRowMin, std::min(j[1], j[2]));
    const int last = std::min(r.clipRowMax, std::max(j[3], j[4]));
    if (first == last) {
        RasterFillSpan(std::max(r.clipColumnMin, std::min(i[1], i[4])),
                       std::min(r.clipColumnMax, std::max(i[2], i[3])), first);
        return;
    }
    for (int y = last; y >= first; --y) {
        int start, end;
        if (b.value == 1) {
            start = std::max(r.clipColumnMin, i[1]);
            end = std::min(r.clipColumnMax, i[2]);
            const bool low = y > j[4] || y < j[1];
            const bool high = y > j[3] || y < j[2];
            if (low || high) {
                const int e1 = RasterEdgeIntersect(i[1], j[1], i[2], j[2], y);
                const int e2 = RasterEdgeIntersect(i[4], j[4], i[3], j[3], y);
                const int baseStart = start, baseEnd = end;
                const bool in1 = e1 >= baseStart && e1 <= baseEnd;
                const bool in2 = e2 >= baseStart && e2 <= baseEnd;
                if (in1 && in2) {
                    if (low) start = std::min(e1, e2);
                    if (high) end = std::max(e1, e2);
                } else if (in1) {
                    if (j[2] < j[1]) {
                        if (low) start = e1;
                    } else if (high) {
                        end = e1;
                    }
                } else if (in2) {
                    if (j[4] < j[3]) {
                        if (low) start = e2;
                    } else if (high) {
                        end = e2;
                    }
                }
            }
        } else {
            start = std::max(r.clipColumnMin, RasterEdgeIntersect(i[1], j[1], i[4], j[4], y));
            end = std::min(r.clipColumnMax, RasterEdgeIntersect(i[2], j[2], i[3], j[3], y));
        }
        RasterFillSpan(start, end, y);
    }
}

void triangle() {
    const RasterState& r = rasterState();
    const DeviceParameterBlock& b = deviceBlock();
    const int i1 = column(b.fx[1]), i2 = column(b.fx[2]), i3 = column(b.fx[3]);
    const int j1 = row(b.fy[1]), j2 = row(b.fy[2]), j3 = row(b.fy[3]);
    const auto slope = [](int a, int b2, int c, int d) {
        return c - d != 0 ? static_cast<float>(a - b2) / static_cast<float>(c - d) : 0.0f;
    };
    const float s12 = slope(i1, i2, j1, j2), s23 = slope(i2, i3, j2, j3), s13 = slope(i1, i3, j1, j3);
    const auto at = [](int i, int dj, float s) {
        return static_cast<int>(static_cast<float>(i) + static_cast<float>(dj) * s);
    };
    for (int j = std::min(j3, r.clipRowMax); j >= std::max(j1, r.clipRowMin); --j) {
        int a, c;
        if (j < j2) {
            a = at(i2, j - j2, s12), c = at(i3, j - j3, s13);
        } else if (j > j2) {
            a = at(i3, j - j3, s13), c = at(i3, j - j3, s23);
        } else {
            a = i2;
            c = j1 == j2 ? i1 : j2 == j3 ? i3 : at(i3, j2 - j3, s13);
        }
        RasterFillSpan(std::max(r.clipColumnMin, std::min(a, c)),
                       std::min(r.clipColumnMax, std::max(a, c)), j);
    }
}

void filledRequest(int code) {
    RasterState& r = rasterState();
    GraphicsState& g = graphicsState();
    DeviceParameterBlock& b = deviceBlock();
    if (b.value == -1) return;
    markDrawn();
    if (g.fillStyle < 3) {
        if (code == 5) b.value = -1;
        return;
    }
    r.mixedFill = g.fillStyle == 3 && g.previousColourNumber != g.colourNumber;
    const bool handling = hardcopyOptions()[hc::ColourHandling] != 0;
    if (g.textFill != 0) {
        const std::uint32_t solid = currentColourNumber() != 0 ? 0xFFFFFFFFu : 0u;
        r.fillPatternEven = handling ? ~solid : solid;
    } else {
        r.fillPatternEven = r.colourPatterns.first;
    }
    r.fillPatternOdd = r.mixedFill ? r.previousPatterns.first : r.fillPatternEven;
    switch (code) {
        case 5:
        case 13:
        case 15:
            g.lineFillHardcopy = 1;
            g.lineFillSpacing = r.rowCount > 0 ? g.plotExtentY / static_cast<float>(r.rowCount) : 1.0f;
            hardcopyDeviceState().fillSpacing = g.lineFillSpacing;
            break;
        case 7:
            trapezium();
            break;
        case 9: {
            const int i1 = column(b.fx[1]), i2 = column(b.fx[2]);
            for (int j = row(b.fy[1]); j <= row(b.fy[2]); ++j)
                RasterFillSpan(i1, i2, j);
            break;
        }
        default:
            triangle();
            break;
    }
}

void beginOutput() {
    RasterState& r = rasterState();
    GraphicsState& g = graphicsState();
    if (deviceBlock().value > 0) {
        ToolkitState& t = toolkitState();
        const int kept = t.LastErrorNumber;
        t.LastErrorNumber = 0;
        PlotFileOpen(kUnit);
        if (t.LastErrorNumber != 0) {
            g.hardcopyDriver = 0;
            return;
        }
        t.LastErrorNumber = kept;
        r.colourPatterns = inkPatterns();
        RasterDitherTable();
        hardcopyDeviceState().colourCount = 1 << std::min(r.bitsPerPixel, 8);
        r.lastPointColumn = r.lastPointRow = -9999;
    }
    const float w = static_cast<float>(std::max(1, g.targetWidth));
    const float h = static_cast<float>(std::max(1, g.targetHeight));
    g.hardcopyScaleX = static_cast<float>(r.rowLength) / w;
    g.hardcopyScaleY = static_cast<float>(r.rowCount) / h;
}

void clear() {
    RasterState& r = rasterState();
    r.pageDrawn = false;
    const int last = std::min(r.totalWords, r.clearWords);
    for (int k = 0; k <= last && k < static_cast<int>(r.buffer.size()); ++k)
        r.buffer[static_cast<std::size_t>(k)] = r.clearValue;
}

void clipRequest() {
    RasterState& r = rasterState();
    const GraphicsState& g = graphicsState();
    r.clipColumnMin = column(g.clipX1);
    r.clipColumnMax = column(g.clipX2);
    r.clipRowMin = row(g.clipY1);
    r.clipRowMax = row(g.clipY2);
}

void lineStyleRequest() {
    RasterState& r = rasterState();
    r.lineStyle = std::clamp(graphicsState().lineStyle, 0, 7);
    r.dashPattern = kDashTable[r.lineStyle].pattern;
    r.dashLength = kDashTable[r.lineStyle].length;
    r.dashBit = 0;
    r.dashCount = 1;
    r.dashStepRows = std::max(1, static_cast<int>(std::lround(r.verticalResolution / 72.0f)));
    r.dashStepColumns = std::max(1, static_cast<int>(std::lround(r.horizontalResolution / 72.0f)));
    r.lastPointColumn = -1;
}

void lineWidthRequest() {
    RasterState& r = rasterState();
    const float w = static_cast<float>(hardcopyOptions()[hc::LineWidthOption]);
    r.lineWidthColumns = std::max(1, static_cast<int>(w * r.verticalResolution / 720.0f + 0.5f)) - 1;
    r.lineWidthRows = std::max(1, static_cast<int>(w * r.horizontalResolution / 720.0f + 0.5f)) - 1;
    if (hardcopyOptions()[hc::Orientation] != 0) std::swap(r.lineWidthColumns, r.lineWidthRows);
    r.halfColumns = r.lineWidthColumns / 2;
    r.halfRows = r.lineWidthRows / 2;
}

void lineRequest() {
    RasterState& r = rasterState();
    const DeviceParameterBlock& b = deviceBlock();
    const int i1 = column(b.fx[1]), j1 = row(b.fy[1]), i2 = column(b.fx[2]), j2 = row(b.fy[2]);
    if (graphicsState().lineFillHardcopy != 0) {
        RasterFillSpan(std::min(i1, i2), std::max(i1, i2), j1);
        return;
    }
    RasterDrawLine(i1, j1, i2, j2, i1 == r.lastPointColumn && j1 == r.lastPointRow);
    r.lastPointColumn = i2, r.lastPointRow = j2;
}

void polylineRequest() {
    RasterState& r = rasterState();
    const DevicePointArrays& a = devicePointArrays();
    const int n = std::min<int>(deviceBlock().count, static_cast<int>(a.x.size()));
    if (n < 1) return;
    int i = column(a.x[0]), j = row(a.y[0]);
    bool skip = i == r.lastPointColumn && j == r.lastPointRow;
    for (int k = 1; k < n; ++k) {
        const int ni = column(a.x[static_cast<std::size_t>(k)]),
                  nj = row(a.y[static_cast<std::size_t>(k)]);
        RasterDrawLine(i, j, ni, nj, skip);
        skip = true;
        i = ni, j = nj;
    }
    r.lastPointColumn = i, r.lastPointRow = j;
}

void pixelRequest() {
    RasterState& r = rasterState();
    const DeviceParameterBlock& b = deviceBlock();
    const int i = column(b.fx[1]), j = row(b.fy[1]);
    RasterSetRun(r.pixelValue, std::max(r.clipColumnMin, i - r.halfColumns), j,
                 std::min(r.clipColumnMax, i - r.halfColumns + r.lineWidthColumns));
    r.lastPointColumn = i, r.lastPointRow = j;
}

// The image is stretched over the clip rectangle, turned with the page.
void imageRequest() {
    const RasterState& r = rasterState();
    ImagePixelArray image;
    if (!LoadRequestImage(image)) return;
    markDrawn();
    const long long m = image.width, n = image.height;
    const long long rows = r.clipRowMax - r.clipRowMin + 1, cols = r.clipColumnMax - r.clipColumnMin + 1;
    if (rows <= 0 || cols <= 0) return;
    const int rotation = graphicsState().pageRotation;
    for (int j = r.clipRowMin; j <= r.clipRowMax; ++j)
        for (int i = r.clipColumnMin; i <= r.clipColumnMax; ++i) {
            const long long dj = j - r.clipRowMin, top = r.clipRowMax - j, di = i - r.clipColumnMin;
            long long e;
            switch (rotation) {
                case 0: e = (top * n / rows) * m + di * m / cols; break;
                case 90: e = dj * m / rows + (di * n / cols) * m; break;
                case 180: e = (n - top * n / rows) * m - di * m / cols - 1; break;
                case 270: e = n * m - dj * m / rows - (di * n / cols) * m - 1; break;
                default: return;
            }
            if (e >= 0 && e < m * n)
                RasterImagePixel(i, j, static_cast<int>(image.pixels[static_cast<std::size_t>(e)]));
        }
}

void gradientRequest() {
    const RasterState& r = rasterState();
    markDrawn();
    GradientPolygon& p = gradientPolygon();
    const DevicePointArrays& a = devicePointArrays();
    const int n = std::min<int>(p.vertexCount, static_cast<int>(a.x.size()));
    for (int k = 0; k < n; ++k) {
        p.x[static_cast<std::size_t>(k)] = column(a.x[static_cast<std::size_t>(k)]);
        p.y[static_cast<std::size_t>(k)] = row(a.y[static_cast<std::size_t>(k)]);
    }
    GradientPolygonPrepare(1, r.clipColumnMin, r.clipRowMin, r.clipColumnMax, r.clipRowMax,
                           RasterImagePixel, nullptr);
}

}  // namespace

void SoftwareRasteriser(int request) {
    switch (request) {
        case 1:
            initialise();
            break;
        case 2:
            markDrawn();
            lineRequest();
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
        case 17:
            clear();
            break;
        case 18:
            beginOutput();
            break;
        case 19:
            PlotFileClose(kUnit);
            RasterRelease();
            break;
        case 24:
            clipRequest();
            break;
        case 26:
            markDrawn();
            pixelRequest();
            break;
        case 29:
            lineStyleRequest();
            break;
        case 30:
            lineWidthRequest();
            break;
        case 32:
            markDrawn();
            polylineRequest();
            break;
        case 38:
            imageRequest();
            break;
        case 40:
            gradientRequest();
            break;
        default:
            break;
    }
}

bool RasterHardcopyDriver::documentOpen() const {
    return !rasterState().buffer.empty();
}

}  // namespace tk
