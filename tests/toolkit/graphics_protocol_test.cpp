#include <algorithm>
#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/graphics/drawing_targets.h"

namespace tk::test {
namespace {

class GraphicsProtocolTest : public GraphicsTest {
  protected:
    int releases = 0;
    std::vector<int> memoryLog;

    // Window 0 is the graphics window (300 x 200); windows 0-5 are open.
    void SetUp() override {
        GraphicsTest::SetUp();
        GraphicsState& g = graphicsState();
        g.graphicsWindowWidth = 300;
        g.graphicsWindowHeight = 200;
        GraphicsServices& s = graphicsServices();
        s.outputWindowSelect = [](int window) {
            if (window < 0 || window > 5) return false;
            GraphicsTargetResized(1, window, 300 + window, 200);
            return true;
        };
        s.releaseDrawingDC = [this] { ++releases; };
        s.metafileSlotKind = [](int slot) { return slot == 2 ? 6 : slot == 3 ? 3 : 0; };
        s.metafileSlotSize = [](int) { return TargetSize{0, 640, 480}; };
        s.metafileSlotUseDC = [](int) { return 0; };
        s.memoryCgmDriver = [this](int code) { memoryLog.push_back(code); };
        useTarget(300, 200);
    }
};

TEST_F(GraphicsProtocolTest, ScreenAnswersItsCapabilities) {
    YYGAPI(1);
    const DeviceInfo& info = screenDeviceInfo();
    EXPECT_EQ(info.capabilities.str(), "11111111111111111110111011111");
    EXPECT_EQ(info.textAngleCapability, 360);
    EXPECT_EQ(info.styledVadiLines, 2);
    EXPECT_EQ(info.trueColour, 1);
    EXPECT_EQ(info.gradientFillAvailable, 2);
    EXPECT_EQ(info.lineStyleCount, 8);
    EXPECT_FLOAT_EQ(info.deviceTextThreshold, 1.7e38f);
    EXPECT_EQ(info.capability(27), 1);
    EXPECT_EQ(info.capability(20), 0);
    EXPECT_EQ(info.capability(30), 0);
    graphicsState().targetType = MetafileTarget;
    seams().screenMetrics = [] {
        ScreenMetrics m;
        m.bitsPerPixel = 8;
        return m;
    };
    YYGAPI(1);
    EXPECT_EQ(info.capabilities.str(), "11111111111111111110111011110");
    EXPECT_EQ(info.trueColour, 0);
}

TEST_F(GraphicsProtocolTest, ScreenDriverDoesNothingWhileScreenOutputIsOff) {
    graphicsState().screenOutput = 0;
    YYGAPI(1);
    EXPECT_EQ(screenDeviceInfo().lineStyleCount, 0);
    graphicsState().screenOutput = 1;
    YYGAPI(41);
    YYGAPI(0);
    EXPECT_EQ(screenDeviceInfo().lineStyleCount, 0);
}

TEST_F(GraphicsProtocolTest, HardcopyRequestsReachOnlyTheSelectedDriverWhileOutputIsOn) {
    std::vector<int> other;
    RegisterHardcopyDriver(9, [&](int code) { other.push_back(code); });
    RegisterHardcopyDriver(2, [this](int code) { hardcopyLog.push_back(code); });
    SelectHardcopyDriverNumber(2);
    SendHardcopyRequest(3);
    EXPECT_TRUE(hardcopyLog.empty());
    HardcopyDriverRequest(1);  // the probe and reset bypass the output test
    graphicsState().hardcopyDriver = 2;
    SendHardcopyRequest(3);
    EXPECT_EQ(hardcopyLog, (std::vector<int>{1, 3}));
    EXPECT_TRUE(other.empty());
    SelectHardcopyDriverNumber(5);  // no driver under 5
    SendHardcopyRequest(3);
    EXPECT_EQ(hardcopyLog.size(), 2u);
}

TEST_F(GraphicsProtocolTest, MemoryPictureTargetTakesTheScreenSide) {
    recordScreen();
    GrSelect(MetafileTarget, 2);
    EXPECT_EQ(graphicsState().memoryCgmTarget, 1);
    EXPECT_EQ(graphicsState().targetWidth, 640);
    EXPECT_TRUE(screenLog.empty());
    EXPECT_EQ(memoryLog, (std::vector<int>{24, 33, 21, 1, 18, 30, 29, 35, 24}));
    memoryLog.clear();
    GrSelect(WindowTarget, 4);
    EXPECT_TRUE(memoryLog.empty());
    EXPECT_EQ(screenLog, (std::vector<int>{24, 33, 21, 1, 18, 30, 29, 35, 24}));
    EXPECT_EQ(graphicsState().targetWidth, 304);
    clearLogs();
    graphicsState().temporaryWindowSwitch = 0;
    GrSelect(WindowTarget, 5);
    EXPECT_EQ(screenLog, (std::vector<int>{24, 33, 21, 1}));
    EXPECT_EQ(releases, 3);
}

TEST_F(GraphicsProtocolTest, UnusableTargetsFallBackToTheGraphicsWindow) {
    recordScreen();
    GrSelect(DialogFieldTarget, 7);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1019);
    EXPECT_EQ(releases, 0);
    EXPECT_EQ(graphicsState().targetType, WindowTarget);
    EXPECT_EQ(graphicsState().targetId, 0);
    EXPECT_EQ(graphicsState().targetWidth, 300);
    EXPECT_EQ(std::count(screenLog.begin(), screenLog.end(), 1), 0);
    toolkitState().LastErrorNumber = 0;
    GrSelect(MetafileTarget, 21);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1019);
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(graphicsState().targetType, WindowTarget);
    toolkitState().LastErrorNumber = 0;
    GrSelect(WindowTarget, 9);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1019);
    EXPECT_EQ(graphicsState().targetId, 0);
    toolkitState().LastErrorNumber = 0;
    GrSelect(BitmapTarget);  // no bitmap store bound
    EXPECT_EQ(toolkitState().LastErrorNumber, 1019);
}

