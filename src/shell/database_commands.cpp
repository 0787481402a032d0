#include "shell/database_commands.h"

#include <string>

#include "files/database_file.h"
#include "files/session_state.h"
#include "files/survey_line_store.h"
#include "model/profile_database.h"
#include "model/profile_geometry.h"
#include "model/session_state.h"
#include "shell/event_loop.h"
#include "shell/menus.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "util/message_boxes.h"
#include "views/map_view.h"
#include "views/profile_scaling.h"

namespace shell {

namespace {

constexpr int kHoverColour = 3;

void showLists() {
    SHOWLISTS(database(), shellSession().ListDialog);
}

// No profile is current from here on, whatever the rest of a command brings
// (a question cancelled, a file not read): the profile list says so at once.
void deselectProfile() {
    currentProfile() = 0;
    showLists();
}

// The profile a map-menu command acts on: the open profile in the profile
// window, the line under the cursor in the main window, else the one last
// highlighted.
int targetProfile(int window) {
    ShellSession& s = shellSession();
    int target = s.MapHoverProfile;
    if (window == profileWindow())
        target = currentProfile();
    else if (window == 0)
        target = s.MapHitProfile;
    s.MapHitProfile = 0;
    return target;
}

std::string trimmedName(int index) {
    return std::string(
        base::FixedString<20>(database().name(index).view().substr(0, 20)).trimmed());
}

bool saveDatabase(std::string_view action) {
    int status = 0;
    files::BIOPELK(database(), mainLoop().MapAxis, action, mainLoop().FileName.trimmed(), status);
    return status == 0;
}

void exitCommand(int window) {
    if (window == 0)
        exitCommandMain();
    else if (window == profileWindow())
        closeProfileWindowRequest();
}

}  // namespace

void addDatabaseCommands(CommandTable& t) {
    t.set(CMD_EXIT, exitCommand);
    t.set(CMD_CLEARDATA, clearDataCommand);
    t.set(CMD_OPEN, openCommand);
    t.set(CMD_SAVE, saveCommand);
    t.set(CMD_SAVEAS, saveAsCommand);
    t.set(CMD_DELETEPROFILE, deleteProfileCommand);
    t.set(CMD_RENAME, renameProfileCommand);
    t.set(CMD_SELECTPROFILE, selectProfileCommand);
    t.set(CMD_TRANSFER, transferSyntheticCommand);
}

void showWorkingProfile(int index, bool rescale) {
    currentProfile() = index;
    loadWorkingProfile(index);
    if (rescale) views::DATARESCALEPL(workingProfile());
    tk::OutputWindowSelect(0);
    markCurrentProfile();
    openProfileWindow();
    refreshProfileWindow();
}

bool offerProfileSave() {
    bool cancelled = false;
    model::CHECKPFLSAVE(workingProfile(), database(), currentProfile(), mainLoop().MapAxis, 0,
                        cancelled);
    return !cancelled;
}

bool offerDatabaseSave() {
    model::ProfileDatabase& db = database();
    if (db.LDBSAV) return true;
    mainLoop().FileName = db.DBNAME.view();
    bool yes = false;
    int status = 0;
    SAVEFILEDLG2D(db.DBNAME.view(), yes, status);
    if (status != 0) return false;
    if (!yes) return true;
    return saveDatabase("SAVE");
}

void clearDataCommand(int window) {
    if (window != 0) return;
    int status = 0;
    PROCEEDDLG("Delete all Profiles in database?", status);
    if (status != 0) return;
    if (profileWindowOpen()) {
        if (!offerProfileSave()) return;
        unmarkCurrentProfile();
        closeProfileWindow();
    }
    deselectProfile();
    if (!offerDatabaseSave()) return;
    model::CLEARDB(database());
    SETMENU();
    SETMENUSTATES();
    SETMENUSTATESWITHPL(1);
    showLists();
    tk::OutputWindowSelect(0);
    tk::WindowFillRectangle();
    refreshMap();
    database().DBNAME.assign("New Data *");
    files::sessionState().LastFile = base::FixedString<24>();
}

void openCommand(int window) {
    if (window != 0) return;
    if (currentProfile() > 0) {
        if (!offerProfileSave()) return;
        unmarkCurrentProfile();
        closeProfileWindow();
    }
    deselectProfile();
    if (!database().LDBSAV) {
        if (!offerDatabaseSave()) return;
        mainLoop().MapAxisBackup = mainLoop().MapAxis;
    }
    int status = 0;
    files::BIOPELK(database(), mainLoop().MapAxis, "OPEN", mainLoop().FileName.trimmed(), status);
    if (status != 0) return;
    showLists();
    mainLoop().MapAxisBackup = mainLoop().MapAxis;
    refreshMap();
    if (currentProfile() > 0 && currentProfile() <= database().NPROF) {
        showWorkingProfile(currentProfile());
        showLists();
    }
}

void saveCommand(int window) {
    if (window == 0) {
        saveDatabase("SAVE");
    } else if (window == profileWindow() && currentProfile() > 0) {
        model::COPYPFLINE(database().profile(currentProfile()), workingProfile());
        workingProfile().LSAVED = true;
        database().LDBSAV = false;
    }
}

void saveAsCommand(int window) {
    if (window == 0) {
        saveDatabase("SAVEAS");
        refreshMap();
        return;
    }
    if (window != profileWindow()) return;
    model::ProfileDatabase& db = database();
    if (files::refuseWhenFull(db)) return;
    const int n = db.NPROF + 1;
    db.name(n).assign("new*");
    int status = 0;
    STRINGINDLG("Enter name for new Profile:", std::span<char>(db.name(n).data(), 24), status);
    if (status != 0) return;
    workingProfile().PNAME = db.name(n).view().substr(0, 20);
    model::COPYPFLINE(db.profile(n), workingProfile());
    db.NPROF = n;
    // The window goes on with the copy: a later Save must write into it,
    // never over the profile it was made from.
    unmarkCurrentProfile();
    currentProfile() = n;
    showLists();
    workingProfile().LSAVED = true;
    db.LDBSAV = false;
    refreshMap();
    // The window shows the profile's new name.
    refreshProfileWindow();
}

void deleteProfileCommand(int window) {
    const int target = targetProfile(window);
    model::ProfileDatabase& db = database();
    if (target <= 0 || target > db.NPROF) return;
    int status = 0;
    PROCEEDDLG("Delete Profile " + trimmedName(target) + " from database?", status);
    if (status != 0) return;
    if (target == currentProfile()) {
        unmarkCurrentProfile();
        CLOSEPFLINE(workingProfile());
        closeProfileWindow();
        currentProfile() = 0;
    } else if (currentProfile() > 0 && !offerProfileSave()) {
        return;
    }
    model::DELETEPFLINE(db, target, status);
    // The slots above the deleted one moved down: the current profile follows.
    if (currentProfile() > target) --currentProfile();
    if (currentProfile() > db.NPROF) currentProfile() = db.NPROF;
    if (currentProfile() > 0) loadWorkingProfile(currentProfile());
    workingProfile().LSAVED = true;
    // Read again from its slot, edits not saved dropped: drawn as it is now.
    if (currentProfile() > 0) refreshProfileWindow();
    refreshMap();
    showLists();
    shellSession().MapHoverProfile = 0;
    db.LDBSAV = false;
}

void renameProfileCommand(int window) {
    const int target = targetProfile(window);
    model::ProfileDatabase& db = database();
    if (target <= 0 || target > db.NPROF) return;
    int status = 0;
    STRINGINDLG("Enter new name for Profile (old name is " + trimmedName(target) + "):",
                std::span<char>(db.name(target).data(), 24), status);
    if (status != 0) return;
    db.profile(target).PNAME = db.name(target).view().substr(0, 20);
    showLists();
    if (target == currentProfile()) {
        workingProfile().PNAME = db.profile(target).PNAME;
        refreshProfileWindow();
    }
    db.LDBSAV = false;
}

void selectProfileCommand(int window) {
    if (window != 0) return;
    ShellSession& s = shellSession();
    const int target = s.MapHitProfile;
    if (target <= 0 || target > database().NPROF) return;
    tk::OutputWindowSelect(0);
    if (currentProfile() > 0) {
        if (!offerProfileSave()) return;
        unmarkCurrentProfile();
        CLOSEPFLINE(workingProfile());
    }
    s.MapHitProfile = 0;
    // The hover highlight, where one stands, goes before the mark takes its
    // place; drawing it where none stands would leave one behind.
    if (s.MapHoverProfile >= 1 && s.MapHoverProfile <= database().NPROF)
        views::MARKPFLONMAP(database().profile(s.MapHoverProfile), mainLoop().MapAxis,
                            kHoverColour);
    s.MapHoverProfile = 0;
    showWorkingProfile(target);
    showLists();
}

void transferSyntheticCommand(int window) {
    if (window != profileWindow()) return;
    model::ProfileLine& w = workingProfile();
    if (!w.LSYN) {
        util::WINMSG("Sythetic data not valid. Please do forward model");
        return;
    }
    int status = 0;
    NUMINDLG("Add random noise to Synthetic (%)", shellSession().NoisePercent, status);
    if (status != 0) return;
    model::XFER(w, shellSession().NoisePercent);
    refreshProfileWindow();
}

}  // namespace shell
