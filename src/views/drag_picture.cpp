#include "views/drag_picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "files/view_settings.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/bitmap_store.h"
#include "util/axis_scaling.h"
#include "util/graph_curves.h"
#include "util/pen_plotter.h"

namespace views {

namespace {

// What the kept copy shows: any change of these draws it again.
struct Key {
    util::AxisRecord axis{};
    const model::ProfileLine* profile = nullptr;
    const float* data = nullptr;
    std::size_t count = 0;
    int pen = 0, lineWidth = 0, targetWidth = 0, targetHeight = 0;
    float fill[4]{};
};

bool operator==(const Key& a, const Key& b) {
    return std::memcmp(&a.axis, &b.axis, sizeof(a.axis)) == 0 && a.profile == b.profile &&
           a.data == b.data && a.count == b.count && a.pen == b.pen &&
           a.lineWidth == b.lineWidth && a.targetWidth == b.targetWidth &&
           a.targetHeight == b.targetHeight && std::equal(a.fill, a.fill + 4, b.fill);
}

// A rectangle of window pixels (right and bottom excluded).
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// What the markers at the border of the copy put on one strip of the window
// around it: where `mask` is black they set the pixel to `ink`'s colour,
// where it is white they leave it. Laid on with AND and OR.
struct Stamp {
    int mask = 0, ink = 0;  // toolkit bitmap numbers
    PixelRect rect;
};

// What the section's kept copy shows: the graph, the pens, the topography
// and the bodies before the dragged one.
struct SectionKey {
    std::vector<unsigned char> axis;
    const model::PolygonModel* model = nullptr;
    int selected = 0, lineWidth = 0, elevationPen = 0, targetWidth = 0, targetHeight = 0;
    std::array<int, 10> bodyPens{};
    std::vector<int> ranges;
    std::vector<float> shapes;
    bool operator==(const SectionKey&) const = default;
};

struct SectionPicture {
    bool kept = false;
    int bitmap = 0;
    SectionKey key;
    PixelRect rect, inside;
};

struct DragPicture {
    bool on = false;
    bool kept = false;
    int bitmap = 0;  // toolkit bitmap number, 0 for none
    Key key;
    PixelRect rect;
    // The stamps of the border markers, taken with the copy; when they
    // cannot be kept the border markers are drawn.
    std::vector<Stamp> stamps;
    SectionPicture section;
};

DragPicture& picture() {
    static DragPicture p;
    return p;
}

void deleteBitmap(int& number) {
    if (number > 0) {
        int status = 0;
        tk::BitmapDelete(number - 1, status);
    }
    number = 0;
}

void freeStamps() {
    DragPicture& p = picture();
    for (Stamp& s : p.stamps) {
        deleteBitmap(s.mask);
        deleteBitmap(s.ink);
    }
    p.stamps.clear();
}

void freeBitmap() {
    DragPicture& p = picture();
    deleteBitmap(p.bitmap);
    freeStamps();
    p.kept = false;
}

void freeSection() {
    SectionPicture& s = picture().section;
    deleteBitmap(s.bitmap);
    s.kept = false;
}

// A bitmap holding what the window shows in `r`; 0 when none is free.
int keepScreen(const PixelRect& r) {
    int number = 0;
    tk::BitmapCreate(number, r.width(), r.height(), 0);
    if (number <= 0) return 0;
    int status = 0;
    tk::BitmapCopyFromScreen(number - 1, r.left, r.top, r.width(), r.height(), status);
    if (status != 0) deleteBitmap(number);
    return number;
}

// A bitmap of r's size filled with `colour`; 0 when none is free.
int filledBitmap(const PixelRect& r, int colour) {
    int number = 0;
    tk::BitmapCreate(number, r.width(), r.height(), colour);
    return std::max(number, 0);
}

// Bitmap operations of the toolkit's store.
constexpr int kCopy = 0, kOr = 1, kAnd = 2, kExclusiveOr = 3;

// Puts bitmap `number` on the window at r with the operation `op`.
void putOnScreen(int number, const PixelRect& r, int op) {
    int status = 0;
    tk::BitmapRasterOp(op);
    tk::BitmapPutToScreen(number - 1, 0, 0, r.left, r.top, r.width(), r.height(), 1, status);
    tk::BitmapRasterOp(kCopy);
}

void stampOn(const Stamp& s) {
    putOnScreen(s.mask, s.rect, kAnd);
    putOnScreen(s.ink, s.rect, kOr);
}

// The window pixel of a plot point of the graph whose origin is current.
// Points far off the page (a layer's closing points, absurd values) count
// as lying just beyond it, so that no pixel number overflows.
void windowPixel(float x, float y, int& px, int& py) {
    constexpr float kBeyondThePage = 100.0f;  // inches
    x = std::isnan(x) ? 0.0f : std::clamp(x, -kBeyondThePage, kBeyondThePage);
    y = std::isnan(y) ? 0.0f : std::clamp(y, -kBeyondThePage, kBeyondThePage);
    util::IPIXXY(x, y, px, py);
    py = tk::graphicsState().targetHeight - 1 - py;
}

// Half the size of the largest small marker, in plot units.
constexpr float kLargestMarkerHalfSize = 0.03f;

// Pixels of the window that any marker reaches beyond its centre: its half
// size, the pen's width and a pixel of rounding on each side.
int markerReach(float halfSize) {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    windowPixel(0.0f, 0.0f, x0, y0);
    windowPixel(halfSize, halfSize, x1, y1);
    return std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + files::viewSettings().LineWidth + 2;
}

// The part of the fill that the copy covers: the fill's pixels less a
// border for the rounding, so that every pixel of it is the fill's.
PixelRect keptRect(float x1, float y1, float x2, float y2) {
    constexpr int kRounding = 2;
    int l = 0, t = 0, r = 0, b = 0;
    windowPixel(x1, y2, l, t);
    windowPixel(x2, y1, r, b);
    return {std::min(l, r) + kRounding, std::min(t, b) + kRounding, std::max(l, r) - kRounding,
            std::max(t, b) - kRounding};
}

bool insideRect(int x, int y, const PixelRect& r, int margin) {
    return x >= r.left + margin && x < r.right - margin && y >= r.top + margin &&
           y < r.bottom - margin;
}

// Each marker is handed to the screen whole as it is drawn.
void drawMarkers(std::span<const float> stations, std::span<const float> data,
                 std::span<const bool> masked, util::AxisRecord& axis) {
    util::GNPLTM(stations, data, static_cast<int>(data.size()), masked, axis);
}

// The markers that reach beyond the copy, and the window pixels they may
// touch (empty when there are none).
struct BorderMarkers {
    std::vector<float> xs, ys;
    std::unique_ptr<bool[]> masked;
    PixelRect reached{0, 0, 0, 0};
};

BorderMarkers borderMarkers(std::span<const float> stations, std::span<const float> data,
                            std::span<const bool> masked, util::AxisRecord& axis, int reach) {
    const PixelRect& kept = picture().rect;
    BorderMarkers b;
    std::vector<char> flags;
    bool any = false;
    for (std::size_t i = 0; i < data.size(); ++i) {
        int px = 0, py = 0;
        windowPixel(util::PLOFX(stations[i], axis), util::PLOFY(data[i], axis), px, py);
        if (insideRect(px, py, kept, reach)) continue;
        b.xs.push_back(stations[i]);
        b.ys.push_back(data[i]);
        flags.push_back(i < masked.size() && masked[i] ? 1 : 0);
        const PixelRect around{px - reach, py - reach, px + reach + 1, py + reach + 1};
        b.reached = any ? PixelRect{std::min(b.reached.left, around.left),
                                    std::min(b.reached.top, around.top),
                                    std::max(b.reached.right, around.right),
                                    std::max(b.reached.bottom, around.bottom)}
                        : around;
        any = true;
    }
    b.masked.reset(new bool[flags.size() + 1]);
    for (std::size_t i = 0; i < flags.size(); ++i)
        b.masked[i] = flags[i] != 0;
    return b;
}

void drawBorderMarkers(const BorderMarkers& b, util::AxisRecord& axis) {
    drawMarkers(b.xs, b.ys, std::span<const bool>(b.masked.get(), b.xs.size()), axis);
}

// The strips of `outer` (within the window) that lie outside `inner`.
std::vector<PixelRect> stripsAround(PixelRect outer, const PixelRect& inner) {
    const tk::GraphicsState& g = tk::graphicsState();
    outer = {std::max(outer.left, 0), std::max(outer.top, 0),
             std::min(outer.right, g.targetWidth), std::min(outer.bottom, g.targetHeight)};
    const int top = std::clamp(inner.top, outer.top, outer.bottom);
    const int bottom = std::clamp(inner.bottom, top, outer.bottom);
    const std::vector<PixelRect> all{
        {outer.left, outer.top, outer.right, top},
        {outer.left, bottom, outer.right, outer.bottom},
        {outer.left, top, std::clamp(inner.left, outer.left, outer.right), bottom},
        {std::clamp(inner.right, outer.left, outer.right), top, outer.right, bottom}};
    std::vector<PixelRect> strips;
    for (const PixelRect& r : all)
        if (r.width() > 0 && r.height() > 0) strips.push_back(r);
    return strips;
}

// Draws the border markers and keeps what they put on the strips around the
// copy as stamps: the strips are shown in the complement of the pen's
// colour while the markers are drawn, so that a pixel they set differs from
// one they leave in every bit. False when a stamp cannot be kept (the
// markers are drawn all the same).
bool drawAndStampBorder(const BorderMarkers& b, util::AxisRecord& axis) {
    DragPicture& p = picture();
    std::int32_t pen = 0;
    util::GETPEN(pen);
    int ink = 0;
    tk::ColourNumberRgb(pen, ink);
    ink &= 0xFFFFFF;
    const int background = ~ink & 0xFFFFFF;
    // Colours that a palette would move would not give the marks back.
    if (tk::windowSystem().Palette) {
        drawBorderMarkers(b, axis);
        return false;
    }
    struct Strip {
        PixelRect rect;
        int shown = 0, drawn = 0;
    };
    std::vector<Strip> strips;
    bool ok = true;
    for (const PixelRect& r : stripsAround(b.reached, p.rect)) {
        strips.push_back({r, keepScreen(r), filledBitmap(r, background)});
        ok = ok && strips.back().shown > 0 && strips.back().drawn > 0;
    }
    if (!ok) {
        for (Strip& s : strips) {
            deleteBitmap(s.shown);
            deleteBitmap(s.drawn);
        }
        drawBorderMarkers(b, axis);
        return false;
    }
    for (const Strip& s : strips)
        putOnScreen(s.drawn, s.rect, kCopy);
    drawBorderMarkers(b, axis);
    for (Strip& s : strips) {
        deleteBitmap(s.drawn);
        s.drawn = keepScreen(s.rect);
        int colour = filledBitmap(s.rect, ink);
        ok = ok && s.drawn > 0 && colour > 0;
        Stamp stamp{0, 0, s.rect};
        if (ok) {
            // Drawn XOR ink: black where marked, white elsewhere.
            putOnScreen(colour, s.rect, kCopy);
            putOnScreen(s.drawn, s.rect, kExclusiveOr);
            stamp.mask = keepScreen(s.rect);
            // Drawn AND ink: the ink where marked, black elsewhere.
            putOnScreen(colour, s.rect, kCopy);
            putOnScreen(s.drawn, s.rect, kAnd);
            stamp.ink = keepScreen(s.rect);
            ok = stamp.mask > 0 && stamp.ink > 0;
        }
        p.stamps.push_back(stamp);
        deleteBitmap(s.drawn);
        deleteBitmap(colour);
    }
    // The strips as they were, with the markers put on them.
    for (Strip& s : strips) {
        putOnScreen(s.shown, s.rect, kCopy);
        deleteBitmap(s.shown);
    }
    if (!ok) {
        freeStamps();
        drawBorderMarkers(b, axis);
        return false;
    }
    for (const Stamp& s : p.stamps)
        stampOn(s);
    return true;
}

// Puts the copy back and the border markers with it: from their stamps
// when they are kept, else drawn again (every marker is drawn in the one
// pen, so drawing one twice changes no pixel).
void putBack(std::span<const float> stations, std::span<const float> data,
             std::span<const bool> masked, util::AxisRecord& axis, int reach) {
    DragPicture& p = picture();
    putOnScreen(p.bitmap, p.rect, kCopy);
    if (!p.stamps.empty()) {
        for (const Stamp& s : p.stamps)
            stampOn(s);
        return;
    }
    const BorderMarkers b = borderMarkers(stations, data, masked, axis, reach);
    if (!b.xs.empty()) drawBorderMarkers(b, axis);
}

}  // namespace

void beginDragPicture() {
    freeBitmap();
    freeSection();
    picture().on = true;
}

void endDragPicture() {
    freeBitmap();
    freeSection();
    picture().on = false;
}

void forgetDragPicture() {
    freeBitmap();
    freeSection();
}

void readyDragPicture(const std::function<void()>& drawMove) {
    if (!picture().on) return;
    const tk::GraphicsState& g = tk::graphicsState();
    const PixelRect window{0, 0, g.targetWidth, g.targetHeight};
    if (window.width() <= 0 || window.height() <= 0) return;
    int shown = keepScreen(window);
    if (shown <= 0) return;  // every bitmap slot taken: the first move keeps the copies
    drawMove();
    putOnScreen(shown, window, kCopy);
    deleteBitmap(shown);
}

bool dragPictureKept() {
    return picture().kept;
}

bool dragPictureStamped() {
    return picture().kept && !picture().stamps.empty();
}

void drawObservedValues(const model::ProfileLine& profile, std::span<const float> stations,
                        std::span<const float> data, std::span<const bool> masked,
                        util::AxisRecord& axis, float fillX1, float fillY1, float fillX2,
                        float fillY2) {
    DragPicture& p = picture();
    if (!p.on) {
        drawMarkers(stations, data, masked, axis);
        return;
    }
    const tk::GraphicsState& g = tk::graphicsState();
    const Key key{axis,
                  &profile,
                  data.data(),
                  data.size(),
                  files::viewSettings().K_DATA,
                  files::viewSettings().LineWidth,
                  g.targetWidth,
                  g.targetHeight,
                  {fillX1, fillY1, fillX2, fillY2}};
    const int reach = markerReach(kLargestMarkerHalfSize);
    if (p.kept && p.key == key) {
        putBack(stations, data, masked, axis, reach);
        return;
    }
    freeBitmap();
    drawMarkers(stations, data, masked, axis);
    const PixelRect rect = keptRect(fillX1, fillY1, fillX2, fillY2);
    if (rect.width() <= 0 || rect.height() <= 0) return;
    p.bitmap = keepScreen(rect);
    if (p.bitmap <= 0) return;  // every bitmap slot taken: the moves draw in full
    p.rect = rect;
    p.key = key;
    p.kept = true;
    // The border markers are drawn again (no pixel changes) to take their
    // stamps.
    const BorderMarkers b = borderMarkers(stations, data, masked, axis, reach);
    if (!b.xs.empty()) drawAndStampBorder(b, axis);
}

namespace {

SectionKey sectionKey(const util::AxisRecord& axis, const model::PolygonModel& m, int selected) {
    const files::ViewSettings& v = files::viewSettings();
    const tk::GraphicsState& g = tk::graphicsState();
    SectionKey k;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&axis);
    k.axis.assign(bytes, bytes + sizeof axis);
    k.model = &m;
    k.selected = selected;
    k.lineWidth = v.LineWidth;
    k.elevationPen = v.K_ELEV;
    k.targetWidth = g.targetWidth;
    k.targetHeight = g.targetHeight;
    k.bodyPens = v.K_BODY;
    k.ranges.push_back(m.NTOPO);
    for (int i = 1; i <= m.NTOPO && i <= m.XTOPO.size() && i <= m.ZTOPO.size(); ++i)
        k.shapes.insert(k.shapes.end(), {m.XTOPO(i), m.ZTOPO(i)});
    for (int b = 1; b < selected; ++b) {
        k.ranges.insert(k.ranges.end(), {m.IV1(b), m.IV2(b), m.LAYER(b) ? 1 : 0});
        for (int i = std::max(m.IV1(b), 1); i <= m.IV2(b) && i <= m.XVRT.size(); ++i)
            k.shapes.insert(k.shapes.end(), {m.XVRT(i), m.ZVRT(i)});
    }
    return k;
}

bool drawable(const model::PolygonModel& m, int selected) {
    return selected >= 1 && selected <= m.NBOD && m.IV1(selected) >= 1 &&
           m.IV2(selected) >= m.IV1(selected) && m.IV2(selected) <= m.XVRT.size();
}

// The window pixels of a drawing on `a` through the given points: their box
// within the clip limits, and the pen's reach beyond it.
class ReachBox {
  public:
    explicit ReachBox(const util::AxisRecord& a) : a_(a) {}
    // A point beyond the clip limits counts as the nearest point within
    // them: the part of a line to it that is drawn lies in the same box.
    void take(float x, float z) {
        int px = 0, py = 0;
        windowPixel(std::clamp(util::PLOFX(x, a_), a_.clipXMin, std::max(a_.clipXMin, a_.clipXMax)),
                    std::clamp(util::PLOFY(z, a_), a_.clipYMin, std::max(a_.clipYMin, a_.clipYMax)),
                    px, py);
        box_ = any_ ? PixelRect{std::min(box_.left, px), std::min(box_.top, py),
                                std::max(box_.right, px + 1), std::max(box_.bottom, py + 1)}
                    : PixelRect{px, py, px + 1, py + 1};
        any_ = true;
    }
    PixelRect reach() const {
        if (!any_) return {0, 0, 0, 0};
        int l = 0, t = 0, r = 0, b = 0;
        windowPixel(a_.clipXMin, a_.clipYMax, l, t);
        windowPixel(a_.clipXMax, a_.clipYMin, r, b);
        const int pen = files::viewSettings().LineWidth + 2;
        return {std::max(box_.left, std::min(l, r)) - pen, std::max(box_.top, std::min(t, b)) - pen,
                std::min(box_.right, std::max(l, r) + 1) + pen,
                std::min(box_.bottom, std::max(t, b) + 1) + pen};
    }

