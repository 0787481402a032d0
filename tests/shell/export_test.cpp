// Drawing exports from the File menus, each file opened by a reader that is
// not ours, with its exit status and what the drawing holds: ezdxf for DXF,
// libwmf for WMF, ghostscript for EPS, xmllint and rsvg-convert for SVG,
// hp2xx for HP-GL and HP-GL/2. Debian packages no CGM reader, so CGM goes
// through a strict element walker, and HP-GL/2 through a reader of its
// command grammar as well.

#include <sstream>

#include "../toolkit/cgm_test_support.h"
#include "../toolkit/hpgl2_reader.h"
#include "../toolkit/ink_support.h"
#include "dialog_test_support.h"
#include "export_test_support.h"
#include "toolkit/output/image_file_identify.h"

namespace shell::test {
namespace {

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// The characters of an SVG picture's text elements, in order, blanks left
// out (the drivers send device text one character at a time).
std::string textOf(const std::string& svg) {
    std::string out;
    for (std::size_t at = svg.find("<text"); at != std::string::npos; at = svg.find("<text", at + 1)) {
        const std::size_t open = svg.find('>', at), close = svg.find("</text>", at);
        if (open == std::string::npos || close == std::string::npos || close < open) break;
        for (char c : svg.substr(open + 1, close - open - 1))
            if (c != ' ' && c != '\n' && c != '\r') out += c;
    }
    return out;
}

// How often a word occurs in a text.
std::size_t countOf(const std::string& text, const std::string& word) {
    std::size_t n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
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

    // DXF: ezdxf reads the map without complaint: its frame, stations and
    // stroked texts as lines on layers the file declares, over the map's
    // extent.
    const std::string reader =
        "import sys, ezdxf\n"
        "from ezdxf import bbox\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "msp = doc.modelspace()\n"
        "kinds = [e.dxftype() for e in msp]\n"
        "layers = sorted({e.dxf.layer for e in msp})\n"
        "box = bbox.extents(msp)\n"
        "print('lines', kinds.count('LINE'))\n"
        "print('declared', int(all(doc.layers.has_entry(l) for l in layers)))\n"
        "print('texts', '|'.join(e.dxf.text for e in msp if e.dxftype() == 'TEXT'))\n"
        "print('extent', round(box.size.x, 3), round(box.size.y, 3))\n";
    writeFile(dir_ / "read.py", reader);
    std::string dxf;
    ASSERT_EQ(readerStatus("/usr/bin/python3 '" + (dir_ / "read.py").string() + "' '" +
                               (dir_ / "map.dxf").string() + "'",
                           dxf),
              0)
        << dxf;
    std::istringstream summary(dxf);
    std::string word;
    int lines = 0, declared = 0;
    double width = 0, height = 0;
    summary >> word >> lines >> word >> declared;
    EXPECT_GT(lines, 20) << dxf;
    EXPECT_EQ(declared, 1) << dxf;
    EXPECT_NE(dxf.find("\nextent "), std::string::npos) << dxf;
    std::istringstream(dxf.substr(dxf.find("\nextent ") + 8)) >> width >> height;
    EXPECT_GT(height, 0.0) << dxf;
    EXPECT_GT(width, 2 * height) << dxf;  // the map window's proportions

    // CGM: the old file replaced by one whole metafile with polylines.
    const std::vector<tk::DecodedElement> cgm = tk::decodeCgm(readFile(dir_ / "old.cgm"));
    ASSERT_GT(cgm.size(), 4u);
    EXPECT_EQ(cgm.front().cls * 100 + cgm.front().id, 1);    // BEGIN METAFILE
    EXPECT_EQ(cgm.back().cls * 100 + cgm.back().id, 2);      // END METAFILE
    EXPECT_TRUE(std::any_of(cgm.begin(), cgm.end(),
                            [](const tk::DecodedElement& e) { return e.cls == 4 && e.id == 1; }));

    // WMF of the profile window: libwmf converts it without complaint into a
    // picture of the profile's lines and labels.
    const fs::path svg = dir_ / "profile.svg";
    std::string converted;
    EXPECT_EQ(readerStatus("wmf2svg -o '" + svg.string() + "' '" + (dir_ / "profile.wmf").string() + "'",
                           converted),
              0)
        << converted;
    const std::string picture = readFile(svg);
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_GT(countOf(picture, "<line") + countOf(picture, "<polyline") + countOf(picture, "<path"), 20)
        << picture.substr(0, 400);
    // The axis titles and the distances 0 to 200 of the profile's axis.
    const std::string labels = textOf(picture);
    EXPECT_NE(labels.find("ProfileDistance("), std::string::npos) << labels;
    EXPECT_NE(labels.find("Elevation("), std::string::npos) << labels;
    EXPECT_NE(labels.find("050100150200"), std::string::npos) << labels;
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
    const std::vector<double> epsInk = tk::test::inkByQuarter(shots / "shell_export_eps.png");
    ASSERT_EQ(epsInk.size(), 4u);
    EXPECT_GT(epsInk[0] + epsInk[1] + epsInk[2] + epsInk[3], 0.01);
    // Its texts as ghostscript reads them: the map's title and axis title.
    EXPECT_EQ(readerStatus("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=- '" +
                               (dir_ / "map.eps").string() + "'",
                           output),
              0);
    std::erase_if(output, [](char c) { return c == ' ' || c == '\n' || c == '\r'; });
    EXPECT_NE(output.find("SITE"), std::string::npos) << output;
    EXPECT_NE(output.find("Easting(m)"), std::string::npos) << output;

    // SVG: well formed, and rendered.
    EXPECT_EQ(readerStatus("xmllint --noout '" + (dir_ / "map.svg").string() + "'", output), 0)
        << output;
    EXPECT_EQ(readerStatus("rsvg-convert -b white -o '" + (shots / "shell_export_svg.png").string() +
                           "' '" + (dir_ / "map.svg").string() + "'",
                           output),
              0)
        << output;
    EXPECT_NE(readFile(dir_ / "map.svg").find("<line "), std::string::npos);
    const std::string mapTexts = textOf(readFile(dir_ / "map.svg"));
    for (const char* text : {"SITE", "Northing(m)", "Easting(m)", "50150250350"})
        EXPECT_NE(mapTexts.find(text), std::string::npos) << text << " in " << mapTexts;

    // HP-GL and HP-GL/2 of the profile window: hp2xx reads both without
    // complaint and draws the whole profile, not only its labels.
    for (const char* plot : {"profile.plt", "profile2.plt"}) {
        SCOPED_TRACE(plot);
        const fs::path png = shots / ("shell_export_" + std::string(plot) + ".png");
        EXPECT_EQ(readerStatus("timeout 60 hp2xx -q -m png -c 12345671 -f '" + png.string() + "' '" +
                                   (dir_ / plot).string() + "'",
                               output),
                  0);
        EXPECT_EQ(output, "");
        // The profile's fills and axes come to several per cent of the page;
        // its labels alone to a few hundredths of one.
        const std::vector<double> ink = tk::test::inkByQuarter(png);
        ASSERT_EQ(ink.size(), 4u);
        EXPECT_GT((ink[0] + ink[1] + ink[2] + ink[3]) / 4, 0.02);
    }

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
