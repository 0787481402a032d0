#include "shell/map_interaction.h"

#include "files/view_settings.h"
#include "files/session_state.h"
#include "model/profile_database.h"
#include "shell/database_commands.h"
#include "shell/map_view_dialog.h"
#include "shell/menus.h"
#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/resources/resource_ids.h"
#include "shell/rubber_bands.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_lists.h"
#include "util/axis_scaling.h"
#include "util/graph_zoom.h"
#include "views/hit_map.h"
#include "views/map_view.h"
#include "views/profile_scaling.h"

namespace shell {

namespace {

constexpr int kHoverPen = 3;

// The line of a profile drawn in exclusive-or: once to highlight it, again
// to take the highlight off.
void highlight(int profile, int pen) {
    if (profile >= 1 && profile <= database().NPROF)
        views::MARKPFLONMAP(database().profile(profile), mainLoop().MapAxis, pen);
}

const views::MapHoverServices& mapServices() {
    static const views::MapHoverServices services{
        [](float e, float n, const util::AxisRecord& axis) { return util::LINGRAPH(e, n, axis); },
        [](int profile, const util::AxisRecord&, int pen) { highlight(profile, pen); }};
    return services;
}


// Offers the open profile's changes and closes it; false when cancelled.
bool closeOpenProfile() {
    if (currentProfile() <= 0) return true;
    if (!offerProfileSave()) return false;
    unmarkCurrentProfile();
    CLOSEPFLINE(workingProfile());
    return true;
}

}  // namespace

void unhighlightMapLine() {
    ShellSession& s = shellSession();
    if (s.MapHoverProfile > 0) highlight(s.MapHoverProfile, kHoverPen);
    s.MapHoverProfile = 0;
}

void mapMouseMove(int x, int y, int held) {
    if (held > kHoldTime) {
        if (files::sessionState().LZOOM)
            moveRubberBox(0, x, y);
        else if (files::viewSettings().LPOLYLINE)
            movePolyline(x, y, !shellSession().RubberPolyShown);
    }
    tk::OutputWindowSelect(0);
    views::MAPODOM(database(), inchesX(x), inchesY(y), mainLoop().MapAxis, currentProfile(),
                   shellSession().MapHoverProfile, mapServices(), hoverOutput());
}

void mapLeftClick() {
    ShellSession& s = shellSession();
    const int target = s.MapHoverProfile;
    if (target <= 0 || target > database().NPROF) return;
    tk::OutputWindowSelect(0);
    if (!closeOpenProfile()) return;
    unhighlightMapLine();
    showWorkingProfile(target, true);
    SHOWLISTS(database(), s.ListDialog);
}

void mapRightClick(int x, int y) {
    ShellSession& s = shellSession();
    tk::OutputWindowSelect(0);
    if (s.MapHoverProfile > 0) {
        s.MapHitProfile = s.MapHoverProfile;
        tk::MenuFloating(IDM_MAPPROFILE, x, y);
        return;
    }
    s.MapHitProfile = 0;
    int status = 0;  // OK or Cancel: the dialog has redrawn the map itself
    VIEWDLGMAP(database(), mainLoop().MapAxis, status);
}

void zoomMap() {
    MainLoopState& m = mainLoop();
    ShellSession& s = shellSession();
    m.MapAxisBackup = m.MapAxis;
    util::AxisRecord& a = m.MapAxis;
    util::ZOOMBOX(s.AnchorX, s.AnchorY, s.BoxCornerX, s.BoxCornerY, a);
    // One scale on both axes.
    if (a.divLengthX != 0.0f && a.divLengthY != 0.0f && a.stepX != 0.0f && a.stepY != 0.0f) {
        const float rx = a.stepX / a.divLengthX, ry = a.stepY / a.divLengthY;
        if (rx > ry)
            a.divLengthX = a.stepX * a.divLengthY / a.stepY;
        else if (rx < ry)
            a.divLengthY = a.stepY * a.divLengthX / a.stepX;
        util::FINDAS(a);
    }
    refreshMap();
    database().LDBSAV = false;
}

void profileListSelected() {
    ShellSession& s = shellSession();
    tk::OutputWindowSelect(0);
    const bool wasOpen = currentProfile() > 0;
    if (!closeOpenProfile()) {
        SHOWLISTS(database(), s.ListDialog);  // the list shows the open profile again
        return;
    }
    int item = 0;
    tk::DlgSelect(IDD_PROFILELIST);
    tk::DlgGetMenu(IDC_PROFILELIST, item);
    const int chosen = item - 1;
    if (chosen > 0 && chosen <= database().NPROF) {
        currentProfile() = chosen;
        if (!wasOpen) SHOWLISTS(database(), s.ListDialog);
        showWorkingProfile(chosen, false);
        return;
    }
    currentProfile() = 0;
    if (wasOpen) {
        closeProfileWindow();
        SHOWLISTS(database(), s.ListDialog);
    }
}

}  // namespace shell
