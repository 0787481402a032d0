// The standard picture strips. Each picture is drawn on a 16-unit grid that
// is scaled to the strip's size (16 x 15 small, 24 x 24 large), so the small
// and large sets are the same pictures.

#include "platform/controls/standard_images.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/window/user_api.h"

namespace win::controls {
namespace {

constexpr COLORREF kInk = RGB(0, 0, 0), kPaper = RGB(255, 255, 255), kGrey = RGB(128, 128, 128),
                   kSilver = RGB(192, 192, 192), kNavy = RGB(0, 0, 128), kBlue = RGB(0, 64, 224),
                   kRed = RGB(208, 0, 0), kFolder = RGB(240, 200, 64), kBoard = RGB(150, 100, 40),
                   kTeal = RGB(0, 128, 128);

// Draws on the grid of one picture.
class Pen {
  public:
    Pen(HDC dc, int left, int size) : dc_(dc), left_(left), scale_(size / 16.0) {}
    int x(double u) const { return left_ + static_cast<int>(std::lround(u * scale_)); }
    int y(double u) const { return static_cast<int>(std::lround(u * scale_)); }
    int width() const { return std::max(1, static_cast<int>(std::lround(scale_))); }

    void box(double x0, double y0, double x1, double y1, COLORREF fill, COLORREF border) {
        use(border, fill);
        Rectangle(dc_, x(x0), y(y0), x(x1), y(y1));
        done();
    }
    void fill(double x0, double y0, double x1, double y1, COLORREF colour) {
        const RECT r{x(x0), y(y0), x(x1), y(y1)};
        HBRUSH b = CreateSolidBrush(colour);
        FillRect(dc_, &r, b);
        DeleteObject(b);
    }
    void line(std::initializer_list<double> xy, COLORREF colour, int thickness = 0) {
        std::vector<POINT> pts;
        for (auto it = xy.begin(); it != xy.end(); it += 2)
            pts.push_back({x(*it), y(*(it + 1))});
        HPEN p = CreatePen(PS_SOLID, thickness ? thickness : width(), colour);
        HGDIOBJ old = SelectObject(dc_, p);
        Polyline(dc_, pts.data(), static_cast<int>(pts.size()));
        SelectObject(dc_, old);
        DeleteObject(p);
    }
    void shape(std::initializer_list<double> xy, COLORREF fill, COLORREF border) {
        std::vector<POINT> pts;
        for (auto it = xy.begin(); it != xy.end(); it += 2)
            pts.push_back({x(*it), y(*(it + 1))});
        use(border, fill);
        Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
        done();
    }
    void ring(double x0, double y0, double x1, double y1, COLORREF fill, COLORREF border) {
        use(border, fill);
        Ellipse(dc_, x(x0), y(y0), x(x1), y(y1));
        done();
    }
    // A sheet of paper with a folded corner and lines of writing.
    void page(double x0, double y0, double x1, double y1, bool writing) {
        shape({x0, y0, x1 - 3, y0, x1, y0 + 3, x1, y1, x0, y1}, kPaper, kInk);
        line({x1 - 3, y0, x1 - 3, y0 + 3, x1, y0 + 3}, kInk);
        if (writing)
            for (double ly = y0 + 4; ly < y1 - 1; ly += 2)
                line({x0 + 2, ly, x1 - 2, ly}, kGrey, 1);
    }

