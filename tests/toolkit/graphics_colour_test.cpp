#include <string>
#include <vector>

#include "graphics_test_support.h"

namespace tk::test {
namespace {

class GraphicsColourTest : public GraphicsTest {};

TEST_F(GraphicsColourTest, DefaultTableHoldsThePureColoursAndGreyRamps) {
    const auto& t = colourTable().table;
    EXPECT_EQ(t[0], 16777215);
    EXPECT_EQ(t[31], 255);
    EXPECT_EQ(t[63], 65535);
    EXPECT_EQ(t[95], 65280);
    EXPECT_EQ(t[127], 16776960);
    EXPECT_EQ(t[159], 16711680);
    EXPECT_EQ(t[191], 16711935);
    EXPECT_EQ(t[223], 0);
    EXPECT_EQ(t[15], 195 * 65793);
    EXPECT_EQ(t[16], 195);
    EXPECT_EQ(t[32], 131);
    EXPECT_EQ(t[208], 60 * 65793);
    EXPECT_EQ(t[224], 124 * 65793);
    EXPECT_EQ(t[255], 131 * 65793);
    EXPECT_EQ(colourTable().base[1], t[175]);
    EXPECT_EQ(colourTable().base[15], 0);
    EXPECT_EQ(colourTable().group[4], 255);
}

TEST_F(GraphicsColourTest, HlsHueAnchorsAreBlueRedGreen) {
    struct Case {
        int h, l, s, rgb;
    };
    const std::vector<Case> cases = {
        {0, 50, 100, 16711680},    {120, 50, 100, 255},
        {240, 50, 100, 65280},     {60, 50, 100, 16711935},
        {180, 50, 100, 65535},     {300, 50, 100, 16776960},
        {77, 40, 0, 102 * 65793},  {500, 50, 100, 16711680 + 4 * 256},  // clamped to 359
        {120, 100, 100, 16777215}, {120, 25, 100, 127},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HlsToRgb(c.h, c.l, c.s), c.rgb) << c.h << " " << c.l << " " << c.s;
}

TEST_F(GraphicsColourTest, RgbToHsvAndNearestColour) {
    float h = 0, s = 0, v = 0;
    RgbToHsv(255, h, s, v);  // red maximum, green minimum
    EXPECT_NEAR(h, 5.0f * 60.0f * 0.017453292f + 60.0f * 0.017453292f, 1e-4);
    EXPECT_FLOAT_EQ(s, 1.0f);
    EXPECT_FLOAT_EQ(v, 1.0f);
    RgbToHsv(0x808080, h, s, v);
    EXPECT_EQ(s, 0.0f);
    int n = -5;
    NearestColourNumber(16777215, n);
    EXPECT_EQ(n, 0);
    NearestColourNumber(250, n);  // a red just short of pure red
    EXPECT_EQ(n, 30);
    NearestColourNumber(65536 * 140, n);
    EXPECT_EQ(n, 162);
}

TEST_F(GraphicsColourTest, ColourNamesParseAsDocumented) {
    struct Case {
        const char* name;
        int code;
    };
    const std::vector<Case> cases = {
        {"BLACK", 0},  {"BLUE", 1},    {"RED", 4},      {"BRED", 12},  {"BBLUE", 9},
        {"BROWN", 12}, {"ORANGE", -1}, {"   white", 7}, {"", -1},      {"   ", -1},
        {"green", 2},  {"Cyan", 3},    {"mAgenta", 5},  {"YELLOW", 6}, {"BYELLOW", 14},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseColourName(c.name), c.code) << c.name;
}

TEST_F(GraphicsColourTest, NamedBrightColourSelectsTheSameColourAsPlain) {
    GrColour("BRIGHT RED");
    EXPECT_EQ(graphicsState().colourNumber, 31);
    EXPECT_EQ(graphicsState().previousColourNumber, 223);
    GrColour("ORANGE");
    EXPECT_EQ(toolkitState().LastErrorNumber, 42);
    EXPECT_EQ(graphicsState().colourNumber, 31);
    SetColourMode(24);
    GrColour("blue");
    EXPECT_EQ(graphicsState().rgb, 16711680);
}

TEST_F(GraphicsColourTest, ColourNumbersAndDeviceValues) {
    GraphicsState& g = graphicsState();
    g.deviceColourCount = 16;
    GrColourN(223);
    EXPECT_EQ(g.rgb, 0);
    EXPECT_EQ(g.deviceColour, 15);
    GrColourN(256);
    EXPECT_EQ(toolkitState().LastErrorNumber, 42);
    EXPECT_EQ(g.colourNumber, 223);
    struct Case {
        int count, n, value;
    };
    const std::vector<Case> cases = {
        {2, 100, 1}, {8, 31, 4},    {8, 159, 1},   {16, 31, 12}, {16, 47, 4},
        {16, 0, 0},  {64, 200, 50}, {256, 77, 77}, {16, -1, -1},
    };
    for (const Case& c : cases) {
        g.deviceColourCount = c.count;
        EXPECT_EQ(DeviceColourValue(c.n), c.value) << c.count << " " << c.n;
    }
}

TEST_F(GraphicsColourTest, RgbModeKeepsNoColourNumberOnATrueColourScreen) {
    recordScreen(true);
    YYGAPI(1);
    SetColourMode(24);
    GrColourN(255);
    EXPECT_EQ(graphicsState().colourNumber, -1);
    EXPECT_EQ(graphicsState().rgb, 255);
    EXPECT_EQ(graphicsState().deviceColour, -1);
    // Back in palette mode the colour finds its table entry.
    SetColourMode(8);
    EXPECT_EQ(graphicsState().colourNumber, 31);
    screenDeviceInfo().trueColour = 0;
    SetColourMode(24);
    GrColourN(250);
    EXPECT_EQ(graphicsState().colourNumber, 30);
}

TEST_F(GraphicsColourTest, RedefiningAColourUpdatesItsCompanions) {
    recordScreen();
    recordHardcopy();
    DefinePaletteColour(159, 0x123456, 1);
    EXPECT_EQ(colourTable().table[159], 0x123456);
    EXPECT_EQ(colourTable().base[9], 0x123456);
    EXPECT_EQ(colourTable().group[1], 0x123456);
    EXPECT_EQ(deviceBlock().pixX[4], 1);
    EXPECT_EQ(screenLog, std::vector<int>{28});
    EXPECT_EQ(hardcopyLog, std::vector<int>{28});
    graphicsState().deviceColourCount = 64;
    PaletteEntryFromHLS(40, 120, 50, 100);
    EXPECT_EQ(colourTable().table[40], 255);
    EXPECT_EQ(colourTable().devicePalette[10], 255);
    EXPECT_EQ(colourTable().base[12], 255);
}

TEST_F(GraphicsColourTest, DevicePaletteTakesTheBrightestOfEachStep) {
    graphicsState().deviceColourCount = 32;
    BuildDefaultColourTable();
    const auto& t = colourTable();
    EXPECT_EQ(t.devicePalette[0], t.table[0]);
    EXPECT_EQ(t.devicePalette[1], t.table[8]);
    EXPECT_EQ(t.devicePalette[2], t.table[23]);
    EXPECT_EQ(t.devicePalette[3], t.table[31]);
    EXPECT_EQ(t.devicePalette[30], t.table[240]);
    EXPECT_EQ(t.devicePalette[31], t.table[248]);
    EXPECT_EQ(ColourGroupIndex(9, 1), 13);
    EXPECT_EQ(ColourGroupIndex(16, 0), -1);
}

}  // namespace
}  // namespace tk::test
