// The grid window class and its registration.

#include "toolkit/dialogs/grid_window.h"

#include "platform/window/user_api.h"

namespace tk {

void GridWindowFitSize(GridRecord& g) {
    (void)g;
}

}  // namespace tk
