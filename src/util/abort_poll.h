#pragma once
// The user-abort poll that long computations call between steps: one event
// is peeked without waiting, and a push button (the progress dialog's
// Cancel) latches the abort until the latch is reset.
//
// The peek is the toolkit's EventPeek unless setEventPeek puts another in
// its place (tests play events this way; null brings the toolkit's back).

#include <array>
#include <cstdint>
#include <functional>

namespace util {

// An event record as the toolkit delivers it: twelve 32-bit words, of which
// words 7 to 10 (from 0) carry the bits of single-precision reals.
using EventWords = std::array<std::int32_t, 12>;

// Takes one pending event without waiting; returns its type, -1 when none.
using EventPeekFunction = std::function<int(EventWords& record)>;
void setEventPeek(EventPeekFunction peek);

inline constexpr int kPushButtonEvent = 3;

struct AbortPollState {
    bool latch = false;
    int lastType = -1;  // what LKILL peeked last
    EventWords lastRecord{};
};
AbortPollState& abortPollState();
// Clears the latch and the remembered event; the peek stays bound.
void resetAbortPollState();

// True once a push button has been seen, until a call with LRESET true.
bool LKILL(bool lreset);
// The same, handing the peeked event to the caller.
bool LKILLMSG(bool lreset, int& itype, EventWords& record);
// The damping search's cancel test: never set.
bool LQUIT();

}  // namespace util
