// A user's whole working day, one journey per test, through the real program
// on the headless screen: the example survey interpreted and saved, the
// survey's XYZ file made into a new database, and the drawings exported and
// the report printed, each output opened by a reader that is not ours.

#include <cmath>

#include "dialog_test_support.h"
#include "editing_test_support.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"

namespace shell::test {
namespace {

// The example survey's files in the test's folder, as a user's copy.
class AcceptanceTest : public EditingTest {
  protected:
    void SetUp() override {
        EditingTest::SetUp();
        for (const auto& e : fs::directory_iterator(PELK_SOURCE_DIR "/examples"))
            fs::copy_file(e.path(), dir_ / e.path().filename());
        // Print jobs are kept as PDF files in a folder of the test's own.
        fs::create_directories(dir_ / "prints");
        ::setenv("PELK_PRINTER", "pdf", 1);
        ::setenv("PELK_PRINT_DIR", (dir_ / "prints").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("PELK_PRINTER");
        ::unsetenv("PELK_PRINT_DIR");
        EditingTest::TearDown();
    }
    // The program started again from nothing in the same folder, as the
    // next morning: only the files and the settings remain.
    int runAgain(const std::string& commandLine, Script script) {
        resetAll();
        win::setClock(&clock_);
        return run(commandLine, std::move(script));
    }
};

// What a saved interpretation must keep of a profile.
struct Interpretation {
    std::string name;
    std::vector<float> x, z, synthetics;
    float density = 0.0f;
    bool densityFree = false;
    bool synthetic = false;

