#include "shell/model_drag.h"

#include <chrono>
#include <cmath>
#include <span>
#include <utility>

#include "calc/forward_calc.h"
#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/body_area.h"
#include "model/body_nesting.h"
#include "model/model_check.h"
#include "model/picking.h"
#include "model/session_state.h"
#include "model/vertex_locks.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/profile_hover.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/window_placement.h"
#include "util/axis_scaling.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"
#include "util/plane_geometry.h"
#include "views/data_graph.h"
#include "views/drag_picture.h"
#include "views/label_drawing.h"
#include "views/model_section.h"
#include "views/view_state.h"

namespace shell {

namespace {

constexpr int kValueLabel = 1;
constexpr int kSectionGraph = 3;

// Whether the model changed since the drag began, and whether the
// synthetics are those of the undo copy (so that a step need calculate only
// the bodies it reshaped).
struct DragProgress {
    bool moved = false;
    bool syntheticsOfUndo = false;
    bool partial = false;  // some step calculated only part of the model
    bool startedBad = false;  // the model failed the model check at the press
};

DragProgress& progress() {
    static DragProgress p;
    return p;
}

// What a drag changes, as it was at the press, for a drag taken back.
struct DragStart {
    model::PolygonModel model;
    model::LabelSet labels;
    bool syntheticsValid = false;
    bool saved = false;
};

DragStart& dragStart() {
    static DragStart s;
    return s;
}

void rememberDragStart() {
    const model::ProfileLine& w = workingProfile();
    DragStart& s = dragStart();
    model::COPYPG(s.model, w.MODEL);
    s.labels = w.LABELS;
    s.syntheticsValid = w.LSYN;
    s.saved = w.LSAVED;
}


std::size_t at(int label) {
    return static_cast<std::size_t>(label - 1);
}

// The mouse step from the anchor in model units; the anchor follows.
// False when the mouse stands where it stood: nothing moved, and the model,
// its synthetics and its saved state stay as they are.
bool stepFromAnchor(int x, int y, float& dx, float& dz) {
    ShellSession& s = shellSession();
    if (x == s.AnchorX && y == s.AnchorY) return false;
    const util::AxisRecord& a = sectionAxis();
    dx = static_cast<float>(x - s.AnchorX) / (a.scaleX * 1000.0f);
    dz = -static_cast<float>(y - s.AnchorY) / (a.scaleY * 1250.0f);
    s.AnchorX = x;
    s.AnchorY = y;
    workingProfile().LSYN = false;
    progress().moved = true;
    return true;
}

// Moves one vertex (and what is locked to it); answers whether the model is
// now illegal.
bool moveVertex(int v, float dx, float dz) {
    model::PolygonModel& m = workingModel();
    bool& bad = model::sessionState().BadModel;
    if (pointerState().DragHasLocks) {
        model::MOVELOCKS(m, v, dx, dz);
    } else {
        m.XVRT(v) += dx;
        m.ZVRT(v) += dz;
        bad = model::LXCHK(v, 0, m);
    }
    return bad;
}

bool sameVertices(const model::PolygonModel& a, const model::PolygonModel& b, int body) {
    for (int v = a.IV1(body); v <= a.IV2(body); ++v)
        if (a.XVRT(v) != b.XVRT(v) || a.ZVRT(v) != b.ZVRT(v)) return false;
    return true;
}

void swapVertices(model::PolygonModel& a, model::PolygonModel& b, int body) {
    for (int v = a.IV1(body); v <= a.IV2(body); ++v) {
        std::swap(a.XVRT(v), b.XVRT(v));
        std::swap(a.ZVRT(v), b.ZVRT(v));
    }
}

// The synthetics follow a legal step. When they are those of the undo copy
// and the bodies kept their vertex ranges, only the bodies the step
// reshaped are calculated again: their anomaly at the old shape is taken
// off and the one at the new shape added. Otherwise everything is.
void followWithCalculation() {
    DragProgress& d = progress();
    model::PolygonModel& m = workingModel();
    model::PolygonModel& undo = pointerState().DragUndoModel;
    const bool sameRanges = m.NBOD == undo.NBOD && m.IV1 == undo.IV1 && m.IV2 == undo.IV2;
    if (!d.syntheticsOfUndo || !sameRanges) {
        calculate();
        return;
    }
    for (int b = 1; b <= m.NBOD; ++b) {
        if (sameVertices(m, undo, b)) continue;
        swapVertices(m, undo, b);
        calc::CALC(workingProfile(), -b);
        swapVertices(m, undo, b);
        calc::CALC(workingProfile(), b);
        d.partial = true;
    }
}

// The graphs as a step draws them: the data graph when the synthetics
// follow or a body moves, the section with the pressed body highlighted.
void drawStep(bool bodyStep, int highlighted) {
    model::ProfileLine& w = workingProfile();
    if (files::viewSettings().LCALCMOVE || bodyStep) views::REFRESHDATA(w, dataAxis());
    views::REFRESHMODEL(w, w.MODEL, highlighted);
    util::SETPEN(13);
}

// The press readies the pictures that the steps put back, so that the
// first step is as quick as the others; the screen shows no change.
void readySteps(bool bodyStep, int highlighted) {
    selectProfileWindow();
    const auto start = std::chrono::steady_clock::now();
    views::readyDragPicture([&] { drawStep(bodyStep, highlighted); });
    dragStepTimes().drawing +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// After a step: the cursor tells whether the model is legal, the
// synthetics and the undo copy follow a legal model, and the graphs are
// drawn again.
void afterStep(bool bodyStep, int highlighted) {
    PointerState& p = pointerState();
    model::ProfileLine& w = workingProfile();
    DragProgress& d = progress();
    selectProfileWindow();
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    const bool recalculate = files::viewSettings().LCALCMOVE;
    // A step judges only what it moved; a model that was bad before stays
    // bad until the whole of it passes the check.
    bool& bad = model::sessionState().BadModel;
    if (d.startedBad && !bad) bad = model::LBADMODEL(w.MODEL);
    const bool legal = !bad;
    // While the model is illegal the calculation does nothing and the
    // synthetics stay those of the last legal step.
    if (recalculate && legal) followWithCalculation();
    Clock::time_point calculated = Clock::now();
    if (!legal) {
        hoverOutput().cursorShape(tk::CursorNo);
        w.LSYN = true;
    } else {
        hoverOutput().cursorShape(tk::CursorArrow);
        const bool follows = !bodyStep || p.PressOnVertex;
        if (follows) model::COPYPG(p.DragUndoModel, w.MODEL);
        d.syntheticsOfUndo = recalculate && follows;
    }
    drawStep(bodyStep, highlighted);
    DragStepTimes& t = dragStepTimes();
    t.calculation += std::chrono::duration<double>(calculated - start).count();
    t.drawing += std::chrono::duration<double>(Clock::now() - calculated).count();
}

void beginModelDrag() {
    PointerState& p = pointerState();
    model::COPYPG(p.DragUndoModel, workingModel());
    progress() = DragProgress{};
    // Synthetics calculated for the model as it is at the press are those of
    // the undo copy: the first move calculates only the body it reshapes.
    progress().syntheticsOfUndo = workingProfile().LSYN;
    progress().startedBad = model::sessionState().BadModel;
    rememberDragStart();
    views::beginDragPicture();
}

// A drag of vertices or a body ends: an illegal model goes back to the last
// legal one; the calculation follows when asked for; the window is drawn anew.
void finishModelDrag() {
    PointerState& p = pointerState();
    model::ProfileLine& w = workingProfile();
    model::SessionState& s = model::sessionState();
    const bool recalculate = files::viewSettings().LCALCMOVE;
    if (s.BadModel) {
        model::COPYPG(w.MODEL, p.DragUndoModel);
        // The last legal step, or the press itself when none was.
        s.BadModel = progress().startedBad && model::LBADMODEL(w.MODEL);
        if (recalculate) calculate();
    }
    model::DEALLOCPG(p.DragUndoModel);
    views::endDragPicture();
    if (progress().moved) {
        // Areas and nesting follow the shapes for the calculation.
        model::FDAREA(w.MODEL);
        bool changed = false;
        model::BOLEVL(w.MODEL, changed);
        markProfileChanged();
    }
    // A calculation in parts is made whole again, free of rounding. A press
    // that moved nothing (a right click opening a menu) calculates nothing:
    // the profile stays as saved.
    if (progress().moved && (files::viewSettings().LCALCDET || progress().partial)) calculate();
    refreshProfileWindow();
    p.PressOnVertex = false;
    p.DragVertexIndex = 0;
    p.PressEdgeBody = p.PressEdgeVertex = 0;
    progress() = DragProgress{};
}

void drawPivot(int body) {
    selectProfileWindow();
    util::AxisRecord& a = sectionAxis();
    util::PLOTXY(a.originX, a.originY, -3, a);
    views::DRAWPIVOT(workingModel(), body, true, a);
}

void drawDraggedLabel() {
    PointerState& p = pointerState();
    selectProfileWindow();
    views::DRAWLABEL(workingProfile().LABELS, p.label.HitLabel, true, p.label.LabelAxisCopy);
}

void pivotTo(int x, int y) {
    model::PolygonModel& m = workingModel();
    const int body = pointerState().DragBodyIndex;
    if (body < 1 || body > m.NBOD) return;
    m.XPIVOT(body) = graphX(x, sectionAxis());
    m.ZPIVOT(body) = graphY(y, sectionAxis());
}

// Puts the dragged handle of the label where the cursor is.
void labelTo(int x, int y) {
    PointerState& p = pointerState();
    model::LabelSet& s = workingProfile().LABELS;
    const int i = p.label.HitLabel;
    if (i < 1 || i > s.NLAB) return;
    const util::AxisRecord& a = p.label.LabelAxisCopy;
    const float gx = graphX(x, a), gy = graphY(y, a);
    const std::size_t k = at(i);
    if (p.label.HitLabelArrow) {
        s.XARRO[k] = gx;
        s.YARRO[k] = gy;
    } else if (p.label.HitLabelPart == 1 || p.label.HitLabelPart == -1) {
        s.WDLAB[k] = 2.0f * std::fabs(gx - s.XCLAB[k]);
        s.HILAB[k] = 2.0f * std::fabs(gy - s.YCLAB[k]);
    } else if (p.label.HitLabelPart == 2) {
        s.WDLAB[k] = 2.0f * std::fabs(gx - s.XCLAB[k]);
    } else if (p.label.HitLabelPart == -2) {
        s.HILAB[k] = 2.0f * std::fabs(gy - s.YCLAB[k]);
    } else {
        s.XCLAB[k] = gx;
        s.YCLAB[k] = gy;
        if (p.LabelMovesWithArrow) {
            s.XARRO[k] = gx;
            s.YARRO[k] = gy;
        }
    }
    if (s.IPARAM[k] == kValueLabel && s.IWINDOW[k] == kSectionGraph &&
        files::viewSettings().LSHOWMODEL) {
        float value = 0.0f;
        model::BODYPROPERTY(s.XCLAB[k], s.YCLAB[k], s.CMODL[k], workingModel(), value,
                            workingProfile().DUNIT[0].view());
    }
    markProfileChanged();
}

void endLabelDrag(int x, int y, int time) {
    PointerState& p = pointerState();
    p.DragLabel = false;
    if (time - p.PressTime < kClickTime)
        editLabelText(p.label.HitLabel);
    else
        labelTo(x, y);
    refreshProfileWindow();
    hoverOutput().cursorShape(tk::CursorArrow);
    p.label.HitLabel = p.HighlightedLabel = p.PressLabel = 0;
    markProfileChanged();
}

}  // namespace

DragStepTimes& dragStepTimes() {
    static DragStepTimes times;
    return times;
}

bool dragging() {
    const views::ViewState& v = views::viewState();
    const PointerState& p = pointerState();
    return v.dragging() || p.DragLabel;
}

void startVertexDrag(int button) {
    PointerState& p = pointerState();
    const model::PolygonModel& m = workingModel();
    model::SessionState& s = model::sessionState();
    p.DragVertexIndex = p.model.HitVertex;
    p.DragBodyIndex = p.model.HitBody;
    p.DragHasLocks = model::LOCKSPRESENT(m, p.DragVertexIndex);
    s.DragLocksFromOutside = model::LOCKSFROMOUTSIDE(m, p.DragBodyIndex);
    s.DragLocksToOutside = model::LOCKSTOOUTSIDE(m, p.DragBodyIndex);
    beginModelDrag();
    views::ViewState& v = views::viewState();
    if (button == kLeftButton) {
        v.DragVertex = true;
        readySteps(false, p.PressBody);
        return;
    }
    const int b = p.DragBodyIndex;
    const bool pivotSet = m.XPIVOT(b) + m.ZPIVOT(b) < 1.0E10f;
    if (files::viewSettings().LVIEWPIVOT && pivotSet)
        p.RotateBody = true;
    else
        v.DragBody = true;
    readySteps(true, p.PressBody);
}

void startEdgeDrag() {
    PointerState& p = pointerState();
    const model::PolygonModel& m = workingModel();
    const int b = p.PressEdgeBody, first = p.PressEdgeVertex;
    p.DragEdgeStart = first;
    p.DragEdgeEnd = first == m.IV2(b) ? m.IV1(b) : first + 1;
    p.DragHasLocks =
        model::LOCKSPRESENT(m, p.DragEdgeStart) || model::LOCKSPRESENT(m, p.DragEdgeEnd);
    views::viewState().DragEdge = true;
    beginModelDrag();
    readySteps(false, p.PressEdgeBody);
}

void startPivotDrag(int body) {
    rememberDragStart();
    pointerState().DragBodyIndex = body;
    views::viewState().DragPivot = true;
    drawPivot(body);
}

void startLabelDrag() {
    PointerState& p = pointerState();
    const model::LabelSet& s = workingProfile().LABELS;
    if (p.PressLabel < 1 || p.PressLabel > s.NLAB) return;
    // The hover highlight is the outline the drag moves.
    if (p.HighlightedLabel != p.PressLabel) unhighlightLabel();
    p.label.HitLabel = p.PressLabel;
    p.label.HitLabelArrow = p.PressLabelArrow;
    p.label.HitLabelPart = p.PressLabelPart;
    const std::size_t k = at(p.PressLabel);
    p.LabelMovesWithArrow = util::LNLYEQ(s.XARRO[k], s.XCLAB[k]) && util::LNLYEQ(s.YARRO[k], s.YCLAB[k]);
    if (p.HighlightedLabel != p.PressLabel) {
        p.label.LabelAxisCopy = p.HighlightedLabelAxis;
        drawDraggedLabel();
    } else {
        p.label.LabelAxisCopy = p.HighlightedLabelAxis;
    }
    p.HighlightedLabel = 0;
    p.DragLabel = true;
    rememberDragStart();
}

void startHeldBodyDrag() {
    if (pointerState().DragBodyIndex > 0) views::viewState().DragBody = true;
}

bool stepVertexOrEdgeDrag(int x, int y) {
    PointerState& p = pointerState();
    const views::ViewState& v = views::viewState();
    if (!v.DragVertex && !v.DragEdge) return false;
    float dx = 0, dz = 0;
    if (!stepFromAnchor(x, y, dx, dz)) return true;
    if (v.DragVertex) {
        moveVertex(p.DragVertexIndex, dx, dz);
        afterStep(false, p.PressBody);
    } else {
        const bool first = moveVertex(p.DragEdgeStart, dx, dz);
        const bool second = moveVertex(p.DragEdgeEnd, dx, dz);
        model::sessionState().BadModel = first || second;
        afterStep(false, p.PressEdgeBody);
    }
    return true;
}

void stepBodyDrag(int x, int y) {
    PointerState& p = pointerState();
    if (!views::viewState().DragBody) return;
    float dx = 0, dz = 0;
    if (!stepFromAnchor(x, y, dx, dz)) return;
    if (p.RotateBody) {
        model::ROTATEBODY(workingModel(), p.DragBodyIndex, p.DragVertexIndex, dx, dz);
    } else {
        // Judged afresh at every step, so that moving back out of a crossing
        // is legal again.
        model::sessionState().BadModel = false;
        model::MOVEBODY(workingModel(), p.DragBodyIndex, dx, dz);
    }
    afterStep(true, p.PressBody);
}

bool stepPivotOrLabelDrag(int x, int y) {
    PointerState& p = pointerState();
    if (views::viewState().DragPivot) {
        drawPivot(p.DragBodyIndex);
        pivotTo(x, y);
        drawPivot(p.DragBodyIndex);
        return true;
    }
    if (!p.DragLabel) return false;
    drawDraggedLabel();
    labelTo(x, y);
    drawDraggedLabel();
    return true;
}

void endDrag(int x, int y, int time) {
    PointerState& p = pointerState();
    views::ViewState& v = views::viewState();
    if (v.DragVertex) {
        v.DragVertex = false;
        finishModelDrag();
    } else if (v.DragPivot) {
        v.DragPivot = false;
        // A click on a pivot leaves it where it is.
        if (x != shellSession().AnchorX || y != shellSession().AnchorY) {
            pivotTo(x, y);
            markProfileChanged();
        }
        refreshProfileWindow();
    } else if (p.DragLabel) {
        endLabelDrag(x, y, time);
    } else if (v.DragBody || p.RotateBody) {
        v.DragBody = false;
        p.RotateBody = false;
        finishModelDrag();
    } else if (v.DragEdge) {
        v.DragEdge = false;
        finishModelDrag();
        p.model.HitEdgeBody = p.model.HitEdgeVertex = 0;
    }
}

bool cancelDrag() {
    PointerState& p = pointerState();
    views::ViewState& v = views::viewState();
    if (!dragging() && !p.RotateBody) return false;
    v.DragVertex = v.DragEdge = v.DragBody = v.DragPivot = false;
    p.RotateBody = p.DragLabel = false;
    model::ProfileLine& w = workingProfile();
    DragStart& start = dragStart();
    model::COPYPG(w.MODEL, start.model);
    w.LABELS = start.labels;
    // The model as it was at the press, bad or not.
    model::sessionState().BadModel = model::LBADMODEL(w.MODEL);
    model::DEALLOCPG(p.DragUndoModel);
    views::endDragPicture();
    // The synthetics followed the drag only when calculated on the way.
    if (progress().moved && files::viewSettings().LCALCMOVE)
        calculate();
    else
        w.LSYN = start.syntheticsValid;
    w.LSAVED = start.saved;
    progress() = DragProgress{};
    p.PressOnVertex = false;
    p.DragVertexIndex = 0;
    p.PressEdgeBody = p.PressEdgeVertex = 0;
    p.label.HitLabel = p.HighlightedLabel = p.PressLabel = 0;
    refreshProfileWindow();
    hoverOutput().cursorShape(tk::CursorArrow);
    return true;
}

void abandonItemDrag() {
    PointerState& p = pointerState();
    views::ViewState& v = views::viewState();
    if (!v.DragPivot && !p.DragLabel) return;
    v.DragPivot = false;
    p.DragLabel = false;
    refreshProfileWindow();
}

void editLabelText(int label) {
    model::LabelSet& s = workingProfile().LABELS;
    if (label < 1 || label > s.NLAB) return;
    const std::size_t k = at(label);
    if (s.IPARAM[k] == kValueLabel) {
        util::WINMSG("Cannot edit text in property labels");
        return;
    }
    int status = 0;
    STRINGINDLG("Label Text:", std::span<char>(s.CMODL[k].data(), 50), status);
    if (status != 0) return;
    refreshProfileWindow();
    markProfileChanged();
}

}  // namespace shell
