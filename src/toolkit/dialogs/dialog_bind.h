#pragma once

namespace tk {

// Binds the toolkit core's dialog hooks (window_hooks.h) and its modal
// frame (seams.h) to the dialog manager; toolkit start-up calls it.
void DialogManagerBind();

}  // namespace tk
