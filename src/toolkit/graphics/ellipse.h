#pragma once
// Whole ellipses with axes along the user axes. The radius is in user x
// units; the second radius is a ratio of it, corrected for the device's
// aspect so that a ratio of 1 gives a true circle.

namespace tk {

void YYELIP(float x, float y, float r, float ratio);
void CircleAt(float x, float y, float r);
void CircleAtCurrent(float r);

}  // namespace tk
