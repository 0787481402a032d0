#pragma once
// The main loop: one event at a time, handed to the handler of its type;
// menu, toolbar and pop-up commands go through the command table.

#include "shell/click_modes.h"
#include "toolkit/core/event_queue.h"

namespace shell {

// Runs until the exit sequence has finished the program.
void runEventLoop();
// Handles one event as the loop does.
void handleEvent(int type, const tk::EventRecord& event);
// The command dispatch of a MenuSelect event from `window`.
void dispatchCommand(int window, int command);

// Removes the hint dialog when it is shown.
void hideHint();

// Close request and Exit command of the main window (both may return to the
// loop through Cancel).
void closeRequestMain();
void exitCommandMain();
// Close request and Exit of the profile window; the click modes end with it.
void closeProfileWindowRequest();

}  // namespace shell
