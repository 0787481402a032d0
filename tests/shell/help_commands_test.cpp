// Help > Contents opens the help page shipped beside the program, at its
// contents from the main window and at the profile window's topic from the
// profile window; a missing page is said so; Help > About.

#include "shell/help_commands.h"
#include "survey_fixture.h"

namespace shell::test {
namespace {

using HelpCommandsTest = ProgramTest;

std::string upperCase(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

// The viewer is not started in a test: what it would be asked to show is kept.
std::shared_ptr<std::vector<std::string>> recordViewer(Script& s) {
    auto opened = std::make_shared<std::vector<std::string>>();
    s.check([opened] {
        tk::seams().openDocument = [opened](const std::string& document) {
            opened->push_back(document);
            return 0;
        };
    });
    return opened;
}

TEST_F(HelpCommandsTest, ContentsOpenTheShippedPageAtTheWindowsTopic) {
    writeSurvey("SITE");
    // The page installed beside the program.
    const std::string page = readFile(PELK_HELP_DOCUMENT);
    for (const char* anchor : {"id=\"contents\"", "id=\"index\"", "id=\"1011\"", "id=\"keys\""})
        EXPECT_NE(page.find(anchor), std::string::npos) << anchor;
    fs::copy_file(PELK_HELP_DOCUMENT, dir_ / "pelk-gm.html");
    win::testing::setModuleFileName((dir_ / "pelk-gm").string());
    Script s;
    auto opened = recordViewer(s);
    chooseMenu(s, "Help", "Contents");
    chooseProfileMenu(s, "Help", "Contents");
    s.check([&, opened] {
        const std::string file = "file://" + fs::canonical(dir_ / "pelk-gm.html").string();
        EXPECT_EQ(*opened, (std::vector<std::string>{file + "#index", file + "#1011"}));
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(HelpCommandsTest, ContentsFindThePageOfAnInstallationInItsShareFolder) {
    writeSurvey("SITE");
    // As `cmake --install` lays it out: bin/pelk-gm and share/pelk-gm/.
    fs::create_directories(dir_ / "bin");
    fs::create_directories(dir_ / "share" / "pelk-gm");
    fs::copy_file(PELK_HELP_DOCUMENT, dir_ / "share" / "pelk-gm" / "pelk-gm.html");
    win::testing::setModuleFileName((dir_ / "bin" / "pelk-gm").string());
    Script s;
    auto opened = recordViewer(s);
    chooseMenu(s, "Help", "Contents");
    s.check([&, opened] {
        EXPECT_FALSE(win::testing::lastMessageBox());
        const fs::path page = fs::canonical(dir_ / "share" / "pelk-gm" / "pelk-gm.html");
        EXPECT_EQ(*opened, std::vector<std::string>{"file://" + page.string() + "#index"});
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// Without a viewer on the desktop the user is told, with the page's place.
TEST_F(HelpCommandsTest, ContentsWithoutAViewerSayWhereThePageIs) {
    writeSurvey("SITE");
    fs::copy_file(PELK_HELP_DOCUMENT, dir_ / "pelk-gm.html");
    win::testing::setModuleFileName((dir_ / "pelk-gm").string());
    Script s;
    s.check([] {
        tk::seams().openDocument = [](const std::string&) { return 2; };  // no such program
    });
    s.answerMessageBox(win::IDOK);
    chooseProfileMenu(s, "Help", "Contents");
    s.check([this] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        const std::string text = win::testing::lastMessageBox()->text;
        EXPECT_NE(text.find("cannot be shown"), std::string::npos) << text;
        EXPECT_NE(text.find(fs::canonical(dir_ / "pelk-gm.html").string()), std::string::npos)
            << text;
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(HelpCommandsTest, AMissingHelpFileIsNamedInAMessage) {
    writeSurvey("SITE");
    win::testing::setModuleFileName((dir_ / "pelk-gm").string());
    const std::string expected =
        "HELP FILE NOT FOUND:\r\n" + upperCase((dir_ / "PELK-GM.HLP").string());
    Script s;
    auto opened = recordViewer(s);
    s.answerMessageBox(win::IDOK);
    chooseMenu(s, "Help", "Contents");
    s.check([opened, expected] {
        EXPECT_TRUE(opened->empty());
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, expected);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(HelpCommandsTest, TheHelpFileIsNamedAfterTheProgram) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\PROGRAMS\\Pelk.exe", "C:\\PROGRAMS\\PELK-GM.HLP"},
        {"/opt/pelk/bin/pelk-gm", "/OPT/PELK/BIN/PELK-GM.HLP"},
        {"/usr/local/bin/pelk", "/USR/LOCAL/BIN/PELK-GM.HLP"},
    };
    for (const auto& [program, name] : cases) {
        win::testing::setModuleFileName(program);
        EXPECT_EQ(helpFileName(), name) << program;
    }
}

TEST_F(HelpCommandsTest, AboutShowsTheProgramAndItsMaker) {
    writeSurvey("SITE");
    Script s;
    chooseMenu(s, "Help", "About");
    s.check([] {
        win::HWND about = dialogTitled("About Pelk-GM");
        ASSERT_TRUE(about);
        EXPECT_TRUE(win::robot::findDescendantByText(about, "Pelk-GM version 1.01"));
        saveShot(about, "dialog_114_about.png");
    });
    s.clickOn([] { return win::GetDlgItem(dialogTitled("About Pelk-GM"), win::IDOK); });
    s.check([] { EXPECT_FALSE(dialogTitled("About Pelk-GM")); });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
