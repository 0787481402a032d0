#pragma once
// The click modes that wait for the mouse in the profile window (digitising,
// splitting, the three lock modes) and what ends them all at once: a click
// mode holds vertex and body numbers of the model it was started on, so it
// may not outlive that model, its profile or its window.

namespace shell {

// A click mode waits for the mouse (digitising, splitting, locking):
// commands and keys of windows other than the profile window are ignored.
bool clickModeRunning();

// Ends every click mode and the drag or box under way: their dialogs go,
// the rubber line is erased, the menus come back; then the hover results
// and the pop-up targets, which name vertices, bodies, labels and stations
// of the working profile, are forgotten. Called before the working profile
// is replaced and before the profile window closes.
void leaveWorkingProfile();

}  // namespace shell
