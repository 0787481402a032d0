#pragma once
// The pop-up menus a right click opens in the profile window, chosen by what
// lies under the cursor, with the targets their commands act on; and the
// menus of a right-dragged selection box.

namespace shell {

// A right click at (x, y) window units of the profile window.
void profilePopup(int x, int y);
// The right-dragged box from the anchor to the box corner.
void selectionPopup();
// The label pop-up, opened at the press on a label.
void labelPopup(int x, int y);

}  // namespace shell
