#include "toolkit/output/postscript_driver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/image_requests.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/postscript_writer.h"
#include "toolkit/output/text_fields.h"

namespace tk {

namespace {


constexpr std::array<const char*, 5> kProlog = {
    "/l {lineto} def/m {moveto} def/g {setrgbcolor} def/w {setlinewidth} def",
    "/d {setdash} def/cf {closepath fill} def/s {stroke} def/ff {findfont} def",
    "/ms {makefont setfont} def/ro {rotate} def/cs {closepath stroke} def",
    "/lsh {show} def/rsh {dup stringwidth pop 0 exch sub 0 rmoveto show} def",
    "/csh {dup stringwidth pop 2 div 0 exch sub 0 rmoveto show} def",
};

constexpr std::array<const char*, 3> kFamilies = {"/Courier", "/Helvetica", "/Times"};
// By variant, then family: the face each re-encoded font is made from.
constexpr std::array<const char*, 12> kFaceSuffixes = {
    " ff",         " ff",         "-Roman ff",       "-Bold ff",        "-Bold ff",
    "-Bold ff",    "-Oblique ff", "-Oblique ff",     "-Italic ff",      "-BoldOblique ff",
    "-BoldOblique ff", "-BoldItalic ff"};

constexpr std::array<const char*, 8> kDashes = {
    "[] 0",        "[1 5] 4",         "[6 6] 3", "[1 3 4 4] 0",
    "[1 2 1 2 4 2] 0", "[5 2 3 2] 2", "[3 3] 1", "[5 2 3 2 3 2] 0"};

constexpr std::array<float, 3> kTextWidthFactors = {1.65f, 1.33f, 1.72f};
constexpr std::array<float, 3> kTextHeightFactors = {1.0f, 0.82f, 0.82f};

// The string line keeps its closing ") " and show operator within 255
// characters.
constexpr std::size_t kStringRoom = 249;

bool encapsulated() {
    return hardcopyOptions()[hc::PostScriptKind] != 0;
}

int option(int code) {
    return hardcopyOptions()[code];
}

PsColour mean(const PsColour& a, const PsColour& b) {
    return PsColour{(a.red + b.red) / 2, (a.green + b.green) / 2, (a.blue + b.blue) / 2};
}

int currentColourValue() {
    const GraphicsState& g = graphicsState();
    return g.colourMode == 1 ? g.colourNumber : g.rgb;
}

int previousColourValue() {
    const GraphicsState& g = graphicsState();
    return g.colourMode == 1 ? g.previousColourNumber : g.previousRgb;
}

void writeFonts() {
    for (std::size_t family = 0; family < kFamilies.size(); ++family) {
        for (std::size_t variant = 0; variant < 4; ++variant) {
            const std::string name = kFamilies[family];
            PsWriteToken(name + kFaceSuffixes[variant * 3 + family]);
            PsWriteToken("dup length dict begin");
            PsWriteToken("{1 index /FID ne {def} {pop pop} ifelse} forall");
            PsWriteToken("/Encoding ISOLatin1Encoding def");
            PsWriteToken("currentdict end " + name + "-" + std::to_string(variant + 1) +
                         " exch definefont pop");
        }
    }
    PsWriteToken("/Symbol ff");
    PsWriteToken("dup length dict begin");
    PsWriteToken("{1 index /FID ne {def} {pop pop} ifelse} forall");
    PsWriteToken("currentdict end /Symbol exch definefont pop");
}

void writeHeader(const DeviceParameterBlock& b) {
    const HardcopyOptions& o = hardcopyOptions();
    const bool eps = encapsulated(), turned = o[hc::Orientation] != 0;
    if (eps) {
        PsWriteToken("%!PS-Adobe-3.0 EPSF-3.0");
        const int w = turned ? o[hc::PageHeight] : o[hc::PageWidth];
        const int h = turned ? o[hc::PageWidth] : o[hc::PageHeight];
        PsWriteToken("%%BoundingBox: 0 0 " + IntegerField(w, 5) + " " + IntegerField(h, 5));
    } else {
        PsWriteToken("%!PS-Adobe-3.0");
    }
    if (b.pixX[1] != 0) PsWriteToken("%%Title: " + o.title.str());
    PsWriteToken("%%Creator: Z.A.Z. PostScript driver");
    PsWriteToken("%%EndComments");
    for (const char* line : kProlog)
        PsWriteToken(line);
    PsWriteToken("%%EndProlog");
    writeFonts();
    if (turned) PsWriteRealOp(90.0f, "ro");
    float x = 0, y = 0;
    if (!eps) {
        x = static_cast<float>(o[hc::PageOffsetX]);
        y = static_cast<float>(o[hc::PageOffsetY] - (turned ? 540 : 0));
    } else if (turned) {
        y = -static_cast<float>(o[hc::PageHeight]);
    }
    PsWriteToken(FixedField(x, 8, 1) + " " + FixedField(y, 8, 1) + " translate");
    PsWriteToken("newpath");
    PsWriteToken("%%Page: 1 1");
}

// The string of a text request in parentheses with its show operator;
// characters that are not printable ASCII go as octal escapes, and a cut
// never separates an escape from what it escapes.
std::string stringLine(std::string_view text, std::string_view show) {
    std::string line = "(";
    for (unsigned char c : text) {
        std::string piece;
        if (c == '(' || c == ')' || c == '\\') {
            piece = {'\\', static_cast<char>(c)};
        } else if (c < 32 || c > 126) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            piece = octal;
        } else {
            piece = std::string(1, static_cast<char>(c));
        }
        if (line.size() - 1 + piece.size() > kStringRoom) break;
        line += piece;
    }
    return line + ") " + std::string(show);
}

class PostScriptFileDriver final : public HardcopyDriver {
  public:
    PostScriptFileDriver() : HardcopyDriver(hc::PostScriptDriverNumber) {}

