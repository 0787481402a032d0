#pragma once
// What the program's two windows show, as the commands ask for it: the map
// redrawn, the current profile's mark on it, and the profile window opened
// where it was last left, redrawn and closed. The view layer draws; these
// pick the window, the records and the working profile the shell holds.

namespace shell {

// Redraws the map in the main window (an empty database leaves it blank).
void refreshMap();
// Fits the map to the stations of every profile (the caller redraws).
void rescaleMap();
// The mark of the current profile on the map: shown after a selection,
// hidden before the profile is closed. Both act only on what the screen
// holds, so neither leaves a stale mark nor cancels one.
void markCurrentProfile();
void unmarkCurrentProfile();

// Opens the profile window for the working profile (or selects the open
// one) at its stored placement, with its menu states.
void openProfileWindow();
// Redraws the open profile window with the working profile and shows its
// point count and misfit in the status bar.
void refreshProfileWindow();
// The settings both windows draw with: the line width and the size of the
// name on top. A dialog of one window that changes them redraws both.
struct SharedLook {
    int lineWidth = 0;
    float nameSize = 0.0f;
    bool operator==(const SharedLook&) const = default;
};
SharedLook sharedLook();
// Redraws the map and the open profile window.
void refreshBothWindows();
// Redraws the window a changed setting was made for (0 the map, else the
// profile window), and the other one as well when the look both draw with
// differs from `before`.
void refreshAfterSettings(int window, const SharedLook& before);
// Whether the map (0) or the profile window was last drawn whole at the size
// its drawing area has now.
bool drawnAtThisSize(int window);
// Stores the profile window's placement and closes it.
void closeProfileWindow();

}  // namespace shell
