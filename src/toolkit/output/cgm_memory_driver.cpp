#include "toolkit/output/cgm_memory_driver.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/cgm_encoding.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/metafile_slots.h"

namespace tk {
namespace {

struct SlotCache {
    int lineColour = -1, textColour = -1, fillColour = -1, edgeColour = -1, auxColour = -1;
    int font = -1, charHeight = -1, hAlign = -1, edgeWidth = -1, edgeType = -1;
};

struct MemoryCgmState {
    std::array<SlotCache, 20> caches;
    int red = 0, green = 0, blue = 0;
    float aspect = 1;
};

MemoryCgmState& state() {
    static MemoryCgmState s;
    return s;
}

int slotNumber() {
    return graphicsState().targetId;
}

SlotCache& cache() {
    return state().caches[static_cast<std::size_t>(std::clamp(slotNumber(), 1, 20) - 1)];
}

void emit(const CgmElement& e) {
    const std::string bytes = e.encode();
    YYGCGM1(reinterpret_cast<const std::uint8_t*>(bytes.data()), static_cast<int>(bytes.size()));
}

void cachedColour(int& cached, int cls, int id, int r, int g, int b) {
    const int p = r + 256 * g + 65536 * b;
    if (p == cached) return;
    cached = p;
    emit(CgmElement(cls, id).byte(r).byte(g).byte(b).byte(0));
}

void components(int colourNumber, int rgb, int& r, int& g, int& b) {
    ColourNumberComponents(graphicsState().colourMode == 1 ? colourNumber : rgb, r, g, b);
}

int trunc(float v) {
    return static_cast<int>(v);
}

void header() {
    MemoryCgmState& s = state();
    MetafileSlot& slot = metafileSlot(slotNumber());
    s.aspect = slot.SlotPageHeight != 0 ? static_cast<float>(slot.SlotPageWidth) /
                                              static_cast<float>(slot.SlotPageHeight)
                                        : 1.0f;
    CgmVdcExtentOf(slot.SlotPageWidth, slot.SlotPageHeight, 600, 600, slot.DrawableWidth,
                   slot.DrawableHeight);
    CgmWriter w([](std::string_view bytes) {
        YYGCGM1(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                static_cast<int>(bytes.size()));
    });
    w.metafileHeader("ZAZ CGM File", 2, slot.DrawableWidth, slot.DrawableHeight);
}

void describe() {
    DeviceInfo& info = screenDeviceInfo();
    CgmDescribeDevice(info);
}

void lineColour() {
    MemoryCgmState& s = state();
    cachedColour(cache().lineColour, 5, 4, s.red, s.green, s.blue);
}

CgmElement& pointBuffer(CgmElement& e, int count) {
    const DevicePointArrays& p = devicePointArrays();
    const int n = std::clamp(count, 0, static_cast<int>(p.x.size()));
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
        e.point(trunc(p.x[i]), trunc(p.y[i]));
    return e;
}

// The second conjugate diameter of an ellipse, from the device radii and
// the slot's page aspect.
int ellipseHeight(const DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const float den = g.plotExtentX * g.areaSpanX;
    return den != 0 ? trunc(b.fx[3] * b.fx[2] * state().aspect * g.plotExtentY * g.areaSpanY / den)
                    : 0;
}

void ellipse(const DeviceParameterBlock& b) {
    emit(CgmElement(4, 17)
             .point(b.pixX[1], b.pixY[1])
             .point(b.pixX[1] + b.pixX[2], b.pixY[1])
             .point(b.pixX[1], b.pixY[1] + ellipseHeight(b)));
}

void outlineEllipse(const DeviceParameterBlock& b) {
    MemoryCgmState& s = state();
    SlotCache& c = cache();
    const GraphicsState& g = graphicsState();
    emit(CgmElement(5, 30).int16(1));
    cachedColour(c.edgeColour, 5, 29, s.red, s.green, s.blue);
    if (g.lineStyle != c.edgeType) {
        c.edgeType = g.lineStyle;
        emit(CgmElement(5, 27).int16(CgmLineType(g.lineStyle)));
    }
    if (g.lineWidthScreen != c.edgeWidth) {
        c.edgeWidth = g.lineWidthScreen;
        emit(CgmElement(5, 28).int16(4 * g.lineWidthScreen));
    }
    emit(CgmElement(5, 22).int16(4));
    ellipse(b);
    emit(CgmElement(5, 30).int16(0));
}

void pie(DeviceParameterBlock& b, CgmElement& e) {
    const GraphicsState& g = graphicsState();
    const float aspect = g.aspectRatio != 0 ? g.aspectRatio : 1.32f;
    b.fy[2] = b.fy[2] / aspect * state().aspect;
    const int w = g.targetWidth > 0 ? g.targetWidth : 1;
    const float step = 3.1415927f / static_cast<float>(trunc(b.fx[2]) * 75 / w + 25);
    e.point(b.pixX[1], b.pixY[1]);
    int guard = 0;
    for (float a = b.fx[3]; a <= b.fy[3] && guard < 100000; a += step, ++guard)
        e.point(trunc(std::cos(a) * b.fx[2] + b.fx[1]), trunc(b.fy[2] * std::sin(a) + b.fy[1]));
    e.point(trunc(std::cos(b.fy[3]) * b.fx[2] + b.fx[1]),
            trunc(b.fy[2] * std::sin(b.fy[3]) + b.fy[1]));
}

void filled(DeviceParameterBlock& b, DeviceRequest request) {
    MemoryCgmState& s = state();
    const GraphicsState& g = graphicsState();
    int r = s.red, gr = s.green, bl = s.blue;
    if (g.fillStyle == 3) {
        int pr = 0, pg = 0, pb = 0;
        components(g.previousColourNumber, g.previousRgb, pr, pg, pb);
        r = (pr + r) / 2, gr = (pg + gr) / 2, bl = (pb + bl) / 2;
    }
    cachedColour(cache().fillColour, 5, 23, r, gr, bl);
    emit(CgmElement(5, 22).int16(1));
    const int kind = (request - 5) / 2;  // 0 ellipse, 1 quadrilateral, 2 rectangle, ...
    CgmElement poly(4, 7);
    switch (kind) {
        case 0:
            ellipse(b);
            return;
        case 1:
        case 3:
            for (int k = 1; k <= (kind == 1 ? 4 : 3); ++k)
                poly.point(b.pixX[k], b.pixY[k]);
            break;
        case 2:
            emit(CgmElement(4, 11)
                     .point(std::max(g.devIX1, b.pixX[1]), std::max(g.devIY1, b.pixY[1]))
                     .point(std::min(g.devIX2, b.pixX[2]), std::min(g.devIY2, b.pixY[2])));
            return;
        case 4:
            pie(b, poly);
            break;
        default:
            pointBuffer(poly, b.count);
    }
    emit(poly);
}

void selectFont() {
    SlotCache& c = cache();
    const GraphicsState& g = graphicsState();
    const int index = g.effectiveFontKind * 4 + (g.fontStyle % 4) - 3;
    if (index != c.font) {
        c.font = index;
        emit(CgmElement(5, 10).int16(index));
    }
    const int height = trunc(g.charHeightFraction * 0.55f * g.charScaleY);
    if (height != c.charHeight) {
        c.charHeight = height;
        emit(CgmElement(5, 15).int16(height));
    }
}

void text(const DeviceParameterBlock& b) {
    MemoryCgmState& s = state();
    SlotCache& c = cache();
    const GraphicsState& g = graphicsState();
    const int count = std::clamp(b.pixX[1], 0, static_cast<int>(deviceTextBuffer().size()));
    const std::string_view chars(deviceTextBuffer().data(), static_cast<std::size_t>(count));
    const bool opaque = OpaqueRequestText();
    if (opaque) {
        emit(CgmElement(3, 4).int16(0));
        int r = 0, gr = 0, bl = 0;
        components(g.previousColourNumber, g.previousRgb, r, gr, bl);
        cachedColour(c.auxColour, 3, 3, r, gr, bl);
    }
    cachedColour(c.textColour, 5, 14, s.red, s.green, s.blue);
    const int h = g.textMode == 1 ? 1 : g.textJustification + 1;
    if (h != c.hAlign) {
        c.hAlign = h;
        emit(CgmElement(5, 18).int16(h).int16(5).fixedReal(0).fixedReal(0));
    }
    float x = b.fx[1] + 0.38f * g.heightX, y = b.fy[1] - 0.38f * g.heightY;
    const float ex = x - b.fx[1] + b.fx[3], ey = y - b.fy[1] + b.fy[3];
    if (g.textMode == 1) {
        emit(CgmElement(4, 4).point(trunc(x), trunc(y)).int16(1).string(chars));
    } else {
        if (g.textJustification == 1)
            x = (x + ex) / 2, y = (y + ey) / 2;
        else if (g.textJustification == 2)
            x = ex, y = ey;
        const float dx = b.fx[3] - b.fx[1], dy = b.fy[3] - b.fy[1];
        emit(CgmElement(4, 5)
                 .int16(trunc(std::sqrt(dx * dx + dy * dy)))
                 .int16(trunc(static_cast<float>(c.charHeight) * 1.25f))
                 .point(trunc(x), trunc(y))
                 .int16(1)
                 .string(chars));
    }
    if (opaque) emit(CgmElement(3, 4).int16(1));
}

int triangles(const int* x, const int* y, const int* colours, const int* list, int, int count) {
    CgmGradientTriangles(x, y, colours, list, count, emit);
    return 0;
}

void gradient() {
    const DevicePointArrays& a = devicePointArrays();
    GradientPolygon& polygon = gradientPolygon();
    const int n =
        std::min({polygon.vertexCount, static_cast<int>(a.x.size()), kMaxGradientVertices});
    polygon.vertexCount = n;
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
        polygon.x[k] = trunc(a.x[k]);
        polygon.y[k] = trunc(a.y[k]);
    }
    const GraphicsState& g = graphicsState();
    GradientPolygonPrepare(2, g.devIX1, g.devIY1, g.devIX2, g.devIY2, nullptr, triangles);
}

}  // namespace

