#include "shell/profile_zoom.h"

#include <algorithm>

#include "shell/pointer_state.h"
#include "shell/profile_edit.h"
#include "shell/profile_hover.h"
#include "shell/shell_state.h"
#include "shell/window_views.h"
#include "util/axis_copy.h"
#include "util/axis_scaling.h"
#include "util/graph_zoom.h"
#include "util/pen_plotter.h"

namespace shell {

void zoomProfile() {
    ShellSession& s = shellSession();
    model::ProfileLine& w = workingProfile();
    bool model = false;
    util::AxisRecord* zoomed =
        graphAt((s.AnchorX + s.BoxCornerX) / 2, (s.AnchorY + s.BoxCornerY) / 2, model);
    if (!zoomed) return;
    mainLoop().ProfileAxisBackup = w.AXES;
    util::ZOOMBOX(s.AnchorX, s.AnchorY, s.BoxCornerX, s.BoxCornerY, *zoomed);
    util::FINDAS(*zoomed);
    // Data graphs, then both records of the model section.
    const int dataGraphs = std::clamp(w.NDGRAF, 1, 2);
    for (int k = 0; k < dataGraphs; ++k)
        if (&w.AXES[static_cast<std::size_t>(k)] != zoomed)
            util::COPYXAXIS(w.AXES[static_cast<std::size_t>(k)], *zoomed);
    for (util::AxisRecord* a : {&w.AXES[2], &w.AXES[4]})
        if (a != zoomed) util::COPYXAXIS(*a, *zoomed);
    util::PLOTXY(zoomed->originX, zoomed->originY, -3, *zoomed);
    refreshProfileWindow();
    markProfileChanged();
}

}  // namespace shell
