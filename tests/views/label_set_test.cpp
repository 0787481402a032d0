#include <gtest/gtest.h>

#include "views/label_set.h"

namespace {

model::LabelSet labelsNumbered(int n, int graphOfEven = 3) {
    model::LabelSet s;
    s.NLAB = n;
    for (int i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        s.CMODL[k].assign("label " + std::to_string(i));
        s.XCLAB[k] = static_cast<float>(i);
        s.HILAB[k] = 0.5f;
        s.IWINDOW[k] = (i % 2 == 0) ? graphOfEven : 1;
        s.IPARAM[k] = 2;
    }
    return s;
}

TEST(LabelSet, DeleteClosesTheGap) {
    model::LabelSet s = labelsNumbered(5);
    int i = 3;
    views::DELETELABEL(s, i);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(s.NLAB, 4);
    EXPECT_EQ(s.CMODL[2], "label 4");
    EXPECT_EQ(s.XCLAB[3], 5.0f);
    EXPECT_EQ(s.XCLAB[4], 0.0f);

    model::LabelSet full = labelsNumbered(50);
    i = 10;
    views::DELETELABEL(full, i);
    EXPECT_EQ(full.NLAB, 49);
    EXPECT_EQ(full.CMODL[48], "label 50");
    EXPECT_EQ(full.IWINDOW[48], 3);
    EXPECT_EQ(full.CMODL[49], "");
    EXPECT_EQ(full.IWINDOW[49], 0);

    for (int bad : {0, 50, -1}) {
        int k = bad;
        views::DELETELABEL(full, k);
        EXPECT_EQ(full.NLAB, 49) << bad;
        EXPECT_EQ(k, bad);
    }
}

TEST(LabelSet, ClearRemovesOneGraphOnly) {
    model::LabelSet s = labelsNumbered(6);
    views::CLEARLABELS(s, 3);
    ASSERT_EQ(s.NLAB, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s.IWINDOW[static_cast<std::size_t>(i)], 1);
    EXPECT_EQ(s.CMODL[1], "label 3");
    views::SCALELABELSIZE(s, s.HILAB, 2.0f);
    views::INCLABELSIZE(s, s.HILAB, 0.25f);
    EXPECT_FLOAT_EQ(s.HILAB[2], 1.25f);
    EXPECT_FLOAT_EQ(s.HILAB[3], 0.5f) << "entries beyond NLAB are not scaled";
}

TEST(LabelSet, ValueTextDropsTrailingZeros) {
    EXPECT_EQ(views::valueLabelText(2.67f, "g/cc"), "2.67 g/cc");
    EXPECT_EQ(views::valueLabelText(2.5f, "g/cc"), "2.5 g/cc");
    EXPECT_EQ(views::valueLabelText(3.0f, "g/cc"), "3 g/cc");
    EXPECT_EQ(views::valueLabelText(-120.0f, "nT  "), "-120 nT");
}

}  // namespace
