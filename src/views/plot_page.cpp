#include "views/plot_page.h"

#include "toolkit/graphics/graphics_state.h"
#include "util/pen_plotter.h"

namespace views {

bool drawingOnScreen() {
    return tk::graphicsState().hardcopyDriver == 0;
}

void startPage() {
    util::PLOTXY(drawingOnScreen() ? 1.0f : 0.0f, 0.0f, 1);
}

}  // namespace views
