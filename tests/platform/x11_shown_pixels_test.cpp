// What the X11 presenter sends of a window: only the rectangles that changed
// since the desktop was last shown the window.

#include <gtest/gtest.h>

#include <vector>

#include "platform/x11/shown_pixels.h"

namespace {

using win::RECT;
using win::Surface;
using win::x11::ShownPixels;

struct Change {
    int x, y;
};

struct DamageCase {
    const char* what;
    std::vector<Change> changes;
    std::vector<RECT> damage;
};

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class ShownPixelsDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ShownPixelsDamage, SendsOnlyTheChangedRectangles) {
    const DamageCase& c = GetParam();
    Surface window(40, 30, 0xFFFFFF);
    ShownPixels shown;
    const std::vector<RECT> first = shown.takeDamage(window);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(same(first[0], RECT{0, 0, 40, 30})) << "a window is sent whole the first time";
    for (const Change& p : c.changes)
        window.at(p.x, p.y) = 0x123456;
    const std::vector<RECT> damage = shown.takeDamage(window);
    ASSERT_EQ(damage.size(), c.damage.size()) << c.what;
    for (std::size_t i = 0; i < damage.size(); ++i)
        EXPECT_TRUE(same(damage[i], c.damage[i]))
            << c.what << ": " << damage[i].left << "," << damage[i].top << " "
            << damage[i].right << "," << damage[i].bottom;
    EXPECT_TRUE(shown.takeDamage(window).empty()) << c.what << ": what was sent counts as shown";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShownPixelsDamage,
    ::testing::Values(
        DamageCase{"nothing changed", {}, {}},
        DamageCase{"one pixel", {{7, 5}}, {{7, 5, 8, 6}}},
        DamageCase{"rows changed together make one rectangle",
                   {{3, 10}, {20, 11}, {9, 12}},
                   {{3, 10, 21, 13}}},
        DamageCase{"separate bands stay apart",
                   {{1, 2}, {38, 25}},
                   {{1, 2, 2, 3}, {38, 25, 39, 26}}},
        DamageCase{"the last row and column", {{39, 29}}, {{39, 29, 40, 30}}}));

TEST(ShownPixels, ANewSizeOrALostPictureSendsTheWholeWindow) {
    Surface window(20, 10, 0);
    ShownPixels shown;
    shown.takeDamage(window);
    window.resize(25, 10, 0);
    std::vector<RECT> damage = shown.takeDamage(window);
    ASSERT_EQ(damage.size(), 1u);
    EXPECT_TRUE(same(damage[0], RECT{0, 0, 25, 10}));
    shown.forget();
    damage = shown.takeDamage(window);
    ASSERT_EQ(damage.size(), 1u);
    EXPECT_TRUE(same(damage[0], RECT{0, 0, 25, 10}));
    EXPECT_TRUE(shown.takeDamage(window).empty());
}

}  // namespace
