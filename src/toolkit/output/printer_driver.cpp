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
#include "toolkit/graphics/text_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/printer_device_context.h"
#include "toolkit/output/printer_primitives.h"

namespace tk {

namespace {

constexpr const char* kCapabilities = "00000111111111100010011011110";

bool ntFamily() {
    int kind = 0;
    WindowsPlatformQuery(kind);
    return kind == 4;
}

int radiusX() {
    return PageUnitsX(deviceBlock().fx[2]);
}

int radiusY() {
    return static_cast<int>(graphicsState().hardcopyScaleY * deviceBlock().fy[2]);
}

// Loads the printer's point buffer.
int loadPoints(std::vector<win::POINT> points) {
    prnState().points = std::move(points);
    return static_cast<int>(prnState().points.size());
}

int loadCorners(int n) {
    const DeviceParameterBlock& b = deviceBlock();
    std::vector<win::POINT> points;
    for (int i = 1; i <= n; ++i)
        points.push_back(PageUnitsDown(b.fx[i], b.fy[i]));
    return loadPoints(std::move(points));
}

class PrinterDriver final : public HardcopyDriver {
  public:
    PrinterDriver() : HardcopyDriver(hc::PrinterDriverNumber) {}
    int queryStatus() const { return s_.queryStatus; }
    void reset() { s_ = State{}; }

  protected:
    void initialise(DeviceParameterBlock& b) override;
    void begin(DeviceParameterBlock& b) override;
    void end() override;
    bool documentOpen() const override { return prnState().documentOpen; }

    void line(const DeviceParameterBlock& b) override {
        PrnLine(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]), PageUnitsX(b.fx[2]),
                PageUnitsDownY(b.fy[2]));
    }
    void point(const DeviceParameterBlock& b) override {
        PrnPoint(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]));
    }
    void polyline(const DeviceParameterBlock& b) override {
        PrnPolyline(loadPoints(BufferPointsDown(b.count)));
        prnState().points.clear();
    }
    void text(DeviceParameterBlock& b) override;
    void arc(DeviceParameterBlock& b) override {
        win::POINT a{}, z{};
        SectorEndsDown(b, a, z);
        PrnArc(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]), radiusX(), radiusY(), a.x, a.y, z.x,
               z.y, graphicsState().fillDensity);
        b.value = 1;
    }
    void gradient() override;
    void image(DeviceParameterBlock&) override {
        hardcopyDeviceState().pageDirty = true;
        if (prnState().pagePending) PrnBeginPage();
        WindowsImageRequest(prnState().dc, prnState().clip);
    }
    void fill(DeviceRequest request, DeviceParameterBlock& b) override;
    void fillEnd(DeviceRequest, DeviceParameterBlock&) override {
        if (!solidLike()) return;
        PrnSetColour(s_.previousRed, s_.previousGreen, s_.previousBlue);
        PrnSetColour(s_.red, s_.green, s_.blue);
    }

    void endPage(const DeviceParameterBlock&) override { PrnEndPage(); }
    void colour() override;
    void font() override;
    void direction() override { font(); }
    void clip() override;
    void textExtent(DeviceParameterBlock& b) override;
    void lineStyle() override { PrnLineStyle(graphicsState().lineStyle); }
    void lineWidth() override;

  private:
    struct State {
        int queryStatus = 1;
        int colourCount = 0;
        int red = 255, green = 255, blue = 255;
        int previousRed = 255, previousGreen = 255, previousBlue = 255;
        int cellHeight = 0, ascent = 0;
        int pagePixelsX = 0, pagePixelsY = 0;
        float resolutionX = 0, resolutionY = 0;
    };
    // Solid and half-tone fills, and every fill on a monochrome printer.
    bool solidLike() const {
        const int f = graphicsState().fillStyle;
        return f > 2 || (f > 0 && s_.colourCount <= 2 && s_.colourCount > 0);
    }
    State s_;
};

bool& documentHeld() {
    static bool held = false;
    return held;
}

// An output ends its page; the document ends unless it is held open.
void PrinterDriver::end() {
    if (!documentHeld()) return PrnEndDoc();
    if (!prnState().pagePending) PrnEndPage();
}