    static Interpretation of(const model::ProfileLine& p, int body) {
        Interpretation i;
        i.name = p.PNAME.trimmed();
        const model::PolygonModel& m = p.MODEL;
        for (int v = 1; v <= m.vertexCount(); ++v) {
            i.x.push_back(m.XVRT(v));
            i.z.push_back(m.ZVRT(v));
        }
        for (int k = 1; k <= p.NSTA; ++k)
            i.synthetics.push_back(p.SYN(k, 1));
        i.density = m.DENS(body);
        i.densityFree = m.LVFIX(body);
        i.synthetic = p.LSYN;
        return i;
    }
    bool operator==(const Interpretation&) const = default;
};

// The intrusion is the third body of every example profile (after the two
// layers); on line 4 its eastern vertex, the fourth, lies at (7050, -1500).
constexpr int kIntrusion = 3;
constexpr float kTrueDensity = 2.95f, kGuessedDensity = 2.80f;

TEST_F(AcceptanceTest, TheExampleIsInterpretedSavedAndFoundAsLeftTheNextDay) {
    auto guessedMisfit = std::make_shared<float>(0.0f);
    auto left = std::make_shared<Interpretation>();
    const std::string shipped = readFile(dir_ / "BASIN.TQM");
    Script s;
    clickAside(s);
    // Line 4 from the profile list, below the line the example opens with.
    s.clickOn(profileList);
    s.key(win::VK_DOWN).key(win::VK_RETURN);
    s.check([] {
        ASSERT_EQ(currentProfile(), 4);
        ASSERT_EQ(workingProfile().PNAME.trimmed(), "L4-Gravity");
        ASSERT_GT(profileWindow(), 0);
        EXPECT_FALSE(workingModel().LVFIX(kIntrusion));
    });
    // The intrusion's density guessed in the body editor and set free.
    chooseProfileMenu(s, "Edit", "Body");
    typeInto(s, "Get Integer", IDC_INTEGERVALUE, std::to_string(kIntrusion));
    clickField(s, "Get Integer", win::IDOK);
    s.check([] { ASSERT_TRUE(dialogTitled("Edit Body")); });
    typeInto(s, "Edit Body", IDC_PROPERTY, "2.80");
    clickField(s, "Edit Body", IDC_PROPERTYFREE);
    clickField(s, "Edit Body", win::IDOK);
    s.check([] {
        EXPECT_FALSE(dialogTitled("Edit Body"));
        EXPECT_FLOAT_EQ(workingModel().DENS(kIntrusion), kGuessedDensity);
        EXPECT_TRUE(workingModel().LVFIX(kIntrusion));
    });
    chooseProfileMenu(s, "Calculate", "Forward");
    s.check([guessedMisfit] {
        ASSERT_TRUE(workingProfile().LSYN);
        *guessedMisfit = workingProfile().RMSERR;
        saveShot(profileFrame(), "acceptance_guessed.png");
    });
    // The inversion takes the density back towards the one the data hold.
    chooseProfileMenu(s, "Calculate", "Inverse...");
    s.clickMenuItem("Multiple Iterations");
    s.check([guessedMisfit] {
        const float density = workingModel().DENS(kIntrusion);
        EXPECT_LT(std::fabs(density - kTrueDensity), 0.5f * (kTrueDensity - kGuessedDensity))
            << density;
        EXPECT_LT(workingProfile().RMSERR, 0.5f * *guessedMisfit);
    });
    // The intrusion's eastern vertex dragged 300 m further east.
    const int vertex = 4;
    s.moveTo(atModel(7050, -1500));
    s.pressAt(atModel(7050, -1500));
    s.moveTo(atModel(7150, -1500)).moveTo(atModel(7250, -1500)).moveTo(atModel(7350, -1500));
    s.wait(400);
    s.releaseAt(atModel(7350, -1500));
    s.check([vertex] {
        const model::PolygonModel& m = workingModel();
        const int v = m.IV1(kIntrusion) + vertex - 1;
        EXPECT_NEAR(m.XVRT(v), 7350.0f, 40.0f);
        EXPECT_NEAR(m.ZVRT(v), -1500.0f, 40.0f);
        EXPECT_EQ(m.XVRT(v - 1), 6800.0f);  // its neighbours stay
        EXPECT_EQ(m.XVRT(v + 1), 6900.0f);
        EXPECT_FALSE(workingProfile().LSAVED);
    });
    chooseProfileMenu(s, "Calculate", "Forward");
    // Saved into the database, and the database into its file.
    chooseProfileMenu(s, "File", "Save");
    chooseMenu(s, "File", "Save");
    s.check([left] {
        EXPECT_TRUE(workingProfile().LSAVED);
        EXPECT_TRUE(database().LDBSAV);
        *left = Interpretation::of(workingProfile(), kIntrusion);
        saveShot(profileFrame(), "acceptance_interpreted.png");
    });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);
    EXPECT_NE(readFile(dir_ / "BASIN.TQM"), shipped);

