#include "toolkit/output/svg_driver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/postscript_writer.h"
#include "toolkit/output/text_fields.h"

namespace tk {

namespace {

constexpr std::size_t kPointsLine = 256;
constexpr std::size_t kTextRoom = 1040;
constexpr float kPi = 3.14159f;

constexpr std::array<const char*, 8> kDashes = {"none",    "1 5",         "6 6",     "1 3 4 4",
                                                "1 2 1 2 4 2", "5 2 3 2", "3 3", "5 2 3 2 3 2"};
constexpr std::array<const char*, 3> kJoins = {"miter", "round", "bevel"};
constexpr std::array<const char*, 3> kCaps = {"butt", "round", "square"};
constexpr std::array<const char*, 4> kFamilies = {
    "'Courier New',Courier;", "Arial,Helvetica;", "'Times New Roman','Times Roman';", "Symbol;"};
constexpr std::array<float, 3> kFontSizeFactors = {1.65f, 1.33f, 1.72f};

struct Group {
    int red = -1, green = -1, blue = -1;
    int width = -1, style = -1, join = -1, cap = -1;
    bool operator==(const Group&) const = default;
};

struct SvgState {
    Group line;          // the open line group; red -1 = none
    int openGroups = 0;  // groups of any kind not yet closed
    bool textOpen = false;
    bool clipped = false;
    int clipNumber = 0;
};

SvgState& svg() {
    static SvgState s;
    return s;
}

void writeLine(std::string_view text) {
    PlotFileWriteLine(kPlotUnit, text);
}

std::string attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + std::string(value) + "\"";
}

std::string svgX(float x) {
    return SvgFormatNumber(x * graphicsState().hardcopyScaleX);
}

std::string svgY(float y) {
    const GraphicsState& g = graphicsState();
    return SvgFormatNumber((g.plotExtentY - y) * g.hardcopyScaleY);
}

std::string svgPoint(float x, float y) {
    return svgX(x) + "," + svgY(y);
}

void openGroup(const std::string& style) {
    writeLine("<g" + attribute("style", style) + ">");
    ++svg().openGroups;
}

void closeGroup() {
    if (svg().openGroups == 0) return;
    writeLine("</g>");
    --svg().openGroups;
}

// A text whose last piece never came (a text of one character sent piece by
// piece is marked first only) has its group closed before anything else is
// drawn, so what follows does not take the text's style.
void closeText() {
    if (!svg().textOpen) return;
    closeGroup();
    svg().textOpen = false;
}

void handleColour(int& r, int& g, int& b) {
    ApplyColourHandling(hardcopyOptions()[hc::ColourHandling], r, g, b);
}

int strokeWidth() {
    return std::max(1, TruncatedInt(hardcopyOptions()[hc::LineWidthOption] * 150.0 / 720.0 + 0.5));
}

// A polyline or polygon of the points, broken into lines of at most 256
// characters between pairs.
void pointsElement(std::string_view name, const std::vector<std::pair<float, float>>& points) {
    std::string line = "<" + std::string(name) + " points=\"";
    bool first = true;
    for (const auto& [x, y] : points) {
        const std::string pair = svgPoint(x, y);
        const std::size_t separator = first ? 0 : 1;
        if (!first && line.size() + separator + pair.size() > kPointsLine) {
            writeLine(line);
            line.clear();
        } else if (!first) {
            line += ' ';
        }
        line += pair;
        first = false;
    }
    if (line.size() + 3 > kPointsLine) {
        writeLine(line);
        line.clear();
    }
    writeLine(line + "\"/>");
}

std::vector<std::pair<float, float>> bufferPoints(int count) {
    const DevicePointArrays& p = devicePointArrays();
    std::vector<std::pair<float, float>> points;
    for (std::size_t k = 0; k < static_cast<std::size_t>(BufferPointCount(count)); ++k)
        points.emplace_back(p.x[k], p.y[k]);
    return points;
}

// The text content: characters outside printable ASCII as numeric entities
// of their Unicode value, "&" and "<" as entities, control codes dropped;
// the limit cuts only between characters.
std::string textContent(std::string_view text) {
    std::string content;
    for (unsigned char c : text) {
        const char32_t code = base::cp1252ToUnicode(c);
        std::string piece;
        if (code < 32 || (code >= 127 && code < 160))
            continue;
        else if (code == '&' || code == '<' || code > 127)
            piece = "&#" + std::to_string(static_cast<unsigned long>(code)) + ";";
        else
            piece = std::string(1, static_cast<char>(c));
        if (content.size() + piece.size() > kTextRoom) break;
        content += piece;
    }
    return content;
}

class SvgFileDriver final : public HardcopyDriver {
  public:
    SvgFileDriver() : HardcopyDriver(hc::SvgDriverNumber) {}

