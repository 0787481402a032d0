#include "shell/context_menus.h"

#include <algorithm>
#include <utility>

#include "files/view_settings.h"
#include "model/vertex_locks.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/resources/editing_ids.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "toolkit/core/menus.h"
#include "util/graph_zoom.h"
#include "views/view_state.h"

namespace shell {

namespace {

bool holds(const util::AxisRecord& axis, int x, int y) {
    return util::LINGRAPH(graphX(x, axis), graphY(y, axis), axis);
}

void open(int menu, int x, int y) {
    PointerState& p = pointerState();
    p.PopupMenu = menu;
    p.PopupCursorX = x;
    p.PopupCursorY = y;
    p.PopupProperty = p.model.PopupProperty;
    selectProfileWindow();
    tk::MenuFloating(menu, x, y);
}

void dataGraphPopup(int x, int y) {
    PointerState& p = pointerState();
    if (p.HitDataPoint > 0) {
        p.PopupPoint = p.HitDataPoint;
        open(IDM_DATAPOINT, x, y);
    } else {
        open(IDM_DATAGRAPH, x, y);
    }
}

void sectionPopup(int x, int y) {
    PointerState& p = pointerState();
    views::ModelHits& h = p.model;
    const model::PolygonModel& m = workingModel();
    if (hitVertexInModel(m)) {
        const int v = h.HitVertex;
        shellSession().PopupBody = h.HitBody;
        p.PopupVertex = v;
        h.HitBody = h.HitVertex = 0;
        const int menu = model::LOCKSPRESENT(m, v) ? IDM_LEADER
                         : m.IPOINT(v) == v        ? IDM_VERTEX
                                                   : IDM_FOLLOWER;
        open(menu, x, y);
        return;
    }
    const float mx = graphX(x, sectionAxis()), mz = graphY(y, sectionAxis());
    if (h.HitEdgeBody > 0 && h.HitEdgeVertex > 0) {
        const int b = h.HitEdgeBody, v = h.HitEdgeVertex;
        shellSession().PopupBody = b;
        p.PopupVertex = v;
        p.PopupEdgeVertex = v == m.IV2(b) ? m.IV1(b) : v + 1;
        p.InsertX = mx;
        p.InsertZ = mz;
        open(IDM_EDGE, x, y);
        return;
    }
    p.PopupX = mx;
    p.PopupZ = mz;
    if (h.HitRegion == 0) {
        shellSession().PopupBody = p.PopupVertex = 0;
        open(IDM_BACKGROUND, x, y);
    } else if (h.HitRegion < 0) {
        shellSession().PopupBody = h.HitBody;
        p.PopupVertex = h.HitVertex;
        open(IDM_MODELAREA, x, y);
    } else {
        shellSession().PopupBody = h.HitRegion;
        p.PopupVertex = 0;
        open(gravityData() ? IDM_GRAVBODY : IDM_MAGBODY, x, y);
    }
}

}  // namespace

void profilePopup(int x, int y) {
    model::ProfileLine& w = workingProfile();
    const files::ViewSettings& v = files::viewSettings();
    views::viewState().DragVertex = false;
    const int dataGraphs = std::clamp(w.NDGRAF, 1, 2);
    for (int k = 0; k < dataGraphs; ++k) {
        if (v.LSHOWDATA && holds(w.AXES[static_cast<std::size_t>(k)], x, y)) {
            dataGraphPopup(x, y);
            return;
        }
        if (k == 0 && v.LSHOWMODEL && !shellSession().SplitBodyMode && holds(sectionAxis(), x, y)) {
            sectionPopup(x, y);
            return;
        }
    }
}

void selectionPopup() {
    PointerState& p = pointerState();
    const int cx = (shellSession().AnchorX + shellSession().BoxCornerX) / 2, cy = (shellSession().AnchorY + shellSession().BoxCornerY) / 2;
    const files::ViewSettings& v = files::viewSettings();
    const util::AxisRecord* axis = nullptr;
    int menu = 0;
    if (v.LSHOWDATA && holds(dataAxis(), cx, cy)) {
        axis = &dataAxis();
        menu = IDM_POINTSBOX;
    } else if (v.LSHOWMODEL && holds(sectionAxis(), cx, cy)) {
        axis = &sectionAxis();
        menu = IDM_VERTICESBOX;
    }
    if (!axis) return;
    float x1 = graphX(shellSession().AnchorX, *axis), x2 = graphX(shellSession().BoxCornerX, *axis);
    float z1 = graphY(shellSession().AnchorY, *axis), z2 = graphY(shellSession().BoxCornerY, *axis);
    if (x1 > x2) std::swap(x1, x2);
    if (z1 > z2) std::swap(z1, z2);
    p.SelectionBox = {x1, x2, z1, z2};
    open(menu, shellSession().BoxCornerX, shellSession().BoxCornerY);
}

void labelPopup(int x, int y) {
    PointerState& p = pointerState();
    p.PopupLabel = p.label.HitLabel;
    open(IDM_LABEL, x, y);
}

}  // namespace shell
