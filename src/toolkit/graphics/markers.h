#pragma once
// The 40 marker symbols, centred on a point in user units and sized from the
// character size so that markers scale with text.

namespace tk {

void DrawMarker(float x, float y, int code);
void MarkerAtCurrent(int code);

}  // namespace tk
