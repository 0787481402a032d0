#include "shell/rubber_bands.h"

#include "files/view_settings.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/shell_state.h"
#include "toolkit/core/window_api.h"
#include "util/pen_plotter.h"
#include "util/rubber_bands.h"
#include "views/label_drawing.h"
#include "views/model_section.h"
#include "views/rubber_band.h"
#include "views/view_state.h"

namespace shell {

namespace {

// Where and with which points each shape was drawn.
struct DrawnShape {
    int window = -1;
    int ax = 0, ay = 0, bx = 0, by = 0;
};

struct DrawnShapes {
    DrawnShape box, line, polyline;
};

DrawnShapes& drawn() {
    static DrawnShapes d;
    return d;
}

bool select(int window) {
    if (window < 0 || (window > 0 && window != profileWindow())) return false;
    tk::OutputWindowSelect(window);
    util::SETPEN(views::kRubberPen);
    return true;
}

void drawBox(const DrawnShape& s) {
    if (select(s.window)) util::RUBBERBOX(s.ax, s.ay, s.bx, s.by);
}

void drawLine(const DrawnShape& s) {
    if (select(s.window)) util::RUBBERLINE(s.ax, s.ay, s.bx, s.by);
}

// The latest segment of the trace, drawn without recording a point.
void drawSegment(const DrawnShape& s) {
    if (!select(s.window)) return;
    views::RubberPen& pen = views::graphicsRubberPen();
    pen.saveXor();
    pen.xorOn();
    pen.setPen(views::kRubberPen);
    pen.moveTo(inchesX(s.ax), inchesY(s.ay));
    pen.lineTo(inchesX(s.bx), inchesY(s.by));
    pen.restoreXor();
}

// A shape shown is erased and drawn anew from the anchor to (x, y).
void redraw(DrawnShape& shape, bool& shown, void (*draw)(const DrawnShape&), int window, int x,
            int y) {
    if (shown) draw(shape);
    const ShellSession& s = shellSession();
    shape = {window, s.AnchorX, s.AnchorY, x, y};
    draw(shape);
    shown = true;
}

}  // namespace

void moveRubberBox(int window, int x, int y) {
    ShellSession& s = shellSession();
    s.BoxCornerX = x;
    s.BoxCornerY = y;
    redraw(drawn().box, s.RubberBoxShown, drawBox, window, x, y);
}

void moveRubberLine(int window, int x, int y) {
    ShellSession& s = shellSession();
    s.RubberEndX = x;
    s.RubberEndY = y;
    redraw(drawn().line, s.RubberLineShown, drawLine, window, x, y);
}

void movePolyline(int x, int y, bool first) {
    ShellSession& s = shellSession();
    EditState& e = editState();
    if (first) {
        erasePolyline();
        e.NewLine.count = 0;
    } else {
        erasePolyline();
    }
    if (!select(0)) return;
    float ax = static_cast<float>(s.AnchorX), ay = static_cast<float>(s.AnchorY);
    drawn().polyline = {0, s.AnchorX, s.AnchorY, x, y};
    views::RUBBERPLINE(ax, ay, static_cast<float>(x), static_cast<float>(y), e.NewLine,
                       files::viewSettings().DIGIT_MIN_STEP, views::graphicsRubberPen());
    s.AnchorX = static_cast<int>(ax);
    s.AnchorY = static_cast<int>(ay);
    s.BoxCornerX = x;
    s.BoxCornerY = y;
    s.RubberPolyShown = true;
}

void eraseRubberBox() {
    bool& shown = shellSession().RubberBoxShown;
    if (shown) drawBox(drawn().box);
    shown = false;
}

void eraseRubberLine() {
    bool& shown = shellSession().RubberLineShown;
    if (shown) drawLine(drawn().line);
    shown = false;
}

void erasePolyline() {
    bool& shown = shellSession().RubberPolyShown;
    if (shown) drawSegment(drawn().polyline);
    shown = false;
}

void eraseRubberBands(bool keepLines) {
    eraseRubberBox();
    if (keepLines) return;
    eraseRubberLine();
    erasePolyline();
}

void windowRedrawn(int window) {
    ShellSession& s = shellSession();
    DrawnShapes& d = drawn();
    if (d.box.window == window) s.RubberBoxShown = false;
    if (d.line.window == window) s.RubberLineShown = false;
    if (d.polyline.window == window) s.RubberPolyShown = false;
    PointerState& p = pointerState();
    if (window == 0) {
        s.MapHoverProfile = 0;
        return;
    }
    p.HighlightedLabel = 0;
    // A dragged pivot or label stays visible through the redraw.
    if (views::viewState().DragPivot)
        views::DRAWPIVOT(workingModel(), p.DragBodyIndex, true, sectionAxis());
    if (p.DragLabel) views::DRAWLABEL(workingProfile().LABELS, p.label.HitLabel, true,
                                      p.label.LabelAxisCopy);
}

}  // namespace shell
