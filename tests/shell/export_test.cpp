// Drawing exports from the File menus, each file opened by a reader that is
// not ours: ezdxf for DXF, a strict CGM element walker, libwmf for WMF,
// ghostscript for EPS, xmllint and rsvg-convert for SVG, hp2xx for HP-GL,
// and a reader of the HP-GL/2 command grammar.

#include <sstream>

#include "../toolkit/cgm_test_support.h"
#include "../toolkit/hpgl2_reader.h"
#include "dialog_test_support.h"
#include "export_test_support.h"
#include "toolkit/output/image_file_identify.h"

namespace shell::test {
namespace {

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

TEST_F(ProgramTest, DrawingsExportedFromTheMenusOpenInIndependentReaders) {
    writeDatabase("SITE");
    writeFile(dir_ / "old.cgm", "old contents");
    Script s;
    exportFrom(s, mainWindow, "DXF Graphics File", "DXF graphics file", "map.dxf");
    exportFrom(s, mainWindow, "CGM Graphics File", "CGM graphics file", "old.cgm", true);
    exportFrom(s, profileFrame, "WMF Graphics File", "WMF graphics file", "profile.wmf");
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);

    // DXF: the map's frame, stations and stroked texts as lines.
    const std::string reader =
        "import sys, ezdxf\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "print(sum(1 for e in doc.modelspace() if e.dxftype() == 'LINE'), 'lines')\n";
    writeFile(dir_ / "read.py", reader);
    const std::string dxf = commandOutput("/usr/bin/python3 '" + (dir_ / "read.py").string() + "' '" +
                                       (dir_ / "map.dxf").string() + "' 2>&1");
    EXPECT_GT(std::atoi(dxf.c_str()), 20) << dxf;

    // CGM: the old file replaced by one whole metafile with polylines.
    const std::vector<tk::DecodedElement> cgm = tk::decodeCgm(readFile(dir_ / "old.cgm"));
    ASSERT_GT(cgm.size(), 4u);
    EXPECT_EQ(cgm.front().cls * 100 + cgm.front().id, 1);    // BEGIN METAFILE
    EXPECT_EQ(cgm.back().cls * 100 + cgm.back().id, 2);      // END METAFILE
    EXPECT_TRUE(std::any_of(cgm.begin(), cgm.end(),
                            [](const tk::DecodedElement& e) { return e.cls == 4 && e.id == 1; }));

    // WMF of the profile window: libwmf converts it.
    const fs::path svg = dir_ / "profile.svg";
    commandOutput("wmf2svg -o '" + svg.string() + "' '" + (dir_ / "profile.wmf").string() + "' 2>&1");
    const std::string picture = readFile(svg);
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find("line"), std::string::npos);
    // No temporary file is left behind.
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
}

