#include "model/session_state.h"

namespace model {

SessionState& sessionState() {
    static SessionState state;
    return state;
}

void resetSessionState() {
    sessionState() = SessionState{};
}

NewBodyBuffer& newBodyBuffer() {
    static NewBodyBuffer buffer;
    return buffer;
}

void resetNewBodyBuffer() {
    newBodyBuffer() = NewBodyBuffer{};
}

}  // namespace model
