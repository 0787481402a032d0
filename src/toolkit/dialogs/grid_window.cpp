// The grid window class and its registration.

#include "toolkit/dialogs/grid_window.h"

#include "platform/window/user_api.h"

namespace tk {

namespace {

win::UINT& cellChangeMessage() {
    static win::UINT message = 0;
    return message;
}

}  // namespace

win::UINT gridCellChangeMessage() {
    return cellChangeMessage();
}

void GridWindowFitSize(GridRecord& g) {
    (void)g;
}

}  // namespace tk
