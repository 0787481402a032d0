#include "shell/digitising.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>

#include "files/session_state.h"
#include "model/body_area.h"
#include "model/body_finish.h"
#include "model/body_nesting.h"
#include "model/body_split.h"
#include "model/crossing_tests.h"
#include "model/picking.h"
#include "model/session_state.h"
#include "model/vertex_edit.h"
#include "shell/lock_dialogs.h"
#include "shell/menus.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/rubber_bands.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/os_services.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "util/graph_curves.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"
#include "views/view_state.h"

namespace shell {

namespace {

constexpr int kNewBodyPen = 13;
constexpr char kHint[] =
    "Vertex insertion parameters can be changed during body/layer creation. Press Finish to "
    "complete creation.";

std::size_t at(int n) {
    return static_cast<std::size_t>(n - 1);
}

model::NewBodyBuffer& buffer() {
    return model::newBodyBuffer();
}

// Entries a finished outline needs beyond its digitised points.
int closingEntries() {
    return editState().DigitisingLayer ? 2 : 1;
}

// Plot origin at the section and the new-body pen, ready to draw.
util::AxisRecord& drawingOnSection() {
    selectProfileWindow();
    util::AxisRecord& a = sectionAxis();
    util::PLOTXY(a.originX, a.originY, -3, a);
    util::SETPEN(kNewBodyPen);
    return a;
}

void drawLastEdge() {
    const model::NewBodyBuffer& b = buffer();
    util::AxisRecord& a = drawingOnSection();
    util::GN_MOVE(b.X[at(b.n - 1)], b.Z[at(b.n - 1)], a);
    util::GN_DRAW(b.X[at(b.n)], b.Z[at(b.n)], a);
    util::GN_BOX(b.X[at(b.n)], b.Z[at(b.n)], a);
}

bool edgeCrosses(int from, int to) {
    const model::NewBodyBuffer& b = buffer();
    const model::Segment xs{b.X[at(from)], b.X[at(to)]}, zs{b.Z[at(from)], b.Z[at(to)]};
    return model::LCROSSBODYXY(workingModel(), xs, zs, 0, true);
}

// The new edge n-1 to n against the model and the outline so far.
void checkNewEdge() {
    model::NewBodyBuffer& b = buffer();
    const bool illegal = edgeCrosses(b.n - 1, b.n) ||
                         model::LCROSSSELF(std::span<const float>(b.X),
                                           std::span<const float>(b.Z), b.n, false);
    if (!illegal) {
        insertionMessage(kHint, kLightYellow);
        drawLastEdge();
        return;
    }
    if (files::sessionState().Illegal < 2) {
        insertionMessage("New vertex causes an illegal model", kRed);
        tk::BeepSwitch(" ");
        b.n -= 1;
        return;
    }
    bool stillCrosses = false;
    model::SHORTENEDGE(workingModel(), stillCrosses);
    if (stillCrosses) {
        insertionMessage("New edge cannot be shortened to avoid illegal model", kLightYellow);
        b.n -= 1;
        return;
    }
    insertionMessage("New edge shortened to avoid illegal model", kOrange);
    drawLastEdge();
}

// The closing edges of the outline; false (and the message shown) when one
// of them is illegal.
bool closingLegal() {
    model::NewBodyBuffer& b = buffer();
    const int n = b.n;
    if (!editState().DigitisingLayer) {
        b.X[at(n + 1)] = b.X[0];
        b.Z[at(n + 1)] = b.Z[0];
        if (edgeCrosses(n, n + 1) ||
            model::LCROSSSELF(std::span<const float>(b.X), std::span<const float>(b.Z), n, true)) {
            util::WINMSG("Closing body creates illegal edge");
            return false;
        }
        return true;
    }
    b.X[at(n + 1)] = model::kFarAway;
    b.Z[at(n + 1)] = b.Z[at(n)];
    if (edgeCrosses(n, n + 1)) {
        util::WINMSG("Closing layer creates illegal edge on right");
        return false;
    }
    b.X[at(n + 1)] = b.X[0];
    b.Z[at(n + 1)] = b.Z[0];
    b.X[at(n + 2)] = -model::kFarAway;
    b.Z[at(n + 2)] = b.Z[0];
    if (edgeCrosses(n + 1, n + 2)) {
        util::WINMSG("Closing layer creates illegal edge on left");
        return false;
    }
    return true;
}

void endDigitising() {
    EditState& e = editState();
    mainLoop().DigitisingBody = false;
    e.DigitisingLayer = false;
    buffer().n = 0;
}

}  // namespace

void startDigitising(bool layer) {
    MainLoopState& m = mainLoop();
    EditState& e = editState();
    m.DigitisingBody = true;
    e.DigitisingLayer = layer;
    buffer().n = 0;
    SNAPLOCKON(e.SnapLockChoice, e.NewVertexFreeX, e.NewVertexFreeZ, profileWindow());
    char number[16];
    std::snprintf(number, sizeof number, "%d", workingModel().NBOD + 1);
    insertionEntering(std::string(layer ? "Entering layer " : "Entering body ") + number);
}

void digitiseClick(int x, int y) {
    model::NewBodyBuffer& b = buffer();
    const EditState& e = editState();
    const PointerState& p = pointerState();
    const model::PolygonModel& m = workingModel();
    if (b.n + 1 + closingEntries() > model::kNewBodyCapacity) {
        util::WINMSG("Too many vertices: the outline cannot take another one");
        return;
    }
    const int n = ++b.n;
    b.leader[at(n)] = m.vertexCount() + n;
    b.X[at(n)] = graphX(x, sectionAxis());
    b.Z[at(n)] = graphY(y, sectionAxis());
    b.freeX[at(n)] = e.NewVertexFreeX;
    b.freeZ[at(n)] = e.NewVertexFreeZ;
    if (e.SnapToNearest && hitVertexInModel(m)) {
        b.X[at(n)] = m.XVRT(p.model.HitVertex);
        b.Z[at(n)] = m.ZVRT(p.model.HitVertex);
        if (e.LockToNearest) b.leader[at(n)] = p.model.HitVertex;
    }
    if (n == 1) {
        util::GN_BOX(b.X[0], b.Z[0], drawingOnSection());
        return;
    }
    checkNewEdge();
}

void backUpVertex() {
    model::NewBodyBuffer& b = buffer();
    if (b.n > 0) b.n -= 1;
    refreshProfileWindow();
}

void finishDigitising() {
    model::NewBodyBuffer& b = buffer();
    EditState& e = editState();
    const bool layer = e.DigitisingLayer;
    // The count comes first: the closing edges are read from the points.
    if (b.n < (layer ? 1 : 3)) {
        util::WINMSG(layer ? "Layers need at least 1 vertex!" : "Bodies need at least 3 vertices!");
        b.n = 0;
        refreshProfileWindow();
        return;
    }
    if (!closingLegal()) return;
    SNAPLOCKOFF();
    int status = 0;
    NUMINDLG(gravityData() ? "Please enter density:" : "Please enter susceptibility:",
             e.NewBodyProperty, status);
    if (status != 0) {
        endDigitising();
        refreshProfileWindow();
        return;
    }
    model::PolygonModel& m = workingModel();
    const auto n = static_cast<std::size_t>(b.n);
    const bool added = model::BODYFINISH(
        m, std::span<const float>(b.X).first(n), std::span<const float>(b.Z).first(n), b.n,
        std::span<const bool>(b.freeX).first(n), std::span<const bool>(b.freeZ).first(n),
        e.NewBodyProperty, std::span<const int>(b.leader).first(n), layer);
    if (added) {
        model::FDAREA(m);
        bool changed = false;
        model::BOLEVL(m, changed);
        markProfileChanged();
    }
    endDigitising();
    refreshProfileWindow();
}

void cancelDigitising() {
    endDigitising();
}

void startSplit() {
    PointerState& p = pointerState();
    EditState& e = editState();
    e.SplitBody = shellSession().PopupBody;
    e.SplitFirstVertex = p.PopupVertex;
    shellSession().SplitBodyMode = true;
    views::viewState().DragVertex = false;
    p.PressButton = 0;
    MENUSOFF();
    showSplitPrompt(profileWindow());
}

void completeSplit() {
    PointerState& p = pointerState();
    const EditState& e = editState();
    eraseRubberLine();
    const model::PolygonModel& m = workingModel();
    const bool firstStands = e.SplitBody >= 1 && e.SplitBody <= m.NBOD &&
                             e.SplitFirstVertex >= m.IV1(e.SplitBody) &&
                             e.SplitFirstVertex <= m.IV2(e.SplitBody);
    // A first vertex the model no longer has splits nothing.
    if (firstStands && p.model.HitBody == e.SplitBody && p.model.HitVertex > 0) {
        int status = 0;
        model::SPLITBODY(workingModel(), e.SplitBody, e.SplitFirstVertex, p.model.HitVertex,
                         status);
        if (status == 0) {
            bool changed = false;
            model::BOLEVL(workingModel(), changed);
            markProfileChanged();
        }
    } else if (firstStands) {
        util::WINMSG("Vertices must be on the same body.");
    }
    HIDEACTIVEDLG();
    shellSession().RubberLineShown = false;
    MENUSON();
    shellSession().SplitBodyMode = false;
    refreshProfileWindow();
}

void insertVertexAtEdge(int x, int y) {
    model::PolygonModel& m = workingModel();
    PointerState& p = pointerState();
    const views::ViewState& v = views::viewState();
    float fx = graphX(x, sectionAxis()), fz = graphY(y, sectionAxis());
    int body = 0, first = 0;
    float distance = 0.0f;
    const float ratio = std::fabs(v.SectionUnitsPerInchX / v.SectionUnitsPerInchY);
    model::NEARDG(fx, fz, body, first, ratio, distance, m);
    if (body < 1 || !model::ADDVERT(m, fx, fz, body, first)) return;
    const int added = first + 1;
    // Points being digitised and the vertices the lock and split modes hold
    // keep pointing at the same vertices.
    model::NewBodyBuffer& b = buffer();
    for (int i = 1; i <= b.n; ++i)
        if (b.leader[at(i)] >= added) b.leader[at(i)] += 1;
    EditState& e = editState();
    for (int* kept : {&e.PairFollower, &e.LockLeader, &e.LockFollower, &e.SplitFirstVertex})
        if (*kept >= added) *kept += 1;
    // A snapping click takes the new vertex.
    p.model.HitBody = body;
    p.model.HitVertex = added;
    markProfileChanged();
    refreshProfileWindow();
}

}  // namespace shell
