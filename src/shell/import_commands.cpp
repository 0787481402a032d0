#include "shell/import_commands.h"

#include <string>
#include <vector>

#include "files/column_import.h"
#include "files/model_file.h"
#include "files/mog_import.h"
#include "files/regional_file.h"
#include "files/survey_line_store.h"
#include "files/view_services.h"
#include "files/xyz_import.h"
#include "files/zaf_import.h"
#include "model/body_area.h"
#include "model/body_nesting.h"
#include "model/model_check.h"
#include "model/polygon_model.h"
#include "model/profile_database.h"
#include "model/profile_geometry.h"
#include "model/session_state.h"
#include "shell/click_modes.h"
#include "shell/data_editor.h"
#include "shell/database_commands.h"
#include "shell/menus.h"
#include "shell/new_profile_dialogs.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"

namespace shell {

namespace {

constexpr std::string_view kGravityKey = "Grav";
constexpr std::string_view kMagneticsKey = "Mag ";
constexpr int kPixels = 1;

// The next free slot, cleared, or 0 when the database is full (after the
// warning) or the user cancelled storing the working profile's changes,
// which are offered for storing first as Open offers them.
int nextSlot() {
    if (files::refuseWhenFull(database())) return 0;
    if (currentProfile() > 0 && !offerProfileSave()) return 0;
    const int n = database().NPROF + 1;
    model::clearSlot(database(), n);
    return n;
}

void popupAtCursor(int menu) {
    int x = 0, y = 0;
    tk::CursorPositionGet(x, y);
    tk::MenuFloating(menu, x, y, kPixels);
}

void refreshMapRescaled() {
    tk::OutputWindowSelect(0);
    rescaleMap();
    mainLoop().MapAxisBackup = mainLoop().MapAxis;
    refreshMap();
}

void openWorkingProfileWindow(bool rescale) {
    model::ProfileLine& w = workingProfile();
    openProfileWindow();
    SETMENUSTATESPL(w);
    tk::OutputWindowSelect(profileWindow());
    if (rescale) {
        files::rescaleData(w);
        files::scaleSection(files::sectionAxis(w, 1), w.MODEL, w);
    }
    refreshProfileWindow();
}

void listAndLabel(int n) {
    database().name(n) = model::listName(workingProfile().PNAME);
    SHOWLISTS(database(), shellSession().ListDialog);
}

void keepWorkingProfile(int n) {
    model::COPYPFLINE(database().profile(n), workingProfile());
    mainLoop().PropertyLabel = propertyLabelFor(workingProfile());
}

// The surface under each station the profile already holds, one value per
// station (the surface typed in the data editor), or nothing.
std::vector<float> surfaceHeld(const model::ProfileLine& p) {
    const model::PolygonModel& m = p.MODEL;
    const int n = p.NSTA;
    if (n < 1 || m.NTOPO != n || !m.ZTOPO.has(n)) return {};
    std::vector<float> z;
    for (int i = 1; i <= n; ++i)
        z.push_back(m.ZTOPO(i));
    return z;
}

// A model without bodies over the stations: its surface is the one the
// profile holds for its stations, else the stations' elevations. A sensor
// above the ground is not the ground.
void stationTopography(model::ProfileLine& p) {
    const std::vector<float> held = surfaceHeld(p);
    model::PolygonModel& m = p.MODEL;
    model::DEALLOCPG(m);
    m.NBOD = 0;
    m.NTOPO = p.NSTA;
    m.NVCAP = 10;
    m.NBCAP = 1;
    model::ALLOCPG(m, 10, 1);
    const int n = p.NSTA;
    if (n < 1 || m.ZTOPO.size() < n + 4) return;
    for (int i = 1; i <= n; ++i) {
        m.XTOPO(i) = p.STAT(i);
        m.ZTOPO(i) = held.empty() ? p.ELEV(i) : held[static_cast<std::size_t>(i - 1)];
    }
    m.ZTOPO(n + 1) = m.ZTOPO(n);
    m.ZTOPO(n + 4) = m.ZTOPO(1);
    p.NCOMP = 1;
}

// Shows slot n as the new working profile (the completion's common end).
void showSlot(int n) {
    // Taken up as any profile is: the bad-model flag speaks of its model.
    loadWorkingProfile(n);
    model::SETGEOMETRY(workingProfile());
    workingProfile().LSAVED = true;
    database().LDBSAV = false;
    openWorkingProfileWindow(true);
    refreshMapRescaled();
    keepWorkingProfile(n);
}

void closeProfileWindowIfOpen() {
    if (profileWindowOpen()) closeProfileWindow();
}

// The parameters dialog of the kind; false after Cancel.
bool askParameters(model::ProfileLine& slot, bool gravity) {
    int status = -1;
    if (gravity)
        GETGRAVDATATYPE(slot, status);
    else
        GETMAGDATATYPE(slot, status);
    return status == 0;
}

// The next free slot emptied and its parameters asked for: the slot's
// number, or 0 when the database is full or the dialog was cancelled.
// TYPED gives the slot the kind's data type before the dialog shows it.
int slotWithParameters(bool gravity, bool typed) {
    const int n = nextSlot();
    if (n == 0) return 0;
    model::ProfileLine& slot = database().profile(n);
    if (typed) slot.DTYPE.assign(gravity ? "Gravity Data" : "Magnetics Data");
    return askParameters(slot, gravity) ? n : 0;
}

void newProfile(bool gravity) {
    const int n = slotWithParameters(gravity, true);
    if (n == 0) return;
    int status = -1;
    GRAVEDIT(database().profile(n), status);
    if (status == 0) NewProfileCompletion(n);
}

void importColumns(bool gravity) {
    const int n = slotWithParameters(gravity, true);
    if (n == 0) return;
    int status = -1;
    files::ACIINGRAVMAGVLF(database().profile(n), status, gravity ? kGravityKey : kMagneticsKey);
    if (status == 0) NewProfileCompletion(n);
}

void importXyz(bool gravity) {
    if (slotWithParameters(gravity, false) == 0) return;
    int status = -1;
    files::XYZINGRAVMAGVLF(database(), status, gravity ? kGravityKey : kMagneticsKey);
    if (status == 0) showImportedProfile(currentProfile());
}

void importMog(int window) {
    if (window != 0) return;
    const int n = nextSlot();
    if (n == 0) return;
    std::string name;
    int status = -1;
    files::ASCIO(database().profile(n), 'R', name, status);
    if (status != 0) return;
    closeProfileWindowIfOpen();
    database().NPROF = n;
    currentProfile() = n;
    loadWorkingProfile(n);
    refreshMapRescaled();
    openWorkingProfileWindow(true);
    listAndLabel(n);
    workingProfile().LSAVED = true;
    database().LDBSAV = false;
    keepWorkingProfile(n);
}

void importZaf(int window) {
    if (window != 0) return;
    const int n = nextSlot();
    if (n == 0) return;
    int status = -1;
    files::ZAFIMPORT(database().profile(n), mainLoop().MapAxis, status);
    if (status != 0) return;
    model::FDAREA(database().profile(n).MODEL);
    database().NPROF = n;
    currentProfile() = n;
    tk::OutputWindowSelect(0);
    rescaleMap();
    mainLoop().MapAxisBackup = mainLoop().MapAxis;
    refreshMap();
    markCurrentProfile();
    loadWorkingProfile(n);
    workingProfile().LSAVED = true;
    // The file's own axes stay: no rescale.
    openWorkingProfileWindow(false);
    database().LDBSAV = false;
    listAndLabel(n);
    keepWorkingProfile(n);
}

void importModel(int window) {
    if (window != profileWindow()) return;
    model::ProfileLine& w = workingProfile();
    std::string name;
    int status = -1;
    files::MODAIO(w, w.MODEL, 'R', name, status);
    if (status != 0) return;
    // Nothing started on the old bodies may act on the ones read, and the
    // bad-model flag and the synthetics speak of the model now there.
    leaveWorkingProfile();
    model::FDAREA(w.MODEL);
    bool changed = false;
    model::BOLEVL(w.MODEL, changed);
    model::sessionState().BadModel = model::LBADMODEL(w.MODEL);
    w.LSYN = false;
    files::scaleSection(files::sectionAxis(w, 1), w.MODEL, w);
    tk::OutputWindowSelect(profileWindow());
    refreshProfileWindow();
    w.LSAVED = false;
}

void importRegional(int window) {
    if (window != profileWindow()) return;
    model::ProfileLine& w = workingProfile();
    int status = -1;
    files::ACIINREGIONAL(w, status);
    if (status != 0) return;
    files::rescaleData(w);
    tk::OutputWindowSelect(profileWindow());
    refreshProfileWindow();
    w.LSAVED = false;
}

// The main window's commands; the profile window has none of them.
template <void (*F)(bool), bool Gravity>
void mainWindowOnly(int window) {
    if (window == 0) F(Gravity);
}

}  // namespace

void NewProfileCompletion(int n) {
    closeProfileWindowIfOpen();
    model::ProfileLine& slot = database().profile(n);
    slot.LSYN = false;
    database().NPROF = n;
    currentProfile() = n;
    stationTopography(slot);
    database().name(n) = model::listName(slot.PNAME);
    SHOWLISTS(database(), shellSession().ListDialog);
    showSlot(n);
}

void showImportedProfile(int n) {
    closeProfileWindowIfOpen();
    database().name(n) = model::listName(database().profile(n).PNAME);
    SHOWLISTS(database(), shellSession().ListDialog);
    showSlot(n);
}

void addImportCommands(CommandTable& t) {
    t.set(CMD_NEWPROFILE, [](int window) {
        if (window == 0) popupAtCursor(IDM_NEWPROFILEPOPUP);
    });
    t.set(CMD_NEWGRAVITY, mainWindowOnly<newProfile, true>);
    t.set(CMD_NEWMAGNETICS, mainWindowOnly<newProfile, false>);
    t.set(CMD_IMPORTCOLGRAV, mainWindowOnly<importColumns, true>);
    t.set(CMD_IMPORTCOLMAG, mainWindowOnly<importColumns, false>);
    t.set(CMD_IMPORTXYZGRAV, mainWindowOnly<importXyz, true>);
    t.set(CMD_IMPORTXYZMAG, mainWindowOnly<importXyz, false>);
    t.set(CMD_IMPORTMOG, importMog);
    t.set(CMD_IMPORTZAF, importZaf);
    t.set(CMD_IMPORTMODEL, importModel);
    t.set(CMD_IMPORTREGIONAL, importRegional);
}

}  // namespace shell
