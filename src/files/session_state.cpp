#include "files/session_state.h"

namespace files {

SessionState& sessionState() {
    static SessionState state;
    return state;
}

}  // namespace files