  private:
    void use(COLORREF border, COLORREF fill) {
        pen_ = CreatePen(PS_SOLID, 1, border);
        brush_ = CreateSolidBrush(fill);
        oldPen_ = SelectObject(dc_, pen_);
        oldBrush_ = SelectObject(dc_, brush_);
    }
    void done() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        DeleteObject(pen_);
        DeleteObject(brush_);
    }
    HDC dc_;
    int left_;
    double scale_;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr;
};

void magnifier(Pen& p, double cx, double cy, double r) {
    p.line({cx + r * 0.7, cy + r * 0.7, cx + r * 1.9, cy + r * 1.9}, kInk, p.width() + 1);
    p.ring(cx - r, cy - r, cx + r, cy + r, RGB(200, 230, 255), kInk);
}

void arrowHead(Pen& p, double x, double y, double dx) {
    p.shape({x, y - 3, x, y + 3, x + dx, y}, kBlue, kBlue);
}

void drawStandard(Pen& p, int index) {
    switch (index) {
        case STD_CUT:
            p.line({4, 1, 10, 10}, kInk);
            p.line({11, 1, 5, 10}, kInk);
            p.ring(1, 9, 6, 14, kPaper, kNavy);
            p.ring(9, 9, 14, 14, kPaper, kNavy);
            break;
        case STD_COPY:
            p.page(1, 1, 9, 10, true);
            p.page(6, 5, 14, 14, true);
            break;
        case STD_PASTE:
            p.box(1, 2, 11, 14, kBoard, kInk);
            p.box(4, 1, 8, 4, kSilver, kInk);
            p.page(6, 6, 15, 15, true);
            break;
        case STD_UNDO:
            p.line({13, 12, 13, 8, 11, 6, 5, 6}, kBlue, p.width() + 1);
            arrowHead(p, 6, 6, -4);
            break;
        case STD_REDOW:
            p.line({3, 12, 3, 8, 5, 6, 11, 6}, kBlue, p.width() + 1);
            arrowHead(p, 10, 6, 4);
            break;
        case STD_DELETE:
            p.line({3, 2, 13, 13}, kRed, p.width() + 1);
            p.line({13, 2, 3, 13}, kRed, p.width() + 1);
            break;
        case STD_FILENEW:
            p.page(3, 1, 13, 14, false);
            p.line({11, 9, 11, 13}, RGB(255, 200, 0));
            p.line({9, 11, 13, 11}, RGB(255, 200, 0));
            break;
        case STD_FILEOPEN:
            p.shape({1, 3, 5, 3, 6, 5, 12, 5, 12, 13, 1, 13}, kFolder, kInk);
            p.shape({3, 8, 15, 8, 12, 13, 1, 13}, RGB(255, 230, 120), kInk);
            break;
        case STD_FILESAVE:
            p.box(1, 1, 14, 14, kNavy, kInk);
            p.box(3, 1, 12, 7, kPaper, kInk);
            p.box(4, 9, 11, 14, kSilver, kInk);
            p.fill(8, 10, 10, 13, kNavy);
            break;
        case STD_PRINTPRE:
            p.page(1, 1, 11, 14, true);
            magnifier(p, 10, 8, 3);
            break;
        case STD_PROPERTIES:
            p.box(1, 2, 14, 13, kSilver, kInk);
            p.fill(2, 3, 13, 5, kNavy);
            p.line({4, 7, 11, 7}, kInk, 1);
            p.line({4, 9, 9, 9}, kInk, 1);
            p.line({4, 11, 10, 11}, kInk, 1);
            break;
        case STD_HELP:
            p.ring(1, 1, 14, 14, kBlue, kNavy);
            p.line({5, 5, 6, 3.5, 9, 3.5, 10, 5, 10, 6, 7.5, 8, 7.5, 9.5}, kPaper, p.width() + 1);
            p.fill(7, 11, 9, 13, kPaper);
            break;
        case STD_FIND:
            magnifier(p, 6, 6, 4.5);
            break;
        case STD_REPLACE:
            p.page(1, 1, 9, 11, true);
            p.line({7, 13, 14, 13}, kTeal, p.width() + 1);
            p.line({11, 5, 11, 13}, kTeal, p.width() + 1);
            p.shape({8, 6, 14, 6, 11, 2}, kTeal, kTeal);
            break;
        case STD_PRINT:
            p.page(4, 1, 12, 7, false);
            p.box(1, 6, 15, 12, kSilver, kInk);
            p.box(3, 10, 13, 14, kPaper, kInk);
            p.fill(12, 8, 14, 9, RGB(0, 192, 0));
            break;
        default:
            break;
    }
}

void drawView(Pen& p, int index) {
    switch (index) {
        case VIEW_LARGEICONS:
            p.box(1, 1, 7, 7, kBlue, kInk);
            p.box(9, 1, 15, 7, kBlue, kInk);
            p.box(1, 9, 7, 15, kBlue, kInk);
            p.box(9, 9, 15, 15, kBlue, kInk);
            break;
        case VIEW_SMALLICONS:
        case VIEW_LIST:
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 2; ++c) {
                    const double x0 = 1 + c * 8, y0 = 2 + r * 4;
                    p.box(x0, y0, x0 + 3, y0 + 3, index == VIEW_LIST ? kTeal : kBlue, kInk);
                    p.line({x0 + 4, y0 + 1.5, x0 + 7, y0 + 1.5}, kInk, 1);
                }
            break;
        case VIEW_DETAILS:
            for (int r = 0; r < 4; ++r) {
                const double y0 = 1 + r * 3.5;
                p.box(1, y0, 4, y0 + 3, kBlue, kInk);
                p.line({5, y0 + 1.5, 15, y0 + 1.5}, kInk, 1);
            }
            break;
        case VIEW_SORTNAME:
        case VIEW_SORTSIZE:
        case VIEW_SORTDATE:
        case VIEW_SORTTYPE:
            p.line({3, 1, 3, 14}, kInk);
            p.shape({1, 11, 6, 11, 3.5, 14}, kInk, kInk);
            for (int r = 0; r < 4; ++r)
                p.line({7, 2 + r * 3.5, 15.0 - (index - VIEW_SORTNAME + r) % 4 * 2, 2 + r * 3.5},
                       kNavy, 1);
            break;
        case VIEW_PARENTFOLDER:
            p.shape({1, 4, 5, 4, 6, 6, 15, 6, 15, 14, 1, 14}, kFolder, kInk);
            p.line({8, 12, 8, 1}, kGrey);
            p.shape({5, 4, 11, 4, 8, 0.5}, kInk, kInk);
            break;
        case VIEW_NETCONNECT:
        case VIEW_NETDISCONNECT:
            p.box(1, 1, 10, 8, kTeal, kInk);
            p.line({5, 8, 5, 14, 14, 14}, kInk);
            if (index == VIEW_NETDISCONNECT) p.line({10, 10, 15, 15}, kRed, p.width() + 1);
            break;
        case VIEW_NEWFOLDER:
            p.shape({1, 4, 5, 4, 6, 6, 12, 6, 12, 14, 1, 14}, kFolder, kInk);
            p.line({13, 1, 13, 7}, RGB(255, 200, 0));
            p.line({10, 4, 16, 4}, RGB(255, 200, 0));
            break;
        default:
            break;
    }
}

}  // namespace