  protected:
    void initialise(DeviceParameterBlock& b) override;
    void begin(DeviceParameterBlock& b) override;
    void end() override {
        // Groups a broken-off text or fill left open are closed too.
        while (svg().openGroups > 1)
            closeGroup();
        writeLine(svg().openGroups == 1 ? "</g></svg>" : "</svg>");
        PlotFileClose(kPlotUnit);
    }

    void line(const DeviceParameterBlock& b) override {
        closeText();
        writeLine("<line" + attribute("x1", svgX(b.fx[1])) + attribute("y1", svgY(b.fy[1])) +
                  attribute("x2", svgX(b.fx[2])) + attribute("y2", svgY(b.fy[2])) + "/>");
    }
    void point(const DeviceParameterBlock& b) override {
        closeText();
        const std::string x = svgX(b.fx[1]), y = svgY(b.fy[1]);
        writeLine("<line" + attribute("x1", x) + attribute("y1", y) + attribute("x2", x) +
                  attribute("y2", y) + " />");
    }
    void polyline(const DeviceParameterBlock& b) override {
        closeText();
        const auto points = bufferPoints(b.count);
        if (!points.empty()) pointsElement("polyline", points);
    }
    void text(DeviceParameterBlock& b) override;
    void arc(DeviceParameterBlock& b) override {
        closeText();
        pathArc(34, b);
    }
    void fill(DeviceRequest request, DeviceParameterBlock& b) override;
    void fillEnd(DeviceRequest, DeviceParameterBlock&) override {
        if (graphicsState().fillStyle > 2) closeGroup();
    }

    void colour() override { lineGroup(); }
    void palette() override {}
    void lineStyle() override { lineGroup(); }
    void lineWidth() override { lineGroup(); }
    void lineJoin() override { lineGroup(); }
    void lineCap() override { lineGroup(); }
    void clip() override;

