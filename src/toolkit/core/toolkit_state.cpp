#include "toolkit/core/toolkit_state.h"

namespace tk {

ToolkitState& toolkitState() {
    static ToolkitState state;
    return state;
}

}  // namespace tk
