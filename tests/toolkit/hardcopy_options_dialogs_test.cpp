// The device and file options dialogs of the hardcopy drivers, played by
// the robot, and the device model names they offer.

#include <filesystem>

#include "dialog_test_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/controls_api.h"
#include "platform/robot/screenshot.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/output/device_model_names.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/hardcopy_options_dialogs.h"

namespace tk::test {
namespace {

using win::robot::Script;

class HardcopyDialogs : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        ResetHardcopyOptions();
        keptPlotter_ = toolkitState().HardcopyDriverNumber;
        keptHpgl2_ = toolkitState().PrinterColourMode;
    }
    void TearDown() override {
        EXPECT_EQ(win::robot::stop(), 0u) << "robot steps were never played";
        ResetHardcopyOptions();
        toolkitState().HardcopyDriverNumber = keptPlotter_;
        toolkitState().PrinterColourMode = keptHpgl2_;
        DialogTest::TearDown();
    }
    int keptPlotter_ = 0, keptHpgl2_ = 0;
    static win::HWND dialog(const std::string& title) {
        return win::robot::findTopLevelByTitle(title);
    }
    static win::HWND fieldOf(const std::string& title, int id) {
        return win::GetDlgItem(dialog(title), id);
    }
    static void shoot(const std::string& title, const std::string& name) {
        ASSERT_TRUE(dialog(title)) << title;
        std::filesystem::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveWindowPng(dialog(title), PELK_SCREENSHOT_DIR "/dialog_" +
                                                                 name + ".png"));
    }
    static void typeInto(Script& s, const std::string& title, int id, const std::string& text) {
        s.clickOn([=] { return fieldOf(title, id); });
        s.chord({win::VK_CONTROL, 'A'}).text(text);
    }
    static std::string fileName(const std::array<char, 260>& name) {
        return blankTrimmed(std::string(name.data(), name.size()));
    }
};

TEST_F(HardcopyDialogs, TheDxfFileDialogShowsAndSetsItsOptions) {
    hardcopyDeviceState().activeDriver = hc::DxfDriverNumber;
    hardcopyOptions()[hc::PageWidth] = 756;
    hardcopyOptions()[hc::PageHeight] = 540;
    hardcopyOptions()[hc::ColourDepth] = 8;
    hardcopyOptions()[hc::LineWidthOption] = 5;
    constexpr const char* kTitle = "DXF file";
    Script s;
    s.check([=] {
        ASSERT_TRUE(dialog(kTitle));
        // 756 points are 266.70 mm.
        EXPECT_EQ(blankTrimmed(win::robot::windowText(fieldOf(kTitle, 1001))), "266.70");
        EXPECT_EQ(win::robot::windowText(fieldOf(kTitle, 1205)), "Size/Position (mm)");
        EXPECT_EQ(win::robot::windowText(fieldOf(kTitle, 1201)), "plan.dxf");
        shoot(kTitle, "32008_dxf_file");
    });
    typeInto(s, kTitle, 1001, "100");
    typeInto(s, kTitle, 1009, "12");
    s.check([=] {
        // True colour: the fourth depth.
        win::SendMessageA(fieldOf(kTitle, 1023), win::CB_SETCURSEL, 3, 0);
    });
    typeInto(s, kTitle, 1201, "site.dxf");
    s.clickOn([=] { return fieldOf(kTitle, win::IDOK); });
    win::robot::play(std::move(s));
    std::array<char, 260> name{};
    name.fill(' ');
    putText(name, "plan.dxf");
    hardcopyDialogResult() = 0;
    HardcopyOptionsShow(3, TextOut(name));
    EXPECT_EQ(hardcopyDialogResult(), 1);
    EXPECT_EQ(hardcopyOptions()[hc::PageWidth], 283);  // 100 mm
    EXPECT_EQ(hardcopyOptions()[hc::PageHeight], 540);
    EXPECT_EQ(hardcopyOptions()[hc::ColourDepth], 24);
    EXPECT_EQ(hardcopyOptions()[hc::LineWidthOption], 12);
    EXPECT_EQ(fileName(name), "site.dxf");
}

TEST_F(HardcopyDialogs, TheMetafileKindChangesTheExtensionAndCancelKeepsEverything) {
    hardcopyDeviceState().activeDriver = hc::MetafileDriverNumber;
    hardcopyOptions()[hc::PageWidth] = 720;
    hardcopyOptions()[27] = 1;
    hardcopyOptions().defaultFileName.assign("picture.wmf");
    constexpr const char* kTitle = "Windows Metafile";
    Script s;
    s.check([=] { shoot(kTitle, "32011_windows_metafile"); });
    // The enhanced metafile, one below the placeable metafile, then on.
    s.clickOn([=] { return fieldOf(kTitle, 1027); });
    s.key(win::VK_DOWN).key(win::VK_RETURN).key(win::VK_TAB);
    s.check([=] { EXPECT_EQ(win::robot::windowText(fieldOf(kTitle, 1201)), "picture.emf"); });
    s.clickOn([=] { return fieldOf(kTitle, win::IDCANCEL); });
    win::robot::play(std::move(s));
    hardcopyDialogResult() = 7;
    HardcopyOptionsShow(1);
    EXPECT_EQ(hardcopyDialogResult(), 7);
    EXPECT_EQ(hardcopyOptions()[27], 1);
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "picture.wmf");
}

