#include "shell/rubber_bands.h"

#include "files/view_settings.h"
#include "shell/shell_state.h"
#include "toolkit/core/window_api.h"
#include "util/pen_plotter.h"
#include "util/rubber_bands.h"
#include "views/rubber_band.h"

namespace shell {

void eraseRubberBands(bool keepLines) {
    ShellSession& s = shellSession();
    const bool box = s.RubberBoxShown;
    const bool line = s.RubberLineShown && !keepLines;
    const bool poly = s.RubberPolyShown && !keepLines;
    if (!box && !line && !poly) return;
    tk::OutputWindowSelect(s.RubberWindow);
    util::SETPEN(views::kRubberPen);
    if (box) util::RUBBERBOX(s.AnchorX, s.AnchorY, s.BoxCornerX, s.BoxCornerY);
    if (line) util::RUBBERLINE(s.AnchorX, s.AnchorY, s.RubberEndX, s.RubberEndY);
    if (poly) {
        // The segment from the anchor to the corner, drawn as the tracer drew
        // it; the points it would record go to a copy.
        views::NewLineBuffer scratch;
        float ax = static_cast<float>(s.AnchorX), ay = static_cast<float>(s.AnchorY);
        views::RUBBERPLINE(ax, ay, static_cast<float>(s.BoxCornerX),
                           static_cast<float>(s.BoxCornerY), scratch,
                           files::viewSettings().DIGIT_MIN_STEP, views::graphicsRubberPen());
    }
    s.RubberBoxShown = false;
    if (!keepLines) s.RubberLineShown = s.RubberPolyShown = false;
}

}  // namespace shell
