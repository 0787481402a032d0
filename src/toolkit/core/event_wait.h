#pragma once
// The two event waits: EventWait blocks until one event is available,
// EventPeek never blocks. Both return the deferred events first and convert
// positions to window units and graphics units.

#include "platform/win_types.h"
#include "toolkit/core/event_queue.h"

namespace tk {

void EventWait(int& type, EventRecord& record);
// Type -1 with words 0-6 and 11 set to -1 when nothing is pending.
void EventPeek(int& type, EventRecord& record);

// The pumps behind the waits: they fill the type, words 0-6 and 11.
void EventLoopWait(int& type, EventRecord& record);
void EventLoopPoll(int& type, EventRecord& record);
// Completes words 5-10 (and words 1-2 of an Expose).
void EventCoordinates(int type, EventRecord& record);

// Called by the client window procedure after a paint (Expose) or a size
// (Resize) message it handled: keeps the window's event for the next wait.
void deferWindowEvent(int window, int type);

// Client size of window n (kind 1) or of a dialog field (kind 3).
void EventTargetClientSize(int kind, int identifier, int& width, int& height);
void WindowTimerSet(int period, int identifier, int where);
void TimerPause(int hundredths);

}  // namespace tk