TEST_F(HardcopyDialogs, TheDeviceDialogOffersThePlotterModelsAndSelectsOne) {
    hardcopyDeviceState().activeDriver = hc::HpglDriverNumber;
    hardcopyOptions()[hc::PageWidth] = 769;
    hardcopyOptions()[hc::Copies] = 2;
    constexpr const char* kTitle = "HP-GL Plotter Output";
    Script s;
    s.check([=] {
        ASSERT_TRUE(dialog(kTitle));
        win::HWND list = fieldOf(kTitle, 1204);
        EXPECT_EQ(win::SendMessageA(list, win::CB_GETCOUNT, 0, 0), 10);
        EXPECT_EQ(win::robot::windowText(list), "Generic HP-GL 4-pen plotter");
        EXPECT_EQ(win::robot::windowText(fieldOf(kTitle, 1203)), "Plotter type :");
        EXPECT_EQ(blankTrimmed(win::robot::windowText(fieldOf(kTitle, 1008))), "2");
        shoot(kTitle, "32098_hardcopy_options");
        win::SendMessageA(list, win::CB_SETCURSEL, 2, 0);
    });
    s.clickOn([=] { return fieldOf(kTitle, win::IDOK); });
    win::robot::play(std::move(s));
    HardcopyOptionsShow(1);
    EXPECT_EQ(hardcopyDialogResult(), 1);
    std::array<char, 27> name{};
    InfoDeviceName(PenPlotterKind, name);
    EXPECT_EQ(std::string(name.data(), 27), "HP 7475A A3 paper (6 pens) ");
}

// The device dialog's Options button opens the file side of its driver:
// what is chosen there is kept, and so is the file name.
TEST_F(HardcopyDialogs, TheDeviceDialogOpensTheFileOptionsOfItsDriver) {
    hardcopyDeviceState().activeDriver = hc::HpglDriverNumber;
    hardcopyOptions()[hc::HpglShapeRecords] = 1;
    hardcopyOptions()[hc::LabelTerminator] = 4;
    hardcopyOptions().defaultFileName.assign("plot.plt");
    constexpr const char* kTitle = "HP-GL Plotter Output";
    constexpr const char* kFileTitle = "HP-GL plotter file";
    Script s;
    s.check([=] { ASSERT_TRUE(dialog(kTitle)); });
    s.clickOn([=] { return fieldOf(kTitle, 1206); });
    s.check([=] {
        ASSERT_TRUE(dialog(kFileTitle));
        EXPECT_EQ(win::robot::windowText(fieldOf(kFileTitle, 1018)), "Written for every filled shape");
        EXPECT_EQ(blankTrimmed(win::robot::windowText(fieldOf(kFileTitle, 1021))), "4");
        EXPECT_EQ(win::robot::windowText(fieldOf(kFileTitle, 1201)), "plot.plt");
        shoot(kFileTitle, "32001_hpgl_plotter_file");
        win::SendMessageA(fieldOf(kFileTitle, 1018), win::CB_SETCURSEL, 0, 0);
    });
    typeInto(s, kFileTitle, 1021, "13");
    s.clickOn([=] { return fieldOf(kFileTitle, win::IDOK); });
    s.check([=] {
        EXPECT_FALSE(dialog(kFileTitle));
        ASSERT_TRUE(dialog(kTitle));
    });
    s.clickOn([=] { return fieldOf(kTitle, win::IDOK); });
    win::robot::play(std::move(s));
    HardcopyOptionsShow(1);
    EXPECT_EQ(hardcopyDialogResult(), 1);
    EXPECT_EQ(hardcopyOptions()[hc::HpglShapeRecords], 0);
    EXPECT_EQ(hardcopyOptions()[hc::LabelTerminator], 13);
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "plot.plt");
}

