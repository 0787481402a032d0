#include "views/drag_picture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "files/view_settings.h"
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

struct DragPicture {
    bool on = false;
    bool kept = false;
    int bitmap = 0;  // toolkit bitmap number, 0 for none
    Key key;
    PixelRect rect;
};

DragPicture& picture() {
    static DragPicture p;
    return p;
}

void freeBitmap() {
    DragPicture& p = picture();
    if (p.bitmap > 0) {
        int status = 0;
        tk::BitmapDelete(p.bitmap - 1, status);
    }
    p.bitmap = 0;
    p.kept = false;
}

// The window pixel of a plot point of the graph whose origin is current.
void windowPixel(float x, float y, int& px, int& py) {
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

// Puts the copy back and draws again the markers that reach beyond it: every
// marker is drawn in the one pen, so drawing one twice changes no pixel.
void putBack(std::span<const float> stations, std::span<const float> data,
             std::span<const bool> masked, util::AxisRecord& axis, int reach) {
    DragPicture& p = picture();
    int status = 0;
    tk::BitmapPutToScreen(p.bitmap - 1, 0, 0, p.rect.left, p.rect.top, p.rect.width(),
                          p.rect.height(), 1, status);
    std::vector<float> xs, ys;
    std::vector<char> flags;
    for (std::size_t i = 0; i < data.size(); ++i) {
        int px = 0, py = 0;
        windowPixel(util::PLOFX(stations[i], axis), util::PLOFY(data[i], axis), px, py);
        if (insideRect(px, py, p.rect, reach)) continue;
        xs.push_back(stations[i]);
        ys.push_back(data[i]);
        flags.push_back(i < masked.size() && masked[i] ? 1 : 0);
    }
    std::unique_ptr<bool[]> edgeMasked(new bool[flags.size() + 1]);
    for (std::size_t i = 0; i < flags.size(); ++i)
        edgeMasked[i] = flags[i] != 0;
    drawMarkers(xs, ys, std::span<const bool>(edgeMasked.get(), flags.size()), axis);
}

}  // namespace

void beginDragPicture() {
    freeBitmap();
    picture().on = true;
}

void endDragPicture() {
    freeBitmap();
    picture().on = false;
}

void forgetDragPicture() {
    freeBitmap();
}

bool dragPictureKept() {
    return picture().kept;
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
    int number = 0;
    tk::BitmapCreate(number, rect.width(), rect.height(), 0);
    if (number <= 0) return;  // every bitmap slot taken: the moves draw in full
    int status = 0;
    tk::BitmapCopyFromScreen(number - 1, rect.left, rect.top, rect.width(), rect.height(),
                             status);
    if (status != 0) {
        tk::BitmapDelete(number - 1, status);
        return;
    }
    p.bitmap = number;
    p.rect = rect;
    p.key = key;
    p.kept = true;
}

}  // namespace views
