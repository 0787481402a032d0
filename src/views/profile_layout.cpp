#include "views/profile_layout.h"

#include <algorithm>

namespace views {

namespace {

float per(float length, int divisions) {
    return length / static_cast<float>(std::max(divisions, 1));
}

void height(util::AxisRecord& a, float h) {
    a.divLengthY = per(h, a.divCountY);
    a.clipYMax = h + 0.01f;
}

}  // namespace

void layoutWidth(util::AxisRecord& a, bool colourFill) {
    const float w = colourFill ? 8.0f : 8.5f;
    a.divLengthX = per(w, a.divCountX);
    a.clipXMax = w + 0.01f;
}

void layoutDataGraph(util::AxisRecord& a, bool modelShown, bool colourFill) {
    layoutWidth(a, colourFill);
    if (modelShown) {
        a.originY = 4.25f;
        height(a, 3.0f);
        a.xLabelsBelow = false;
    } else {
        a.originY = 1.25f;
        height(a, 6.0f);
        a.xLabelsBelow = true;
    }
}

void layoutSection(util::AxisRecord& a, bool dataShown, bool colourFill) {
    layoutWidth(a, colourFill);
    if (dataShown) {
        a.originY = 1.25f;
        height(a, 3.0f);
        a.xLabelsBelow = true;
    } else {
        height(a, 6.0f);
    }
}

}  // namespace views