// The model chosen is the one the driver draws for: its page is the model's
// (an A3 plotter, a large-format HP-GL/2 printer), also when the driver is
// selected again later.
TEST_F(HardcopyDialogs, TheModelChosenGivesTheDriverItsPage) {
    struct Case {
        int driver;
        const char* title;
        int entry;  // the list entry chosen, from 0
        int width, height, pens;
    };
    const Case cases[] = {
        {hc::HpglDriverNumber, "HP-GL Plotter Output", 2, 1111, 778, 6},
        {hc::Hpgl2DriverNumber, "HP-GL/2 Printer Output", 3, 1122, 769, 256},
    };
    HardcopyOutputBind();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        ResetHardcopyOptions();
        HardcopySelectDriver(1, c.driver);
        const int firstWidth = hardcopyOptions()[hc::PageWidth];
        Script s;
        s.check([=] {
            ASSERT_TRUE(dialog(c.title));
            win::SendMessageA(fieldOf(c.title, 1204), win::CB_SETCURSEL, static_cast<win::WPARAM>(c.entry), 0);
        });
        s.clickOn([=] { return fieldOf(c.title, win::IDOK); });
        win::robot::play(std::move(s));
        HardcopyOptionsShow(0);
        EXPECT_EQ(hardcopyDialogResult(), 1);
        EXPECT_NE(firstWidth, c.width);
        for (int again = 0; again < 2; ++again) {
            EXPECT_EQ(hardcopyOptions()[hc::PageWidth], c.width);
            EXPECT_EQ(hardcopyOptions()[hc::PageHeight], c.height);
            EXPECT_EQ(hardcopyDeviceState().penCount, c.pens);
            HardcopySelectDriver(1, c.driver);
        }
    }
}

TEST_F(HardcopyDialogs, EveryOtherDriverShowsItsOwnDialogAndCancelKeepsItsOptions) {
    struct Case {
        int driver;
        const char* title;
        const char* deviceLabel;  // nullptr: a file dialog without a device list
        int list;                 // a choice field and the entries it offers
        int entries;
        const char* shot;
    };
    const Case cases[] = {
        {hc::PostScriptDriverNumber, "PostScript Output", "Format :", 1204, 2,
         "32098_postscript_output"},
        {hc::RasterDriverNumber, "HP/Epson/IBM Printer Output", "Printer type :", 1204,
         lastDeviceModel(RasterPrinterKind) - firstDeviceModel(RasterPrinterKind) + 1,
         "32098_printer_output"},
        {hc::Hpgl2DriverNumber, "HP-GL/2 Printer Output", "Device type :", 1204,
         lastDeviceModel(Hpgl2PrinterKind) - firstDeviceModel(Hpgl2PrinterKind) + 1,
         "32098_hpgl2_output"},
        {hc::SvgDriverNumber, "SVG file", nullptr, 1010, 3, "32003_svg_file"},
        {hc::BitImageDriverNumber, "BMP/PCX/PNG bit image file", nullptr, 1026, 4,
         "32006_bit_image_file"},
        {hc::CgmDriverNumber, "CGM file", nullptr, 1028, 3, "32009_cgm_file"},
    };
    for (const Case& c : cases) {
        ResetHardcopyOptions();
        hardcopyDeviceState().activeDriver = c.driver;
        hardcopyOptions()[hc::PageWidth] = 720;
        hardcopyOptions().defaultFileName.assign("picture.out");
        Script s;
        s.check([=] {
            ASSERT_TRUE(dialog(c.title)) << c.title;
            if (c.deviceLabel)
                EXPECT_EQ(win::robot::windowText(fieldOf(c.title, 1203)), c.deviceLabel);
            EXPECT_EQ(win::SendMessageA(fieldOf(c.title, c.list), win::CB_GETCOUNT, 0, 0),
                      c.entries)
                << c.title;
            EXPECT_EQ(blankTrimmed(win::robot::windowText(fieldOf(c.title, 1001))), "10.00");
            EXPECT_EQ(win::robot::windowText(fieldOf(c.title, 1201)), "picture.out");
            shoot(c.title, c.shot);
        });
        typeInto(s, c.title, 1001, "5");
        s.clickOn([=] { return fieldOf(c.title, win::IDCANCEL); });
        win::robot::play(std::move(s));
        hardcopyDialogResult() = 7;
        HardcopyOptionsShow(1);
        EXPECT_EQ(hardcopyDialogResult(), 7) << c.title;
        EXPECT_EQ(hardcopyOptions()[hc::PageWidth], 720) << c.title;
        EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "picture.out");
    }
}