  private:
    const util::AxisRecord& a_;
    PixelRect box_{0, 0, 0, 0};
    bool any_ = false;
};

// The outlines of bodies first..last (with a layer's edge segments).
PixelRect reachOfBodies(const model::PolygonModel& m, int first, int last,
                        const util::AxisRecord& a) {
    ReachBox box(a);
    for (int b = first; b <= last; ++b) {
        const int v1 = m.IV1(b), v2 = m.IV2(b);
        for (int i = std::max(v1, 1); i <= v2 && i <= m.XVRT.size(); ++i)
            box.take(m.XVRT(i), m.ZVRT(i));
        if (m.LAYER(b) && v1 >= 1 && v2 <= m.XVRT.size()) {
            box.take(a.startX, m.ZVRT(v1));
            if (v2 - 4 >= v1) box.take(a.startX + static_cast<float>(a.divCountX) * a.stepX, m.ZVRT(v2 - 4));
        }
    }
    return box.reach();
}

// The window pixels that a drawing within the clip limits of `a` may set.
PixelRect clipReach(const util::AxisRecord& a) {
    int l = 0, t = 0, r = 0, b = 0;
    windowPixel(a.clipXMin, a.clipYMax, l, t);
    windowPixel(a.clipXMax, a.clipYMin, r, b);
    const int pen = files::viewSettings().LineWidth + 2;
    return {std::min(l, r) - pen, std::min(t, b) - pen, std::max(l, r) + 1 + pen,
            std::max(t, b) + 1 + pen};
}

bool within(const PixelRect& inner, const PixelRect& outer) {
    if (inner.width() <= 0 || inner.height() <= 0) return true;  // nothing drawn
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

bool sectionUnderKept(const util::AxisRecord& axis, const model::PolygonModel& model,
                      int selected) {
    const DragPicture& p = picture();
    return p.on && p.section.kept && drawable(model, selected) &&
           p.section.key == sectionKey(axis, model, selected);
}

bool dragSectionKept() {
    return picture().section.kept;
}

bool putBackSectionUnder(const model::PolygonModel& model, int selected,
                         const util::AxisRecord& drawing) {
    const SectionPicture& s = picture().section;
    if (!within(reachOfBodies(model, selected, selected, drawing), s.inside)) return false;
    putOnScreen(s.bitmap, s.rect, kCopy);
    return true;
}

void forgetDragSection() {
    freeSection();
}

void keepSectionUnder(const util::AxisRecord& axis, const model::PolygonModel& model,
                      int selected, const util::AxisRecord& drawing, float fillX1, float fillY1,
                      float fillX2, float fillY2) {
    DragPicture& p = picture();
    if (!p.on || !drawable(model, selected)) return;
    freeSection();
    // The copy covers all that the drag may draw (within the clip limits)
    // and the fill; the dragged body must keep to the fill's inside.
    const PixelRect inside = keptRect(fillX1, fillY1, fillX2, fillY2);
    const PixelRect reach = clipReach(drawing);
    const tk::GraphicsState& g = tk::graphicsState();
    const PixelRect rect{std::max(std::min(inside.left, reach.left), 0),
                         std::max(std::min(inside.top, reach.top), 0),
                         std::min(std::max(inside.right, reach.right), g.targetWidth),
                         std::min(std::max(inside.bottom, reach.bottom), g.targetHeight)};
    if (inside.width() <= 0 || inside.height() <= 0 || rect.width() <= 0 || rect.height() <= 0)
        return;
    p.section.bitmap = keepScreen(rect);
    if (p.section.bitmap <= 0) return;  // every bitmap slot taken: the moves draw in full
    p.section.rect = rect;
    p.section.inside = inside;
    p.section.key = sectionKey(axis, model, selected);
    p.section.kept = true;
}

}  // namespace views