TEST_F(GraphicsProtocolTest, WindowSelectionKeepsAnEarlierErrorNumber) {
    toolkitState().LastErrorNumber = 42;
    GrSelect(WindowTarget, 2);
    EXPECT_EQ(toolkitState().LastErrorNumber, 42);
    EXPECT_EQ(graphicsState().targetId, 2);
    GrSelect(7);  // unknown type: the target stays, the screen is told again
    EXPECT_EQ(graphicsState().targetId, 2);
}

TEST_F(GraphicsProtocolTest, BitmapTargetTakesItsSizeFromTheStore) {
    int asked = -1;
    graphicsServices().bitmapSelectTarget = [&](int index) {
        asked = index;
        return TargetSize{0, 64, 32};
    };
    GrSelect(BitmapTarget, 3);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(graphicsState().targetType, BitmapTarget);
    EXPECT_EQ(graphicsState().devIX2, 63);
    EXPECT_EQ(graphicsState().devIY2, 31);
}

TEST_F(GraphicsProtocolTest, MetafileDestroyRefusesFreeAndUnknownSlots) {
    std::vector<int> freed;
    graphicsServices().metafileSlotFree = [&](int slot) { freed.push_back(slot); };
    MetafileDestroy(21);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1060);
    EXPECT_TRUE(freed.empty());
    toolkitState().LastErrorNumber = 0;
    MetafileDestroy(5);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1060);
    toolkitState().LastErrorNumber = 0;
    MetafileDestroy(3);
    EXPECT_EQ(toolkitState().LastErrorNumber, 0);
    EXPECT_EQ(freed, (std::vector<int>{5, 3}));
}

TEST_F(GraphicsProtocolTest, ResizesReachOnlyTheSelectedTarget) {
    WindowTargetResized(4, 10, 10);
    EXPECT_EQ(graphicsState().targetWidth, 300);
    WindowTargetResized(0, 120, 90);
    EXPECT_EQ(graphicsState().targetWidth, 120);
    EXPECT_EQ(graphicsState().graphicsWindowHeight, 90);
    DialogFieldTargetResized(1, 5, 10, 10);
    EXPECT_EQ(graphicsState().targetWidth, 120);
}

}  // namespace
}  // namespace tk::test
