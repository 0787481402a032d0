#include <gtest/gtest.h>

#include "views/profile_layout.h"

namespace {

TEST(ProfileLayout, GraphsShareThePageByWhatIsShown) {
    struct Case {
        bool data;  // data graph (true) or section (false)
        bool other, fill;
        float yorg, height, clipY, width;
        bool labelsBelow;
    };
    // The section alone keeps its origin (7.0 here) and its labels switch.
    const Case cases[] = {
        {true, true, false, 4.25f, 3.0f, 3.01f, 8.5f, false},
        {false, true, false, 1.25f, 3.0f, 3.01f, 8.5f, true},
        {true, false, false, 1.25f, 6.0f, 6.01f, 8.5f, true},
        {false, false, false, 7.0f, 6.0f, 6.01f, 8.5f, false},
        {true, true, true, 4.25f, 3.0f, 3.01f, 8.0f, false},
        {false, true, true, 1.25f, 3.0f, 3.01f, 8.0f, true},
    };
    for (const Case& c : cases) {
        util::AxisRecord a;
        a.originY = 7.0f;
        a.divCountX = 4;
        a.divCountY = 5;
        a.stepX = 250.0f;
        if (c.data)
            views::layoutDataGraph(a, c.other, c.fill);
        else
            views::layoutSection(a, c.other, c.fill);
        EXPECT_EQ(a.originY, c.yorg);
        EXPECT_FLOAT_EQ(a.divLengthY * 5, c.height);
        EXPECT_FLOAT_EQ(a.clipYMax, c.clipY);
        EXPECT_FLOAT_EQ(a.divLengthX * 4, c.width);
        EXPECT_FLOAT_EQ(a.clipXMax, c.width + 0.01f);
        EXPECT_EQ(a.xLabelsBelow, c.labelsBelow);
        EXPECT_EQ(a.stepX, 250.0f) << "steps stay";
    }
}

}  // namespace
