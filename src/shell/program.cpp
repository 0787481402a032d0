#include "shell/program.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "files/database_file.h"
#include "files/session_state.h"
#include "files/settings_file.h"
#include "files/view_settings.h"
#include "model/profile_database.h"
#include "model/session_state.h"
#include "shell/event_loop.h"
#include "shell/menus.h"
#include "shell/resources/resource_ids.h"
#include "shell/service_binding.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/view_commands.h"
#include "shell/window_views.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/status_bar.h"
#include "toolkit/core/toolbars.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/graphics/drawing_targets.h"
#include "util/message_boxes.h"
#include "util/text_clean.h"

namespace shell {

namespace {

// System menu, minimise and maximise boxes, status bar.
constexpr int kMainWindowFlags = 39;
constexpr int kModeless = 2;

int rounded(double v) {
    return static_cast<int>(std::lround(v));
}

// Default placements from the screen size, before the settings may change them.
void defaultGeometry(float width, float height) {
    files::ViewSettings& v = files::viewSettings();
    v.MainWindowPlacement.x = rounded(0.5 * width);
    v.MainWindowPlacement.y = 3;
    v.MainWindowPlacement.width = rounded(0.45 * width);
    v.MainWindowPlacement.height = rounded(0.5 * height);
    v.SoundingPlacement.x = 3;
    v.SoundingPlacement.y = 3;
    v.SoundingPlacement.width = rounded(0.45 * width);
    v.SoundingPlacement.height = rounded(0.5 * height);
    // The profile window opens beside the main window on a first run, where a
    // window of this kind stands; a placement already given stays.
    if (v.ProfileWindowPlacement == files::ViewSettings{}.ProfileWindowPlacement)
        v.ProfileWindowPlacement = v.SoundingPlacement;
    v.WellLogPlacement.width = rounded(0.6 * width);
    v.WellLogPlacement.height = rounded(0.6 * height);
    files::sessionState().DialogX = rounded(0.72 * width);
    files::sessionState().DialogY = -1;
    model::sessionState().PivotMovesWhileRotating = false;
    files::sessionState().LZOOM = false;
}

void showSplash() {
    tk::DlgLoad(IDD_SPLASH);
    tk::DlgShow(-1, -1, 0, kModeless);
}

void openMainWindow() {
    MainLoopState& m = mainLoop();
    const files::WindowPlacement& p = files::viewSettings().MainWindowPlacement;
    m.MainWindowSpec.words = {kMainWindowFlags, p.x, p.y, p.width, p.height, IDM_MAIN};
    std::string title = kMainWindowTitle;
    title.resize(80, ' ');
    m.MainWindowSpec.title = title;
    tk::SetTextWindowState({4, 0, 0, 0, 0, 0, 0, 0});
    tk::DlgSelect(IDD_SPLASH);
    tk::DlgUnload();
    tk::RootWindowOpen(m.MainWindowSpec, 256);
    tk::WindowPlacementSet({p.width, p.height, p.x, p.y, p.state});
    SETMENU();
    SETMENUSTATES();
    showViewSwitches(0);
    tk::StatusBarParts(5, kStatusBarWidths);
    tk::MenuToolbar(IDB_TOOLBAR, 0, 0);
    shellSession().MainWindowHeightAdjust = p.height - tk::WindowInfoQuery(2);
}

bool allocate() {
    model::ProfileDatabase& db = database();
    bool ok = false;
    try {
        ok = model::allocateDatabase(db);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) util::WINMSG("Cannot allocate database");
    return ok;
}

std::string argument(int n) {
    char text[256];
    tk::CommandLineArgument(n, text);
    return std::string(base::FixedString<256>(std::string_view(text, sizeof text)).trimmed());
}

// Loads the database named on the command line, else the last one of the
// settings; answers whether the list, map and profile window are drawn now.
bool loadFirstFile() {
    MainLoopState& m = mainLoop();
    m.FileName = argument(1);
    std::string upper(m.FileName.trimmed());
    util::LCTOUC(std::span<char>(upper.data(), upper.size()), static_cast<int>(upper.size()));
    int status = 0;
    if (upper.find(".TQM") != std::string::npos) {
        files::BIOPELK(database(), m.MapAxis, "LOAD", m.FileName.trimmed(), status);
        if (status != 0) return false;
        m.SecondArgument = argument(2);
        m.MapAxisBackup = m.MapAxis;
        return m.SecondArgument.blank();
    }
    if (!m.StartupFile.blank()) {
        database().DBNAME = m.StartupFile;
        files::BIOPELK(database(), m.MapAxis, "RELOAD", "", status);
        return status == 0;
    }
    return false;
}

void drawFirstFile() {
    SHOWLISTS(database(), shellSession().ListDialog);
    tk::OutputWindowSelect(0);
    // Saved as read: a database cut short is unsaved (the reader says which).
    SETMENU();
    SETMENUSTATES();
    refreshMap();
    const int current = currentProfile();
    if (current > 0 && current <= database().NPROF) {
        loadWorkingProfile(current);
        markCurrentProfile();
        openProfileWindow();
        refreshProfileWindow();
    }
}

// After a start that draws nothing (a second argument), the profile the
// file names as current stands filled from its slot and saved, as after any
// other load, only without its window: a question would otherwise offer to
// store an unfilled working profile over that slot.
void takeCurrentProfileUndrawn() {
    const int current = currentProfile();
    if (current > 0 && current <= database().NPROF)
        loadWorkingProfile(current);
    else
        currentProfile() = 0;
}

// The lowest edge on the screen of the program's open windows.
int lowestWindowEdge() {
    int lowest = 0;
    for (int window : {0, profileWindow()}) {
        win::HWND frame = window >= 0 ? tk::windowSystem().slots[window].frame : nullptr;
        win::RECT r{};
        if (frame && win::IsWindowVisible(frame) && win::GetWindowRect(frame, &r))
            lowest = std::max(lowest, static_cast<int>(r.bottom));
    }
    return lowest;
}

// The hint stands centred across the screen as the toolkit's default place
// would put it, but below the program's windows when the screen has room
// there, so that it hides neither the map nor the profile; without that room
// it takes the middle of the screen, which is always wholly on it.
win::POINT hintPlace(win::HWND hint) {
    win::RECT r{};
    if (!hint || !win::GetWindowRect(hint, &r)) return {-1, -1};
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int screenWidth = tk::ScreenInfoQuery(1), screenHeight = tk::ScreenInfoQuery(2);
    const int top = lowestWindowEdge() + 4;
    if (top + height > screenHeight || width > screenWidth) return {-1, -1};
    return {(screenWidth - width) / 2, top};
}

void showHint() {
    tk::DlgLoad(IDD_HINT, ID_HINTDIALOG);
    tk::DlgSelect(ID_HINTDIALOG);
    const win::POINT at = hintPlace(tk::currentDialog());
    tk::DlgShow(at.x, at.y, 0, kModeless);
    mainLoop().HintShown = true;
}

}  // namespace

bool startUp() {
    tk::ToolkitInit("");
    bindServices();
    MainLoopState& m = mainLoop();
    m.ScreenHeight = static_cast<float>(tk::ScreenInfoQuery(2));
    m.ScreenWidth = static_cast<float>(tk::ScreenInfoQuery(1));
    defaultGeometry(m.ScreenWidth, m.ScreenHeight);
    database().DBNAME.assign("New *");
    database().LDBSAV = true;
    files::viewSettings().Debug = 0;
    showSplash();
    files::INIIN(m.StartupFile);
    tk::SetErrorReportMode(files::viewSettings().Debug);
    openMainWindow();
    openDebugLog();
    if (!allocate()) return false;
    database().NPROF = 0;
    rescaleMap();
    util::CHR_CHK(std::span<char>(m.StartupFile.data(), 24), 24);
    SETMENUSTATESWITHPL(1);
    m.DrawAfterLoad = loadFirstFile();
    if (m.DrawAfterLoad)
        drawFirstFile();
    else
        takeCurrentProfileUndrawn();
    tk::EventTypeEnable(tk::MouseButtonUp, 1);
    tk::EventTypeEnable(tk::FieldChanged, 1);
    ShellSession& s = shellSession();
    s.RubberBoxShown = s.RubberLineShown = s.RubberPolyShown = false;
    s.SplitBodyMode = false;
    tk::EventTypeEnable(tk::MouseMove, 1);
    showHint();
    return true;
}

void exitSequence() {
    if (profileWindowOpen()) closeProfileWindow();
    model::CLEARDB(database());
    tk::OutputWindowSelect(0);
    files::WindowPlacement& p = files::viewSettings().MainWindowPlacement;
    p.state = tk::WindowInfoQuery(9);
    if (p.state == 1) {
        p.x = tk::WindowInfoQuery(5);
        p.y = tk::WindowInfoQuery(6);
        p.width = tk::WindowInfoQuery(1);
        p.height = tk::WindowInfoQuery(2) + shellSession().MainWindowHeightAdjust;
    }
    files::LASTDIR(files::sessionState().LastFile);
    tk::ToolkitShutdown();
    closeDebugLog();
    mainLoop().Finished = true;
    mainLoop().ExitCode = 0;
}

int PELK() {
    if (!startUp()) {
        tk::ToolkitShutdown();
        closeDebugLog();
        return 1;
    }
    runEventLoop();
    return mainLoop().ExitCode;
}

}  // namespace shell
