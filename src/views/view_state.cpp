#include "views/view_state.h"

namespace views {

ViewState& viewState() {
    static ViewState s;
    return s;
}

}  // namespace views