    // The next day, without naming the file: the settings remember it.
    Script again;
    clickAside(again);
    again.check([left] {
        EXPECT_EQ(database().DBNAME.trimmed(), "BASIN");
        ASSERT_EQ(currentProfile(), 4);
        EXPECT_TRUE(Interpretation::of(workingProfile(), kIntrusion) == *left);
        EXPECT_TRUE(Interpretation::of(database().profile(4), kIntrusion) == *left);
        // The other lines are as shipped.
        EXPECT_FLOAT_EQ(database().profile(3).MODEL.DENS(kIntrusion), kTrueDensity);
        saveShot(profileFrame(), "acceptance_reopened.png");
    });
    chooseMenu(again, "File", "Exit");
    EXPECT_EQ(runAgain("pelk-gm", std::move(again)), 0);
}

TEST_F(AcceptanceTest, TheSurveysXyzFilesBecomeANewDatabase) {
    Script s;
    // An empty database first, as a user starting a new survey would.
    chooseMenu(s, "File", "New");
    s.clickMenuItem("Clear Data");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_EQ(database().NPROF, 0); });
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("XYZ Data File");
    s.clickMenuItem("Gravity Data");
    s.check([] { ASSERT_TRUE(dialogTitled("New Profile Parameters")); });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(dialogTitled("ASCII XYZ-Format Data File")); });
    s.chord({win::VK_CONTROL, 'A'}).text("BASIN-GRAVITY.XYZ").key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(dialogTitled("XYZ File Columns")); });
    s.key(win::VK_RETURN);  // the columns as the file has them
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.check([] {
        ASSERT_EQ(database().NPROF, 5);
        EXPECT_FALSE(database().LDBSAV);
    });
    chooseFileThroughMenus(s, mainWindow, {"File", "Save_As"}, "Pelk-GM Binary File", "SURVEY.TQM");
    s.check([] {
        EXPECT_TRUE(database().LDBSAV);
        EXPECT_EQ(database().DBNAME.trimmed(), "SURVEY");
        win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/acceptance_xyz_imported.png");
    });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm", std::move(s)), 0);
    ASSERT_TRUE(fs::exists(dir_ / "SURVEY.TQM"));

    // Opened again, the new database holds the five lines with the values
    // of the shipped database that the XYZ file was written from.
    model::ProfileDatabase shipped;
    util::AxisRecord axis{};
    int status = 0;
    files::BIOPELK(shipped, axis, "LOAD", (dir_ / "BASIN.TQM").string(), status);
    ASSERT_EQ(status, 0);
    Script again;
    clickAside(again);
    again.check([&shipped] {
        ASSERT_EQ(database().NPROF, 5);
        EXPECT_EQ(database().DBNAME.trimmed(), "SURVEY");
        for (int line = 1; line <= 5; ++line) {
            SCOPED_TRACE(line);
            const model::ProfileLine& p = database().profile(line);
            const model::ProfileLine& q = shipped.profile(line);
            EXPECT_EQ(p.PNAME.trimmed(), "L" + std::to_string(line) + "-GRAVITY");
            ASSERT_EQ(p.NSTA, q.NSTA);
            for (int k = 1; k <= p.NSTA; k += 20) {
                EXPECT_FLOAT_EQ(p.EAST(k), q.EAST(k));
                EXPECT_FLOAT_EQ(p.NORT(k), q.NORT(k));
                EXPECT_NEAR(p.DAT(k, 1), q.DAT(k, 1), 1.0E-3f);
            }
        }
        saveShot(mainWindow(), "acceptance_new_database.png");
    });
    chooseMenu(again, "File", "Exit");
    EXPECT_EQ(runAgain("pelk-gm SURVEY.TQM", std::move(again)), 0);
    model::CLEARDB(shipped);
}

std::string quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

// The profile window drawn again through the bitmap-file driver into a PNG
// file of the window's size.
void exportProfilePng(const fs::path& file) {
    const int window = profileWindow();
    win::RECT r{};
    win::GetClientRect(profileClient(), &r);
    tk::OutputWindowSelect(window);
    tk::HardcopySelectDriver(1, tk::hc::BitImageDriverNumber);
    tk::HardcopyOptionSet(tk::hc::PageWidth, r.right);
    tk::HardcopyOptionSet(tk::hc::PageHeight, r.bottom);
    tk::HardcopyOptionSet(tk::hc::ColourDepth, 24);
    tk::HardcopyOptionSet(tk::hc::BitmapFormat, 3);
    tk::HardcopySwitch(file.string(), "Profile");
    refreshProfileWindow();
    tk::HardcopySwitch("S");
    refreshProfileWindow();
}