  private:
    void lineGroup();
    void ellipse(const DeviceParameterBlock& b);
    void pathArc(int request, const DeviceParameterBlock& b);
};

void SvgFileDriver::initialise(DeviceParameterBlock&) {
    HardcopyDriverDefaults();
    HardcopyOptions& o = hardcopyOptions();
    o[hc::PageOffsetX] = o[hc::PageOffsetY] = o[hc::Orientation] = 0;
    o[hc::PageWidth] = 640;
    o[hc::PageHeight] = 480;
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.colourCount = d.colourLimit = 256;
    d.printCommandAllowed = 0;
    d.resolutionX = d.resolutionY = 72;
    hardcopyDeviceInfo() = PageDescriptionDevice();
    SetDefaultFileExtension(".svg");
    d.activeDriver = hc::SvgDriverNumber;
}

void SvgFileDriver::begin(DeviceParameterBlock& b) {
    GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    g.hardcopyScaleX = PageScale(static_cast<float>(o[hc::PageWidth]), g.plotExtentX);
    g.hardcopyScaleY = PageScale(static_cast<float>(o[hc::PageHeight]), g.plotExtentY);
    if (b.value <= 0 || !OpenPlotFileOrStop()) return;
    writeLine("<?xml version=\"1.0\"?>");
    writeLine("<!DOCTYPE svg SYSTEM \"\">");
    writeLine("<svg" + attribute("width", std::to_string(o[hc::PageWidth])) +
              attribute("height", std::to_string(o[hc::PageHeight])) +
              attribute("xmlns", "http://www.w3.org/2000/svg") + ">");
    svg() = SvgState{};
}

void SvgFileDriver::lineGroup() {
    const GraphicsState& g = graphicsState();
    const HardcopyOptions& o = hardcopyOptions();
    Group next;
    CurrentColourComponents(next.red, next.green, next.blue);
    handleColour(next.red, next.green, next.blue);
    next.width = strokeWidth();
    next.style = std::clamp(g.lineStyle, 0, 7);
    next.join = std::clamp(o[hc::LineJoinOption], 0, 2);
    next.cap = std::clamp(o[hc::LineCapOption], 0, 2);
    closeText();
    SvgState& s = svg();
    if (next == s.line) return;
    if (s.line.red != -1) closeGroup();
    openGroup("fill:none;stroke:#" + ColourToHex(next.red, next.green, next.blue) +
              ";stroke-dasharray:" + kDashes[static_cast<std::size_t>(next.style)] +
              ";stroke-width:" + std::to_string(next.width) +
              ";stroke-linejoin:" + kJoins[static_cast<std::size_t>(next.join)] +
              ";stroke-linecap:" + kCaps[static_cast<std::size_t>(next.cap)]);
    s.line = next;
}

void SvgFileDriver::clip() {
    const GraphicsState& g = graphicsState();
    SvgState& s = svg();
    s.clipped = g.areaX1 > 0 || g.areaY1 > 0 || g.areaX2 < 1 || g.areaY2 < 1;
    if (!s.clipped) return;
    ++s.clipNumber;
    const float x = g.hardcopyScaleX * g.clipX1;
    const float y = (g.plotExtentY - g.clipY2) * g.hardcopyScaleY;
    const float w = g.hardcopyScaleX * g.clipX2 - g.hardcopyScaleX * g.clipX1;
    const float h = (g.plotExtentY - g.clipY1) * g.hardcopyScaleY - y;
    writeLine("<defs><clipPath" + attribute("id", "clip" + std::to_string(s.clipNumber)) +
              "><rect" + attribute("width", SvgFormatNumber(w)) +
              attribute("height", SvgFormatNumber(h)) + attribute("x", SvgFormatNumber(x)) +
              attribute("y", SvgFormatNumber(y)) + "/></clipPath></defs>");
}

void SvgFileDriver::ellipse(const DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    writeLine("<ellipse" + attribute("cx", svgX(b.fx[1])) + attribute("cy", svgY(b.fy[1])) +
              attribute("rx", SvgFormatNumber(g.hardcopyScaleX * b.fx[2])) +
              attribute("ry", SvgFormatNumber(g.hardcopyScaleY * b.fy[2])) + "/>");
}

void SvgFileDriver::fill(DeviceRequest request, DeviceParameterBlock& b) {
    closeText();
    const GraphicsState& g = graphicsState();
    if (g.fillStyle <= 2) {
        if (request == 5) ellipse(b);
        return;
    }
    int r = 0, gr = 0, bl = 0;
    FillColourComponents(r, gr, bl);
    handleColour(r, gr, bl);
    const SvgState& s = svg();
    // Sharp edges: neighbouring fills (the cells of a colour fill) meet
    // without the pale seams that smoothed edges leave between them.
    openGroup("stroke:none;fill:#" + ColourToHex(r, gr, bl) +
              (s.clipped ? ";clip-path:url(#clip" + std::to_string(s.clipNumber) + ")" : "") +
              ";shape-rendering:crispEdges");
    switch (request) {
        case 5:
            return ellipse(b);
        case 7:
            return pointsElement("polygon", {{b.fx[1], b.fy[1]},
                                             {b.fx[2], b.fy[2]},
                                             {b.fx[3], b.fy[3]},
                                             {b.fx[4], b.fy[4]}});
        case 9:
            return pointsElement("polygon", {{b.fx[1], b.fy[1]},
                                             {b.fx[2], b.fy[1]},
                                             {b.fx[2], b.fy[2]},
                                             {b.fx[1], b.fy[2]}});
        case 11:
            return pointsElement("polygon",
                                 {{b.fx[1], b.fy[1]}, {b.fx[2], b.fy[2]}, {b.fx[3], b.fy[3]}});
        case 13:
            return pathArc(13, b);
        default: {
            const auto points = bufferPoints(b.count);
            if (!points.empty()) pointsElement("polygon", points);
        }
    }
}

void SvgFileDriver::pathArc(int request, const DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const float cx = b.fx[1], cy = b.fy[1], rx = b.fx[2], ry = b.fy[2];
    const float from = b.fx[3], to = b.fy[3];
    const std::string start = svgPoint(cx + rx * std::cos(from), cy + ry * std::sin(from));
    const std::string end = svgPoint(cx + rx * std::cos(to), cy + ry * std::sin(to));
    const std::string radii = SvgFormatNumber(g.hardcopyScaleX * rx) + "," +
                              SvgFormatNumber(g.hardcopyScaleY * ry);
    std::string d = "M " + start + " A " + radii + " 0 " + (to - from >= kPi ? "1" : "0") +
                    " 0 " + end;
    const bool open = g.fillStyle == 0 && g.fillDensity > 2 && request != 13;
    if (!open) d += " L " + svgPoint(cx, cy) + " L " + start;
    writeLine("<path" + attribute("d", d) + "/>");
}

void SvgFileDriver::text(DeviceParameterBlock& b) {
    const GraphicsState& g = graphicsState();
    const bool centre = g.textMode != 1 && g.textJustification == 1;
    const bool right = g.textMode != 1 && g.textJustification == 2;
    if ((b.pixX[2] & 1) != 0) {
        closeText();
        SvgState& s = svg();
        s.textOpen = true;
        std::string style = "fill:#" + ColourToHex(std::max(s.line.red, 0),
                                                   std::max(s.line.green, 0),
                                                   std::max(s.line.blue, 0)) +
                            ";stroke:none;";
        const int family = g.effectiveFontKind;
        if (family >= 1 && family <= 4)
            style += std::string("font-family:") + kFamilies[static_cast<std::size_t>(family - 1)];
        if (family != 4 && (g.fontStyle & 1) != 0) style += "font-weight:bold;";
        if (family != 4 && (g.fontStyle & 2) != 0) style += "font-style:italic;";
        if (centre) style += "text-anchor:middle;";
        if (right) style += "text-anchor:end;";
        const std::size_t mode = static_cast<std::size_t>(std::clamp(g.textMode, 0, 2));
        const float size =
            g.charWidthFraction * kFontSizeFactors[mode] * g.rotDevSpanX * g.rotHardcopyScaleX;
        openGroup(style + "font-size:" + SvgFormatNumber(size) + "px");
    }
    float x = b.fx[1], y = b.fy[1];
    if (centre) x = (x + b.fx[3]) / 2, y = (y + b.fy[3]) / 2;
    if (right) x = b.fx[3], y = b.fy[3];
    x += 0.2f * g.heightX;
    y -= 0.2f * g.heightY;
    std::string transform = "translate(" + svgPoint(x, y) + ")";
    if (g.deviceTextAngle != 0) transform += " rotate(" + SvgFormatNumber(-g.deviceTextAngle) + ")";
    writeLine("<text" + attribute("transform", transform) + ">" +
              textContent(RequestText(b.pixX[1])) + "</text>");
    if ((b.pixX[2] & 2) != 0) closeText();
}

}  // namespace

std::string SvgFormatNumber(float value) {
    std::string text(Trimmed(FixedField(value, 8, 2)));
    if (text.ends_with(".00"))
        text.resize(text.size() - 3);
    else if (text.back() == '0')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

void SvgDriver(DeviceRequest request) {
    static SvgFileDriver driver;
    driver.request(request);
}

}  // namespace tk
