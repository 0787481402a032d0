// File > Print of the profile window: the print selection, the printer's page
// set-up, then the graph page and the report on the PDF printer, read back
// with poppler's pdftotext.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <iterator>
#include <sstream>

#include "dialog_test_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "toolkit/graphics/colour_table.h"
#include "util/pen_plotter.h"

namespace shell::test {
namespace {

// The text of one page (from 1) of a printed document, or of all of it.
std::string pdfText(const fs::path& pdf, int page = 0) {
    const std::string pages =
        page > 0 ? "-f " + std::to_string(page) + " -l " + std::to_string(page) + " " : "";
    return commandOutput("pdftotext -layout " + pages + "'" + pdf.string() + "' - 2>/dev/null");
}

struct PageBox {
    double width = 0, height = 0;
};

// Every page's box in points, as poppler's pdfinfo reads the document.
std::vector<PageBox> pdfPages(const fs::path& pdf) {
    std::istringstream report(
        commandOutput("pdfinfo -f 1 -l 999 '" + pdf.string() + "' 2>/dev/null"));
    std::vector<PageBox> pages;
    std::string line;
    while (std::getline(report, line)) {
        PageBox box;
        int page = 0;
        if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &box.width, &box.height) ==
            3)
            pages.push_back(box);
    }
    return pages;
}

// A printed page (from 1) as a picture among the screenshots, to be looked at.
void savePicture(const fs::path& pdf, const std::string& name, int page = 1) {
    fs::create_directories(PELK_SCREENSHOT_DIR);
    commandOutput("pdftoppm -png -r 60 -singlefile -f " + std::to_string(page) + " -l " +
                  std::to_string(page) + " '" + pdf.string() + "' '" + PELK_SCREENSHOT_DIR + "/" +
                  name + "'");
}

// The colours of a printed page (from 1) as poppler draws it: red, green
// and blue of each pixel.
struct PagePixels {
    std::vector<std::array<int, 3>> rgb;
};

PagePixels pdfPixels(const fs::path& pdf, int page = 1) {
    const std::string ppm =
        commandOutput("pdftoppm -r 72 -singlefile -f " + std::to_string(page) + " -l " +
                      std::to_string(page) + " '" + pdf.string() + "' 2>/dev/null");
    std::istringstream in(ppm);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    PagePixels p;
    if (magic != "P6" || maxValue != 255) return p;
    for (int k = 0; k < width * height && in; ++k) {
        std::array<int, 3> c{};
        for (int& v : c)
            v = in.get();
        p.rgb.push_back(c);
    }
    return p;
}

// The pixels within a few steps of a palette colour (0x00BBGGRR).
int pixelsNear(const PagePixels& p, int colour) {
    const int r = colour & 0xFF, g = colour >> 8 & 0xFF, b = colour >> 16 & 0xFF;
    return static_cast<int>(std::count_if(p.rgb.begin(), p.rgb.end(), [&](const auto& c) {
        return std::abs(c[0] - r) + std::abs(c[1] - g) + std::abs(c[2] - b) < 40;
    }));
}

