#include "shell/data_point_commands.h"

#include "model/profile_geometry.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/resources/editing_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"

namespace shell {

namespace {

bool inBox(const model::ProfileLine& w, int i) {
    const auto& b = pointerState().SelectionBox;
    const float x = w.STAT(i), y = w.DAT(i, 1);
    return x >= b[0] && x <= b[1] && y >= b[2] && y <= b[3];
}

void pointsChanged() {
    markProfileChanged();
    refreshProfileWindow();
}

template <bool Masked>
void maskPointCommand(int window) {
    PointerState& p = pointerState();
    model::ProfileLine& w = workingProfile();
    if (window != profileWindow() || !w.MASK.has(p.PopupPoint, 1)) return;
    w.MASK(p.PopupPoint, 1) = Masked;
    p.PopupPoint = 0;
    pointsChanged();
}

void deletePointCommand(int window) {
    PointerState& p = pointerState();
    model::ProfileLine& w = workingProfile();
    if (window != profileWindow() || p.PopupPoint < 1 || p.PopupPoint > w.NSTA) return;
    model::DELETEPOINT(w, p.PopupPoint);
    pointsChanged();
}

template <bool Masked>
void maskPointsCommand(int window) {
    model::ProfileLine& w = workingProfile();
    if (window != profileWindow()) return;
    for (int i = 1; i <= w.NSTA; ++i)
        if (inBox(w, i)) w.MASK(i, 1) = Masked;
    pointsChanged();
}

void deletePointsCommand(int window) {
    model::ProfileLine& w = workingProfile();
    if (window != profileWindow()) return;
    int status = 0;
    PROCEEDDLG("Delete select - are you sure?", status);
    if (status != 0) return;
    for (int i = w.NSTA; i >= 1; --i) {
        if (!inBox(w, i)) continue;
        int station = i;
        model::DELETEPOINT(w, station);
    }
    pointsChanged();
}

}  // namespace

void addDataPointCommands(CommandTable& t) {
    t.set(CMD_MASKPOINT, maskPointCommand<true>);
    t.set(CMD_UNMASKPOINT, maskPointCommand<false>);
    t.set(CMD_DELETEPOINT, deletePointCommand);
    t.set(CMD_MASKPOINTS, maskPointsCommand<true>);
    t.set(CMD_UNMASKPOINTS, maskPointsCommand<false>);
    t.set(CMD_DELETEPOINTS, deletePointsCommand);
}

}  // namespace shell
