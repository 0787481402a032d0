#include "shell/pointer_state.h"

namespace shell {

PointerState& pointerState() {
    static PointerState s;
    return s;
}

EditState& editState() {
    static EditState s;
    return s;
}

void resetPointerState() {
    pointerState() = PointerState{};
    editState() = EditState{};
}

}  // namespace shell
