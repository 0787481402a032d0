#include "util/abort_poll.h"

#include <utility>

#include "toolkit/core/event_wait.h"

namespace util {

namespace {
EventPeekFunction& eventPeek() {
    static EventPeekFunction peek;
    return peek;
}

int peekOne(EventWords& record) {
    if (eventPeek()) return eventPeek()(record);
    int type = -1;
    tk::EventPeek(type, record);
    return type;
}
}  // namespace

void setEventPeek(EventPeekFunction peek) {
    eventPeek() = std::move(peek);
}

AbortPollState& abortPollState() {
    static AbortPollState state;
    return state;
}

void resetAbortPollState() {
    abortPollState() = AbortPollState{};
}

bool LKILLMSG(bool lreset, int& itype, EventWords& record) {
    AbortPollState& state = abortPollState();
    if (lreset) {
        state.latch = false;
        return false;
    }
    itype = peekOne(record);
    state.latch = itype == kPushButtonEvent || state.latch;
    return state.latch;
}

bool LKILL(bool lreset) {
    AbortPollState& state = abortPollState();
    return LKILLMSG(lreset, state.lastType, state.lastRecord);
}

bool LQUIT() {
    return false;
}

}  // namespace util
