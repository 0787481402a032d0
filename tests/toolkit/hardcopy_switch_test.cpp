// Driver selection and the output switch, with a small file driver that
// writes through the plot output file.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics_test_support.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/plot_output_file.h"

namespace tk {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Received {
    int code, count, value, pixX1;
    std::string text;
};

class HardcopySwitch_ : public test::GraphicsTest {
  protected:
    std::vector<Received> received;
    int printCommandAllowed = 0;
    fs::path folder;

    void SetUp() override {
        GraphicsTest::SetUp();
        ResetHardcopyOptions();
        folder = fs::temp_directory_path() / ("pelk-hcswitch-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        HardcopyOutputBind();
        RegisterHardcopyDriver(3, [this](int code) { fileDriver(code); });
        useTarget(400, 300);
    }
    void TearDown() override {
        HardcopySwitch("S");
        ResetHardcopyOptions();
        fs::remove_all(folder);
        GraphicsTest::TearDown();
    }

    void fileDriver(int code) {
        DeviceParameterBlock& b = deviceBlock();
        if (code == 1 && b.count == -999) {
            b.count = 3;
            return;
        }
        received.push_back({code, b.count, b.value, b.pixX[1], deviceTextBuffer().str()});
        switch (code) {
            case 1:
                HardcopyDriverDefaults();
                hardcopyOptions()[1] = 500;
                hardcopyOptions()[2] = 400;
                hardcopyDeviceState().printCommandAllowed = printCommandAllowed;
                hardcopyDeviceState().colourCount = 16;
                SetDefaultFileExtension(".tst");
                hardcopyDeviceState().activeDriver = 3;
                break;
            case 18:
                PlotFileOpen(2);
                PlotFileWriteLine(2, "begin");
                break;
            case 2:
                hardcopyDeviceState().pageDirty = true;
                PlotFileWriteLine(2, "line");
                break;
            case 20:
                hardcopyDeviceState().pageDirty = false;
                break;
            case 19:
                PlotFileWriteLine(2, "end");
                PlotFileClose(2);
                break;
            default:
                break;
        }
    }

    std::vector<int> codes() const {
        std::vector<int> out;
        for (const Received& r : received)
            out.push_back(r.code);
        return out;
    }
    std::string path(const char* name) const { return (folder / name).string(); }
};

TEST_F(HardcopySwitch_, StartDrawEnd) {
    HardcopySelectDriver(1, 3);
    EXPECT_EQ(codes(), (std::vector<int>{1}));
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.tst");
    received.clear();

    HardcopySwitch(path("plot.tst"), "A title");
    // Open, then (after the orientation's own font requests) the state.
    const std::vector<int> start = codes();
    ASSERT_GE(start.size(), 8u);
    EXPECT_EQ(start.front(), 18);
    EXPECT_EQ(std::vector<int>(start.end() - 7, start.end()),
              (std::vector<int>{30, 29, 36, 37, 24, 21, 3}));
    EXPECT_EQ(received[0].count, 0);
    EXPECT_EQ(received[0].value, 1);
    EXPECT_EQ(received[0].pixX1, 1);
    EXPECT_EQ(received[0].text, path("plot.tst"));
    EXPECT_EQ(hardcopyOptions().title.str(), "A title");
    EXPECT_EQ(graphicsState().hardcopyDriver, 3);
    EXPECT_FLOAT_EQ(graphicsState().pageAspect, 1.25f);
    EXPECT_EQ(hardcopyDeviceState().lastPenX, -9999.0f);

    received.clear();
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    HardcopySwitch("s");
    EXPECT_EQ(codes(), (std::vector<int>{2, 20, 19}));
    EXPECT_EQ(received[1].count, 1);
    EXPECT_EQ(received[1].value, 32);
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);
    EXPECT_EQ(slurp(path("plot.tst")), "begin\r\nline\r\nend\r\n");

