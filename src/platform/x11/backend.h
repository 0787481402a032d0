#pragma once
// Choosing how the program meets its user: the X11 presenter when a display
// is there, otherwise the headless backend (the screen stays in memory and
// only the test robot gives input). PELK_BACKEND=headless|x11 forces either;
// PELK_SCREEN=WIDTHxHEIGHT sets the size of the virtual screen.

namespace win {

enum class Backend { Headless, X11 };

// Chooses and starts the backend; with PELK_BACKEND=x11 and no display it
// falls back to headless and says so on standard error.
Backend startBackend();
// Closes the presenter, if one runs.
void stopBackend();

}  // namespace win
