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

bool hitVertexInModel(const model::PolygonModel& m) {
    const views::ModelHits& h = pointerState().model;
    return h.HitBody >= 1 && h.HitBody <= m.NBOD && h.HitVertex >= 1 &&
           h.HitVertex <= m.vertexCount();
}

void resetPointerState() {
    pointerState() = PointerState{};
    editState() = EditState{};
}

}  // namespace shell
