// Axis titles centred on their axis, made smaller when they do not fit.

#include "util/plotter_test_support.h"
#include "util/plotter_text.h"
#include "views/number_format.h"

namespace util::test {
namespace {

// What LBLXAX/LBLYAX drew equals the SYMBOL call of the rule.
void expectSame(const std::vector<DrawnText>& got, const std::vector<DrawnText>& want) {
    ASSERT_EQ(got.size(), 1u);
    ASSERT_EQ(want.size(), 1u);
    EXPECT_EQ(got[0].text, want[0].text);
    EXPECT_NEAR(got[0].x, want[0].x, 1e-4);
    EXPECT_NEAR(got[0].y, want[0].y, 1e-4);
    EXPECT_NEAR(got[0].angle, want[0].angle, 1e-3);
    EXPECT_NEAR(got[0].heightFraction, want[0].heightFraction, 1e-6);
}

TEST_F(PlotterTest, AxisTitlesAreCentredAndShrunkToTheirAxis) {
    struct Case {
        bool vertical;
        std::string text;
        float a1, a2, at, h;
        float start, height;  // where SYMBOL must put it
    };
    const Case cases[] = {
        // 8 characters at 0.2: 1.376 long, centred on 1..9.
        {false, "Distance", 1.0f, 9.0f, 0.5f, 0.2f, (10.0f - 1.376f) / 2.0f, 0.2f},
        // 0.9 of a 2-unit axis is 1.8: the 20 characters shrink to fit it.
        {false, "Magnetic field (nT) ", 0.0f, 2.0f, 0.5f, 0.2f, 0.1f, 0.2f * 1.8f / 3.44f},
        {true, "Depth", 1.0f, 7.0f, 1.0f, 0.2f, (8.0f - 0.86f) / 2.0f, 0.2f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        clear();
        if (c.vertical)
            views::LBLYAX(c.text, static_cast<int>(c.text.size()), c.a1, c.a2, c.at, c.h);
        else
            views::LBLXAX(c.text, static_cast<int>(c.text.size()), c.a1, c.a2, c.at, c.h);
        const std::vector<DrawnText> got = texts;
        clear();
        if (c.vertical)
            SYMBOL(c.at - 1.5f * c.height, c.start, c.height, c.text, 90.0f,
                   static_cast<int>(c.text.size()));
        else
            SYMBOL(c.start, c.at, c.height, c.text, 0.0f, static_cast<int>(c.text.size()));
        expectSame(got, texts);
    }
    clear();
    views::LBLXAX("none", 0, 0.0f, 5.0f, 1.0f, 0.2f);
    views::LBLYAX("tiny", 4, 0.0f, 5.0f, 1.0f, 0.0005f);
    EXPECT_TRUE(texts.empty());
}

}  // namespace
}  // namespace util::test
