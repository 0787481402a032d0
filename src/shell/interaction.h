#pragma once
// The handlers of the events a user makes in the windows and the modeless
// dialogs: letter keys, push buttons, field changes and the mouse. Each takes
// the event as the loop received it.

#include "toolkit/core/event_queue.h"

namespace shell {

// keys.cpp: the view toggles by letter.
void handleKeyDown(const tk::EventRecord& event);
// push_buttons.cpp: the View Properties check, then the buttons of the
// modeless dialogs (digitising, locks).
void handlePushButton(const tk::EventRecord& event);
// field_changes.cpp: the View Properties check, the digitising options and
// the profile list.
void handleFieldChanged(const tk::EventRecord& event);
// mouse.cpp: presses, releases and moves in the map and the profile window.
void handleMouseButtonDown(const tk::EventRecord& event);
void handleMouseButtonUp(const tk::EventRecord& event);
void handleMouseMove(const tk::EventRecord& event);
// Takes back the drag or rubber box under way; answers whether there was one.
bool cancelGesture();

}  // namespace shell
