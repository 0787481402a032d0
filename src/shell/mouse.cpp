#include <cstdlib>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "shell/context_menus.h"
#include "shell/digitising.h"
#include "shell/event_loop.h"
#include "shell/interaction.h"
#include "shell/map_interaction.h"
#include "shell/model_drag.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/profile_hover.h"
#include "shell/profile_zoom.h"
#include "shell/rubber_bands.h"
#include "shell/shell_state.h"
#include "shell/vertex_locking.h"
#include "util/graph_zoom.h"
#include "views/hit_data_graph.h"
#include "views/hit_model_section.h"
#include "views/view_state.h"

namespace shell {

namespace {

struct MouseEvent {
    int window, button, x, y, time;
};

MouseEvent read(const tk::EventRecord& e) {
    return {e[0], e[1], e[5], e[6], e[11]};
}

// While a click mode waits for the mouse, only the profile window listens.
bool ignored(const MouseEvent& e) {
    return clickModeRunning() && e.window != profileWindow();
}

bool inProfileWindow(const MouseEvent& e) {
    return e.window == profileWindow();
}

bool vertexHitStands() {
    return hitVertexInModel(workingModel());
}

// How long the pressed button has been held at `time`, 0 when none is.
int held(int button, int time) {
    const PointerState& p = pointerState();
    return p.PressButton == button ? time - p.PressTime : 0;
}

void pressInProfileWindow(const MouseEvent& e) {
    PointerState& p = pointerState();
    const views::ModelHits& h = p.model;
    if (!clickModeRunning()) {
        if (e.button == kLeftButton && h.HitEdgeBody > 0 && h.HitEdgeVertex > 0 &&
            h.HitBody == 0) {
            p.PressEdgeBody = h.HitEdgeBody;
            p.PressEdgeVertex = h.HitEdgeVertex;
            p.SingleVertex = false;
        } else if (e.button == kRightButton && p.label.HitLabel > 0) {
            if (p.DragLabel) endDrag(e.x, e.y, e.time);
            labelPopup(e.x, e.y);
            // The menu took the release.
            p.PressButton = 0;
            return;
        } else if (e.button == kLeftButton && h.HitPivot > 0) {
            startPivotDrag(h.HitPivot);
        }
    }
    if (e.button == kRightButton && h.HitBody > 0) p.SingleVertex = false;
    if (shellSession().SplitBodyMode) return;
    if (p.PressOnVertex)
        startVertexDrag(e.button);
    else if (e.button == kLeftButton && p.PressEdgeBody > 0 && !clickModeRunning())
        startEdgeDrag();
}

void leftClickInProfileWindow(const MouseEvent& e) {
    PointerState& p = pointerState();
    views::ModelHits& h = p.model;
    const MainLoopState& m = mainLoop();
    p.PressEdgeBody = p.PressEdgeVertex = 0;
    // A click that ends a click mode is not also a plain click.
    const bool clickMode = clickModeRunning();
    const bool vertexHit = vertexHitStands();
    if (!vertexHit && p.label.HitLabel > 0) editLabelText(p.label.HitLabel);
    if (vertexHit) lockModeClick(h.HitVertex);
    if (clickMode && !vertexHit && h.HitEdgeBody > 0 && h.HitEdgeVertex > 0)
        insertVertexAtEdge(e.x, e.y);
    if (!clickMode && vertexHit) {
        views::SHOWPOINTPG(workingModel(), h.HitBody, h.HitVertex, h.HitVertexBase,
                           magneticData(), hoverOutput());
        h.HitBody = 0;
    }
    if (m.DigitisingBody &&
        util::LINGRAPH(graphX(e.x, sectionAxis()), graphY(e.y, sectionAxis()), sectionAxis()))
        digitiseClick(e.x, e.y);
    if (p.HitDataPoint > 0) {
        views::SHOWPOINTPF(workingProfile(), p.HitDataPoint, hoverOutput());
        p.HitDataPoint = 0;
    }
    selectProfileWindow();
}

void click(const MouseEvent& e) {
    if (e.window == 0) {
        if (e.button == kLeftButton)
            mapLeftClick();
        else if (e.button == kRightButton)
            mapRightClick(e.x, e.y);
        return;
    }
    if (!inProfileWindow(e)) return;
    if (e.button == kLeftButton)
        leftClickInProfileWindow(e);
    else if (e.button == kRightButton && !clickModeRunning())
        profilePopup(e.x, e.y);
}

void boxReleased(const MouseEvent& e) {
    const PointerState& p = pointerState();
    eraseRubberBox();
    const bool bigEnough = std::abs(shellSession().AnchorX - shellSession().BoxCornerX) > kMinimumBox &&
                           std::abs(shellSession().AnchorY - shellSession().BoxCornerY) > kMinimumBox;
    if (!bigEnough) return;
    if (p.PressWindow == 0)
        zoomMap();
    else if (p.PressWindow == profileWindow() && e.button == kRightButton)
        selectionPopup();
    else if (p.PressWindow == profileWindow())
        zoomProfile();
}

// The steps of a move in the profile window once no drag of a vertex or an
// edge has taken it.
void moveInProfileWindow(const MouseEvent& e) {
    PointerState& p = pointerState();
    stepBodyDrag(e.x, e.y);
    if (held(kLeftButton, e.time) > kHoldTime) {
        if (!dragging() && p.PressLabel > 0)
            startLabelDrag();
        else if (files::sessionState().LZOOM && !p.PressVertexLocal && p.PressEdgeBody == 0)
            moveRubberBox(e.window, e.x, e.y);
    } else if (held(kRightButton, e.time) > kHoldTime) {
        if (p.PressBody < 1)
            moveRubberBox(e.window, e.x, e.y);
        else if (!views::viewState().DragBody)
            startHeldBodyDrag();
    }
    hoverProfileWindow(e.x, e.y);
}

}  // namespace

bool cancelGesture() {
    PointerState& p = pointerState();
    const bool box = shellSession().RubberBoxShown;
    const bool drag = cancelDrag();
    if (!drag && !box) return false;
    eraseRubberBox();
    p.PressButton = 0;
    p.PressBody = 0;
    p.GestureCancelled = true;
    return true;
}

void handleMouseButtonDown(const tk::EventRecord& record) {
    const MouseEvent e = read(record);
    if (ignored(e) || (e.button != kLeftButton && e.button != kRightButton)) return;
    PointerState& p = pointerState();
    // The other button while one is held takes a drag back; it starts
    // nothing itself (a second drag would take the first one's model, legal
    // or not, as its undo copy). A right press ends a label drag instead.
    if (p.PressButton != 0 && p.PressButton != e.button && !p.DragLabel && cancelGesture())
        return;
    p.GestureCancelled = false;
    const bool profile = inProfileWindow(e);
    p.PressTime = e.time;
    p.PressVertexLocal = profile && p.model.HitVertex - p.model.HitVertexBase > 0;
    p.PressOnVertex = profile && vertexHitStands();
    p.PressLabel = profile ? p.label.HitLabel : 0;
    p.PressLabelArrow = p.label.HitLabelArrow;
    p.PressLabelPart = p.label.HitLabelPart;
    p.SingleVertex = true;
    p.PressEdgeBody = p.PressEdgeVertex = 0;
    // Only a press on a vertex makes a body to move.
    p.DragBodyIndex = 0;
    p.PressBody = profile ? p.model.HitBody : 0;
    p.PressWindow = e.window;
    shellSession().AnchorX = e.x;
    shellSession().AnchorY = e.y;
    p.PressButton = e.button;
    if (profile) pressInProfileWindow(e);
}

void handleMouseMove(const tk::EventRecord& record) {
    const MouseEvent e = read(record);
    if (ignored(e)) return;
    PointerState& p = pointerState();
    p.CursorX = e.x;
    p.CursorY = e.y;
    // The map's traced polyline stays through the next press there.
    const files::ViewSettings& v = files::viewSettings();
    shellSession().MapLineMode = e.window == 0 && !files::sessionState().LZOOM && v.LPOLYLINE;
    const bool profile = inProfileWindow(e);
    if (profile && stepVertexOrEdgeDrag(e.x, e.y)) return;
    if (profile && (shellSession().SplitBodyMode || editState().PairRubberLine)) {
        moveRubberLine(e.window, e.x, e.y);
        hoverSection(e.x, e.y);
        return;
    }
    if (shellSession().RubberLineShown) return;
    if (profile && stepPivotOrLabelDrag(e.x, e.y)) return;
    unhighlightMapLine();
    if (e.window == 0) {
        mapMouseMove(e.x, e.y, p.PressWindow == 0 ? held(kLeftButton, e.time) : 0);
        return;
    }
    if (profile) moveInProfileWindow(e);
}

void handleMouseButtonUp(const tk::EventRecord& record) {
    const MouseEvent e = read(record);
    if (ignored(e)) return;
    PointerState& p = pointerState();
    hideHint();
    if (p.GestureCancelled) {
        p.PressButton = 0;
        return;
    }
    p.PressBody = 0;
    shellSession().BoxCornerX = e.x;
    shellSession().BoxCornerY = e.y;
    p.PressButton = 0;
    if (inProfileWindow(e)) endDrag(e.x, e.y, e.time);
    if (shellSession().SplitBodyMode && inProfileWindow(e)) {
        completeSplit();
        return;
    }
    if (shellSession().RubberBoxShown) {
        boxReleased(e);
        return;
    }
    if (e.time - p.PressTime < kClickTime) click(e);
}

}  // namespace shell
