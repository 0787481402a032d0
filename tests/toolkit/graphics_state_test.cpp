#include <cmath>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/drawing_targets.h"

namespace tk::test {
namespace {

class GraphicsStateTest : public GraphicsTest {};

TEST_F(GraphicsStateTest, WholeAreaOnATargetReachesItsLastPixelAndNoFurther) {
    useTarget(640, 480);
    GrArea(0, 0, 1, 1);
    const GraphicsState& g = graphicsState();
    EXPECT_FLOAT_EQ(g.devX2, 639.99f);
    EXPECT_FLOAT_EQ(g.devY2, 479.99f);
    EXPECT_EQ(g.devIX2, 639);
    EXPECT_EQ(g.devIY2, 479);
    EXPECT_EQ(g.devIWidth, 640);
    EXPECT_FLOAT_EQ(g.clipX2, 639.991f);
    EXPECT_FLOAT_EQ(g.clipX1, -0.001f);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
}

TEST_F(GraphicsStateTest, InvalidAreaAxisFallsBackToWholeAxisWithError44) {
    useTarget(200, 100);
    GrArea(0.2f, 0.5f, 0.2f, 0.9f);
    const GraphicsState& g = graphicsState();
    EXPECT_EQ(toolkitState().LastErrorNumber, 44);
    EXPECT_EQ(g.areaX1, 0.0f);
    EXPECT_EQ(g.areaX2, 1.0f);
    EXPECT_FLOAT_EQ(g.areaY1, 0.5f);
    EXPECT_FLOAT_EQ(g.areaY2, 0.9f);
    EXPECT_FLOAT_EQ(g.devY1, 50.0f);
    EXPECT_FLOAT_EQ(g.devY2, 90.0f);
    toolkitState().LastErrorNumber = 0;
    GrArea(NAN, 0.0f, 0.5f, 1.0f);
    EXPECT_EQ(toolkitState().LastErrorNumber, 44);
    EXPECT_EQ(g.areaX1, 0.0f);
}

TEST_F(GraphicsStateTest, InvalidUnitsAxisFallsBackToZeroOneWithError16) {
    GrUnits(5, 0, 5, 1);
    const GraphicsState& g = graphicsState();
    EXPECT_EQ(toolkitState().LastErrorNumber, 16);
    EXPECT_EQ(g.unitsX1, 0.0f);
    EXPECT_EQ(g.unitsX2, 1.0f);
    EXPECT_EQ(g.unitsY2, 1.0f);
    GrUnits(-10, 100, 30, 300);
    EXPECT_EQ(g.unitsSpanX, 40.0f);
    EXPECT_EQ(g.unitsSpanY, 200.0f);
    EXPECT_EQ(g.appUnitsSpanX, 40.0f);
}

struct TransformCase {
    int rotation;
    float x, y;  // user units
    int px, py;  // expected device pixels
};

// Units 0..100 x 0..50 on the area 0.5..1 x 0..0.5 of a 201 x 101 target:
// the device area is x 100.5..200.99, y 0..50.5.
TEST_F(GraphicsStateTest, UserUnitsMapToDevicePixelsForEveryRotation) {
    useTarget(201, 101);
    GrArea(0.5f, 0.0f, 1.0f, 0.5f);
    GrUnits(0, 0, 100, 50);
    const std::vector<TransformCase> cases = {
        {0, 0, 0, 100, 0},     {0, 100, 50, 200, 50},  {0, 50, 25, 150, 25},
        {90, 0, 0, 200, 0},    {90, 100, 50, 100, 50}, {90, 0, 50, 100, 0},
        {180, 0, 0, 200, 50},  {180, 100, 50, 100, 0}, {270, 0, 0, 100, 50},
        {270, 100, 0, 100, 0}, {270, 0, 50, 200, 50},
    };
    for (const TransformCase& c : cases) {
        graphicsState().pageRotation = c.rotation;
        int px = 0, py = 0;
        WorldToPixels(c.x, c.y, px, py);
        EXPECT_EQ(px, c.px) << "rotation " << c.rotation << " at " << c.x << "," << c.y;
        EXPECT_EQ(py, c.py) << "rotation " << c.rotation << " at " << c.x << "," << c.y;
    }
}

TEST_F(GraphicsStateTest, PixelRoundTripHoldsForEveryRotation) {
    useTarget(320, 200);
    GrArea(0.1f, 0.2f, 0.9f, 0.8f);
    GrUnits(-5, 1000, 5, 2000);
    for (int rotation : {0, 90, 180, 270}) {
        graphicsState().pageRotation = rotation;
        for (int px : {40, 100, 250})
            for (int py : {45, 80, 150}) {
                float x = 0, y = 0;
                PixelsToWorld(px, py, x, y);
                int qx = 0, qy = 0;
                WorldToPixels(x, y, qx, qy);
                EXPECT_EQ(qx, px) << rotation;
                EXPECT_EQ(qy, py) << rotation;
            }
    }
}

TEST_F(GraphicsStateTest, UnknownRotationLeavesTheOutputsAlone) {
    useTarget(100, 100);
    graphicsState().pageRotation = 45;
    float dx = -7, dy = -8;
    WorldToDevice(0.5f, 0.5f, dx, dy);
    EXPECT_EQ(dx, -7.0f);
    EXPECT_EQ(dy, -8.0f);
}

TEST_F(GraphicsStateTest, SmallNegativeDeviceValuesFallToPixelMinusOne) {
    useTarget(100, 100);
    GrUnits(0, 0, 100, 100);  // one unit per device unit on 0..99.99
    int px = 0, py = 0;
    WorldToPixels(-0.3f / 0.9999f, 10.5f, px, py);
    EXPECT_EQ(px, -1);
    EXPECT_EQ(py, 10);
}

TEST_F(GraphicsStateTest, ViewportChangeMovesTheSameUserPoint) {
    useTarget(400, 300);
    GrUnits(0, 0, 10, 10);
    float dx = 0, dy = 0;
    WorldToDevice(5, 5, dx, dy);
    EXPECT_NEAR(dx, 199.995f, 1e-3);
    GrArea(0.5f, 0.5f, 1.0f, 1.0f);
    WorldToDevice(5, 5, dx, dy);
    EXPECT_NEAR(dx, 200.0f + 0.5f * 199.99f, 1e-3);
    EXPECT_NEAR(dy, 150.0f + 0.5f * 149.99f, 1e-3);
}

TEST_F(GraphicsStateTest, SetAreaKeepingUnitsKeepsEveryPointInPlaceForEveryRotation) {
    for (int rotation : {0, 90, 180, 270}) {
        resetAll();
        useTarget(500, 400);
        graphicsState().pageRotation = rotation;
        GrArea(0.1f, 0.2f, 0.7f, 0.9f);
        GrUnits(-20, 3, 80, 13);
        const std::vector<std::pair<float, float>> points = {{-20, 3}, {0, 5}, {55, 12.5f}};
        std::vector<std::pair<float, float>> before;
        for (auto [x, y] : points) {
            float dx = 0, dy = 0;
            WorldToDevice(x, y, dx, dy);
            before.push_back({dx, dy});
        }
        SetAreaKeepingUnits(0.3f, 0.1f, 0.95f, 0.6f);
        EXPECT_EQ(graphicsState().keepingUnits, 0);
        EXPECT_FLOAT_EQ(graphicsState().areaX1, 0.3f);
        // The application's spans stay those it set itself.
        EXPECT_FLOAT_EQ(graphicsState().appUnitsSpanX, 100.0f);
        for (std::size_t i = 0; i < points.size(); ++i) {
            float dx = 0, dy = 0;
            WorldToDevice(points[i].first, points[i].second, dx, dy);
            EXPECT_NEAR(dx, before[i].first, 0.01) << "rotation " << rotation;
            EXPECT_NEAR(dy, before[i].second, 0.01) << "rotation " << rotation;
        }
    }
}

TEST_F(GraphicsStateTest, ResizeOfAnotherTargetChangesNothing) {
    useTarget(300, 200);
    GraphicsTargetResized(1, 7, 50, 50);
    GraphicsTargetResized(2, 0, 50, 50);
    EXPECT_EQ(graphicsState().targetWidth, 300);
    GraphicsTargetResized(1, 0, 50, 40);
    EXPECT_EQ(graphicsState().devIX2, 49);
    EXPECT_FLOAT_EQ(graphicsState().plotExtentY, 39.99f);
}

TEST_F(GraphicsStateTest, ResizeDuringHardcopyOutputAsksOnlyForNewScales) {
    useTarget(300, 200);
    recordHardcopy();
    recordScreen();
    int valueAt18 = 0;
    RegisterHardcopyDriver(2, [&](int code) {
        hardcopyLog.push_back(code);
        if (code == 18) valueAt18 = deviceBlock().value;
    });
    GraphicsTargetResized(1, 0, 640, 480);
    // The area is applied again, and with it the text direction and scales.
    EXPECT_EQ(hardcopyLog, (std::vector<int>{18, 24, 33, 21}));
    EXPECT_EQ(valueAt18, -1);
    EXPECT_EQ(screenLog, (std::vector<int>{24, 33, 21}));
}

TEST_F(GraphicsStateTest, MovesAndLinesKeepTheCurrentPosition) {
    useTarget(100, 100);
    recordScreen();
    MoveToUnits(0.25f, 0.5f);
    MoveByUnits(0.25f, 0.0f);
    LineByUnits(0.1f, 0.1f);
    EXPECT_FLOAT_EQ(GraphicsInfoReal(1), 0.6f);
    EXPECT_FLOAT_EQ(GraphicsInfoReal(2), 0.6f);
    LineFromByUnits(0.0f, 0.0f, 0.2f, 0.3f);
    EXPECT_FLOAT_EQ(GraphicsInfoReal(2), 0.3f);
    EXPECT_EQ(screenLog, (std::vector<int>{2, 2}));
    EXPECT_EQ(deviceBlock().pixX[2], 19);  // 0.2 of 99.99
}

TEST_F(GraphicsStateTest, InfoValuesReportStateAndScreenCapabilities) {
    useTarget(640, 480);
    YYGAPI(1);
    EXPECT_EQ(GraphicsInfoValue(1), 1);
    EXPECT_EQ(GraphicsInfoValue(20), 0);
    EXPECT_EQ(GraphicsInfoValue(24), 0);
    EXPECT_EQ(GraphicsInfoValue(29), 1);
    EXPECT_EQ(GraphicsInfoValue(33), 5);
    EXPECT_EQ(GraphicsInfoValue(35), 223);
    EXPECT_EQ(GraphicsInfoValue(38), 8);
    EXPECT_EQ(GraphicsInfoValue(40), 360);
    EXPECT_EQ(GraphicsInfoValue(42), 1);
    EXPECT_EQ(GraphicsInfoValue(32), 133);
    EXPECT_EQ(GraphicsInfoValue(99), 0);
    graphicsState().colourMode = 2;
    EXPECT_EQ(GraphicsInfoValue(34), 16777215);
}

TEST_F(GraphicsStateTest, ResetSendsTheScreenItsStartInOrder) {
    graphicsState().graphicsWindow = 3;
    graphicsState().graphicsWindowWidth = 320;
    graphicsState().graphicsWindowHeight = 240;
    graphicsServices().outputWindowSelect = [](int window) {
        GraphicsTargetResized(1, window, 320, 240);
        return true;
    };
    recordScreen();
    RegisterHardcopyDriver(2, [this](int code) { hardcopyLog.push_back(code); });
    SelectHardcopyDriverNumber(2);
    ResetGraphicsState("");
    // The area brings the text direction and scale (33, 21); the text reset
    // asks for the font once more.
    EXPECT_EQ(screenLog, (std::vector<int>{18, 24, 33, 21, 1, 3, 3, 27, 29, 30, 21, 21}));
    EXPECT_EQ(hardcopyLog, std::vector<int>{1});
    const GraphicsState& g = graphicsState();
    EXPECT_EQ(g.targetId, 3);
    EXPECT_EQ(g.devIX2, 319);
    EXPECT_EQ(g.previousColourNumber, 0);
    EXPECT_EQ(g.colourNumber, 223);
    EXPECT_EQ(g.rgb, 0);
    EXPECT_EQ(g.previousRgb, 16777215);
    EXPECT_EQ(g.unitsX2, 1.0f);
    EXPECT_FLOAT_EQ(g.aspectRatio, 320.0f / 240.0f);
}

TEST_F(GraphicsStateTest, ResetWithoutScreenSendsTheScreenNothing) {
    graphicsServices().outputWindowSelect = [](int window) {
        GraphicsTargetResized(1, window, 100, 100);
        return true;
    };
    graphicsServices().hardcopyPageSize = [](float& w, float& h) { w = 210, h = 297; };
    PageAspectRatio();
    recordScreen(true);
    ResetGraphicsState("h");
    EXPECT_EQ(graphicsState().screenOutput, 0);
    EXPECT_EQ(screenDeviceInfo().lineStyleCount, 0);
    EXPECT_FLOAT_EQ(graphicsState().aspectRatio, 210.0f / 297.0f);
}

TEST_F(GraphicsStateTest, NewPageClearsTheScreenUnlessPrinting) {
    useTarget(100, 80);
    GrArea(0.2f, 0.2f, 0.5f, 0.5f);
    recordScreen();
    int valueAt20 = 0;
    recordHardcopy();
    RegisterHardcopyDriver(2, [&](int code) {
        hardcopyLog.push_back(code);
        if (code == 20) valueAt20 = deviceBlock().value;
    });
    NewGraphicsPage("  P");
    EXPECT_EQ(valueAt20, 'P');
    EXPECT_TRUE(screenLog.empty());
    NewGraphicsPage();
    EXPECT_EQ(valueAt20, ' ');
    // The whole target is cleared, then the small area comes back.
    EXPECT_EQ(screenLog, (std::vector<int>{24, 17, 24}));
    EXPECT_EQ(graphicsState().devIX2, 50);
}

TEST_F(GraphicsStateTest, SaveAndRestoreOfAttributesAndArea) {
    useTarget(100, 100);
    GrColourN(31);
    SaveRestoreGraphicsState(0);
    GrColourN(95);
    graphicsState().fillStyle = 3;
    SaveRestoreGraphicsState(1);
    EXPECT_EQ(graphicsState().colourNumber, 31);
    EXPECT_EQ(graphicsState().previousColourNumber, 223);
    EXPECT_EQ(graphicsState().fillStyle, 0);
    GrArea(0.5f, 0.5f, 1.0f, 1.0f);
    SaveRestoreGraphicsState(4);
    EXPECT_EQ(graphicsState().devIX1, 0);
    SaveRestoreGraphicsState(3);
    EXPECT_EQ(graphicsState().devIX1, 50);
    EXPECT_FLOAT_EQ(graphicsState().areaX1, 0.5f);
}

TEST_F(GraphicsStateTest, OptionLettersCountInEitherCase) {
    EXPECT_TRUE(OptionLetterPresent("xh", 'H'));
    EXPECT_TRUE(OptionLetterPresent("H", 'H'));
    EXPECT_FALSE(OptionLetterPresent("P", 'H'));
    EXPECT_EQ(CharacterCode("Abc"), 65);
    EXPECT_EQ(CharacterCode("\xE9"), 233);
}

}  // namespace
}  // namespace tk::test