win::HWND pageSetup() {
    return win::robot::findTopLevelByClass("#32770");
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
    s.check([] { ASSERT_TRUE(pageSetup()); });
    // Landscape chosen in the page set-up, then OK.
    s.clickOn([] { return win::GetDlgItem(pageSetup(), win::kLandscapeRadio); });
    s.check([] {
        EXPECT_EQ(win::robot::stateOf(win::GetDlgItem(pageSetup(), win::kLandscapeRadio)).checked,
                  1);
    });
    s.clickOn([] { return win::GetDlgItem(pageSetup(), win::IDOK); });
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);

    // One Print is one document: the graph, then the report's 81 stations
    // on three pages, every page landscape as chosen.
    const std::vector<fs::path> documents = printed();
    ASSERT_EQ(documents.size(), 1u);
    const fs::path& pdf = documents[0];
    const std::vector<PageBox> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 4u);
    for (std::size_t k = 0; k < pages.size(); ++k)
        EXPECT_GT(pages[k].width, pages[k].height) << "page " << k + 1;
    // The graph and the report's first page as pictures to look at.
    savePicture(pdf, "shell_print_graph", 1);
    savePicture(pdf, "shell_print_report", 2);
    const std::string report = pdfText(pdf, 2);
    EXPECT_NE(report.find("L3-Gravity"), std::string::npos) << report;
    EXPECT_NE(report.find("Gravity Data"), std::string::npos) << report;
    EXPECT_NE(report.find("Station"), std::string::npos) << report;
    EXPECT_NE(report.find("20800"), std::string::npos) << report;  // easting of station 9
    // Every further page starts with the whole name and its number.
    const std::string second = pdfText(pdf, 3);
    EXPECT_NE(second.find("L3-Gravity"), std::string::npos) << second;
    EXPECT_NE(second.find("Page 2"), std::string::npos) << second;
    const std::string last = pdfText(pdf, 4);
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
    s.check([] { ASSERT_TRUE(pageSetup()); });
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

    // Three documents: the report of three pages, the graph, a page with
    // the regional heading.
    const std::vector<fs::path> documents = printed();
    ASSERT_EQ(documents.size(), 3u);
    EXPECT_EQ(pdfPages(documents[0]).size(), 3u);
    EXPECT_EQ(pdfPages(documents[1]).size(), 1u);
    EXPECT_EQ(pdfPages(documents[2]).size(), 1u);
    const std::string first = pdfText(documents[0], 1);
    for (const char* t : {"L3-Gravity", "Sensor", "Elev.", "Data", " *"})
        EXPECT_NE(first.find(t), std::string::npos) << t << "\n" << first;
    for (const char* t : {"Synth.", "Regnl", "Diff", "Layered Model"})
        EXPECT_EQ(first.find(t), std::string::npos) << t << "\n" << first;
    const std::string last = pdfText(documents[0], 3);
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
    EXPECT_EQ(pdfText(documents[1]).find("Station"), std::string::npos);  // the graph
    const std::string regional = pdfText(documents[2]);
    EXPECT_NE(regional.find("Layered Model"), std::string::npos) << regional;
    EXPECT_NE(regional.find("L3-Gravity"), std::string::npos) << regional;
    EXPECT_EQ(regional.find("Station"), std::string::npos) << regional;
}

TEST_F(PrintTest, TheMapIsPrintedFromTheMainWindowOnOnePage) {
    Script s;
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Print");
    s.check([] { ASSERT_TRUE(pageSetup()); });
    s.key(win::VK_RETURN);  // the page set-up as it stands
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    // Cancel in the page set-up prints nothing.
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Print");
    s.check([] { ASSERT_TRUE(pageSetup()); });
    s.key(win::VK_ESCAPE);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);

    const std::vector<fs::path> pages = printed();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pdfPages(pages[0]).size(), 1u);
    savePicture(pages[0], "shell_print_map");
    // The profile lines, yellow on the screen, are printed in a pen that
    // reads on white paper: its darker shade of the same hue.
    const int screenPen = files::viewSettings().K_PLIN;
    ASSERT_EQ(screenPen, 9);
    int yellow = 0, paper = 0;
    tk::ColourNumberRgb(screenPen, yellow);
    tk::ColourNumberRgb(util::PaperPen(screenPen), paper);
    EXPECT_NE(util::PaperPen(screenPen), screenPen);
    const PagePixels printedMap = pdfPixels(pages[0]);
    ASSERT_FALSE(printedMap.rgb.empty());
    EXPECT_EQ(pixelsNear(printedMap, yellow), 0) << "yellow lines on paper";
    EXPECT_GT(pixelsNear(printedMap, paper), 200) << "the lines in the paper's pen";
    // The map's title and axis titles are drawn as text, their letters
    // placed one by one as the plotter font places them, in a font as wide
    // as those places: words, not letters spaced apart.
    std::string map = pdfText(pages[0]);
    EXPECT_NE(map.find("BASIN"), std::string::npos) << "letter-spaced\n" << map;
    EXPECT_NE(map.find("Easting"), std::string::npos) << "letter-spaced\n" << map;
    std::erase(map, ' ');
    EXPECT_NE(map.find("BASIN"), std::string::npos) << map;
    EXPECT_NE(map.find("Northing(km)"), std::string::npos) << map;
    EXPECT_NE(map.find("Easting(km)"), std::string::npos) << map;
}

}  // namespace
}  // namespace shell::test