void PrinterDriver::initialise(DeviceParameterBlock& b) {
    HardcopyDriverDefaults();
    HardcopyOptions& o = hardcopyOptions();
    HardcopyDeviceState& d = hardcopyDeviceState();
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
        s_.colourCount = caps.colourCount;
        s_.queryStatus = caps.error;
        d.colourCount = s_.colourCount;
        d.colourLimit = 256;
        o.printerAvailable = caps.error == 0 ? 1 : 0;
        o[hc::BlackLines] = s_.colourCount <= 2 ? 1 : 0;
    }
    DeviceInfo& info = hardcopyDeviceInfo();
    info.hardcopyTextLayout = 1;
    info.hardcopyTextBox = 1;
    auto& gradientSupport = graphicsServices().gradientFillSupport;
    info.gradientFillAvailable = gradientSupport ? gradientSupport() : 2;
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

void PrinterDriver::begin(DeviceParameterBlock& b) {
    HardcopyOptions& o = hardcopyOptions();
    GraphicsState& g = graphicsState();
    if (b.value > 0) {
        PrnDocStart start;
        start.status = 1;
        if (s_.queryStatus == 0) {
            if (b.pixX[1] == 0) o.title.assign("Veraziderad graphic");
            const std::string title(o.title.trimmed());
            start =
                PrnStartDoc(o[hc::PageWidth], o[hc::PageHeight], o[hc::PageOffsetX],
                            o[hc::PageOffsetY], o[hc::Orientation], o[hc::Copies], title.c_str());
        } else {
            start.error = s_.queryStatus;
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
        s_.resolutionX = static_cast<float>(start.resolutionX);
        s_.resolutionY = static_cast<float>(start.resolutionY);
        s_.pagePixelsX = start.resolutionX * o[hc::PageWidth] / 72;
        s_.pagePixelsY = start.resolutionY * o[hc::PageHeight] / 72;
        d.colourCount = std::min(start.colourCount, 256);
        s_.red = s_.green = s_.blue = 255;
    }
    if (g.targetWidth > 0)
        g.hardcopyScaleX = static_cast<float>(s_.pagePixelsX) / static_cast<float>(g.targetWidth);
    if (g.targetHeight > 0)
        g.hardcopyScaleY = static_cast<float>(s_.pagePixelsY) / static_cast<float>(g.targetHeight);
}

void PrinterDriver::colour() {
    const GraphicsState& g = graphicsState();
    s_.previousRed = s_.red, s_.previousGreen = s_.green, s_.previousBlue = s_.blue;
    if (hardcopyOptions()[hc::BlackLines] != 0) {
        const bool white = g.colourMode == 2 ? (g.rgb & 0xFFFFFF) == 0xFFFFFF : g.colourNumber == 0;
        s_.red = s_.green = s_.blue = white ? 255 : 0;
    } else {
        CurrentColourComponents(s_.red, s_.green, s_.blue);
        PrnColourInvert(s_.red, s_.green, s_.blue);
    }
    PrnSetColour(s_.red, s_.green, s_.blue);
}

void PrinterDriver::fill(DeviceRequest request, DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const int f = g.fillStyle;
    if (solidLike()) {
        int r = 0, gr = 0, bl = 0;
        FillColourComponents(r, gr, bl);
        PrnColourInvert(r, gr, bl);
        PrnSetColour(r, gr, bl);
    }
    if (f <= 2 && request != 5) return;
    switch (request) {
        case 5:
            PrnEllipse(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]), radiusX(), radiusY(), f);
            break;
        case 7:
            PrnPolygon(loadCorners(4), 0);
            break;
        case 9: {
            const float left = std::max(g.devX1, b.fx[1]), lower = std::max(g.devY1, b.fy[1]);
            const float right = std::min(g.devX2, b.fx[2]), upper = std::min(g.devY2, b.fy[2]);
            PrnRectangle(PageUnitsX(left), PageUnitsDownY(upper), PageUnitsX(right),
                         PageUnitsDownY(lower));
            break;
        }
        case 11:
            PrnPolygon(loadCorners(3), 0);
            break;
        case 13: {
            win::POINT a{}, z{};
            SectorEndsDown(b, a, z);
            PrnPie(PageUnitsX(b.fx[1]), PageUnitsDownY(b.fy[1]), radiusX(), radiusY(), a.x, a.y,
                   z.x, z.y);
            break;
        }
        default:
            PrnPolygon(loadPoints(BufferPointsDown(b.count)), g.textFill);
            break;
    }
    prnState().points.clear();
}