void ResetMemoryCgmDriver() {
    state() = MemoryCgmState{};
}

void MemoryCgmDriver(DeviceRequest request) {
    if (!validMetafileSlot(slotNumber())) return;
    DeviceParameterBlock& b = deviceBlock();
    MemoryCgmState& s = state();
    GraphicsState& g = graphicsState();
    switch (request) {
        case 1:
            describe();
            break;
        case 2:
        case 26:
            lineColour();
            emit(CgmElement(4, 1)
                     .point(b.pixX[1], b.pixY[1])
                     .point(request == 2 ? b.pixX[2] : b.pixX[1],
                            request == 2 ? b.pixY[2] : b.pixY[1]));
            break;
        case 32: {
            lineColour();
            CgmElement e(4, 1);
            emit(pointBuffer(e, b.count));
            break;
        }
        case 3:
        case 35:
            components(g.colourNumber, g.rgb, s.red, s.green, s.blue);
            break;
        case 4:
            outlineEllipse(b);
            break;
        case 18:
            cache() = SlotCache{};
            break;
        case 19:
            emit(CgmElement(0, 5));
            emit(CgmElement(0, 2));
            break;
        case 21:
            selectFont();
            break;
        case 22:
            text(b);
            break;
        case 24:
            emit(CgmElement(3, 6).int16(1));
            emit(CgmElement(3, 5).point(g.devIX1, g.devIY1).point(g.devIX2, g.devIY2));
            break;
        case 29:
            emit(CgmElement(5, 2).int16(CgmLineType(g.lineStyle)));
            break;
        case 30: {
            const MetafileSlot& slot = metafileSlot(slotNumber());
            const int page = slot.SlotPageWidth * 10;
            emit(CgmElement(5, 3).int16(page != 0 ? slot.DrawableWidth * g.lineWidthScreen / page
                                                  : 0));
            break;
        }
        case 31:
            b.pixX[1] = -1;
            break;
        case 33: {
            const float t = g.charWidthFraction * g.charScaleX, sv = t * 1.2f;
            emit(CgmElement(5, 16)
                     .int16(-trunc(g.dirSinOverA * sv))
                     .int16(trunc(g.dirCos * sv))
                     .int16(trunc(g.dirCos * t))
                     .int16(trunc(g.dirSinA * t)));
            break;
        }
        case 38: {
            ImagePixelArray image;
            if (!LoadRequestImage(image)) break;
            emit(CgmCellArray(image, g.pageRotation, {g.devIX1, g.devIY2}, {g.devIX2, g.devIY1},
                              {g.devIX2, g.devIY2}));
            break;
        }
        case 39:
            header();
            break;
        case 40:
            gradient();
            break;
        default:
            if (request >= 5 && request <= 16) filled(b, request % 2 == 0 ? request - 1 : request);
    }
}

}  // namespace tk