TEST_F(ProgramTest, VectorDrawingsExportedFromTheMenusOpenInTheirReaders) {
    writeDatabase("SITE");
    Script s;
    exportFrom(s, mainWindow, "EPS Graphics File", "EPS graphics file", "map.eps");
    exportFrom(s, mainWindow, "SVG Graphics File", "SVG graphics file", "map.svg");
    exportFrom(s, profileFrame, "HP-GL Plot File", "HP-GL plot file", "profile.plt");
    exportFrom(s, profileFrame, "HP-GL/2 Plot File", "HP-GL/2 plot file", "profile2.plt");
    s.check([] {
        fs::create_directories(PELK_SCREENSHOT_DIR);
        EXPECT_TRUE(win::robot::saveScreenPng(PELK_SCREENSHOT_DIR "/shell_vector_exports.png"));
    });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    const fs::path shots = PELK_SCREENSHOT_DIR;
    std::string output;

    // EPS: one picture with the map window's proportions, which ghostscript
    // renders without a word.
    const std::string eps = readFile(dir_ / "map.eps");
    ASSERT_TRUE(eps.starts_with("%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 ")) << eps.substr(0, 60);
    EXPECT_EQ(readerStatus("gs -q -dSAFER -dNOPAUSE -dBATCH -dEPSCrop -r48 -sDEVICE=png16m "
                           "-sOutputFile='" + (shots / "shell_export_eps.png").string() + "' '" +
                           (dir_ / "map.eps").string() + "'",
                           output),
              0);
    EXPECT_EQ(output, "");
    EXPECT_NE(eps.find(" l\r\n"), std::string::npos);

    // SVG: well formed, and rendered.
    EXPECT_EQ(readerStatus("xmllint --noout '" + (dir_ / "map.svg").string() + "'", output), 0)
        << output;
    EXPECT_EQ(readerStatus("rsvg-convert -b white -o '" + (shots / "shell_export_svg.png").string() +
                           "' '" + (dir_ / "map.svg").string() + "'",
                           output),
              0)
        << output;
    EXPECT_NE(readFile(dir_ / "map.svg").find("<line "), std::string::npos);

    // HP-GL of the profile window: hp2xx reads it without complaint.
    EXPECT_EQ(readerStatus("timeout 60 hp2xx -q -m png -c 12345671 -f '" +
                           (shots / "shell_export_hpgl.png").string() + "' '" +
                           (dir_ / "profile.plt").string() + "'",
                           output),
              0);
    EXPECT_EQ(output, "");

    // HP-GL/2: the grammar holds and the file is one page for a printer.
    const tk::test::Hpgl2Reader reader(readFile(dir_ / "profile2.plt"));
    EXPECT_EQ(reader.faults, std::vector<std::string>{});
    EXPECT_EQ(reader.pages, 1);
    const auto m = reader.mnemonics();
    EXPECT_GT(std::count(m.begin(), m.end(), "PD"), 20);
    tk::ImageFileInfo info;
    tk::ImageFileIdentify((dir_ / "profile2.plt").string(), info, 6);
    EXPECT_EQ(info[1], tk::ImageHpgl2);
    EXPECT_EQ(info[6], 1);
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
}

// The numbers of the text file's lines that have at least COLUMNS words, by
// line: the station rows of an exported file.
std::vector<std::vector<double>> numberRows(const fs::path& file, std::size_t columns) {
    std::vector<std::vector<double>> rows;
    std::istringstream in(readFile(file));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::vector<double> row;
        double v = 0.0;
        while (words >> v) row.push_back(v);
        if (words.eof() && row.size() >= columns) rows.push_back(row);
    }
    return rows;
}

