// The hardcopy option setter: ranges, follow-up requests and the default
// file name's extension.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/hardcopy_options_dialogs.h"

namespace tk {
namespace {

class HardcopyOptions_ : public test::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetHardcopyOptions();
    }
    void TearDown() override {
        ResetHardcopyOptions();
        GraphicsTest::TearDown();
    }
};

TEST_F(HardcopyOptions_, RangesAndFollowUpRequests) {
    recordHardcopy();
    struct Case {
        int code, value, stored;
        std::vector<int> requests;
    };
    const Case cases[] = {
        {9, 0, 1, {30}},  {9, 7, 7, {30}},   {10, 3, 0, {}},    {10, 2, 2, {36}},
        {11, 1, 1, {37}}, {12, 80, 100, {}}, {8, -4, 1, {}},    {6, 3, 0, {}},
        {6, 2, 2, {}},    {21, 128, 0, {}},  {21, 13, 13, {}},  {105, 5, 0, {}},
        {105, 4, 4, {}},  {101, 0, 0, {}},   {107, -3, -3, {}}, {1, 0, 0, {}},
    };
    for (const Case& c : cases) {
        ResetHardcopyOptions();
        hardcopyLog.clear();
        HardcopyOptionSet(c.code, c.value);
        EXPECT_EQ(hardcopyOptions()[c.code], c.stored) << c.code << " " << c.value;
        EXPECT_EQ(hardcopyLog, c.requests) << c.code << " " << c.value;
    }
    // Codes outside the table and code 14 change nothing.
    for (int code : {14, 30, 100, 109, 0, -1})
        HardcopyOptionSet(code, 5);
    EXPECT_EQ(hardcopyOptions()[14], 0);
}

TEST_F(HardcopyOptions_, RequestsReachTheDriverOnlyWhileOutputIsOn) {
    recordHardcopy();
    graphicsState().hardcopyDriver = 0;
    HardcopyOptionSet(9, 3);
    EXPECT_EQ(hardcopyOptions()[9], 3);
    EXPECT_TRUE(hardcopyLog.empty());
}

TEST_F(HardcopyOptions_, OrientationOrdersThePage) {
    struct Case {
        int value, width, height, storedWidth, storedHeight, orientation;
    };
    const Case cases[] = {
        {3, 540, 756, 756, 540, 1}, {3, 756, 540, 756, 540, 1}, {2, 756, 540, 540, 756, 0},
        {1, 756, 540, 756, 540, 1}, {4, 756, 540, 756, 540, 0}, {-1, 540, 756, 540, 756, 0},
    };
    for (const Case& c : cases) {
        ResetHardcopyOptions();
        hardcopyOptions()[1] = c.width;
        hardcopyOptions()[2] = c.height;
        HardcopyOptionSet(5, c.value);
        EXPECT_EQ(hardcopyOptions()[1], c.storedWidth) << c.value;
        EXPECT_EQ(hardcopyOptions()[2], c.storedHeight) << c.value;
        EXPECT_EQ(hardcopyOptions()[5], c.orientation) << c.value;
    }
}

TEST_F(HardcopyOptions_, PageSizeDerivesTheAspect) {
    graphicsServices().hardcopyPageSize = [](float& w, float& h) {
        w = static_cast<float>(hardcopyOptions()[1]);
        h = static_cast<float>(hardcopyOptions()[2]);
    };
    HardcopyOptionSet(1, 600);
    HardcopyOptionSet(2, 400);
    EXPECT_FLOAT_EQ(graphicsState().pageAspect, 1.5f);
}

TEST_F(HardcopyOptions_, ColourDepthDependsOnTheActiveDriver) {
    struct Case {
        int driver, value, stored;
    };
    const Case cases[] = {{8, 24, 24}, {8, 3, 3}, {8, 1, 0}, {2, 24, 0}, {6, 1, 1}, {6, 3, 0}};
    for (const Case& c : cases) {
        ResetHardcopyOptions();
        hardcopyDeviceState().activeDriver = c.driver;
        HardcopyOptionSet(23, c.value);
        EXPECT_EQ(hardcopyOptions()[23], c.stored) << c.driver << " " << c.value;
    }
}

TEST_F(HardcopyOptions_, ExtensionOfTheDefaultName) {
    struct Case {
        int driver, code, value;
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {6, 26, 3, "doredere.pcx", "doredere.png"},
        {6, 26, 1, "doredere.pcx", "doredere.bmp"},
        {6, 26, 9, "doredere.png", "doredere.pcx"},
        {6, 26, 3, "out\\my.dir\\plot", "out\\my.dir\\plot.png"},
        {6, 26, 3, "", ""},
        {2, 22, 1, "doredere.ps", "doredere.eps"},
        {2, 22, 0, "doredere.eps", "doredere.ps"},
        {8, 22, 1, "doredere.dxf", "doredere.dxf"},
        {2, 26, 3, "doredere.ps", "doredere.ps"},
    };
    for (const Case& c : cases) {
        ResetHardcopyOptions();
        hardcopyDeviceState().activeDriver = c.driver;
        hardcopyOptions().defaultFileName.assign(c.before);
        HardcopyOptionSet(c.code, c.value);
        EXPECT_EQ(hardcopyOptions().defaultFileName.str(), c.after) << c.before;
    }
}

TEST_F(HardcopyOptions_, DriverDefaults) {
    hardcopyOptions()[1] = 300;
    hardcopyOptions()[7] = 1;
    HardcopyDriverDefaults();
    const std::pair<int, int> expected[] = {{1, 300},      {6, 0},    {7, 0},    {8, 1},
                                            {9, 5},        {101, 80}, {102, 60}, {103, 1},
                                            {104, 999999}, {105, 1},  {108, 8}};
    for (auto [code, value] : expected)
        EXPECT_EQ(hardcopyOptions()[code], value) << code;
}

}  // namespace
}  // namespace tk

namespace tk {
namespace {

class HardcopyOptionsShow_ : public test::GraphicsTest {
  protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ResetHardcopyOptions();
    }
    void TearDown() override {
        ResetHardcopyOptions();
        GraphicsTest::TearDown();
    }
};

TEST_F(HardcopyOptionsShow_, ReportsWhatCannotBeShown) {
    struct Case {
        int driver, printerAvailable, error, result;
    };
    // No driver initialised; the printer driver without a printer (nothing
    // confirmed, whatever an earlier set-up gave); a driver number without a
    // dialog template of its own.
    const Case cases[] = {{0, 0, 46, 7}, {10, 0, 63, 0}, {5, 0, 0, 7}};
    for (const Case& c : cases) {
        ResetHardcopyOptions();
        hardcopyDeviceState().activeDriver = c.driver;
        hardcopyOptions().printerAvailable = c.printerAvailable;
        hardcopyOptions()[1] = 756;
        hardcopyOptions().defaultFileName.assign("doredere.dxf");
        toolkitState().LastErrorNumber = 0;
        hardcopyDialogResult() = 7;
        HardcopyOptionsShow(3);
        if (c.error != 0) {
            EXPECT_EQ(toolkitState().LastErrorNumber, c.error) << c.driver;
            EXPECT_EQ(toolkitState().LastErrorRoutine, "HardcopyOptionsShow");
        } else {
            EXPECT_NE(toolkitState().LastErrorNumber, 0) << "the missing template is reported";
        }
        EXPECT_EQ(hardcopyOptions()[1], 756);
        EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.dxf");
        EXPECT_EQ(hardcopyDialogResult(), c.result) << c.driver;
    }
}

}  // namespace
}  // namespace tk
