#include "shell/vertex_locking.h"

#include <cmath>

#include "files/view_settings.h"
#include "model/vertex_locks.h"
#include "model/picking.h"
#include "shell/lock_dialogs.h"
#include "shell/menus.h"
#include "shell/model_commands.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/resources/editing_ids.h"
#include "shell/rubber_bands.h"
#include "shell/shell_state.h"
#include "shell/view_commands.h"
#include "shell/window_views.h"
#include "util/axis_scaling.h"
#include "util/graph_curves.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"
#include "views/view_state.h"

namespace shell {

namespace {

bool locked(const model::PolygonModel& m, int v) {
    return m.IPOINT(v) != v;
}

bool inBox(const model::PolygonModel& m, int v) {
    const auto& b = pointerState().SelectionBox;
    return m.XVRT(v) >= b[0] && m.XVRT(v) <= b[1] && m.ZVRT(v) >= b[2] && m.ZVRT(v) <= b[3];
}

// The vertex the pop-up opened on, when it still exists.
int popupVertex() {
    const int v = pointerState().PopupVertex;
    return v >= 1 && v <= workingModel().vertexCount() ? v : 0;
}

// Locks were made: they are shown, and View > Locks says so.
void showLocks() {
    views::viewState().ShowLocks = true;
    showViewSwitches(profileWindow());
}

void showLocksChanged() {
    showLocks();
    markProfileChanged();
    refreshProfileWindow();
}

// A box of half size `half` plot inches around vertex v on the section.
void markVertex(int v, float half) {
    selectProfileWindow();
    util::AxisRecord& a = sectionAxis();
    const model::PolygonModel& m = workingModel();
    a.markerType = 1;
    util::PLOTXY(a.originX, a.originY, -3, a);
    util::SETPEN(files::viewSettings().K_LOCK);
    float px = 0, py = 0;
    util::PLOF_XY(m.XVRT(v), m.ZVRT(v), px, py, a);
    util::BOX(px, py, half, half, false, a);
}

// Locks `follower` to `leader` without making chains: a leader that follows
// another vertex hands over its own leader, and the follower's followers go
// along to it.
void lockWithoutChain(int follower, int leader) {
    model::PolygonModel& m = workingModel();
    const int root = m.IPOINT(leader);
    if (root == follower) return;
    m.IPOINT(follower) = root;
    for (int u = 1; u <= m.vertexCount(); ++u)
        if (u != follower && m.IPOINT(u) == follower) m.IPOINT(u) = root;
}

void unlockAllCommand(int window) {
    const int v = popupVertex();
    if (window != profileWindow() || v == 0) return;
    model::PolygonModel& m = workingModel();
    for (int i = 1; i <= m.vertexCount(); ++i)
        if (i != v && m.IPOINT(i) == v) m.IPOINT(i) = i;
    markProfileChanged();
    refreshProfileWindow();
}

void unlockVertexCommand(int window) {
    const int v = popupVertex();
    if (window != profileWindow() || v == 0) return;
    workingModel().IPOINT(v) = v;
    markProfileChanged();
    refreshProfileWindow();
}

void lockEdgeCommand(int window) {
    const int a = popupVertex(), b = pointerState().PopupEdgeVertex;
    model::PolygonModel& m = workingModel();
    if (window != profileWindow() || a == 0 || b < 1 || b > m.vertexCount()) return;
    const bool la = locked(m, a), lb = locked(m, b);
    if (la && lb) {
        util::WINMSG("Both vertices are locked to other vertices");
        return;
    }
    if (!la && !lb)
        m.IPOINT(b) = a;
    else if (!la)
        m.IPOINT(a) = m.IPOINT(b);
    else
        m.IPOINT(b) = m.IPOINT(a);
    showLocksChanged();
}

void unlockEdgeCommand(int window) {
    const int a = popupVertex(), b = pointerState().PopupEdgeVertex;
    model::PolygonModel& m = workingModel();
    if (window != profileWindow() || a == 0 || b < 1 || b > m.vertexCount()) return;
    m.IPOINT(a) = a;
    m.IPOINT(b) = b;
    // Redrawn, or the freed vertices would still be drawn as locked.
    markProfileChanged();
    refreshProfileWindow();
}

void lockBodyCommand(int window) {
    const int b = shellSession().PopupBody;
    model::PolygonModel& m = workingModel();
    if (window != profileWindow() || b < 1 || b > m.NBOD) return;
    const int f = m.IV1(b);
    const int l = m.LAYER(b) ? m.IV2(b) - 4 : m.IV2(b);
    auto inside = [&](int v) { return v >= f && v <= l; };
    bool lockedOut = false, lockedIn = false;
    for (int v = f + 1; v <= l; ++v)
        lockedOut = lockedOut || !inside(m.IPOINT(v));
    for (int v = 1; v <= m.vertexCount(); ++v)
        lockedIn = lockedIn || (!inside(v) && inside(m.IPOINT(v)));
    if (lockedOut)
        util::WINMSG(
            "At least one vertex of this body is locked to a vertex on another body\r\n\r\n"
            "Cannot lock body together");
    if (lockedIn)
        util::WINMSG(
            "At least one vertex of another body is locked to a vertex on this body\r\n\r\n"
            "Cannot lock body together");
    if (lockedOut || lockedIn) return;
    for (int v = f + 1; v <= l; ++v)
        m.IPOINT(v) = f;
    showLocksChanged();
}

void unlockVerticesCommand(int window) {
    if (window != profileWindow()) return;
    model::PolygonModel& m = workingModel();
    for (int v = 1; v <= m.vertexCount(); ++v)
        if (inBox(m, v)) m.IPOINT(v) = v;
    markProfileChanged();
    refreshProfileWindow();
}

void lockTogetherCommand(int window) {
    if (window != profileWindow()) return;
    model::PolygonModel& m = workingModel();
    const int n = m.vertexCount();
    int leader = 0;
    for (int v = 1; v <= n; ++v) {
        if (!inBox(m, v)) continue;
        if (leader == 0) leader = v;
        m.IPOINT(v) = leader;
        for (int u = 1; u <= n; ++u)
            if (u != v && !inBox(m, u) && m.IPOINT(u) == v) m.IPOINT(u) = leader;
    }
    showLocksChanged();
}

void snapAndLockCommand(int window) {
    const int v = popupVertex();
    if (window != profileWindow() || v == 0) return;
    model::PolygonModel& m = workingModel();
    const util::AxisRecord& a = sectionAxis();
    const float ratio = std::fabs(a.scaleY / a.scaleX);
    float best = 1.0E30f;
    const int n = model::NEARSTOWNLEADER(m.XVRT(v), m.ZVRT(v), 0, v, ratio, best, m);
    if (n <= 0 || n == v) return;
    // The nearest leader may lie anywhere: a snap whose edges cross is taken back.
    const model::PolygonModel before = m;
    m.XVRT(v) = m.XVRT(n);
    m.ZVRT(v) = m.ZVRT(n);
    m.IPOINT(v) = n;
    if (takeBackIfIllegal(before, "Snapping vertex creates illegal body")) return;
    showLocksChanged();
}

// Lock This Vertex To Another: the vertex waits for its leader.
void lockToAnotherCommand(int window) {
    const int v = popupVertex();
    if (window != profileWindow() || v == 0) return;
    EditState& e = editState();
    LEADERON(profileWindow());
    mainLoop().FollowerLockMode = true;
    markVertex(v, 0.03f);
    e.LockFollower = v;
    e.LockFollowerX = workingModel().XVRT(v);
    e.LockFollowerZ = workingModel().ZVRT(v);
    MENUSOFF();
}

// Lock Other Vertices To This Vertex: followers are picked one by one.
void lockOthersCommand(int window) {
    const int v = popupVertex();
    if (window != profileWindow() || v == 0) return;
    FOLLOWERON(profileWindow());
    editState().LockLeader = v;
    markVertex(v, 0.05f);
    mainLoop().LeaderLockMode = true;
    MENUSOFF();
}

// The menus wait like those of the other lock modes: a command that put
// another model in place would leave the picked follower naming a vertex
// of a model that is gone.
void lockPairsCommand(int window) {
    if (window != profileWindow()) return;
    PAIRON(profileWindow());
    mainLoop().PairLockMode = true;
    editState().PairExpectFollower = true;
    MENUSOFF();
}

bool vertexOfModel(int v) {
    return v >= 1 && v <= workingModel().vertexCount();
}

void followerClick(int v) {
    EditState& e = editState();
    model::PolygonModel& m = workingModel();
    if (!vertexOfModel(e.LockFollower)) return;
    if (locked(m, v)) {
        LEADERNEW(profileWindow());
        return;
    }
    m.IPOINT(e.LockFollower) = v;
    LEADEROFF();
    mainLoop().FollowerLockMode = false;
    MENUSON();
    // Redrawn: the follower's box would stay, and the new lock would not be
    // drawn as the locks are.
    showLocksChanged();
}

void leaderClick(int v) {
    model::PolygonModel& m = workingModel();
    if (!vertexOfModel(editState().LockLeader)) return;
    if (model::LOCKSPRESENT(m, v)) {
        FOLLOWERNEW(profileWindow());
        return;
    }
    m.IPOINT(v) = editState().LockLeader;
    showLocks();
    markProfileChanged();
    refreshProfileWindow();
    FOLLOWERON(profileWindow());
}

void pairClick(int v) {
    EditState& e = editState();
    PointerState& p = pointerState();
    if (e.PairExpectFollower || !vertexOfModel(e.PairFollower)) {
        shellSession().AnchorX = p.CursorX;
        shellSession().AnchorY = p.CursorY;
        p.PressButton = 0;
        e.PairFollower = v;
        e.PairRubberLine = true;
        util::SETPEN(13);
        PAIRLEADER();
        e.PairExpectFollower = false;
        return;
    }
    if (v != e.PairFollower) lockWithoutChain(e.PairFollower, v);
    PAIRFOLLOWER();
    e.PairRubberLine = false;
    eraseRubberLine();
    e.PairExpectFollower = true;
    showLocksChanged();
}

}  // namespace

void addLockCommands(CommandTable& t) {
    t.set(CMD_UNLOCKALL, unlockAllCommand);
    t.set(CMD_UNLOCKVERTEX, unlockVertexCommand);
    t.set(CMD_LOCKEDGE, lockEdgeCommand);
    t.set(CMD_UNLOCKEDGE, unlockEdgeCommand);
    t.set(CMD_LOCKBODY, lockBodyCommand);
    t.set(CMD_UNLOCKVERTICES, unlockVerticesCommand);
    t.set(CMD_LOCKTOGETHER, lockTogetherCommand);
    t.set(CMD_SNAPLOCK, snapAndLockCommand);
    t.set(CMD_LOCKTOANOTHER, lockToAnotherCommand);
    t.set(CMD_LOCKOTHERS, lockOthersCommand);
    t.set(CMD_LOCKPAIRS, lockPairsCommand);
}

void lockModeClick(int vertex) {
    const MainLoopState& m = mainLoop();
    if (!vertexOfModel(vertex)) return;
    if (m.FollowerLockMode && !m.DigitisingBody)
        followerClick(vertex);
    else if (m.LeaderLockMode)
        leaderClick(vertex);
    else if (m.PairLockMode)
        pairClick(vertex);
}

// The leader's box goes with the mode: a box left on the screen would say a
// leader still waits for followers.
void closeFollowersMode() {
    FOLLOWEROFF();
    MainLoopState& m = mainLoop();
    m.FollowerLockMode = m.LeaderLockMode = false;
    MENUSON();
    refreshProfileWindow();
}

void closePairsMode() {
    PAIROFF();
    mainLoop().PairLockMode = false;
    editState().PairRubberLine = false;
    eraseRubberLine();
    MENUSON();
}

}  // namespace shell