StandardStrip makeStandardStrip(UINT_PTR which) {
    StandardStrip s;
    const bool view = which == IDB_VIEW_SMALL_COLOR || which == IDB_VIEW_LARGE_COLOR;
    if (!view && which != IDB_STD_SMALL_COLOR && which != IDB_STD_LARGE_COLOR) return s;
    const bool large = which == IDB_STD_LARGE_COLOR || which == IDB_VIEW_LARGE_COLOR;
    s.count = view ? 12 : 15;
    s.cx = large ? 24 : 16;
    s.cy = large ? 24 : 15;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    s.bitmap = CreateCompatibleBitmap(screen, s.cx * s.count, s.cy);
    HGDIOBJ old = SelectObject(mem, s.bitmap);
    HBRUSH clear = CreateSolidBrush(kStandardClear);
    const RECT all{0, 0, s.cx * s.count, s.cy};
    FillRect(mem, &all, clear);
    DeleteObject(clear);
    for (int i = 0; i < s.count; ++i) {
        // Each picture is clipped to its own cell.
        IntersectClipRect(mem, i * s.cx, 0, (i + 1) * s.cx, s.cy);
        Pen p(mem, i * s.cx, s.cx);
        if (view)
            drawView(p, i);
        else
            drawStandard(p, i);
        SelectClipRgn(mem, nullptr);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return s;
}

}  // namespace win::controls