TEST_F(ProgramTest, TheProfilesTextExportsHoldItsStationsAndItsRegionalComesBackIn) {
    fs::copy_file(PELK_SOURCE_DIR "/examples/BASIN.TQM", dir_ / "BASIN.TQM");
    Script s;
    exportFrom(s, profileFrame, "ASCII Data File", "Flat ASCII Data File", "data.dat");
    clickMenuTitle(s, profileFrame, "File");
    s.clickMenuItem("Export");
    s.clickMenuItem("ASCII Synthetics File");
    s.check([] { ASSERT_TRUE(dialogTitled("Get Floating Point Number")); });
    typeInto(s, "Get Floating Point Number", IDC_NUMBERVALUE, "0");
    clickField(s, "Get Floating Point Number", win::IDOK);
    s.check([] { ASSERT_TRUE(dialogTitled("Flat ASCII Data File")); });
    s.chord({win::VK_CONTROL, 'A'}).text("synthetics.dat").key(win::VK_RETURN);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    exportFrom(s, profileFrame, "Profile to XYZ format", "XYZ Data File", "line.xyz");
    exportFrom(s, profileFrame, "Regional Data", "Flat ASCII Data File", "regional.dat");
    // The regional is lost, then read back from the file just written.
    s.check([] {
        ASSERT_EQ(workingProfile().NREG, 2);
        workingProfile().XREG = {};
        workingProfile().YREG = {};
        workingProfile().LSAVED = true;
    });
    clickMenuTitle(s, profileFrame, "File");
    s.clickMenuItem("Import");
    s.clickMenuItem("Regional Data");
    s.check([] { ASSERT_TRUE(dialogTitled("ASCII Data File")); });
    s.chord({win::VK_CONTROL, 'A'}).text("regional.dat").key(win::VK_RETURN);
    s.check([] {
        win::HWND d = dialogTitled("Flat ASCII File Columns");
        ASSERT_TRUE(d);
        EXPECT_TRUE(shootDialog(d, "147_flat_ascii_file_columns"));
    });
    // The file's columns: number, distance, value.
    typeInto(s, "Flat ASCII File Columns", IDC_REGSTATIONCOLUMN, "2");
    typeInto(s, "Flat ASCII File Columns", IDC_REGVALUECOLUMN, "3");
    clickField(s, "Flat ASCII File Columns", win::IDOK);
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    s.check([] {
        const model::ProfileLine& w = workingProfile();
        EXPECT_EQ(w.NREG, 2);
        EXPECT_FLOAT_EQ(w.XREG[1], 8000.0f);
        EXPECT_FLOAT_EQ(w.YREG[0], 4.0f);
        EXPECT_FLOAT_EQ(w.YREG[1], -2.5f);
        EXPECT_FALSE(w.LSAVED);
    });
    chooseMenu(s, "File", "Exit");
    s.clickOn([] {
        return win::robot::findDescendantById(dialogTitled("Save Changes Dialog"), IDNOBUTTON);
    });
    ASSERT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);

    // Every station of the working line, with its distance and value; the
    // synthetics file (no noise) holds the calculated values.
    const std::vector<std::vector<double>> data = numberRows(dir_ / "data.dat", 6);
    const std::vector<std::vector<double>> synthetics = numberRows(dir_ / "synthetics.dat", 6);
    const std::vector<std::vector<double>> xyz = numberRows(dir_ / "line.xyz", 5);
    ASSERT_EQ(data.size(), 81u);
    ASSERT_EQ(synthetics.size(), 81u);
    ASSERT_EQ(xyz.size(), 81u);
    // Rows of the flat files: number, distance, easting, northing, value, ...
    EXPECT_DOUBLE_EQ(data[80][1], 8000.0);
    EXPECT_DOUBLE_EQ(data[8][2], 20800.0);  // easting of station 9
    EXPECT_DOUBLE_EQ(synthetics[8][2], 20800.0);
    EXPECT_NE(data[40][4], synthetics[40][4]);
    // XYZ rows: easting, northing, distance, topography, sensor, value.
    ASSERT_EQ(xyz[40].size(), 6u);
    EXPECT_DOUBLE_EQ(xyz[8][0], 20800.0);
    EXPECT_DOUBLE_EQ(xyz[80][2], 8000.0);
    EXPECT_NEAR(xyz[40][5], data[40][4], 1.0E-3);
    const std::vector<std::vector<double>> regional = numberRows(dir_ / "regional.dat", 3);
    ASSERT_EQ(regional.size(), 2u);
    EXPECT_DOUBLE_EQ(regional[1][1], 8000.0);
}

TEST_F(ProgramTest, CancelInTheFileSelectorLeavesTheOldFileInPlace) {
    writeDatabase("SITE");
    writeFile(dir_ / "old.dxf", "old contents");
    Script s;
    clickMenuTitle(s, mainWindow, "File");
    s.clickMenuItem("Export");
    s.clickMenuItem("DXF Graphics File");
    s.check([] { ASSERT_TRUE(dialogTitled("DXF graphics file")); });
    s.chord({win::VK_CONTROL, 'A'}).text("old.dxf").key(win::VK_ESCAPE);
    s.check([] { EXPECT_FALSE(dialogTitled("DXF graphics file")); });
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    EXPECT_EQ(readFile(dir_ / "old.dxf"), "old contents");
}

TEST_F(ProgramTest, AnExportToAFolderThatCannotBeWrittenSaysSoAndWritesNothing) {
    writeDatabase("SITE");
    writeFile(dir_ / "notes", "a file, not a folder");
    Script s;
    s.answerMessageBox(win::IDOK);
    exportFrom(s, mainWindow, "DXF Graphics File", "DXF graphics file",
               (dir_ / "notes" / "map.dxf").string());
    s.check([] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        const std::string text = win::testing::lastMessageBox()->text;
        EXPECT_NE(text.find("WAS NOT WRITTEN"), std::string::npos) << text;
        EXPECT_NE(text.find("cannot write in the folder"), std::string::npos) << text;
    });
    chooseMenu(s, "File", "Exit");
    ASSERT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
    EXPECT_EQ(readFile(dir_ / "notes"), "a file, not a folder");
}

}  // namespace
}  // namespace shell::test
