#pragma once
// The main program: start-up in its fixed order, the event loop, and the
// exit sequence that stores the window placement and the settings.

#include <array>

namespace shell {

// The main window's status bar: five parts, in window units.
inline constexpr std::array<int, 5> kStatusBarWidths{2800, 2800, 4500, 500, 500};

// The main window's title.
inline constexpr const char* kMainWindowTitle = "Varendal Limited 2-D Interpretation";

// The whole life of the program; answers the process's exit code (0 after
// the exit sequence, 1 when the database could not be allocated).
int PELK();

// Start-up up to the event loop; false when the program must stop at once.
bool startUp();

// Clears the database, stores the main window's placement and the settings,
// ends the toolkit and ends the loop.
void exitSequence();

}  // namespace shell
