#include "util/plotter_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/fortran_format.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "util/pen_plotter.h"
#include "util/text_edit.h"
#include "util/text_search.h"

namespace util {

namespace {

constexpr float kDegreesPerRadian = 57.293f;

struct Justified {
    int justification;  // 0 left, 1 centre, 2 right
    float widthFactor;
    bool raiseHalfHeight;
};

constexpr Justified kLeft{0, 0.0108f, true};
constexpr Justified kCentre{1, 0.0114f, false};
constexpr Justified kRight{2, 0.0108f, false};

// The screen's character cells are never lower or narrower than this many
// pixels: below either a label is unreadable.
constexpr float kLeastScreenTextPixels = 12.0f;
constexpr float kLeastCellWidthPixels = 8.0f;

struct TextScale {
    float height = 1.0f;  // the text's magnification
    float width = 1.0f;   // the characters' widening, magnification included
};

// Sizes given as fractions of the graphics area shrink with the window: a
// page of 10 x 8 plot units fills a window of any size, and the toolkit's
// proportional face narrows its characters to a fraction of their cell.
// In pictures made of pixels (the screen, bitmap files, raster printers) the
// text keeps a readable size and the glyphs' natural proportions, so that a
// bitmap of a window is the window's picture; vector hardcopy keeps the
// page's sizes exactly.
bool drawsPixels(int driver) {
    return driver == 0 || driver == tk::hc::RasterDriverNumber ||
           driver == tk::hc::BitImageDriverNumber;
}

TextScale screenTextScale(float heightFraction, float widthFraction) {
    const tk::GraphicsState& g = tk::graphicsState();
    TextScale t;
    if (!drawsPixels(g.hardcopyDriver) || g.rotDevSpanX <= 0.0f || g.rotDevSpanY <= 0.0f ||
        heightFraction <= 0.0f || widthFraction <= 0.0f)
        return t;
    const float pixels = heightFraction * g.rotDevSpanY;
    t.height = std::max(1.0f, kLeastScreenTextPixels / pixels);
    const float widthPixels = widthFraction * t.height * g.rotDevSpanX;
    t.width = t.height * std::max(1.0f, kLeastCellWidthPixels / widthPixels);
    return t;
}

// The character size of text of height H (S = 4 H) as the toolkit takes it:
// fractions of the graphics area.
TextScale setTextSize(float s, float widthFactor) {
    const TextScale t = screenTextScale(s * 0.04f, s * widthFactor);
    tk::GrTextFont({}, {}, s * widthFactor * t.width, s * 0.04f * t.height, {}, 2);
    return t;
}

// The anchor and size after the optional pixel scale; a scale factor of 0
// or less switches the pixel scale off.
void applyPixelScale(float& x, float& y, float& s) {
    PlotterState& p = plotterState();
    if (!p.pixelScaleOn) return;
    if (p.pixelScaleX <= 0.0f || p.pixelScaleY <= 0.0f) {
        p.pixelScaleOn = false;
        return;
    }
    x *= p.pixelScaleX;
    y *= p.pixelScaleY;
    s *= std::sqrt(p.pixelScaleX * p.pixelScaleY);
}

void placeText(float x, float y, float h, std::string_view text, float angle, int n,
               const Justified& j) {
    const PlotterState& p = plotterState();
    x += p.originX;
    y += p.originY;
    float s = 4.0f * h;
    applyPixelScale(x, y, s);
    if (n <= 0) return;
    // Text enlarged for the screen keeps its foot where it was asked.
    const TextScale t = setTextSize(s, j.widthFactor);
    if (j.raiseHalfHeight) {
        const double a = static_cast<double>(angle) / kDegreesPerRadian;
        double sn = std::sin(a), cs = std::cos(a);
        if (!std::isfinite(sn) || !std::isfinite(cs)) sn = 0.0, cs = 1.0;
        x += static_cast<float>(sn * h * t.height * 0.5);
        y += static_cast<float>(cs * h * t.height * 0.5);
    }
    tk::SetTextAttributes(j.justification, angle);
    tk::DrawTextAt(x, y, text, std::min<int>(n, static_cast<int>(text.size())));
}

}  // namespace

void SYMBOL(float x, float y, float h, std::string_view text, float angle, int n) {
    placeText(x, y, h, text, angle, n, kLeft);
}

void CENTSY(float x, float y, float h, std::string_view text, float angle, int n) {
    placeText(x, y, h, text, angle, n, kCentre);
}

void SYMBOR(float x, float y, float h, std::string_view text, float angle, int n) {
    placeText(x, y, h, text, angle, n, kRight);
}

void CENTSYLIMIT(float x, float y, float h, std::string_view text, float angle, int n, float wmax) {
    const float length = static_cast<float>(n) * 0.5f * h;
    if (length > wmax) h = h * wmax / length;
    CENTSY(x, y, h, text, angle, n);
}

float STRINGWIDTH(float h, std::string_view text, float angle, int n) {
    float x = 0.0f, y = 0.0f, s = 4.0f * h;
    applyPixelScale(x, y, s);
    const TextScale t = setTextSize(s, kLeft.widthFactor);
    tk::SetTextAttributes({}, angle);
    const int count = std::clamp<int>(n, 0, static_cast<int>(text.size()));
    return tk::StringWidthInUnits(text, count) * 0.43f * h * t.width;
}

float screenTextMagnification(float h) {
    float x = 0.0f, y = 0.0f, s = 4.0f * h;
    applyPixelScale(x, y, s);
    return screenTextScale(s * 0.04f, s * kLeft.widthFactor).height;
}

bool DrawsOnPaper() {
    return !drawsPixels(tk::graphicsState().hardcopyDriver);
}

float screenTextGrowth(float h) {
    return 0.5f * h * (screenTextMagnification(h) - 1.0f);
}

void MAKNUM(float x, std::span<char> text, int m, std::int32_t& nd) {
    const bool wholeNumber = nd < 0;
    const int decimals = std::clamp<std::int32_t>(nd, 0, 9);
    const std::string format = "(F48." + std::to_string(decimals) + ")";
    const std::string field = base::formatReal(x, format).value_or(std::string(48, '*'));
    const std::string scratch = "  " + field;
    int ipos = 1;
    const int count = static_cast<int>(std::min<std::size_t>(std::max(m, 0), text.size()));
    NXTWRD(scratch, static_cast<int>(scratch.size()), ipos, text, count);
    nd = INDSTR(std::string_view(text.data(), text.size()), count);
    if (wholeNumber) nd -= 1;
}

namespace {

void numberText(float x, float y, float h, float v, float angle, std::int32_t nd,
                void (*draw)(float, float, float, std::string_view, float, int)) {
    std::array<char, 20> text{};
    text.fill(' ');
    MAKNUM(v, text, 20, nd);
    draw(x, y, h, std::string_view(text.data(), text.size()), angle, nd);
}

}  // namespace

void NUMBER(float x, float y, float h, float v, float angle, std::int32_t nd) {
    numberText(x, y, h, v, angle, nd, SYMBOL);
}

void CENTNM(float x, float y, float h, float v, float angle, std::int32_t nd) {
    numberText(x, y, h, v, angle, nd, CENTSY);
}

namespace {

void justifiedText(int justification, float y, float x, std::string_view text, int n) {
    tk::SetTextAttributes(justification);
    const auto count = static_cast<std::size_t>(std::max(n, 0));
    tk::DrawTextAt(x, y, text.substr(0, std::min(count, text.size())));
}

}  // namespace

void CENTSTRING(float y, float x, std::string_view text, int n) {
    justifiedText(1, y, x, text, n);
}

void RIGHTSTRING(float y, float x, std::string_view text, int n) {
    justifiedText(2, y, x, text, n);
}

void LEFTSTRING(float y, float x, std::string_view text, int n) {
    justifiedText(0, y, x, text, n);
}

}  // namespace util
