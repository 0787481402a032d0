#pragma once
// The mouse on the map of the main window: the read-out and highlight of
// the profile line under the cursor, selecting a profile by a click or from
// the profile list, the pop-up of a line, the zoom box and the traced
// polyline.

namespace shell {

// A move at (x, y) window units; `held` ms since a left press in the main
// window, 0 when no left button is held there.
void mapMouseMove(int x, int y, int held);
// Removes the highlight of the line under the cursor.
void unhighlightMapLine();

void mapLeftClick();
void mapRightClick(int x, int y);
// The box from the anchor to the release zooms the map.
void zoomMap();

// The profile list (field 1289 of the list bar) chose an entry.
void profileListSelected();

}  // namespace shell