  protected:
    void initialise(DeviceParameterBlock& b) override;
    void begin(DeviceParameterBlock& b) override;
    void end() override;

    void line(const DeviceParameterBlock& b) override { segment(b.fx[1], b.fy[1], b.fx[2], b.fy[2]); }
    void point(const DeviceParameterBlock& b) override {
        segment(b.fx[1], b.fy[1], b.fx[1], b.fy[1]);
    }
    void polyline(const DeviceParameterBlock& b) override;
    void text(DeviceParameterBlock& b) override;
    void arc(DeviceParameterBlock&) override { PsArc(34); }
    void fill(DeviceRequest request, DeviceParameterBlock& b) override;
    void fillEnd(DeviceRequest, DeviceParameterBlock&) override {
        PsOutputState& s = psOutputState();
        if (graphicsState().fillStyle > 0) PsEndPath(1);
        s.current = PsColourComponents(s.savedColour);
    }

    void image(DeviceParameterBlock& b) override;

    void endPage(const DeviceParameterBlock& b) override;
    void colour() override;
    void font() override { psOutputState().fontPending = true; }
    void clip() override;
    void lineStyle() override;
    void lineWidth() override;
    void lineJoin() override {
        PsEndPath(1);
        const int join = std::clamp(option(hc::LineJoinOption), 0, 2);
        PsWriteToken(std::to_string(join) + " setlinejoin");
        if (join == 0) PsWriteRealOp(5.0f, "setmiterlimit");
    }
    void lineCap() override {
        PsEndPath(1);
        PsWriteToken(std::to_string(std::clamp(option(hc::LineCapOption), 0, 2)) +
                     " setlinecap");
    }

