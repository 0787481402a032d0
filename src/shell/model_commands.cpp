#include "shell/model_commands.h"

#include "files/view_settings.h"
#include "model/body_area.h"
#include "model/body_delete.h"
#include "model/body_nesting.h"
#include "model/model_check.h"
#include "model/session_state.h"
#include "model/vertex_edit.h"
#include "shell/body_editor.h"
#include "shell/click_modes.h"
#include "shell/digitising.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/resources/editing_ids.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/view_commands.h"
#include "shell/window_views.h"
#include "util/message_boxes.h"

namespace shell {

// An edit that leaves the model illegal is taken back whole, with `refusal` said.
bool takeBackIfIllegal(const model::PolygonModel& before, std::string_view refusal) {
    model::PolygonModel& m = workingModel();
    if (!model::LBADMODEL(m)) return false;
    // Taken back before the message: the program runs on while it is shown.
    model::COPYPG(m, before);
    // The flag speaks of the model that is there: the one taken back.
    model::sessionState().BadModel = model::LBADMODEL(m);
    util::WINMSG(refusal);
    return true;
}

namespace {

// Flags of one vertex, or of every vertex in a range, from a pop-up.
enum class Flag { X, Z };

model::LogicalArray& flags(Flag f) {
    return f == Flag::X ? workingModel().LXFIX : workingModel().LZFIX;
}

bool popupVertexValid() {
    const int v = pointerState().PopupVertex;
    return v >= 1 && v <= workingModel().vertexCount();
}

bool popupBodyValid() {
    const int b = shellSession().PopupBody;
    return b >= 1 && b <= workingModel().NBOD;
}

bool inBox(const model::PolygonModel& m, int v) {
    const auto& b = pointerState().SelectionBox;
    return m.XVRT(v) >= b[0] && m.XVRT(v) <= b[1] && m.ZVRT(v) >= b[2] && m.ZVRT(v) <= b[3];
}

void changed() {
    markProfileChanged();
    refreshProfileWindow();
}

template <Flag F, bool Free>
void vertexFlag(int window) {
    if (window != profileWindow() || !popupVertexValid()) return;
    flags(F)(pointerState().PopupVertex) = Free;
    changed();
}

template <Flag F, bool Free>
void edgeFlag(int window) {
    const PointerState& p = pointerState();
    if (window != profileWindow() || !popupVertexValid()) return;
    flags(F)(p.PopupVertex) = Free;
    if (p.PopupEdgeVertex >= 1 && p.PopupEdgeVertex <= workingModel().vertexCount())
        flags(F)(p.PopupEdgeVertex) = Free;
    changed();
}

template <Flag F, bool Free>
void bodyFlag(int window) {
    int& body = shellSession().PopupBody;
    if (window != profileWindow() || !popupBodyValid()) return;
    const model::PolygonModel& m = workingModel();
    for (int v = m.IV1(body); v <= m.IV2(body); ++v)
        flags(F)(v) = Free;
    body = 0;
    changed();
}

template <Flag F, bool Free>
void boxFlag(int window) {
    if (window != profileWindow()) return;
    const model::PolygonModel& m = workingModel();
    for (int v = 1; v <= m.vertexCount(); ++v)
        if (inBox(m, v)) flags(F)(v) = Free;
    changed();
}

template <bool Free>
void propertyFlag(int window) {
    if (window != profileWindow() || !popupBodyValid()) return;
    workingModel().LVFIX(shellSession().PopupBody) = Free;
    markProfileChanged();
}

void keepLegalOrRestore(const model::PolygonModel& before,
                        std::string_view refusal = "Deleting vertex creates illegal body") {
    if (takeBackIfIllegal(before, refusal)) return;
    model::sessionState().BadModel = false;
    model::FDAREA(workingModel());
    changed();
}

void deleteVertexCommand(int window) {
    if (window != profileWindow() || !popupVertexValid() || !popupBodyValid()) return;
    const model::PolygonModel before = workingModel();
    int vertex = pointerState().PopupVertex;
    if (!model::DELETEVERTEX(workingModel(), shellSession().PopupBody, vertex)) return;
    keepLegalOrRestore(before);
}

// The vertices of `body` in the selection box that a deletion would take
// (a layer keeps its four closing vertices).
int boxedVertices(const model::PolygonModel& m, int body) {
    const int last = m.LAYER(body) ? m.IV2(body) - 4 : m.IV2(body);
    int n = 0;
    for (int v = m.IV1(body); v <= last; ++v)
        n += inBox(m, v) ? 1 : 0;
    return n;
}

// A box that would leave some body too small deletes nothing: one message,
// the model as it was.
bool boxDeletionRefused(const model::PolygonModel& m) {
    for (int b = 1; b <= m.NBOD; ++b) {
        const int n = boxedVertices(m, b);
        if (n == 0) continue;
        const std::string_view refusal = model::tooFewVertices(m, b, n);
        if (refusal.empty()) continue;
        util::WINMSG(refusal);
        return true;
    }
    return false;
}

void deleteVerticesCommand(int window) {
    if (window != profileWindow()) return;
    model::PolygonModel& m = workingModel();
    if (boxDeletionRefused(m)) return;
    const model::PolygonModel before = m;
    for (int b = m.NBOD; b >= 1; --b) {
        for (int v = m.IV2(b); v >= m.IV1(b); --v) {
            if (!inBox(m, v)) continue;
            int vertex = v;
            model::DELETEVERTEX(m, b, vertex);
        }
    }
    keepLegalOrRestore(before);
}

void insertVertexCommand(int window) {
    const PointerState& p = pointerState();
    if (window != profileWindow() || !popupVertexValid() || !popupBodyValid()) return;
    // The vertex goes where the menu opened, a little beside the edge: an
    // edge it makes may cross another.
    const model::PolygonModel before = workingModel();
    if (!model::ADDVERT(workingModel(), p.InsertX, p.InsertZ, shellSession().PopupBody, p.PopupVertex)) return;
    keepLegalOrRestore(before, "Inserting vertex creates illegal body");
}

// Areas, nesting and the synthetics after bodies came or went.
void bodiesChanged() {
    model::PolygonModel& m = workingModel();
    model::FDAREA(m);
    bool nesting = false;
    model::BOLEVL(m, nesting);
    // The body that crossed may be gone: the calculation runs on a legal model.
    model::sessionState().BadModel = model::LBADMODEL(m);
    calculate();
    changed();
}

void hideBodyCommand(int window) {
    if (window != profileWindow() || !popupBodyValid()) return;
    model::LogicalArray& hidden = workingModel().LHIDE;
    const int b = shellSession().PopupBody;
    hidden(b) = !hidden(b);
    bodiesChanged();
}

void deleteBodyCommand(int window) {
    if (window != profileWindow() || !popupBodyValid()) return;
    int status = 0;
    PROCEEDDLG("Delete body - are you sure?", status);
    if (status != 0) return;
    model::DELETEBODY(workingModel(), shellSession().PopupBody);
    bodiesChanged();
}

void newModelCommand(int window) {
    if (window != profileWindow() || currentProfile() <= 0) return;
    int status = 0;
    PROCEEDDLG("Delete all bodies - are you sure?", status);
    if (status != 0) return;
    // Nothing may name a vertex or body of the model that goes.
    leaveWorkingProfile();
    workingModel().NBOD = 0;
    model::sessionState().BadModel = false;
    workingProfile().LSYN = false;
    changed();
}

void newBodyCommand(int window) {
    if (window == profileWindow()) startDigitising(false);
}

void newLayerCommand(int window) {
    if (window == profileWindow()) startDigitising(true);
}

void splitBodyCommand(int window) {
    if (window == profileWindow() && popupVertexValid() && popupBodyValid()) startSplit();
}

template <bool Layer>
void bodyEditorCommand(int window) {
    if (window != profileWindow()) return;
    model::PolygonModel& m = workingModel();
    int status = 0;
    BODYEDIT(m, m.NBOD + 1, gravityData(), Layer, status);
    if (status != 0) return;
    model::FDAREA(m);
    bool nesting = false;
    model::BOLEVL(m, nesting);
    selectProfileWindow();
    markProfileChanged();
}

}  // namespace

void setPivotLocation(int window) {
    const PointerState& p = pointerState();
    if (window != profileWindow() || !popupBodyValid()) return;
    model::PolygonModel& m = workingModel();
    m.XPIVOT(shellSession().PopupBody) = p.PopupX;
    m.ZPIVOT(shellSession().PopupBody) = p.PopupZ;
    files::viewSettings().LVIEWPIVOT = true;
    // The pivots are shown: View > Pivots is ticked as when chosen.
    showViewSwitches(profileWindow());
    changed();
}

void addModelCommands(CommandTable& t) {
    t.set(CMD_FIXVERTEXX, vertexFlag<Flag::X, false>);
    t.set(CMD_FREEVERTEXX, vertexFlag<Flag::X, true>);
    t.set(CMD_FIXVERTEXZ, vertexFlag<Flag::Z, false>);
    t.set(CMD_FREEVERTEXZ, vertexFlag<Flag::Z, true>);
    t.set(CMD_FIXEDGEX, edgeFlag<Flag::X, false>);
    t.set(CMD_FREEEDGEX, edgeFlag<Flag::X, true>);
    t.set(CMD_FIXEDGEZ, edgeFlag<Flag::Z, false>);
    t.set(CMD_FREEEDGEZ, edgeFlag<Flag::Z, true>);
    t.set(CMD_FIXBODYX, bodyFlag<Flag::X, false>);
    t.set(CMD_FREEBODYX, bodyFlag<Flag::X, true>);
    t.set(CMD_FIXBODYZ, bodyFlag<Flag::Z, false>);
    t.set(CMD_FREEBODYZ, bodyFlag<Flag::Z, true>);
    t.set(CMD_FIXBOXX, boxFlag<Flag::X, false>);
    t.set(CMD_FREEBOXX, boxFlag<Flag::X, true>);
    t.set(CMD_FIXBOXZ, boxFlag<Flag::Z, false>);
    t.set(CMD_FREEBOXZ, boxFlag<Flag::Z, true>);
    t.set(CMD_FIXPROPERTY, propertyFlag<false>);
    t.set(CMD_FREEPROPERTY, propertyFlag<true>);
    t.set(CMD_DELETEVERTEX, deleteVertexCommand);
    t.set(CMD_DELETEVERTICES, deleteVerticesCommand);
    t.set(CMD_INSERTVERTEX, insertVertexCommand);
    t.set(CMD_HIDEBODY, hideBodyCommand);
    t.set(CMD_DELETEBODY, deleteBodyCommand);
    t.set(CMD_NEWMODEL, newModelCommand);
    t.set(CMD_NEWBODY, newBodyCommand);
    t.set(CMD_NEWLAYER, newLayerCommand);
    t.set(CMD_SPLITBODY, splitBodyCommand);
    t.set(CMD_NEWBODYDIALOG, bodyEditorCommand<false>);
    t.set(CMD_NEWLAYERDIALOG, bodyEditorCommand<true>);
    t.set(CMD_PIVOT, setPivotLocation);
}

}  // namespace shell
