#include "toolkit/output/cgm_driver.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/cgm_encoding.h"
#include "toolkit/output/image_requests.h"

namespace tk {
namespace {

struct AttributeCache {
    int lineColour = -1, textColour = -1, fillColour = -1, edgeColour = -1, auxColour = -1;
    int font = -1, charHeight = -1, hAlign = -1, edgeType = -1, edgeWidth = -1;
    int lineJoin = 0, lineCap = 0;
};

struct CgmDriverState {
    int red = 0, green = 0, blue = 0;
    AttributeCache cache;
    int vdcWidth = 0, vdcHeight = 0;
    CgmSettings settings;
};

CgmDriverState& state() {
    static CgmDriverState s;
    return s;
}

int packed(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

void emit(const CgmElement& e) {
    if (cgmDriverHooks().write) cgmDriverHooks().write(e.encode());
}

void emitColour(int cls, int id, int r, int g, int b) {
    emit(CgmElement(cls, id).byte(r).byte(g).byte(b).byte(0));
}

void dirty() {
    if (cgmDriverHooks().setPageDirty) cgmDriverHooks().setPageDirty(true);
}

int truncToInt(float v) {
    return static_cast<int>(v);
}

CgmElement& scaled(CgmElement& e, float x, float y) {
    const GraphicsState& g = graphicsState();
    return e.point(truncToInt(x * g.hardcopyScaleX), truncToInt(y * g.hardcopyScaleY));
}

// The components of a colour word of the graphics state after ColourHandling.
void handledComponents(int colourNumber, int rgb, int& r, int& g, int& b) {
    ColourNumberComponents(graphicsState().colourMode == 1 ? colourNumber : rgb, r, g, b);
    CgmColourInvert(state().settings.colourHandling, r, g, b);
}

void cacheColour(int& cached, int cls, int id, int r, int g, int b) {
    const int p = packed(r, g, b);
    if (p == cached) return;
    cached = p;
    emitColour(cls, id, r, g, b);
}

void lineColour() {
    CgmDriverState& s = state();
    cacheColour(s.cache.lineColour, 5, 4, s.red, s.green, s.blue);
}

int lineWidthVdc() {
    const CgmDriverState& s = state();
    const int page = s.settings.pageWidth * 10;
    return page != 0 ? s.vdcWidth * s.settings.lineWidthOption / page : 0;
}

void beginOutput(DeviceParameterBlock& b) {
    CgmDriverState& s = state();
    CgmDriverHooks& h = cgmDriverHooks();
    if (b.value > 0) {
        s.settings = h.settings ? h.settings() : CgmSettings{};
        if (!h.open || !h.open(deviceTextBuffer().trimmed())) {
            if (h.outputOff) h.outputOff();
            return;
        }
        const std::string title = b.pixX[1] == 0 || s.settings.title.empty()
                                      ? std::string("ZAZ CGM File")
                                      : s.settings.title;
        CgmVdcExtentOf(s.settings.pageWidth, s.settings.pageHeight, s.settings.resolutionX,
                       s.settings.resolutionY, s.vdcWidth, s.vdcHeight);
        CgmWriter w([&h](std::string_view bytes) { h.write(bytes); });
        w.metafileHeader(title, s.settings.fontListKind, s.vdcWidth, s.vdcHeight);
        s.cache = AttributeCache{};
    }
    GraphicsState& g = graphicsState();
    if (g.plotExtentX != 0) g.hardcopyScaleX = static_cast<float>(s.vdcWidth) / g.plotExtentX;
    if (g.plotExtentY != 0) g.hardcopyScaleY = static_cast<float>(s.vdcHeight) / g.plotExtentY;
    const bool quarter = g.pageRotation == 90 || g.pageRotation == 270;
    g.rotHardcopyScaleX = quarter ? g.hardcopyScaleY : g.hardcopyScaleX;
    g.rotHardcopyScaleY = quarter ? g.hardcopyScaleX : g.hardcopyScaleY;
}

void initialise(DeviceParameterBlock& b) {
    if (b.count == -999) {
        b.count = 9;
        return;
    }
    if (cgmDriverHooks().applyDefaults) cgmDriverHooks().applyDefaults();
    DeviceInfo& info = hardcopyDeviceInfo();
    info.hardcopyTextLayout = 1;
    info.hardcopyTextBox = 1;
    info.hardcopyColourCount = 256;
    CgmDescribeDevice(info);
}

void polyline(const DeviceParameterBlock& b, DeviceRequest request) {
    dirty();
    lineColour();
    CgmElement e(4, 1);
    if (request == 2) {
        scaled(e, b.fx[1], b.fy[1]);
        scaled(e, b.fx[2], b.fy[2]);
    } else if (request == 26) {
        scaled(e, b.fx[1], b.fy[1]);
        scaled(e, b.fx[1], b.fy[1]);
    } else {
        const DevicePointArrays& p = devicePointArrays();
        const int n = std::min<int>(b.count, static_cast<int>(p.x.size()));
        for (int i = 0; i < n; ++i)
            scaled(e, p.x[static_cast<std::size_t>(i)], p.y[static_cast<std::size_t>(i)]);
    }
    emit(e);
}

void pie(const DeviceParameterBlock& b, CgmElement& e) {
    const GraphicsState& g = graphicsState();
    const int w = g.targetWidth > 0 ? g.targetWidth : 1;
    const float step = 3.1415927f / static_cast<float>(truncToInt(b.fx[2]) * 75 / w + 25);
    scaled(e, b.fx[1], b.fy[1]);
    int guard = 0;
    for (float a = b.fx[3]; a <= b.fy[3] && guard < 100000; a += step, ++guard)
        scaled(e, b.fx[1] + std::cos(a) * b.fx[2], b.fy[1] + std::sin(a) * b.fy[2]);
    scaled(e, b.fx[1] + std::cos(b.fy[3]) * b.fx[2], b.fy[1] + std::sin(b.fy[3]) * b.fy[2]);
}

void outlineEdge() {
    CgmDriverState& s = state();
    const GraphicsState& g = graphicsState();
    emit(CgmElement(5, 30).int16(1));
    cacheColour(s.cache.edgeColour, 5, 29, s.red, s.green, s.blue);
    if (g.lineStyle != s.cache.edgeType) {
        s.cache.edgeType = g.lineStyle;
        emit(CgmElement(5, 27).int16(CgmLineType(g.lineStyle)));
    }
    if (s.settings.lineWidthOption != s.cache.edgeWidth) {
        s.cache.edgeWidth = s.settings.lineWidthOption;
        emit(CgmElement(5, 28).int16(lineWidthVdc()));
    }
}

void filled(const DeviceParameterBlock& b, DeviceRequest request) {
    if (b.value == -1) return;
    dirty();
    const GraphicsState& g = graphicsState();
    CgmDriverState& s = state();
    if (g.fillStyle < 3 && request != 5) return;
    int r = s.red, gr = s.green, bl = s.blue;
    if (g.fillStyle == 3) {
        int pr = 0, pg = 0, pb = 0;
        handledComponents(g.previousColourNumber, g.previousRgb, pr, pg, pb);
        r = (pr + r) / 2;
        gr = (pg + gr) / 2;
        bl = (pb + bl) / 2;
    }
    cacheColour(s.cache.fillColour, 5, 23, r, gr, bl);
    const bool outline = request == 5 && g.fillStyle < 3;
    if (outline) outlineEdge();
    emit(CgmElement(5, 22).int16(outline ? 4 : 1));
    switch (request) {
        case 5: {
            CgmElement e(4, 17);
            scaled(e, b.fx[1], b.fy[1]);
            scaled(e, b.fx[1] + b.fx[2], b.fy[1]);
            scaled(e, b.fx[1], b.fy[1] + b.fy[2]);
            emit(e);
            if (outline) emit(CgmElement(5, 30).int16(0));
            break;
        }
        case 7:
        case 11: {
            CgmElement e(4, 7);
            for (int k = 1; k <= (request == 7 ? 4 : 3); ++k)
                scaled(e, b.fx[k], b.fy[k]);
            emit(e);
            break;
        }
        case 9: {
            CgmElement e(4, 11);
            scaled(e, std::max(g.clipX1, b.fx[1]), std::max(g.clipY1, b.fy[1]));
            scaled(e, std::min(g.clipX2, b.fx[2]), std::min(g.clipY2, b.fy[2]));
            emit(e);
            break;
        }
        case 13: {
            CgmElement e(4, 7);
            pie(b, e);
            emit(e);
            break;
        }
        default: {
            CgmElement e(4, 7);
            const DevicePointArrays& p = devicePointArrays();
            const int n = std::min<int>(b.count, static_cast<int>(p.x.size()));
            for (int i = 0; i < n; ++i)
                scaled(e, p.x[static_cast<std::size_t>(i)], p.y[static_cast<std::size_t>(i)]);
            emit(e);
        }
    }
}

void selectFont() {
    CgmDriverState& s = state();
    const GraphicsState& g = graphicsState();
    const int index = g.effectiveFontKind * 4 + (g.fontStyle % 4) - 3;
    if (index != s.cache.font) {
        s.cache.font = index;
        emit(CgmElement(5, 10).int16(index));
    }
    const int height =
        truncToInt(g.charHeightFraction * 0.55f * g.charScaleY * g.rotHardcopyScaleY);
    if (height != s.cache.charHeight) {
        s.cache.charHeight = height;
        emit(CgmElement(5, 15).int16(height));
    }
}

void characterDirection() {
    const GraphicsState& g = graphicsState();
    const float t = g.hardcopyScaleX * g.charWidthFraction * g.charScaleX;
    const float sv = t * 1.2f;
    emit(CgmElement(5, 16)
             .int16(-truncToInt(g.dirSinOverA * sv))
             .int16(truncToInt(g.dirCos * sv))
             .int16(truncToInt(g.dirCos * t))
             .int16(truncToInt(g.dirSinA * t)));
}

void text(const DeviceParameterBlock& b) {
    dirty();
    CgmDriverState& s = state();
    const GraphicsState& g = graphicsState();
    const int count = std::clamp(b.pixX[1], 0, static_cast<int>(deviceTextBuffer().size()));
    const std::string_view chars(deviceTextBuffer().data(), static_cast<std::size_t>(count));
    const bool opaque = g.textFill == 0 && g.textMode != 1 && (g.fontStyle & 8) != 0;
    if (opaque) {
        emit(CgmElement(3, 4).int16(0));
        int r = 0, gr = 0, bl = 0;
        handledComponents(g.previousColourNumber, g.previousRgb, r, gr, bl);
        cacheColour(s.cache.auxColour, 3, 3, r, gr, bl);
    }
    cacheColour(s.cache.textColour, 5, 14, s.red, s.green, s.blue);
    const int h = g.textMode == 1 ? 1 : g.textJustification + 1;
    if (h != s.cache.hAlign) {
        s.cache.hAlign = h;
        emit(CgmElement(5, 18).int16(h).int16(5).fixedReal(0).fixedReal(0));
    }
    float x = b.fx[1] + 0.38f * g.heightX;
    float y = b.fy[1] - 0.38f * g.heightY;
    const float ex = x - b.fx[1] + b.fx[3], ey = y - b.fy[1] + b.fy[3];
    if (g.textMode == 1) {
        CgmElement e(4, 4);
        e.point(truncToInt(x * g.hardcopyScaleX), truncToInt(y * g.hardcopyScaleY))
            .int16(1)
            .string(chars);
        emit(e);
    } else {
        if (g.textJustification == 1) {
            x = (x + ex) / 2;
            y = (y + ey) / 2;
        } else if (g.textJustification == 2) {
            x = ex;
            y = ey;
        }
        const float dx = b.fx[3] - b.fx[1], dy = b.fy[3] - b.fy[1];
        CgmElement e(4, 5);
        e.int16(truncToInt(std::sqrt(dx * dx + dy * dy) * g.rotHardcopyScaleX))
            .int16(truncToInt(static_cast<float>(s.cache.charHeight) * 1.25f))
            .point(truncToInt(x * g.hardcopyScaleX), truncToInt(y * g.hardcopyScaleY))
            .int16(1)
            .string(chars);
        emit(e);
    }
    if (opaque) emit(CgmElement(3, 4).int16(1));
}

// Each triangle as an interpolated interior polygon; the vertices come in
// VDC units.
int writeTriangles(const int* x, const int* y, const int* colours, const int* list, int,
                   int count) {
    CgmGradientTriangles(x, y, colours, list, count, emit);
    return 0;
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
        polygon.x[k] = truncToInt(a.x[k] * g.hardcopyScaleX);
        polygon.y[k] = truncToInt(a.y[k] * g.hardcopyScaleY);
    }
    GradientPolygonPrepare(2, truncToInt(g.clipX1 * g.hardcopyScaleX),
                           truncToInt(g.clipY1 * g.hardcopyScaleY),
                           truncToInt(g.clipX2 * g.hardcopyScaleX),
                           truncToInt(g.clipY2 * g.hardcopyScaleY), nullptr, writeTriangles);
}

void setColour() {
    CgmDriverState& s = state();
    const GraphicsState& g = graphicsState();
    handledComponents(g.colourNumber, g.rgb, s.red, s.green, s.blue);
}

}  // namespace

CgmDriverHooks& cgmDriverHooks() {
    static CgmDriverHooks hooks;
    return hooks;
}

void CgmColourInvert(int handling, int& red, int& green, int& blue) {
    const bool nearBlack = red < 10 && green < 10 && blue < 10;
    const bool nearWhite = red > 245 && green > 245 && blue > 245;
    if (handling == 1 || (handling == 2 && (nearBlack || nearWhite))) {
        red = 255 - red;
        green = 255 - green;
        blue = 255 - blue;
    }
}

void CgmDriver(DeviceRequest request) {
    DeviceParameterBlock& b = deviceBlock();
    CgmDriverState& s = state();
    const GraphicsState& g = graphicsState();
    switch (request) {
        case 1:
            initialise(b);
            break;
        case 2:
        case 26:
        case 32:
            polyline(b, request);
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
        case 18:
            beginOutput(b);
            break;
        case 19:
            emit(CgmElement(0, 2));
            if (cgmDriverHooks().close) cgmDriverHooks().close();
            break;
        case 20:
            if (cgmDriverHooks().setPageDirty) cgmDriverHooks().setPageDirty(false);
            emit(CgmElement(0, 5));
            break;
        case 21:
            selectFont();
            break;
        case 22:
            text(b);
            break;
        case 24: {
            emit(CgmElement(3, 6).int16(1));
            CgmElement e(3, 5);
            scaled(e, g.clipX1, g.clipY1);
            scaled(e, g.clipX2, g.clipY2);
            emit(e);
            break;
        }
        case 29:
            emit(CgmElement(5, 2).int16(CgmLineType(g.lineStyle)));
            break;
        case 30:
            emit(CgmElement(5, 3).int16(lineWidthVdc()));
            break;
        case 33:
            characterDirection();
            break;
        case 36:
            if (s.settings.lineJoinOption != s.cache.lineJoin) {
                s.cache.lineJoin = s.settings.lineJoinOption;
                emit(CgmElement(5, 38).int16(s.cache.lineJoin + 2));
            }
            break;
        case 37:
            if (s.settings.lineCapOption != s.cache.lineCap) {
                s.cache.lineCap = s.settings.lineCapOption;
                emit(CgmElement(5, 37).int16(s.cache.lineCap + 2).int16(1));
            }
            break;
        case 38: {
            ImagePixelArray image;
            if (!LoadRequestImage(image)) break;
            dirty();
            const auto at = [&](float x, float y) {
                return win::POINT{truncToInt(x * g.hardcopyScaleX), truncToInt(y * g.hardcopyScaleY)};
            };
            emit(CgmCellArray(image, g.pageRotation, at(g.clipX1, g.clipY2), at(g.clipX2, g.clipY1),
                              at(g.clipX2, g.clipY2)));
            break;
        }
        case 40:
            gradient();
            break;
        default:
            break;
    }
}

// A driver of its own: the file is opened with the C library and the
// settings are the driver's defaults.
void BindCgmDriverStandalone() {
    static std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, &std::fclose);
    CgmDriverHooks& h = cgmDriverHooks();
    h = CgmDriverHooks{};
    h.settings = [] { return CgmSettings{}; };
    h.open = [](std::string_view name) {
        file.reset(std::fopen(std::string(name).c_str(), "wb"));
        if (!file) ReportLibraryError(1, "YYPROU");
        return file != nullptr;
    };
    h.write = [](std::string_view bytes) {
        if (file) std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    };
    h.close = [] { file.reset(); };
}

}  // namespace tk
