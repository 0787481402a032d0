#include "shell/profile_hover.h"

#include <algorithm>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/session_state.h"
#include "shell/model_drag.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/shell_state.h"
#include "toolkit/core/window_placement.h"
#include "util/axis_scaling.h"
#include "util/graph_zoom.h"
#include "views/hit_data_graph.h"
#include "views/hit_label.h"
#include "views/label_drawing.h"
#include "views/view_state.h"

namespace shell {

namespace {

constexpr int kDataGraphId = 1;
constexpr int kSectionGraphId = 3;

bool holds(const util::AxisRecord& axis, int x, int y) {
    return util::LINGRAPH(graphX(x, axis), graphY(y, axis), axis);
}

// Cursor shapes of the label handles.
int labelCursor(int part) {
    switch (part) {
        case 1:
            return tk::CursorSizeNESW;
        case -1:
            return tk::CursorSizeNWSE;
        case 2:
            return tk::CursorSizeWE;
        case -2:
            return tk::CursorSizeNS;
        default:
            return tk::CursorSizeAll;
    }
}

void drawHighlight(int label, util::AxisRecord& axis) {
    selectProfileWindow();
    views::DRAWLABEL(workingProfile().LABELS, label, true, axis);
}

// Keeps the highlight on the label under the cursor.
void followHighlight() {
    PointerState& p = pointerState();
    if (p.label.HitLabel == p.HighlightedLabel) return;
    unhighlightLabel();
    if (p.label.HitLabel > 0) {
        p.HighlightedLabel = p.label.HitLabel;
        p.HighlightedLabelAxis = p.label.LabelAxisCopy;
        drawHighlight(p.HighlightedLabel, p.HighlightedLabelAxis);
    }
}

// Nothing of the model section is under the pointer: a press then acts on
// nothing there, whatever was hovered before.
void forgetModelHits(views::ModelHits& h) {
    const float property = h.PopupProperty;
    h = views::ModelHits{};
    h.PopupProperty = property;
}

bool labelTestSkipped() {
    const PointerState& p = pointerState();
    const views::ViewState& v = views::viewState();
    return p.DragLabel || shellSession().RubberLineShown || shellSession().RubberBoxShown ||
           v.DragVertex || v.DragEdge || v.DragPivot;
}

void labelTest(int x, int y, util::AxisRecord& axis, int graph) {
    PointerState& p = pointerState();
    float tol = views::kLabelPickRadius;
    views::TESTLABEL(workingProfile().LABELS, p.label, tol, static_cast<float>(x),
                     static_cast<float>(y), axis, graph, files::sessionState().LVLabels);
    if (p.label.HitLabel <= 0) return;
    p.model.HitBody = 0;
    p.model.HitEdgeBody = 0;
    hoverOutput().cursorShape(labelCursor(p.label.HitLabelPart));
}

}  // namespace

util::AxisRecord* graphAt(int x, int y, bool& model) {
    model::ProfileLine& w = workingProfile();
    const files::ViewSettings& v = files::viewSettings();
    model = false;
    if (v.LSHOWDATA) {
        const int graphs = std::clamp(w.NDGRAF, 1, 2);
        for (int k = 0; k < graphs; ++k)
            if (holds(w.AXES[static_cast<std::size_t>(k)], x, y))
                return &w.AXES[static_cast<std::size_t>(k)];
    }
    if (v.LSHOWMODEL && holds(sectionAxis(), x, y)) {
        model = true;
        return &sectionAxis();
    }
    return nullptr;
}

views::SectionHoverState sectionHoverState() {
    views::SectionHoverState s;
    const views::ViewState& v = views::viewState();
    s.PropertyLabel = mainLoop().PropertyLabel;
    s.ViewXUnit = model::sessionState().ViewXUnit;
    s.ViewZUnit = model::sessionState().ViewZUnit;
    s.SectionUnitsPerInchX = v.SectionUnitsPerInchX;
    s.SectionUnitsPerInchY = v.SectionUnitsPerInchY;
    s.LVIEWPIVOT = files::viewSettings().LVIEWPIVOT;
    s.DragVertex = v.DragVertex;
    s.DragEdge = v.DragEdge;
    s.DragBody = v.DragBody;
    s.DragPivot = v.DragPivot;
    return s;
}

void hoverSection(int x, int y) {
    selectProfileWindow();
    views::PMODELODOM(static_cast<float>(x), static_cast<float>(y), workingModel(), sectionAxis(),
                      pointerState().model, sectionHoverState(), hoverOutput());
}

void hoverProfileWindow(int x, int y) {
    PointerState& p = pointerState();
    selectProfileWindow();
    bool model = false;
    p.CursorAxis = graphAt(x, y, model);
    p.HitDataPoint = 0;
    if (!p.DragLabel) p.label.HitLabel = 0;
    if (!p.CursorAxis) {
        // Outside the graphs nothing of the model is under the pointer.
        if (!dragging()) forgetModelHits(p.model);
        hoverOutput().cursorShape(tk::CursorArrow);
        views::profileSummary(workingProfile(), hoverOutput());
        followHighlight();
        return;
    }
    if (model) {
        p.label.HitLabel = p.DragLabel ? p.label.HitLabel : 0;
        hoverSection(x, y);
    } else {
        p.model.HitBody = 0;
        p.model.HitEdgeBody = 0;
        if (!dragging()) forgetModelHits(p.model);
        views::DataGraphHoverState& d = p.dataHover;
        d.ViewXUnit = model::sessionState().ViewXUnit;
        d.RubberBoxShown = shellSession().RubberBoxShown;
        d.AnchorX = static_cast<float>(shellSession().AnchorX);
        d.AnchorY = static_cast<float>(shellSession().AnchorY);
        views::PLINEODOM(inchesX(x), inchesY(y), workingProfile(), *p.CursorAxis, p.HitDataPoint,
                         d, hoverOutput());
    }
    if (!labelTestSkipped()) labelTest(x, y, *p.CursorAxis, model ? kSectionGraphId : kDataGraphId);
    if (!p.DragLabel) followHighlight();
}

void unhighlightLabel() {
    PointerState& p = pointerState();
    if (p.HighlightedLabel > 0) drawHighlight(p.HighlightedLabel, p.HighlightedLabelAxis);
    p.HighlightedLabel = 0;
}

}  // namespace shell
