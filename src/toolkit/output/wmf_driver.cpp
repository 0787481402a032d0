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
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/wmf_primitives.h"

namespace tk {
namespace {

constexpr const char* kCapabilities = "00000111111111100010011011110";
constexpr const char* kDefaultTitle = "Veraziderad graphic";

int radiusX(const DeviceParameterBlock& b) {
    return PageUnitsX(b.fx[2]);
}

int radiusY(const DeviceParameterBlock& b) {
    return static_cast<int>(graphicsState().hardcopyScaleY * b.fy[2]);
}

class WmfDriver final : public HardcopyDriver {
  public:
    WmfDriver() : HardcopyDriver(hc::MetafileDriverNumber) {}

  protected:
    void initialise(DeviceParameterBlock& b) override;
    void begin(DeviceParameterBlock& b) override;
    void end() override {
        const int status = WmfClose();
        if (status != 0) ReportLibraryError(status, "XXWMF");
    }
    bool documentOpen() const override { return WmfIsOpen(); }

    void line(const DeviceParameterBlock& b) override {
        WmfLine(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]), PageUnitsX(b.fx[2]),
                PageUnitsDownY(b.fy[2]));
    }
    void point(const DeviceParameterBlock& b) override {
        WmfPoint(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]));
    }
    void polyline(const DeviceParameterBlock& b) override {
        const auto pts = BufferPointsDown(b.count);
        WmfPolyline(pts.data(), static_cast<int>(pts.size()));
    }
    void text(DeviceParameterBlock& b) override;
    void arc(DeviceParameterBlock& b) override {
        win::POINT a{}, z{};
        SectorEndsDown(b, a, z);
        WmfArc(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]), radiusX(b), radiusY(b), a.x, a.y,
               z.x, z.y, graphicsState().fillDensity);
    }
    void gradient() override;
    void image(DeviceParameterBlock&) override {
        hardcopyDeviceState().pageDirty = true;
        WindowsImageRequest(WmfDC(), nullptr);
    }
    void fill(DeviceRequest request, DeviceParameterBlock& b) override;
    void fillEnd(DeviceRequest, DeviceParameterBlock&) override {
        // Put back the line colour and the previous colour behind it.
        if (graphicsState().fillStyle <= 2) return;
        WmfSetColour(s_.prevRed, s_.prevGreen, s_.prevBlue);
        WmfSetColour(s_.red, s_.green, s_.blue);
    }

    void colour() override {
        s_.prevRed = s_.red, s_.prevGreen = s_.green, s_.prevBlue = s_.blue;
        CurrentColourComponents(s_.red, s_.green, s_.blue);
        ApplyColourHandling(s_.settings.colourHandling, s_.red, s_.green, s_.blue);
        WmfSetColour(s_.red, s_.green, s_.blue);
    }
    void font() override;
    void direction() override { font(); }
    void clip() override;
    void textExtent(DeviceParameterBlock& b) override;
    void lineStyle() override { WmfLineStyle(graphicsState().lineStyle); }
    void lineWidth() override {
        const int option = s_.settings.lineWidthOption;
        WmfLineWidth(WmfIsEnhanced()
                         ? static_cast<int>(static_cast<float>(option) * s_.lineWidthRatio)
                         : option);
    }

  private:
    struct State {
        int red = 255, green = 255, blue = 255;
        int prevRed = 255, prevGreen = 255, prevBlue = 255;
        int width = 0, height = 0;  // logical size of the picture
        float lineWidthRatio = 1;
        WmfSettings settings;
    };
    void updateScales();
    State s_;
};