TEST_F(AcceptanceTest, DrawingsAreExportedAndTheReportPrintedEachReadByItsOwnReader) {
    Script s;
    clickAside(s);
    chooseFileThroughMenus(s, mainWindow, {"File", "Export", "EPS Graphics File"},
                           "EPS graphics file", "map.eps");
    chooseFileThroughMenus(s, profileFrame, {"File", "Export", "SVG Graphics File"},
                           "SVG graphics file", "profile.svg");
    chooseFileThroughMenus(s, profileFrame, {"File", "Export", "DXF Graphics File"},
                           "DXF graphics file", "profile.dxf");
    s.check([this] { exportProfilePng(dir_ / "profile.png"); });
    // The report with its station table on the PDF printer.
    clickMenuTitle(s, profileFrame, "File");
    s.clickMenuItem("Print");
    s.check([] { ASSERT_TRUE(dialogTitled("Print Selection")); });
    s.key(win::VK_RETURN);
    s.check([] { ASSERT_TRUE(win::robot::findTopLevelByClass("#32770")); });
    s.key(win::VK_RETURN);  // the page set-up as it stands
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);
    const fs::path shots = PELK_SCREENSHOT_DIR;
    fs::create_directories(shots);
    std::string said;

    // EPS: ghostscript renders the map without a word.
    EXPECT_EQ(readerStatus(
                  "gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r48 -sDEVICE=png16m -sOutputFile=" +
                      quoted(shots / "acceptance_map_eps.png") + " " + quoted(dir_ / "map.eps"),
                  said),
              0);
    EXPECT_EQ(said, "");
    EXPECT_NE(readFile(dir_ / "map.eps").find(" l\r\n"), std::string::npos);

    // SVG: well formed, rendered, with the profile's lines and its name.
    EXPECT_EQ(readerStatus("xmllint --noout " + quoted(dir_ / "profile.svg"), said), 0) << said;
    EXPECT_EQ(
        readerStatus("rsvg-convert -b white -o " + quoted(shots / "acceptance_profile_svg.png") +
                         " " + quoted(dir_ / "profile.svg"),
                     said),
        0)
        << said;
    const std::string svg = readFile(dir_ / "profile.svg");
    EXPECT_NE(svg.find("<line "), std::string::npos);

    // DXF: ezdxf finds the profile drawn in lines.
    std::ofstream(dir_ / "read_dxf.py") << "import sys, ezdxf\n"
                                           "doc = ezdxf.readfile(sys.argv[1])\n"
                                           "print(sum(1 for e in doc.modelspace() "
                                           "if e.dxftype() == 'LINE'))\n";
    EXPECT_EQ(readerStatus("/usr/bin/python3 " + quoted(dir_ / "read_dxf.py") + " " +
                               quoted(dir_ / "profile.dxf"),
                           said),
              0)
        << said;
    EXPECT_GT(std::atoi(said.c_str()), 100) << said;

    // PNG: pngcheck passes it and it holds the picture's many colours.
    EXPECT_EQ(readerStatus("pngcheck -q " + quoted(dir_ / "profile.png"), said), 0) << said;
    EXPECT_EQ(readerStatus("identify -format '%k' " + quoted(dir_ / "profile.png"), said), 0);
    EXPECT_GT(std::atoi(said.c_str()), 8) << said;
    fs::copy_file(dir_ / "profile.png", shots / "acceptance_profile_png.png",
                  fs::copy_options::overwrite_existing);

    // The print is one document: the graph, then the report of the 81
    // stations.
    std::vector<fs::path> documents;
    for (const auto& e : fs::directory_iterator(dir_ / "prints"))
        documents.push_back(e.path());
    ASSERT_EQ(documents.size(), 1u);
    const fs::path& pdf = documents.front();
    EXPECT_EQ(readerStatus("pdfinfo " + quoted(pdf), said), 0) << said;
    EXPECT_NE(said.find("Pages:           4\n"), std::string::npos) << said;
    EXPECT_EQ(readerStatus("pdftoppm -r 40 -png -singlefile -f 1 -l 1 " + quoted(pdf) + " " +
                               quoted(shots / "acceptance_printed_graph"),
                           said),
              0)
        << said;
    EXPECT_EQ(readerStatus("pdftotext -layout -f 2 -l 2 " + quoted(pdf) + " -", said), 0);
    EXPECT_NE(said.find("L3-Gravity"), std::string::npos) << said;
    EXPECT_NE(said.find("Station"), std::string::npos) << said;
}

}  // namespace
}  // namespace shell::test
