// File > Print of the profile window: the print selection, the printer's page
// set-up, then the graph page and the report on the PDF printer, read back
// with poppler's pdftotext.

#include "program_test_support.h"

namespace shell::test {
namespace {

std::string pdfText(const fs::path& pdf) {
    std::string out;
    const std::string command = "pdftotext -layout '" + pdf.string() + "' - 2>/dev/null";
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

win::HWND profileFrame() {
    return tk::windowSystem().slots[static_cast<std::size_t>(profileWindow())].frame;
}

class PrintTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        prints_ = dir_ / "prints";
        fs::create_directories(prints_);
        ::setenv("PELK_PRINTER", "pdf", 1);
        ::setenv("PELK_PRINT_DIR", prints_.c_str(), 1);
        fs::copy_file(PELK_SOURCE_DIR "/examples/BASIN.TQM", dir_ / "BASIN.TQM");
    }
    void TearDown() override {
        ::unsetenv("PELK_PRINTER");
        ::unsetenv("PELK_PRINT_DIR");
        ProgramTest::TearDown();
    }
    std::vector<fs::path> printed() const {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(prints_)) files.push_back(e.path());
        // In the order printed.
        std::sort(files.begin(), files.end(), [](const fs::path& a, const fs::path& b) {
            return fs::last_write_time(a) < fs::last_write_time(b);
        });
        return files;
    }
    fs::path prints_;
};

TEST_F(PrintTest, TheReportOfTheProfileReachesThePrinterWithItsNameAndStations) {
    Script s;
    s.clickAt([] {
        win::RECT r{};
        if (!win::robot::menuBarItemRect(profileFrame(), "File", r))
            throw std::runtime_error("no File menu");
        return win::robot::centreOf(r);
    });
    s.clickMenuItem("Print");
    s.check([] {
        win::HWND dialog = dialogTitled("Print Selection");
        ASSERT_TRUE(dialog);
        EXPECT_EQ(win::robot::stateOf(win::robot::findDescendantById(dialog, IDC_PRINTGRAPH))
                      .checked,
                  1);
        fs::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveWindowPng(dialog, PELK_SCREENSHOT_DIR
                                              "/dialog_109_print_selection.png"));
    });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.key(win::VK_RETURN);  // the page set-up as it stands
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);

    const std::vector<fs::path> pages = printed();
    // The graph, then the report's 81 stations on three pages.
    ASSERT_EQ(pages.size(), 4u);
    const std::string report = pdfText(pages[1]);
    EXPECT_NE(report.find("L3-Gravity"), std::string::npos) << report;
    EXPECT_NE(report.find("Gravity Data"), std::string::npos) << report;
    EXPECT_NE(report.find("Station"), std::string::npos) << report;
    EXPECT_NE(report.find("20800"), std::string::npos) << report;  // easting of station 9
    const std::string last = pdfText(pages.back());
    EXPECT_NE(last.find("Page 3"), std::string::npos) << last;
    EXPECT_NE(last.find("NO DATA ARE MASKED"), std::string::npos) << last;
}

}  // namespace
}  // namespace shell::test