TEST_F(HardcopyDialogs, TheFormatChosenGivesTheFileItsExtension) {
    struct Case {
        int driver;
        const char* title;
        int list;
        int downs;  // presses of the down key from the format shown
        int option, value;
        const char* file;
    };
    // Encapsulated PostScript is the second format; the bit image formats go
    // PCX, BMP, run-length BMP, PNG.
    const Case cases[] = {
        {hc::PostScriptDriverNumber, "PostScript Output", 1204, 1, hc::PostScriptKind, 1,
         "picture.eps"},
        {hc::BitImageDriverNumber, "BMP/PCX/PNG bit image file", 1026, 3, hc::BitmapFormat, 3,
         "picture.png"},
    };
    for (const Case& c : cases) {
        ResetHardcopyOptions();
        hardcopyDeviceState().activeDriver = c.driver;
        hardcopyOptions()[c.option] = 0;
        hardcopyOptions().defaultFileName.assign("picture.out");
        Script s;
        s.clickOn([=] { return fieldOf(c.title, c.list); });
        for (int k = 0; k < c.downs; ++k) s.key(win::VK_DOWN);
        s.key(win::VK_RETURN).key(win::VK_TAB);
        s.clickOn([=] { return fieldOf(c.title, win::IDOK); });
        win::robot::play(std::move(s));
        HardcopyOptionsShow(2);
        EXPECT_EQ(hardcopyDialogResult(), 1) << c.title;
        EXPECT_EQ(hardcopyOptions()[c.option], c.value) << c.title;
        EXPECT_EQ(hardcopyOptions().defaultFileName.str(), c.file) << c.title;
    }
}

// The printer's branch: the page set-up dialog in hundredths of a millimetre,
// its answers back in points.
TEST_F(HardcopyDialogs, ThePrinterPageSetUpShowsThePageAndReadsItBack) {
    hardcopyDeviceState().activeDriver = hc::PrinterDriverNumber;
    hardcopyDeviceState().colourCount = 2;
    HardcopyOptions& o = hardcopyOptions();
    o.printerAvailable = 1;
    o[hc::PageWidth] = 700;   // 246.94 mm
    o[hc::PageHeight] = 468;  // 165.10 mm
    o[hc::PageOffsetX] = 72;  // 25.4 mm
    o[hc::PageOffsetY] = 72;
    o[hc::Orientation] = 1;
    o[hc::Copies] = 2;
    o[hc::BlackLines] = 1;
    Script s;
    s.check([] {
        win::HWND setup = win::robot::findTopLevelByClass("#32770");
        ASSERT_TRUE(setup);
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(setup, win::kMarginLeft)), "25.4");
        EXPECT_EQ(win::robot::stateOf(win::GetDlgItem(setup, win::kLandscapeRadio)).checked, 1);
        std::filesystem::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveWindowPng(setup, PELK_SCREENSHOT_DIR "/dialog_page_setup.png"));
    });
    s.clickOn([] { return win::GetDlgItem(win::robot::findTopLevelByClass("#32770"), win::IDOK); });
    win::robot::play(std::move(s));
    HardcopyOptionsShow(3);
    EXPECT_EQ(hardcopyDialogResult(), 1);
    EXPECT_EQ(o[hc::PageWidth], 700);
    EXPECT_EQ(o[hc::PageHeight], 468);
    EXPECT_EQ(o[hc::PageOffsetX], 72);
    EXPECT_EQ(o[hc::PageOffsetY], 72);
    EXPECT_EQ(o[hc::Orientation], 1);
    EXPECT_EQ(o[hc::Copies], 2);
    EXPECT_GT(o.sheetWidth, o.sheetHeight);  // turned
    EXPECT_GE(o.sheetWidth, 700 + 72);
    // A colour printer after a black-and-white one draws its lines in colour.
    if (hardcopyDeviceState().colourCount > 2) EXPECT_EQ(o[hc::BlackLines], 0);

    // Cancel leaves every option and answers 0.
    o[hc::PageWidth] = 650;
    Script c;
    c.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    c.clickOn([] { return win::GetDlgItem(win::robot::findTopLevelByClass("#32770"), win::IDCANCEL); });
    win::robot::play(std::move(c));
    HardcopyOptionsShow(3);
    EXPECT_EQ(hardcopyDialogResult(), 0);
    EXPECT_EQ(o[hc::PageWidth], 650);
}

TEST_F(HardcopyDialogs, DeviceNamesAreCutToTheTextGiven) {
    RasterPrinterModelSet(2);
    std::array<char, 30> raster{};
    InfoDeviceName(RasterPrinterKind, raster);
    EXPECT_EQ(std::string(raster.data(), 30), "IBM Graphics Printer          ");
    std::array<char, 20> shortName{};
    takeError();
    InfoDeviceName(PenPlotterKind, shortName);
    EXPECT_EQ(std::string(shortName.data(), 20), "Generic HP-GL 4-pen ");
    EXPECT_EQ(takeError(), 1023);
    std::array<char, 31> hpgl2{};
    selectDeviceModel(Hpgl2PrinterKind, 4);
    InfoDeviceName(Hpgl2PrinterKind, hpgl2);
    EXPECT_EQ(std::string(hpgl2.data(), 31), "HP DesignJet                   ");
    std::array<char, 8> other{};
    InfoDeviceName(7, other);
    EXPECT_EQ(std::string(other.data(), 8), "        ");
    EXPECT_EQ(takeError(), 0);
}

}  // namespace
}  // namespace tk::test
