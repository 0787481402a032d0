// Drawing exports from the File menus, each file opened by a reader that is
// not ours: ezdxf for DXF, a strict CGM element walker, libwmf for WMF.

#include "../toolkit/cgm_test_support.h"
#include "program_test_support.h"

namespace shell::test {
namespace {

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::string runCommand(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    return out;
}

// Picks the item of the window's File > Export menu and types the name into
// the file selector titled TITLE.
void exportFrom(Script& s, std::function<win::HWND()> window, const std::string& item,
                const std::string& title, const std::string& name, bool replace = false) {
    s.clickAt([window] {
        win::RECT r{};
        if (!win::robot::menuBarItemRect(window(), "File", r))
            throw std::runtime_error("no File menu");
        return win::robot::centreOf(r);
    });
    s.clickMenuItem("Export");
    s.clickMenuItem(item);
    s.check([title] { ASSERT_TRUE(dialogTitled(title)) << title; });
    s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    if (replace) s.key(win::VK_RETURN);  // "Do you want to replace it?" Yes
    // The first click after the selector only brings the main window back.
    s.clickAt([] { return win::robot::centreOf(mainWindow()); });
}

win::HWND profileFrame() {
    return tk::windowSystem().slots[static_cast<std::size_t>(profileWindow())].frame;
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
    const std::string dxf = runCommand("/usr/bin/python3 '" + (dir_ / "read.py").string() + "' '" +
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
    runCommand("wmf2svg -o '" + svg.string() + "' '" + (dir_ / "profile.wmf").string() + "' 2>&1");
    const std::string picture = readFile(svg);
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find("line"), std::string::npos);
    // No temporary file is left behind.
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
