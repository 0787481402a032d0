// File > Print of the profile window: the print selection, the printer's page
// set-up, then the graph page and the report on the PDF printer, read back
// with poppler's pdftotext.

#include <iterator>
#include <sstream>

#include "dialog_test_support.h"

namespace shell::test {
namespace {

std::string pdfText(const fs::path& pdf) {
    return commandOutput("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null");
}

// A printed page as a picture among the screenshots, to be looked at.
void savePicture(const fs::path& pdf, const std::string& name) {
    fs::create_directories(PELK_SCREENSHOT_DIR);
    commandOutput("pdftoppm -png -r 60 -singlefile '" + pdf.string() + "' '" +
                  PELK_SCREENSHOT_DIR + "/" + name + "'");
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
    clickMenuTitle(s, profileFrame, "File");
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
    // The graph and the report's first page as pictures to look at.
    savePicture(pages[0], "shell_print_graph");
    savePicture(pages[1], "shell_print_report");
    const std::string report = pdfText(pages[1]);
    EXPECT_NE(report.find("L3-Gravity"), std::string::npos) << report;
    EXPECT_NE(report.find("Gravity Data"), std::string::npos) << report;
    EXPECT_NE(report.find("Station"), std::string::npos) << report;
    EXPECT_NE(report.find("20800"), std::string::npos) << report;  // easting of station 9
    // Every further page starts with the whole name and its number.
    const std::string second = pdfText(pages[2]);
    EXPECT_NE(second.find("L3-Gravity"), std::string::npos) << second;
    EXPECT_NE(second.find("Page 2"), std::string::npos) << second;
    const std::string last = pdfText(pages.back());
    EXPECT_NE(last.find("Page 3"), std::string::npos) << last;
    EXPECT_NE(last.find("NO DATA ARE MASKED"), std::string::npos) << last;
}

// File > Print of the profile window with the print selection's boxes
// turned by clicks: BOXES are clicked before OK.
void printProfile(Script& s, std::vector<int> boxes) {
    clickMenuTitle(s, profileFrame, "File");
    s.clickMenuItem("Print");
    s.check([] { ASSERT_TRUE(dialogTitled("Print Selection")); });
    for (int box : boxes) clickField(s, "Print Selection", box);
    clickField(s, "Print Selection", win::IDOK);
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.key(win::VK_RETURN);  // the page set-up as it stands
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
}

TEST_F(PrintTest, TheSelectionChoosesThePagesAndTheProfileTheColumns) {
    Script s;
    // Without synthetics, sensor column and regional, station 2 masked; a
    // model whose topography ends before the line does.
    s.check([] {
        model::ProfileLine& w = workingProfile();
        w.LSYN = false;
        w.IELEV = 3;
        w.MODEL.NTOPO = 40;
        w.MASK(2, 1) = model::Logical{true};
    });
    printProfile(s, {IDC_PRINTGRAPH});               // the report alone
    printProfile(s, {IDC_PRINTGRAPH, IDC_PRINTDATA});  // the graph alone
    printProfile(s, {IDC_PRINTGRAPH, IDC_PRINTREGIONAL});  // the regional heading
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);

    const std::vector<fs::path> pages = printed();
    // Three report pages, the graph, a page with the regional heading.
    ASSERT_EQ(pages.size(), 5u);
    const std::string first = pdfText(pages[0]);
    for (const char* t : {"L3-Gravity", "Sensor", "Elev.", "Data", " *"})
        EXPECT_NE(first.find(t), std::string::npos) << t << "\n" << first;
    for (const char* t : {"Synth.", "Regnl", "Diff", "Layered Model"})
        EXPECT_EQ(first.find(t), std::string::npos) << t << "\n" << first;
    const std::string last = pdfText(pages[2]);
    EXPECT_NE(last.find("\"*\" INDICATES MASKED DATA POINT"), std::string::npos) << last;
    // Station 81 lies beyond the model's topography: its elevation is 0.0.
    // Row: number, east, north, station, sensor, elevation, data.
    std::istringstream rows(last);
    std::string row;
    std::vector<std::string> words;
    while (std::getline(rows, row)) {
        std::istringstream in(row);
        std::vector<std::string> w{std::istream_iterator<std::string>(in), {}};
        if (!w.empty() && w[0] == "81") words = w;
    }
    ASSERT_EQ(words.size(), 7u) << last;
    EXPECT_EQ(words[3], "8000.0");
    EXPECT_EQ(words[5], "0.0");
    EXPECT_EQ(pdfText(pages[3]).find("Station"), std::string::npos);  // the graph
    const std::string regional = pdfText(pages[4]);
    EXPECT_NE(regional.find("Layered Model"), std::string::npos) << regional;
    EXPECT_NE(regional.find("L3-Gravity"), std::string::npos) << regional;
    EXPECT_EQ(regional.find("Station"), std::string::npos) << regional;
}

TEST_F(PrintTest, TheMapIsPrintedFromTheMainWindowOnOnePage) {
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Print");
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.key(win::VK_RETURN);  // the page set-up as it stands
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    // Cancel in the page set-up prints nothing.
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Print");
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.key(win::VK_ESCAPE);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);

    const std::vector<fs::path> pages = printed();
    ASSERT_EQ(pages.size(), 1u);
    savePicture(pages[0], "shell_print_map");
    // The map's title and axis titles are drawn as text, their letters
    // spaced as the plotter font places them.
    std::string map = pdfText(pages[0]);
    std::erase(map, ' ');
    EXPECT_NE(map.find("BASIN"), std::string::npos) << map;
    EXPECT_NE(map.find("Northing(km)"), std::string::npos) << map;
    EXPECT_NE(map.find("Easting(km)"), std::string::npos) << map;
}

}  // namespace
}  // namespace shell::test
