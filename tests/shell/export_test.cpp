// Drawing exports from the File menus, each file opened by a reader that is
// not ours: ezdxf for DXF, a strict CGM element walker, libwmf for WMF,
// ghostscript for EPS, xmllint and rsvg-convert for SVG, hp2xx for HP-GL,
// and a reader of the HP-GL/2 command grammar.

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