void PrinterDriver::font() {
    const GraphicsState& g = graphicsState();
    float w = g.charWidthFraction * g.rotDevSpanX * g.rotHardcopyScaleX;
    float h = g.charHeightFraction * g.rotDevSpanY * g.rotHardcopyScaleY;
    int style = g.fontStyle;
    if (g.textMode != 0) {
        w *= (g.textMode == 1 ? 0.607f : 0.725f) * (g.deviceFontKind == 4 ? 1.38f : 1.0f);
        h *= 0.821f;
        if (g.textMode == 1) style &= ~4;
    }
    const std::string face(g.textFontName.trimmed());
    const int asked = static_cast<int>(h);
    int height = asked, width = static_cast<int>(w);
    PrnSelectFont(width, height, s_.ascent, static_cast<int>(g.deviceTextAngle), g.deviceFontKind,
                  style, face.c_str());
    if (g.textMode == 1) {
        // The characters are placed one by one at the width table's
        // positions: the font takes the table's widths, so that they are
        // neither letter-spaced nor run into each other.
        const float cell = g.charWidthFraction * g.rotDevSpanX * g.rotHardcopyScaleX;
        const int fitted = FontWidthFittedToTable(width, PrnTextExtent(kMeasuredLetters), cell);
        if (fitted != width) {
            height = asked;
            PrnSelectFont(fitted, height, s_.ascent, static_cast<int>(g.deviceTextAngle),
                          g.deviceFontKind, style, face.c_str());
        }
    }
    s_.cellHeight = height;
}

void PrinterDriver::text(DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const float d = static_cast<float>(s_.ascent) - static_cast<float>(s_.cellHeight) / 2.0f;
    const float dx = g.rotHardcopyScaleX != 0 ? d * g.dirSinOverA / g.rotHardcopyScaleX : 0;
    const float dy = g.rotHardcopyScaleY != 0 ? d * g.dirCos / g.rotHardcopyScaleY : 0;
    const int justification = g.textMode == 1 ? 0 : g.textJustification;
    const bool opaque = OpaqueRequestText();
    PrnTextOut(PageUnitsX(b.fx[1] + dx), PageUnitsDownY(b.fy[1] - dy), PageUnitsX(b.fx[3] + dx),
               PageUnitsDownY(b.fy[3] - dy), justification, opaque, RequestText(b.pixX[1]));
    b.pixX[4] = 0;
}

void PrinterDriver::clip() {
    const GraphicsState& g = graphicsState();
    PrnClip(PageUnitsX(g.devX1), PageUnitsDownY(g.devY2),
            static_cast<int>(g.hardcopyScaleX * g.devX2 + 0.99f),
            static_cast<int>((g.plotExtentY - g.devY1) * g.hardcopyScaleY + 0.99f));
}

void PrinterDriver::textExtent(DeviceParameterBlock& b) {
    const int width = PrnTextExtent(RequestText(b.value));
    b.count = 1;
    const float scale = graphicsState().rotHardcopyScaleX;
    b.fx[1] = scale != 0 ? static_cast<float>(width) / scale : 0;
}

void PrinterDriver::lineWidth() {
    const float option = static_cast<float>(hardcopyOptions()[hc::LineWidthOption]);
    const int wx = std::max(1, static_cast<int>(option * s_.resolutionX / 720.0f + 0.5f));
    const int wy = std::max(1, static_cast<int>(option * s_.resolutionY / 720.0f + 0.5f));
    PrnLineWidth((wx + wy - 2) / 2);
}

void PrinterDriver::gradient() {
    const GraphicsState& g = graphicsState();
    PrepareGradientPolygon(hardcopyDeviceInfo().gradientFillAvailable, PageUnitsDown,
                           PageUnitsX(g.devX1), PageUnitsDownY(g.devY2), PageUnitsX(g.devX2),
                           PageUnitsDownY(g.devY1), PrnGradientPixel, PrnGradientTriangles);
}

PrinterDriver& printerDriver() {
    static PrinterDriver driver;
    return driver;
}

}  // namespace

void XXWIN(int request) {
    printerDriver().request(request);
}

int PrinterDriverQueryStatus() {
    return printerDriver().queryStatus();
}

PrinterDocument::PrinterDocument() {
    documentHeld() = true;
}

PrinterDocument::~PrinterDocument() {
    documentHeld() = false;
    PrnEndDoc();
}

void ResetPrinterDriver() {
    documentHeld() = false;
    ResetPrinterPrimitives();
    printerDriver().reset();
}

}  // namespace tk
