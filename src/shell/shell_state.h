#pragma once
// The shell's run-time state: the main loop's own words, the session words
// that only the shell uses (the ones shared with lower layers live in
// model::sessionState() and files::sessionState()), the profile database and
// the working copy of the selected profile. One of each for the whole run.

#include <array>

#include "base/fixed_string.h"
#include "calc/inversion_iterations.h"
#include "model/profile_database.h"
#include "model/profile_line.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/window_api.h"
#include "util/axis_record.h"

namespace shell {

struct MainLoopState {
    int CurrentEventType = 0;
    tk::EventRecord CurrentEvent{};
    int CommandStatus = 0;  // bit 0 set = the last fallible step failed or was cancelled
    bool DrawAfterLoad = false;
    bool HintShown = false;
    util::AxisRecord MapAxis{};
    util::AxisRecord MapAxisBackup{};
    std::array<util::AxisRecord, 6> ProfileAxisBackup{};
    tk::WindowSettingsRecord MainWindowSpec;
    tk::WindowSettingsRecord ProfileWindowSpec;
    base::FixedString<256> FileName;
    base::FixedString<256> SecondArgument;
    base::FixedString<24> StartupFile;
    float ScreenWidth = 0.0f, ScreenHeight = 0.0f;
    base::FixedString<6> PropertyLabel;
    bool DigitisingBody = false, FollowerLockMode = false, LeaderLockMode = false,
         PairLockMode = false;
    // When Multiple Iterations stops: improvement factor, target misfit,
    // largest number of steps.
    calc::InversionControl InversionControl;
    // The exit sequence ran: the loop ends and the program returns this code.
    bool Finished = false;
    int ExitCode = 0;
};

// Session words of the shell alone.
struct ShellSession {
    int MainWindowHeightAdjust = 0;
    // How often the map and the profile window were drawn whole, and the
    // size of their drawing areas then (-1 before the first drawing).
    int MapDrawings = 0, ProfileDrawings = 0;
    struct DrawnSize {
        int width = -1, height = -1;
        bool operator==(const DrawnSize&) const = default;
    };
    DrawnSize MapDrawnSize, ProfileDrawnSize;
    bool RubberBoxShown = false, RubberLineShown = false, RubberPolyShown = false;
    // The gesture's points in window units of its window: the press
    // (advanced by drag steps and the traced polyline), the moving corner of
    // a box, the end of a rubber line.
    int AnchorX = 0, AnchorY = 0;        // press point of the gesture
    int BoxCornerX = 0, BoxCornerY = 0;  // moving corner of the box, end of the map polyline
    int RubberEndX = 0, RubberEndY = 0;  // end of the rubber line
    // The map traces a polyline instead of zooming (the polyline option
    // with zoom off); its line stays through the next press.
    bool MapLineMode = false;
    bool SplitBodyMode = false;
    int ActiveLockDialog = 0;
    int ListDialog = 0;  // 186 while the profile list is shown, else 0
    float NoisePercent = 0.0f;
    int MapHitProfile = 0;    // profile under the cursor when the map menu opened
    int MapHoverProfile = 0;  // profile last highlighted on the map
    int LastWindow = 0;       // window of the event being handled
    int PopupBody = 0;        // body under the cursor when a context menu opened
    // The model clipboard: the bodies of the model last copied (no
    // topography; that belongs to the profile the model is pasted into).
    model::PolygonModel ModelClipboard;
    bool ModelClipboardHeld = false;
};

MainLoopState& mainLoop();
ShellSession& shellSession();
model::ProfileDatabase& database();
model::ProfileLine& workingProfile();

// The selected profile (shared with the model and file layers).
int& currentProfile();
// The open profile window's number, -1 when none is open.
int& profileWindow();
bool profileWindowOpen();

// "susc: " for magnetic data (its type name holds "Mag"), else "dens: ".
base::FixedString<6> propertyLabelFor(const model::ProfileLine& profile);

// Copies slot `index` into the working profile, marks it saved and takes its
// units and property label.
void loadWorkingProfile(int index);

// Every record back to its state at program load.
void resetShellState();

}  // namespace shell