void WmfDriver::initialise(DeviceParameterBlock&) {
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

void WmfDriver::updateScales() {
    GraphicsState& g = graphicsState();
    if (g.plotExtentX != 0) g.hardcopyScaleX = static_cast<float>(s_.width) / g.plotExtentX;
    if (g.plotExtentY != 0) g.hardcopyScaleY = static_cast<float>(s_.height) / g.plotExtentY;
    SetRotatedHardcopyScales();
}

void WmfDriver::begin(DeviceParameterBlock& b) {
    if (b.value > 0) {
        s_.settings = wmfDriverHooks().settings ? wmfDriverHooks().settings() : WmfSettings{};
        const WmfSettings& o = s_.settings;
        if (b.pixX[1] == 0 || o.title.empty()) s_.settings.title = kDefaultTitle;
        s_.width = 10 * o.pageWidth;
        s_.height = 10 * o.pageHeight;
        std::string description = "ZAZ metafile driver";
        description.push_back('\0');
        description += s_.settings.title;
        description.push_back('\0');
        description.push_back('\0');
        if (WmfIsOpen()) WmfClose();
        const WmfCreateResult r =
            WmfCreate(s_.width, s_.height, o.metafileKind, o.systemDashes, o.pageWidth,
                      o.pageHeight, b.count == 1, deviceTextBuffer().trimmed(), description);
        if (r.status != 0) {
            toolkitState().OsErrorCode = r.error;
            toolkitState().ErrorCategory = 2;
            ReportLibraryError(1, "XXWMF");
            if (wmfDriverHooks().outputOff) wmfDriverHooks().outputOff();
            return;
        }
        if (o.metafileKind == kEnhancedMetafile && o.pageWidth > 0)
            s_.lineWidthRatio = static_cast<float>(s_.width) / static_cast<float>(10 * o.pageWidth);
        s_.red = s_.green = s_.blue = 255;
    }
    updateScales();
}

void WmfDriver::fill(DeviceRequest request, DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const bool solid = g.fillStyle > 2;
    if (solid) {
        int r = 0, gr = 0, bl = 0;
        FillColourComponents(r, gr, bl);
        ApplyColourHandling(s_.settings.colourHandling, r, gr, bl);
        WmfSetColour(r, gr, bl);
    }
    if (!solid && request != 5) return;
    const win::POINT c = PageUnitsDown(b.fx[1], b.fy[1]);
    switch (request) {
        case 5:
            WmfEllipse(c.x, c.y, radiusX(b), radiusY(b), g.fillStyle);
            break;
        case 7:
        case 11: {
            std::vector<win::POINT> pts;
            for (int k = 1; k <= (request == 7 ? 4 : 3); ++k)
                pts.push_back(PageUnitsDown(b.fx[k], b.fy[k]));
            WmfPolygon(pts.data(), static_cast<int>(pts.size()));
            break;
        }
        case 9: {
            const win::POINT lo =
                PageUnitsDown(std::max(g.devX1, b.fx[1]), std::min(g.devY2, b.fy[2]));
            const win::POINT hi =
                PageUnitsDown(std::min(g.devX2, b.fx[2]), std::max(g.devY1, b.fy[1]));
            WmfRectangle(lo.x, lo.y, hi.x, hi.y);
            break;
        }
        case 13: {
            win::POINT a{}, z{};
            SectorEndsDown(b, a, z);
            WmfPie(c.x, c.y, radiusX(b), radiusY(b), a.x, a.y, z.x, z.y);
            break;
        }
        default: {
            const auto pts = BufferPointsDown(b.count);
            WmfPolygon(pts.data(), static_cast<int>(pts.size()));
        }
    }
}

void WmfDriver::font() {
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

void WmfDriver::text(DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const float ox = g.heightX / 4, oy = g.heightY / 4;
    const win::POINT a = PageUnitsDown(b.fx[1] + ox, b.fy[1] - oy);
    const win::POINT z = PageUnitsDown(b.fx[3] + ox, b.fy[3] - oy);
    const int justification = g.textMode == 1 ? 0 : g.textJustification;
    const bool opaque = OpaqueRequestText();
    WmfTextOut(a.x, a.y, z.x, z.y, justification, opaque, RequestText(b.pixX[1]));
    b.pixX[4] = 0;
}

void WmfDriver::clip() {
    if (!WmfIsEnhanced()) return;
    const GraphicsState& g = graphicsState();
    WmfClip(PageUnitsX(g.devX1), PageUnitsDownY(g.devY2),
            static_cast<int>(g.hardcopyScaleX * g.devX2 + 0.99f),
            static_cast<int>((g.plotExtentY - g.devY1) * g.hardcopyScaleY + 0.99f));
}

void WmfDriver::textExtent(DeviceParameterBlock& b) {
    if (!WmfIsEnhanced()) return;
    const int width = WmfTextExtent(RequestText(b.value));
    b.count = 1;
    const float scale = graphicsState().rotHardcopyScaleX;
    b.fx[1] = scale != 0 ? static_cast<float>(width) / scale : 0;
}

void WmfDriver::gradient() {
    const GraphicsState& g = graphicsState();
    const int mode = WmfIsEnhanced() ? hardcopyDeviceInfo().gradientFillAvailable : 1;
    PrepareGradientPolygon(mode, PageUnitsDown, PageUnitsX(g.devX1), PageUnitsDownY(g.devY2),
                           PageUnitsX(g.devX2), PageUnitsDownY(g.devY1), WmfGradientPixel,
                           WmfGradientTriangles);
}

}  // namespace

WmfDriverHooks& wmfDriverHooks() {
    static WmfDriverHooks hooks;
    return hooks;
}

void XXWMF(DeviceRequest request) {
    static WmfDriver driver;
    driver.request(request);
}

}  // namespace tk
