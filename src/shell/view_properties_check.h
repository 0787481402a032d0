#pragma once
// View > Properties of both windows: the semi-modeless View Properties
// dialog of the map or of the profile window, and the check that every push
// button and field change runs while it is shown.

#include "toolkit/core/event_queue.h"

namespace shell {

// The command (from the map's menus, window 0, or the profile window).
void viewPropertiesCommand(int window);
// Runs the open dialog's check on a push button or field change; after a
// push button that wrote the values back, the window that opened the dialog
// is redrawn (the profile window's axes are copied back first).
void checkViewProperties(int type, const tk::EventRecord& event);

// Forgets the dialog's window and axes.
void resetViewProperties();

}  // namespace shell