  private:
    void segment(float x1, float y1, float x2, float y2);
    void moveIfApart(float x, float y);
    void closedPath(std::initializer_list<std::pair<float, float>> corners);
    void ellipse(const DeviceParameterBlock& b);
    void selectFont();
};

void PostScriptFileDriver::initialise(DeviceParameterBlock&) {
    HardcopyDriverDefaults();
    HardcopyOptions& o = hardcopyOptions();
    o[hc::PageWidth] = 756;
    o[hc::PageHeight] = 540;
    o[hc::PageOffsetX] = 42;
    o[hc::PageOffsetY] = -20;
    o[hc::Orientation] = 1;
    o[hc::PostScriptEndOfJob] = 1;
    o[hc::MaxPathSegments] = 255;
    o[hc::PostScriptKind] = 0;
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.colourCount = d.colourLimit = 256;
    d.printCommandAllowed = 1;
    d.resolutionX = d.resolutionY = 600;
    hardcopyDeviceInfo() = PageDescriptionDevice();
    SetDefaultFileExtension(".ps");
    d.activeDriver = hc::PostScriptDriverNumber;
}

void PostScriptFileDriver::begin(DeviceParameterBlock& b) {
    GraphicsState& g = graphicsState();
    g.hardcopyScaleX = PageScale(static_cast<float>(option(hc::PageWidth)), g.plotExtentX);
    g.hardcopyScaleY = PageScale(static_cast<float>(option(hc::PageHeight)), g.plotExtentY);
    if (b.value <= 0 || !OpenPlotFileOrStop()) return;
    hardcopyDeviceState().hpglLinePrefix = option(hc::HpglBlankPrefix) != 0 ? 1 : 2;
    psOutputState() = PsOutputState{};
    writeHeader(b);
}

void PostScriptFileDriver::end() {
    PsWriteToken("%%EOF");
    if (!encapsulated()) {
        PsWriteToken("initgraphics");
        if (option(hc::PostScriptEndOfJob) != 0) YYPROU(kPlotUnit, " \x04");
    }
    PlotFileClose(kPlotUnit);
}

void PostScriptFileDriver::moveIfApart(float x, float y) {
    const HardcopyDeviceState& d = hardcopyDeviceState();
    if (psOutputState().pendingSegments == 0 || x != d.lastPenX || y != d.lastPenY)
        PsWritePoint(x, y, "m");
}

void PostScriptFileDriver::segment(float x1, float y1, float x2, float y2) {
    PsOutputState& s = psOutputState();
    if (s.pendingSegments >= option(hc::MaxPathSegments)) PsEndPath(1);
    moveIfApart(x1, y1);
    PsWritePoint(x2, y2, "l");
    ++s.pendingSegments;
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = x2;
    d.lastPenY = y2;
}

void PostScriptFileDriver::polyline(const DeviceParameterBlock& b) {
    const DevicePointArrays& p = devicePointArrays();
    const std::size_t n = static_cast<std::size_t>(BufferPointCount(b.count));
    if (n == 0) return;
    PsOutputState& s = psOutputState();
    moveIfApart(p.x[0], p.y[0]);
    for (std::size_t k = 1; k < n; ++k) {
        if (s.pendingSegments >= option(hc::MaxPathSegments)) {
            PsEndPath(1);
            PsWritePoint(p.x[k - 1], p.y[k - 1], "m");
        }
        PsWritePoint(p.x[k], p.y[k], "l");
        ++s.pendingSegments;
    }
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = p.x[n - 1];
    d.lastPenY = p.y[n - 1];
}

void PostScriptFileDriver::colour() {
    PsOutputState& s = psOutputState();
    const bool black = option(hc::BlackLines) != 0 && graphicsState().colourNumber != 0;
    s.savedColour = black ? -1 : currentColourValue();
    const PsColour c = PsColourComponents(s.savedColour);
    if (c == s.current) return;
    PsEndPath(1);
    s.current = c;
}

void PostScriptFileDriver::closedPath(std::initializer_list<std::pair<float, float>> corners) {
    bool first = true;
    for (const auto& [x, y] : corners) {
        PsWritePoint(x, y, first ? "m" : "l");
        first = false;
    }
    psOutputState().pendingSegments = static_cast<int>(corners.size());
    PsEndPath(2);
}

void PostScriptFileDriver::fill(DeviceRequest request, DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    PsOutputState& s = psOutputState();
    const int f = g.fillStyle;
    if (f > 2 || (option(hc::BlackLines) != 0 && f > 0)) {
        PsEndPath(1);
        const PsColour current = PsColourComponents(currentColourValue());
        s.current = f == 3 ? mean(PsColourComponents(previousColourValue()), current) : current;
    }
    if (f < 3 && request != 5) return;
    switch (request) {
        case 5:
            return ellipse(b);
        case 7:
            return closedPath({{b.fx[1], b.fy[1]},
                               {b.fx[2], b.fy[2]},
                               {b.fx[3], b.fy[3]},
                               {b.fx[4], b.fy[4]}});
        case 9: {
            float x1 = b.fx[1], y1 = b.fy[1], x2 = b.fx[2], y2 = b.fy[2];
            // An EPS file has no clip path: the rectangle is clipped here.
            if (encapsulated()) {
                x1 = std::max(g.clipX1, x1), y1 = std::max(g.clipY1, y1);
                x2 = std::min(g.clipX2, x2), y2 = std::min(g.clipY2, y2);
            }
            return closedPath({{x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}});
        }
        case 11:
            return closedPath({{b.fx[1], b.fy[1]}, {b.fx[2], b.fy[2]}, {b.fx[3], b.fy[3]}});
        case 13:
            return PsArc(13);
        default: {
            const DevicePointArrays& p = devicePointArrays();
            const int n = BufferPointCount(b.count);
            if (n == 0) return;
            for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
                PsWritePoint(p.x[k], p.y[k], k == 0 ? "m" : "l");
            s.pendingSegments = n;
            PsEndPath(2);
        }
    }
}

void PostScriptFileDriver::ellipse(const DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    const float w = static_cast<float>(o[hc::PageWidth]), h = static_cast<float>(o[hc::PageHeight]);
    const float r = b.fx[3], fw = g.areaSpanX, fh = g.areaSpanY;
    float q = g.pageRotation % 180 == 0 ? r * fw / fh * g.pageAspect * h / w
                                        : fw / (fh * r) * g.pageAspect * w / h;
    if (!(q > 0) || !std::isfinite(q)) q = 1.0f;
    PsWriteToken("gsave 1.0 " + FixedField(q, 8, 4) + " scale newpath");
    PsWriteTriple(b.fx[1] * g.hardcopyScaleX, b.fy[1] * g.hardcopyScaleY / q,
                  b.fx[2] * g.hardcopyScaleX, "90. 450. arc");
    const PsOutputState& s = psOutputState();
    // Set inside gsave, so the written colour stays what it was.
    if (!(s.current == s.written)) PsWriteTriple(s.current.red, s.current.green, s.current.blue, "g");
    PsWriteToken(g.fillStyle <= 2 ? "s" : "cf");
    PsWriteToken("grestore");
}

void PostScriptFileDriver::selectFont() {
    const GraphicsState& g = graphicsState();
    const std::size_t mode = static_cast<std::size_t>(std::clamp(g.textMode, 0, 2));
    const float cw = std::clamp(g.charWidthFraction * g.rotDevSpanX * g.rotHardcopyScaleX, 1.0f,
                                999.0f) *
                     kTextWidthFactors[mode];
    const float ch = std::clamp(g.charHeightFraction * g.rotDevSpanY * g.rotHardcopyScaleY, 1.0f,
                                999.0f) *
                     kTextHeightFactors[mode];
    const std::string matrix =
        " ff [" + FixedField(cw, 5, 1) + " 0 0 " + FixedField(ch, 5, 1) + " 0 0] ms";
    const int family = g.effectiveFontKind;
    const std::string variant = std::to_string(1 + g.fontStyle % 4);
    if (family >= 1 && family <= 3)
        PsWriteToken(kFamilies[static_cast<std::size_t>(family - 1)] + ("-" + variant) + matrix);
    else if (family == 4)
        PsWriteToken("/Symbol" + matrix);
    psOutputState().fontPending = false;
}

void PostScriptFileDriver::text(DeviceParameterBlock& b) {
    PsEndPath(3);
    const GraphicsState& g = graphicsState();
    if (psOutputState().fontPending) selectFont();
    const float hx = 0.27f * g.heightX, hy = 0.27f * g.heightY;
    float x = b.fx[1] + hx, y = b.fy[1] - hy;
    const float x3 = b.fx[3] + hx, y3 = b.fy[3] - hy;
    std::string_view show = "lsh";
    if (g.textMode != 1 && g.textJustification == 1) {
        x = (x + x3) / 2, y = (y + y3) / 2;
        show = "csh";
    } else if (g.textMode != 1 && g.textJustification == 2) {
        x = x3, y = y3;
        show = "rsh";
    }
    PsWritePoint(x, y, "m");
    const int angle = TruncatedInt(g.deviceTextAngle);
    const bool turned = g.deviceTextAngle != 0;
    if (turned) PsWriteRealOp(static_cast<float>(angle), "ro");
    PsFlushLine(stringLine(RequestText(b.pixX[1]), show));
    if (turned) PsWriteRealOp(static_cast<float>(360 - angle), "ro");
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.lastPenX = d.lastPenY = -9999.0f;
}

// The image's place on the page, the graphics area's clip rectangle, as
// the page rotation puts it.
void placeImage(int rotation) {
    const GraphicsState& g = graphicsState();
    const float x1 = g.clipX1, y1 = g.clipY1, x2 = g.clipX2, y2 = g.clipY2;
    switch (rotation) {
        case 0:
            PsWritePoint(x1, y1, "translate");
            PsWritePoint(x2 - x1, y2 - y1, "scale");
            break;
        case 90:
            PsWritePointRotated(y1, -x2, "translate");
            PsWritePointRotated(y2 - y1, x2 - x1, "scale");
            break;
        case 180:
            PsWritePoint(-x2, -y2, "translate");
            PsWritePoint(x2 - x1, y2 - y1, "scale");
            break;
        case 270:
            PsWritePointRotated(-y2, x1, "translate");
            PsWritePointRotated(y2 - y1, x2 - x1, "scale");
            break;
        default:
            break;
    }
}

// The image's own size sets the data's shape (the size words of the
// request may disagree with the file, and a data count that does not match
// the matrix would swallow the rest of the page).
void PostScriptFileDriver::image(DeviceParameterBlock&) {
    PsEndPath(1);
    ImagePixelArray picture;
    if (!LoadRequestImage(picture)) return;
    hardcopyDeviceState().pageDirty = true;
    const int rotation = graphicsState().pageRotation;
    const std::string w = std::to_string(picture.width), h = std::to_string(picture.height);
    PsWriteToken("gsave");
    PsWriteToken("/picstr " + std::to_string(3LL * picture.width) + " string def");
    PsWriteRealOp(static_cast<float>(rotation), "ro");
    placeImage(rotation);
    PsWriteToken(w + " " + h + " 8 [" + w + " 0 0 -" + h + " 0 " + h + "]");
    PsWriteToken("{currentfile picstr readhexstring pop}");
    PsWriteToken("false 3");
    PsWriteToken("colorimage");
    constexpr std::size_t kHexLine = 240;
    std::string line;
    for (const std::uint32_t p : picture.pixels) {
        int red = 0, green = 0, blue = 0;
        SplitRgbColour(static_cast<int>(p), &red, &green, &blue);
        line += ColourToHex(red, green, blue);
        if (line.size() >= kHexLine) {
            PsFlushLine(line);
            line.clear();
        }
    }
    if (!line.empty()) PsFlushLine(line);
    PsWriteToken("grestore");
}

void PostScriptFileDriver::clip() {
    if (encapsulated()) return;
    const GraphicsState& g = graphicsState();
    PsEndPath(1);
    PsWriteToken("initclip");
    const auto whole = [](float v) { return static_cast<float>(TruncatedInt(v)); };
    const float x1 = whole(g.clipX1), y1 = whole(g.clipY1);
    const float x2 = whole(g.clipX2 + 0.99f), y2 = whole(g.clipY2 + 0.99f);
    PsWritePoint(x1, y1, "m");
    PsWritePoint(x2, y1, "l");
    PsWritePoint(x2, y2, "l");
    PsWritePoint(x1, y2, "l");
    PsWriteToken("clip");
    PsWriteToken("newpath");
}

void PostScriptFileDriver::lineStyle() {
    PsOutputState& s = psOutputState();
    const int style = std::clamp(graphicsState().lineStyle, 0, 7);
    if (style == s.lineStyleWritten) return;
    PsEndPath(1);
    PsWriteToken(std::string(kDashes[static_cast<std::size_t>(style)]) + " d");
    s.lineStyleWritten = style;
}

void PostScriptFileDriver::lineWidth() {
    PsOutputState& s = psOutputState();
    const int width = option(hc::LineWidthOption);
    if (width == s.lineWidthWritten) return;
    PsEndPath(1);
    PsWriteRealOp(static_cast<float>(width) / 10.0f, "w");
    s.lineWidthWritten = width;
}

void PostScriptFileDriver::endPage(const DeviceParameterBlock& b) {
    PsEndPath(1);
    if (!encapsulated()) {
        PsWriteToken("/#copies " + IntegerField(std::min(option(hc::Copies), 999), 3) + " def");
        PsWriteToken("gsave showpage grestore");
    }
    if (b.count != 0) return;
    PsOutputState& s = psOutputState();
    ++s.page;
    PsWriteToken("%%Page: " + IntegerField(s.page, 4) + " " + IntegerField(s.page, 4));
}

}  // namespace

void PostScriptDriver(DeviceRequest request) {
    static PostScriptFileDriver driver;
    driver.request(request);
}

}  // namespace tk
