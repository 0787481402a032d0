#pragma once
// Binds the window core's editor hooks: accelerators of editor windows and
// panes, the save questions of editor panes when a split window closes, and
// the editors' own menu help.

namespace tk {

void EditorsBind();

}  // namespace tk
