#pragma once
// The profile window: opening it where it was last left, closing it with
// its placement kept, and its full redraw (data graph above model section,
// or either alone, with grids, menu states and title).

#include <string_view>

#include "model/polygon_model.h"
#include "model/profile_database.h"
#include "model/profile_line.h"
#include "toolkit/core/window_api.h"
#include "util/axis_record.h"

namespace views {

// Window flags of the profile window: system menu, minimise and maximise
// boxes, status bar, owned by the main window.
inline constexpr int kProfileWindowFlags = 295;
inline constexpr int kProfileMenu = 30008;
inline constexpr int kProfileToolbar = 30108;

// Opens the profile window at x, y with the client size width x height and
// show state `state` (a number above 0 only selects the open window), with
// its five-part status bar and toolbar; `spec` receives the window record.
void WINDOWPFL(int& window, tk::WindowSettingsRecord& spec, int x, int y, int width, int height,
               int state, std::string_view profileName);
// Stores the open profile window's placement in the settings (its geometry
// only when it is in its normal state) and closes it.
void CLOSEIPLWIN();

// Divides the current window's status bar into the profile window's five
// parts across its width as it is now.
void divideProfileStatusBar();
// Ends a long computation's progress dialog and redraws the profile window
// with the database's current profile.
void PROFILECLEANUP(model::ProfileDatabase& db, int dialog);

// Full redraw of the profile window for PROFILE and its title.
void REFRESHPL(model::ProfileLine& profile);
// The drawing behind REFRESHPL with the data graph, model graph and section records.
void REDISPLAY(model::ProfileLine& profile, model::PolygonModel& model, util::AxisRecord& data,
               util::AxisRecord& modelGraph, util::AxisRecord& section);

}  // namespace views
