#include "toolkit/core/startup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "toolkit/core/window_table.h"
#include "toolkit/output/metafile_slots.h"

namespace tk {
namespace {

using test::EnvVar;

class StartupTest : public test::CoreTest {
  protected:
    test::TempDir dir;
    EnvVar rudoinit{"RUDOINIT", nullptr};
    EnvVar rudoru{"RUDORU", dir.path().c_str()};
    EnvVar vadi{"VADI", nullptr};
    EnvVar rudodebug{"RUDODEBUG", nullptr};
    EnvVar tmpdir{"TMPDIR", dir.path().c_str()};
};

TEST_F(StartupTest, SettingsFileLinesAndKeys) {
    EnvVar debug("RUDODEBUG", "4");
    test::writeFile(dir.file("rudoru.ini"),
                    "  lfngen = 41\r\n"
                    "LFNPLOTI=41\r\n"
                    "ab=3\n"
                    "=5\n"
                    "no equals sign\n"
                    "chardir=  C:\\fonts and more  \n"
                    "CHARSET=\tsmall.chr\n"
                    "DEBUG=9\n"
                    "DEBUG=0\n"
                    "PRINTER=abc\n"
                    "PLOTTER=12\n"
                    "HPGL2=0\n");
    ToolkitInit();
    const ToolkitState& s = toolkitState();
    EXPECT_EQ(s.GeneralFileUnit, 41);
    EXPECT_EQ(s.PlotInputFileUnit, 42);
    EXPECT_EQ(s.CharsetDirectory, "C:\\fonts and more\\");
    EXPECT_EQ(s.CharsetFileName, "small.chr");
    EXPECT_EQ(s.ErrorReportMode, 0);  // the file is read after the environment
    EXPECT_EQ(s.LastErrorNumber, 0);
    EXPECT_EQ(s.RasterPrinterModel, 28);
    EXPECT_EQ(s.HardcopyDriverNumber, 1);
    EXPECT_EQ(s.PrinterColourMode, 2);
    EXPECT_EQ(s.SettingsFileName, "rudoru.ini");
}

TEST_F(StartupTest, DefaultsWithoutASettingsFile) {
    EnvVar debug("RUDODEBUG", "3");
    EnvVar noRudoru("RUDORU", nullptr);
    ToolkitInit("   ");
    const ToolkitState& s = toolkitState();
    EXPECT_EQ(s.InitialisedMarker, -9999);
    EXPECT_EQ(s.ErrorReportMode, 3);
    EXPECT_EQ(s.CharsetFileName, "standard.chr");
    EXPECT_EQ(s.CharsetDirectory, s.ToolkitDirectory + "charsets/");
    EXPECT_EQ(s.TemporaryPlotFileName, dir.path() + "/zaz$$00.plt");
    EXPECT_EQ(s.EditorBuffers.size(), 51u * 20u);
    EXPECT_TRUE(s.BeepEnabled);
    EXPECT_FALSE(s.SystemDirectory.empty());
    EXPECT_EQ(ScreenInfoQuery(1), 1280);
    EXPECT_EQ(ScreenInfoQuery(2), 1024);
    EXPECT_EQ(ScreenInfoQuery(4), 1);
    EXPECT_EQ(ScreenInfoQuery(5), 1);
    // Model 28 and its colour mode, the driver default, the printer page.
    EXPECT_EQ(s.RasterPrinterModel, 28);
    EXPECT_EQ(s.PrinterColourMode, 1);
    EXPECT_EQ(s.RasterResolutions[0], 300);
    EXPECT_EQ(s.PageKind, 10);
    // The "PDF file" printer is always there.
    EXPECT_TRUE(s.PrinterAvailable);
}

TEST_F(StartupTest, GivenFileWinsAndASecondInitChangesNothing) {
    test::writeFile(dir.file("rudoru.ini"), "LFNGEN=50\n");
    test::writeFile(dir.file("mine.ini"), "LFNGEN=60\n");
    ToolkitInit(" mine.ini ");
    EXPECT_EQ(toolkitState().GeneralFileUnit, 60);
    test::writeFile(dir.file("other.ini"), "LFNGEN=70\n");
    ToolkitInit("other.ini");
    EXPECT_EQ(toolkitState().GeneralFileUnit, 60);
}

TEST_F(StartupTest, SettingsFileFoundInTheToolkitDirectory) {
    test::TempDir elsewhere;  // now the current directory holds no settings file
    test::writeFile(dir.file("rudoru.ini"), "LFNPLOTI=44\n");
    ToolkitInit();
    EXPECT_EQ(toolkitState().SettingsFileName, dir.path() + "/rudoru.ini");
    EXPECT_EQ(toolkitState().PlotInputFileUnit, 44);
}

TEST_F(StartupTest, ScreenColoursAreCappedAtTwentyFourBits) {
    seams().screenMetrics = [] {
        ScreenMetrics m;
        m.bitsPerPixel = 32;
        return m;
    };
    ToolkitInit();
    EXPECT_EQ(ScreenInfoQuery(3), 16777216);
    EXPECT_EQ(toolkitState().PaletteSize, 256);
}

TEST_F(StartupTest, PrinterModels) {
    struct Case {
        int request, model, type, resolution, pins, colourMode;
    };
    const Case cases[] = {
        {27, 28, 7, 300, 1, 1}, {1, 28, 7, 300, 1, 1},   {39, 28, 7, 300, 1, 1},
        {29, 29, 7, 600, 1, 3}, {32, 32, 8, 300, 1, 2},  {33, 33, 8, 300, 1, 0},
        {4, 4, 2, 240, 8, 0},   {19, 19, 4, 360, 24, 0},
    };
    for (const auto& c : cases) {
        toolkitState().reset();
        RasterPrinterModelSet(c.request);
        const ToolkitState& s = toolkitState();
        EXPECT_EQ(s.RasterPrinterModel, c.model) << c.request;
        EXPECT_EQ(s.RasterPrinterType, c.type) << c.request;
        EXPECT_EQ(s.RasterResolutions[0], c.resolution) << c.request;
        EXPECT_EQ(s.RasterPins, c.pins) << c.request;
        EXPECT_EQ(s.PrinterColourMode, c.colourMode) << c.request;
    }
    HardcopyDriverNumberSet(8);
    EXPECT_EQ(toolkitState().HardcopyDriverNumber, 8);
    HardcopyDriverNumberSet(99);
    EXPECT_EQ(toolkitState().HardcopyDriverNumber, 1);
}

TEST_F(StartupTest, PageDefaults) {
    seams().printerQueryCaps = [] { return PrinterCaps{842, 595, 698, 451, 72, 72, 256, 0}; };
    HardcopyPageDefaults();
    EXPECT_TRUE(toolkitState().PrinterAvailable);
    EXPECT_EQ(toolkitState().PageWords[0], 842);
    HardcopyPageDefaults(2);
    EXPECT_EQ(toolkitState().PageWords[0], 756);
    EXPECT_EQ(toolkitState().PageWords[5], -20);
    EXPECT_EQ(toolkitState().PrinterDumpFileName, "rudodump.ps");
}

void printLastBox() {
    if (auto box = win::testing::lastMessageBox()) std::fprintf(stderr, "[%s]", box->text.c_str());
}

TEST_F(StartupTest, VersionKeyShowsTheVersionAndEnds) {
    test::writeFile(dir.file("rudoru.ini"), "version=1\n");
    EXPECT_EXIT(
        {
            std::atexit(printLastBox);
            ToolkitInit();
        },
        ::testing::ExitedWithCode(0),
        "\\[Abnormal exit \\(code 0\\) : Veraziderad version 7.10j\\]");
}

TEST_F(StartupTest, StartUpLeavesEveryMetafileSlotFree) {
    metafileSlot(4).SlotKind = kMemoryCgmSlot;
    metafileSlot(4).SlotBuffer.assign(10, 1);
    ToolkitInit();
    EXPECT_EQ(metafileSlot(4).SlotKind, 0);
    EXPECT_TRUE(metafileSlot(4).SlotBuffer.empty());
}

TEST_F(StartupTest, ShutdownEndsOutputAndDestroysWhatIsInUse) {
    ToolkitInit();
    std::vector<std::string> calls;
    seams().hardcopySwitch = [&](std::string_view name, std::string_view) {
        calls.push_back("switch " + std::string(name));
    };
    seams().metafileSlotInUse = [](int slot) { return slot == 3 || slot == 20; };
    seams().metafileDestroy = [&](int slot) { calls.push_back("destroy " + std::to_string(slot)); };
    seams().windowDestroyAll = [&] { calls.push_back("windows"); };
    toolkitState().RootWindowOpen = true;
    toolkitState().EditorBuffers[5].State = 2;
    ToolkitShutdown();
    EXPECT_EQ(calls, (std::vector<std::string>{"switch S", "destroy 3", "destroy 20", "windows"}));
    EXPECT_FALSE(toolkitState().RootWindowOpen);
    EXPECT_EQ(windowSystem().WindowFlags[0], -1);
    EXPECT_EQ(toolkitState().EditorBuffers[5].State, 0);
    EXPECT_EQ(toolkitState().InitialisedMarker, -9999);
}

}  // namespace
}  // namespace tk