    // Output is off: the screen alone gets the drawing now.
    received.clear();
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    EXPECT_TRUE(received.empty());
}

TEST_F(HardcopySwitch_, NamesThatStartOutput) {
    HardcopySelectDriver(1, 3);
    const fs::path kept = fs::current_path();
    fs::current_path(folder);
    struct Case {
        std::optional<std::string_view> name;
        int count;
        const char* file;
    };
    const Case cases[] = {{std::nullopt, 1, "doredere.tst"},
                          {std::string_view("   "), 1, "doredere.tst"},
                          {std::string_view(""), 1, "doredere.tst"},
                          {std::string_view("S "), 0, "S"},
                          {std::string_view("x@y"), 0, "x@y"}};
    for (const Case& c : cases) {
        received.clear();
        HardcopySwitch(c.name);
        ASSERT_FALSE(received.empty());
        EXPECT_EQ(received[0].code, 18);
        EXPECT_EQ(received[0].count, c.count);
        EXPECT_EQ(received[0].text, c.file);
        EXPECT_EQ(received[0].pixX1, 0);
        HardcopySwitch("S");
        EXPECT_TRUE(fs::exists(folder / c.file)) << c.file;
    }
    fs::current_path(kept);
}

TEST_F(HardcopySwitch_, TwoStartsEndTheFirstDocument) {
    HardcopySelectDriver(1, 3);
    HardcopySwitch(path("one.tst"));
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    received.clear();
    HardcopySwitch(path("two.tst"));
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(received[0].code, 20);
    EXPECT_EQ(received[1].code, 19);
    EXPECT_EQ(received[2].code, 18);
    EXPECT_EQ(received[2].text, path("two.tst"));
    EXPECT_EQ(slurp(path("one.tst")), "begin\r\nline\r\nend\r\n");
}

TEST_F(HardcopySwitch_, NoDriverLeavesOutputOff) {
    for (int number : {0, 5, 7}) {
        HardcopySelectDriver(1, number);
        HardcopySwitch(path("never.tst"));
        EXPECT_EQ(graphicsState().hardcopyDriver, 0) << number;
        HardcopySwitch("S");
    }
    EXPECT_TRUE(received.empty());
    EXPECT_FALSE(fs::exists(folder / "never.tst"));
    // Other requests than 1 select nothing.
    HardcopySelectDriver(2, 3);
    EXPECT_EQ(SelectedHardcopyDriver(), 7);
}

TEST_F(HardcopySwitch_, PrintCommandReplacesTheFirstAtSign) {
    printCommandAllowed = 1;
    HardcopySelectDriver(1, 3);
    hardcopyOptions().temporaryPlotFile.assign(path("zaz$$01.plt"));
    const std::string command = "cp @ " + path("copy@2");
    HardcopySwitch(command);
    EXPECT_EQ(received[1].text, path("zaz$$01.plt"));
    EXPECT_EQ(hardcopyOptions().pendingPrintCommand.str(), command);
    HardcopySwitch("S");
    EXPECT_EQ(slurp(folder / "copy@2"), "begin\r\nend\r\n");
    EXPECT_TRUE(hardcopyOptions().pendingPrintCommand.blank());
    EXPECT_FALSE(fs::exists(folder / "zaz$$01.plt"));
}

TEST_F(HardcopySwitch_, PrintCommandCopiesTheFinishedFile) {
    printCommandAllowed = 1;
    HardcopySelectDriver(1, 3);
    hardcopyOptions().temporaryPlotFile.assign(path("zaz$$02.plt"));
    HardcopySwitch("cp @ " + path("printed"));
    LineBetweenUnits(0.1f, 0.1f, 0.9f, 0.9f);
    HardcopySwitch("S");
    EXPECT_EQ(slurp(folder / "printed"), "begin\r\nline\r\nend\r\n");
    EXPECT_FALSE(fs::exists(folder / "zaz$$02.plt"));
}

TEST_F(HardcopySwitch_, AtSignIsAFileNameWithoutPrintCommands) {
    printCommandAllowed = 0;
    HardcopySelectDriver(1, 3);
    const std::string name = path("a @ b");
    HardcopySwitch(name);
    EXPECT_EQ(received.back().code, 3);
    EXPECT_EQ(received[1].text, name);
    HardcopySwitch("S");
    EXPECT_TRUE(fs::exists(name));
}

// The program's start-up binding leaves no driver number of the dispatch
// without its driver: each answers the probe with its own number.
TEST_F(HardcopySwitch_, EveryDriverAnswersTheProbeUnderItsNumber) {
    HardcopyOutputBind();
    for (int number : {1, 2, 3, 4, 6, 8, 9, 10, 11, 12}) {
        SCOPED_TRACE(number);
        SelectHardcopyDriverNumber(number);
        deviceBlock().count = -999;
        HardcopyDriverRequest(1);
        EXPECT_EQ(deviceBlock().count, number);
    }
    for (int unknown : {5, 7, 13}) {
        SelectHardcopyDriverNumber(unknown);
        deviceBlock().count = -999;
        HardcopyDriverRequest(1);
        EXPECT_EQ(deviceBlock().count, -999) << unknown;
    }
}

}  // namespace
}  // namespace tk
