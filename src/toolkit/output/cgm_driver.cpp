#include "toolkit/output/cgm_driver.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "toolkit/core/error_report.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gradient.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/cgm_encoding.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_driver.h"

namespace tk {
namespace {

struct AttributeCache {
    int lineColour = -1, textColour = -1, fillColour = -1, edgeColour = -1, auxColour = -1;
    int font = -1, charHeight = -1, hAlign = -1, edgeType = -1, edgeWidth = -1;
    int lineJoin = 0, lineCap = 0;
};

int packed(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

void emit(const CgmElement& e) {
    if (cgmDriverHooks().write) cgmDriverHooks().write(e.encode());
}

void emitColour(int cls, int id, int r, int g, int b) {
    emit(CgmElement(cls, id).byte(r).byte(g).byte(b).byte(0));
}

int truncToInt(float v) {
    return static_cast<int>(v);
}

// Device units to VDC units (y up, as the picture is).
win::POINT toVdc(float x, float y) {
    const GraphicsState& g = graphicsState();
    return win::POINT{truncToInt(x * g.hardcopyScaleX), truncToInt(y * g.hardcopyScaleY)};
}

CgmElement& scaled(CgmElement& e, float x, float y) {
    const win::POINT p = toVdc(x, y);
    return e.point(p.x, p.y);
}

CgmElement& bufferPoints(CgmElement& e, int count) {
    const DevicePointArrays& p = devicePointArrays();
    const int n = BufferPointCount(count);
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i)
        scaled(e, p.x[i], p.y[i]);
    return e;
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

// Each triangle as an interpolated interior polygon; the vertices come in
// VDC units.
int writeTriangles(const int* x, const int* y, const int* colours, const int* list, int,
                   int count) {
    CgmGradientTriangles(x, y, colours, list, count, emit);
    return 0;
}

class CgmFileDriver final : public HardcopyDriver {
  public:
    CgmFileDriver() : HardcopyDriver(hc::CgmDriverNumber) {}

  protected:
    void initialise(DeviceParameterBlock&) override {
        if (cgmDriverHooks().applyDefaults) cgmDriverHooks().applyDefaults();
        DeviceInfo& info = hardcopyDeviceInfo();
        info.hardcopyTextLayout = 1;
        info.hardcopyTextBox = 1;
        info.hardcopyColourCount = 256;
        CgmDescribeDevice(info);
    }
    void begin(DeviceParameterBlock& b) override;
    void end() override {
        emit(CgmElement(0, 2));
        if (cgmDriverHooks().close) cgmDriverHooks().close();
    }

    void line(const DeviceParameterBlock& b) override {
        lineColour();
        CgmElement e(4, 1);
        emit(scaled(scaled(e, b.fx[1], b.fy[1]), b.fx[2], b.fy[2]));
    }
    void point(const DeviceParameterBlock& b) override {
        lineColour();
        CgmElement e(4, 1);
        emit(scaled(scaled(e, b.fx[1], b.fy[1]), b.fx[1], b.fy[1]));
    }
    void polyline(const DeviceParameterBlock& b) override {
        lineColour();
        CgmElement e(4, 1);
        emit(bufferPoints(e, b.count));
    }
    void text(DeviceParameterBlock& b) override;
    void image(DeviceParameterBlock&) override {
        ImagePixelArray picture;
        if (!LoadRequestImage(picture)) return;
        hardcopyDeviceState().pageDirty = true;
        const GraphicsState& g = graphicsState();
        emit(CgmCellArray(picture, g.pageRotation, toVdc(g.clipX1, g.clipY2), toVdc(g.clipX2, g.clipY1),
                          toVdc(g.clipX2, g.clipY2)));
    }
    void gradient() override {
        const GraphicsState& g = graphicsState();
        const win::POINT low = toVdc(g.clipX1, g.clipY1), high = toVdc(g.clipX2, g.clipY2);
        PrepareGradientPolygon(2, toVdc, low.x, low.y, high.x, high.y, nullptr, writeTriangles);
    }
    void fill(DeviceRequest request, DeviceParameterBlock& b) override;

    void endPage(const DeviceParameterBlock&) override { emit(CgmElement(0, 5)); }
    void colour() override {
        CurrentColourComponents(s_.red, s_.green, s_.blue);
        ApplyColourHandling(s_.settings.colourHandling, s_.red, s_.green, s_.blue);
    }
    void font() override;
    void direction() override;
    void clip() override {
        const GraphicsState& g = graphicsState();
        emit(CgmElement(3, 6).int16(1));
        CgmElement e(3, 5);
        emit(scaled(scaled(e, g.clipX1, g.clipY1), g.clipX2, g.clipY2));
    }
    void lineStyle() override {
        emit(CgmElement(5, 2).int16(CgmLineType(graphicsState().lineStyle)));
    }
    void lineWidth() override { emit(CgmElement(5, 3).int16(lineWidthVdc())); }
    void lineJoin() override {
        if (s_.settings.lineJoinOption == s_.cache.lineJoin) return;
        s_.cache.lineJoin = s_.settings.lineJoinOption;
        emit(CgmElement(5, 38).int16(s_.cache.lineJoin + 2));
    }
    void lineCap() override {
        if (s_.settings.lineCapOption == s_.cache.lineCap) return;
        s_.cache.lineCap = s_.settings.lineCapOption;
        emit(CgmElement(5, 37).int16(s_.cache.lineCap + 2).int16(1));
    }

  private:
    struct State {
        int red = 0, green = 0, blue = 0;
        AttributeCache cache;
        int vdcWidth = 0, vdcHeight = 0;
        CgmSettings settings;
    };
    void cacheColour(int& cached, int cls, int id, int r, int g, int b) {
        const int p = packed(r, g, b);
        if (p == cached) return;
        cached = p;
        emitColour(cls, id, r, g, b);
    }
    void lineColour() { cacheColour(s_.cache.lineColour, 5, 4, s_.red, s_.green, s_.blue); }
    int lineWidthVdc() const {
        const int page = s_.settings.pageWidth * 10;
        return page != 0 ? s_.vdcWidth * s_.settings.lineWidthOption / page : 0;
    }
    void outlineEdge();
    State s_;
};

void CgmFileDriver::begin(DeviceParameterBlock& b) {
    CgmDriverHooks& h = cgmDriverHooks();
    if (b.value > 0) {
        s_.settings = h.settings ? h.settings() : CgmSettings{};
        if (!h.open || !h.open(deviceTextBuffer().trimmed())) {
            if (h.outputOff) h.outputOff();
            return;
        }
        const std::string title = b.pixX[1] == 0 || s_.settings.title.empty()
                                      ? std::string("ZAZ CGM File")
                                      : s_.settings.title;
        CgmVdcExtentOf(s_.settings.pageWidth, s_.settings.pageHeight, s_.settings.resolutionX,
                       s_.settings.resolutionY, s_.vdcWidth, s_.vdcHeight);
        CgmWriter w([&h](std::string_view bytes) { h.write(bytes); });
        w.metafileHeader(title, s_.settings.fontListKind, s_.vdcWidth, s_.vdcHeight);
        s_.cache = AttributeCache{};
    }
    GraphicsState& g = graphicsState();
    if (g.plotExtentX != 0) g.hardcopyScaleX = static_cast<float>(s_.vdcWidth) / g.plotExtentX;
    if (g.plotExtentY != 0) g.hardcopyScaleY = static_cast<float>(s_.vdcHeight) / g.plotExtentY;
    SetRotatedHardcopyScales();
}

void CgmFileDriver::outlineEdge() {
    const GraphicsState& g = graphicsState();
    emit(CgmElement(5, 30).int16(1));
    cacheColour(s_.cache.edgeColour, 5, 29, s_.red, s_.green, s_.blue);
    if (g.lineStyle != s_.cache.edgeType) {
        s_.cache.edgeType = g.lineStyle;
        emit(CgmElement(5, 27).int16(CgmLineType(g.lineStyle)));
    }
    if (s_.settings.lineWidthOption != s_.cache.edgeWidth) {
        s_.cache.edgeWidth = s_.settings.lineWidthOption;
        emit(CgmElement(5, 28).int16(lineWidthVdc()));
    }
}

void CgmFileDriver::fill(DeviceRequest request, DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    if (g.fillStyle < 3 && request != 5) return;
    int r = s_.red, gr = s_.green, bl = s_.blue;
    if (g.fillStyle == 3) {
        int pr = 0, pg = 0, pb = 0;
        PreviousColourComponents(pr, pg, pb);
        ApplyColourHandling(s_.settings.colourHandling, pr, pg, pb);
        r = (pr + r) / 2;
        gr = (pg + gr) / 2;
        bl = (pb + bl) / 2;
    }
    cacheColour(s_.cache.fillColour, 5, 23, r, gr, bl);
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
            emit(bufferPoints(e, b.count));
        }
    }
}

void CgmFileDriver::font() {
    const GraphicsState& g = graphicsState();
    const int index = g.effectiveFontKind * 4 + (g.fontStyle % 4) - 3;
    if (index != s_.cache.font) {
        s_.cache.font = index;
        emit(CgmElement(5, 10).int16(index));
    }
    const int height =
        truncToInt(g.charHeightFraction * 0.55f * g.charScaleY * g.rotHardcopyScaleY);
    if (height != s_.cache.charHeight) {
        s_.cache.charHeight = height;
        emit(CgmElement(5, 15).int16(height));
    }
}

void CgmFileDriver::direction() {
    const GraphicsState& g = graphicsState();
    const float t = g.hardcopyScaleX * g.charWidthFraction * g.charScaleX;
    const float sv = t * 1.2f;
    emit(CgmElement(5, 16)
             .int16(-truncToInt(g.dirSinOverA * sv))
             .int16(truncToInt(g.dirCos * sv))
             .int16(truncToInt(g.dirCos * t))
             .int16(truncToInt(g.dirSinA * t)));
}

void CgmFileDriver::text(DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const std::string_view chars = RequestText(b.pixX[1]);
    const bool opaque = OpaqueRequestText();
    if (opaque) {
        emit(CgmElement(3, 4).int16(0));
        int r = 0, gr = 0, bl = 0;
        PreviousColourComponents(r, gr, bl);
        ApplyColourHandling(s_.settings.colourHandling, r, gr, bl);
        cacheColour(s_.cache.auxColour, 3, 3, r, gr, bl);
    }
    cacheColour(s_.cache.textColour, 5, 14, s_.red, s_.green, s_.blue);
    const int h = g.textMode == 1 ? 1 : g.textJustification + 1;
    if (h != s_.cache.hAlign) {
        s_.cache.hAlign = h;
        emit(CgmElement(5, 18).int16(h).int16(5).fixedReal(0).fixedReal(0));
    }
    float x = b.fx[1] + 0.38f * g.heightX;
    float y = b.fy[1] - 0.38f * g.heightY;
    const float ex = x - b.fx[1] + b.fx[3], ey = y - b.fy[1] + b.fy[3];
    if (g.textMode == 1) {
        CgmElement e(4, 4);
        emit(scaled(e, x, y).int16(1).string(chars));
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
            .int16(truncToInt(static_cast<float>(s_.cache.charHeight) * 1.25f));
        emit(scaled(e, x, y).int16(1).string(chars));
    }
    if (opaque) emit(CgmElement(3, 4).int16(1));
}

}  // namespace

CgmDriverHooks& cgmDriverHooks() {
    static CgmDriverHooks hooks;
    return hooks;
}

void CgmDriver(DeviceRequest request) {
    static CgmFileDriver driver;
    driver.request(request);
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
