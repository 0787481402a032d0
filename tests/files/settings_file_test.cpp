#include "files/settings_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <set>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "test_support.h"

namespace {

using files::SessionState;
using files::ViewSettings;
using files_test::FakeToolkit;
using files_test::readText;
using files_test::ScopedEnv;
using files_test::TempFolder;
using files_test::writeText;

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        files::viewSettings().reset();
        files::sessionState().reset();
    }
    void TearDown() override {
        files::viewSettings().reset();
        files::sessionState().reset();
    }
    std::string configFolder() const { return temp.path() + "/pelk-gm"; }
    std::string iniPath() const { return configFolder() + "/PELK-GM.INI"; }
    std::string inwPath() const { return configFolder() + "/PELK-GM.INW"; }
    void putSettings(const std::string& path, std::string_view text) {
        std::filesystem::create_directories(configFolder());
        writeText(path, text);
    }

    TempFolder temp;
    ScopedEnv config{"XDG_CONFIG_HOME", temp.path()};
    ScopedEnv site{"XDG_CONFIG_DIRS", temp.path() + "/site"};
    FakeToolkit toolkit;
};

// Reads `text` into fresh settings and returns them.
struct ReadResult {
    ViewSettings view;
    SessionState session;
    base::FixedString<24> lastFile{"UNTOUCHED"};
};
ReadResult readFrom(std::string_view text) {
    ReadResult r;
    files::readSettings(text, files::SettingFields{r.view, r.session, r.lastFile});
    return r;
}

std::set<std::string> listing(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.insert(e.path().string());
    return names;
}

// The settings-like files of a folder (*.INI and *.INW, any case): the
// program's folder is shared with tests running beside this one, which
// write files of their own there.
std::set<std::string> settingsLike(const std::string& folder) {
    std::set<std::string> names;
    for (const std::string& name : listing(folder)) {
        std::string ext = std::filesystem::path(name).extension().string();
        for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (ext == ".INI" || ext == ".INW") names.insert(name);
    }
    return names;
}

TEST_F(SettingsFile, DefaultsAreWrittenExactlyAsTheGoldenFile) {
    auto exeFolder = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    auto before = settingsLike(exeFolder);
    files::sessionState().SETTINGS_WRITE = true;

    ASSERT_TRUE(files::LASTDIR("SITE"));

    EXPECT_EQ(readText(iniPath()), readText(files_test::goldenPath("settings_defaults.ini")));
    EXPECT_EQ(settingsLike(exeFolder), before) << "no settings may be written beside the program";
    EXPECT_EQ(listing(configFolder()), std::set<std::string>{iniPath()});
}

TEST_F(SettingsFile, WhatIsWrittenReadsBack) {
    ViewSettings& v = files::viewSettings();
    SessionState& s = files::sessionState();
    v.K_GRID = 13;
    v.K_BODY = {15, 14, 13, 12, 11, 10, 9, 8, 7, 6};
    v.HIDATV = 0.3125f;
    v.OFFMODH = -1.5f;
    v.ProfileWindowPlacement = {2, 300, 500, 10, 20};
    v.MainWindowPlacement = {1, 700, 900, 5, 6};
    v.IPDataColumn = 7;
    v.DataColumn = 8;
    v.LCOLFILL = false;
    v.LPREG = true;
    v.AxisLabels(23).assign("Chargeability (ms)");
    v.AxisLabels(4).assign("Height above datum (ft)");
    s.Illegal = 2;
    s.LVLabels = true;
    s.DialogY = -1;
    s.CSVOutput = true;
    s.SETTINGS_WRITE = true;
    ViewSettings wantView = v;
    SessionState wantSession = s;
    ASSERT_TRUE(files::LASTDIR("C:\\DATA\\SITE"));

    v.reset();
    s.reset();
    base::FixedString<24> lastFile;
    files::INIIN(lastFile);

    EXPECT_EQ(lastFile, base::FixedString<24>("C:\\DATA\\SITE"));
    EXPECT_TRUE(s.SETTINGS_WRITE);
    EXPECT_EQ(v.K_GRID, 13);
    EXPECT_EQ(v.K_BODY, wantView.K_BODY);
    EXPECT_EQ(v.HIDATV, 0.3125f);
    EXPECT_EQ(v.OFFMODH, -1.5f);
    EXPECT_EQ(v.ProfileWindowPlacement, wantView.ProfileWindowPlacement);
    EXPECT_EQ(v.MainWindowPlacement, wantView.MainWindowPlacement);
    EXPECT_EQ(v.IPDataColumn, 7);
    EXPECT_EQ(v.DataColumn, 8);
    EXPECT_FALSE(v.LCOLFILL);
    EXPECT_TRUE(v.LPREG);
    EXPECT_EQ(v.AxisLabels, wantView.AxisLabels);
    EXPECT_EQ(s.Illegal, 2);
    EXPECT_TRUE(s.LVLabels);
    EXPECT_EQ(s.DialogY, -1);
    EXPECT_TRUE(s.CSVOutput);
    EXPECT_EQ(toolkit.folderChanges, std::vector<std::string>{toolkit.folder});
}

TEST_F(SettingsFile, MapTitleSizesAreWrittenButNotReadBack) {
    files::viewSettings().HIMAPH = 0.5f;
    files::viewSettings().OFFMAPV = 0.25f;
    files::sessionState().SETTINGS_WRITE = true;
    ASSERT_TRUE(files::LASTDIR(""));
    EXPECT_NE(readText(iniPath()).find("HIMAPH=    0.5000\r\n"), std::string::npos);

    files::viewSettings().reset();
    base::FixedString<24> lastFile;
    files::INIIN(lastFile);
    EXPECT_EQ(files::viewSettings().HIMAPH, 0.18f);
    EXPECT_EQ(files::viewSettings().OFFMAPV, 0.0f);
}

TEST(SettingsReader, ALoneKeyChangesOnlyItsField) {
    ReadResult r = readFrom("K_GRID=    9\r\n");
    ViewSettings want;
    want.K_GRID = 9;
    EXPECT_EQ(r.view.K_GRID, 9);
    r.view.K_GRID = want.K_GRID;
    EXPECT_EQ(files::settingsText({r.view, r.session, r.lastFile}, "/x"),
              files::settingsText({want, r.session, r.lastFile}, "/x"));
}

TEST(SettingsReader, ShortBodyColourListFillsTheRestWithZero) {
    ReadResult r = readFrom("K_BODY=    5    6\n");
    EXPECT_EQ(r.view.K_BODY, (std::array<int, 10>{5, 6, 0, 0, 0, 0, 0, 0, 0, 0}));
    // A word that is not a number ends the list but not the file.
    r = readFrom("K_BODY=    5  abc    7\nK_GRID=   12\n");
    EXPECT_EQ(r.view.K_BODY, (std::array<int, 10>{5, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(r.view.K_GRID, 12);
}

TEST(SettingsReader, ColourOutsideThePaletteIsKeptAsRead) {
    EXPECT_EQ(readFrom("K_DATA=   42\n").view.K_DATA, 42);
}

TEST(SettingsReader, WindowBlockIsOrderedAndEndsAtTheFirstStrangeLine) {
    ReadResult r = readFrom(
        "[Windows]\r\nDialog X=   11\r\nDialog Y=   12\r\nK_GRID=    9\r\n"
        "Window X=   77\r\nWindow Y=   78\r\n");
    EXPECT_EQ(r.session.DialogX, 11);
    EXPECT_EQ(r.session.DialogY, 12);
    EXPECT_EQ(r.view.K_GRID, 9) << "the line that ended the block is read by the other rules";
    EXPECT_EQ(r.view.MainWindowPlacement, ViewSettings().MainWindowPlacement)
        << "placement keys count only inside the block";
}

TEST(SettingsReader, BlankLineAfterWindowsHeaderEndsTheBlockAtOnce) {
    ReadResult r = readFrom("[Windows]\n \nDialog X=   11\nDialog Y=   12\n");
    EXPECT_EQ(r.session.DialogX, 0);
    EXPECT_EQ(r.session.DialogY, 0);
}

TEST(SettingsReader, FullWindowBlockSetsEveryPlacement) {
    std::string text = "[Windows]\n";
    int n = 1;
    for (std::string_view key : files::windowKeys())
        text += std::string(key) + std::to_string(n++) + "\n";
    ReadResult r = readFrom(text);
    EXPECT_EQ(r.session.DialogX, 1);
    EXPECT_EQ(r.session.DialogY, 2);
    EXPECT_EQ(r.view.MainWindowPlacement, (files::WindowPlacement{7, 6, 5, 4, 3}));
    EXPECT_EQ(r.view.ProfileWindowPlacement, (files::WindowPlacement{22, 21, 20, 19, 18}));
}

TEST(SettingsReader, IpDataColumnLeavesDataColumnAlone) {
    ReadResult r = readFrom("IP Data Column=    9\nData Column=    6\n");
    EXPECT_EQ(r.view.IPDataColumn, 9);
    EXPECT_EQ(r.view.DataColumn, 6);
    r = readFrom("IP Data Column=    9\n");
    EXPECT_EQ(r.view.DataColumn, 5);
}

TEST(SettingsReader, BadValueStopsReadingAndKeepsWhatCameBefore) {
    struct Case {
        const char* text;
        const char* why;
    };
    for (Case c : {Case{"K_GRID=    9\nLine Width=  abc\nK_DATA=   10\n", "integer"},
                   Case{"K_GRID=    9\nHIDATV=1.2.3\nK_DATA=   10\n", "real"},
                   Case{"K_GRID=    9\nLCOLFILL=Y\nK_DATA=   10\n", "switch"},
                   Case{"K_GRID=    9\n  K_LABL=    4\nK_DATA=   10\n", "indented key"},
                   Case{"K_GRID=    9\nHeight Column=    x\nK_DATA=   10\n", "discarded key"}}) {
        ReadResult r = readFrom(c.text);
        EXPECT_EQ(r.view.K_GRID, 9) << c.why;
        EXPECT_EQ(r.view.K_DATA, 3) << c.why;
        EXPECT_TRUE(r.view.LCOLFILL) << c.why;
        EXPECT_EQ(r.view.LineWidth, 2) << c.why;
    }
}

TEST(SettingsReader, ValuesAreTakenFromTheirWords) {
    ReadResult r = readFrom(
        "HICNAME=       .5\nHIDATH=2E-1\nLine Width=\nLVIEWPIVOT=True\n"
        "CLPFEM=Chargeability  (ms)\nLast File=C:\\A\\VERY LONG DATABASE NAME.TQM\n"
        "LVIEWVERT=f\n");
    EXPECT_EQ(r.view.HICNAME, 0.5f);
    EXPECT_EQ(r.view.HIDATH, 0.2f);
    EXPECT_EQ(r.view.LineWidth, 0) << "a missing number reads as 0";
    EXPECT_TRUE(r.view.LVIEWPIVOT);
    EXPECT_FALSE(r.view.LVIEWVERT);
    EXPECT_EQ(r.view.AxisLabels(23), files::AxisTitle("Chargeability  (ms)"));
    EXPECT_EQ(r.view.AxisLabels(24), files::AxisTitle("IP Effect"));
    EXPECT_EQ(r.lastFile, base::FixedString<24>("C:\\A\\VERY LONG DATABASE "));
}

TEST_F(SettingsFile, FolderAndDatabasePathsOf200CharactersAreKeptWhole) {
    const std::string longFolder = "/" + std::string(120, 'd') + "/" + std::string(78, 'e');
    ASSERT_EQ(longFolder.size(), 200u);
    readFrom("[Directories]\r\nLastDir=" + longFolder + "\r\n");
    ASSERT_EQ(toolkit.folderChanges.size(), 1u);
    EXPECT_EQ(toolkit.folderChanges[0], longFolder);

    // Written and read back: the folder and the database's whole path.
    ReadResult written;
    written.session.DatabasePath = longFolder + "/A DATABASE NAME LONGER THAN 24.TQM";
    const std::string text =
        files::settingsText({written.view, written.session, written.lastFile}, longFolder);
    toolkit.folderChanges.clear();
    ReadResult back = readFrom(text);
    ASSERT_EQ(toolkit.folderChanges.size(), 1u);
    EXPECT_EQ(toolkit.folderChanges[0], longFolder);
    EXPECT_EQ(back.session.DatabasePath, written.session.DatabasePath);
    EXPECT_EQ(back.lastFile, written.lastFile);

    toolkit.folderChanges.clear();
    ReadResult r = readFrom("[Directories]\nK_GRID=    9\n");
    EXPECT_TRUE(toolkit.folderChanges.empty());
    EXPECT_EQ(r.view.K_GRID, 9) << "a line other than the folder is examined again";
}

TEST_F(SettingsFile, InwFileIsReadWhenAloneAndThenNothingIsWritten) {
    putSettings(inwPath(), "K_GRID=    9\r\n[Files]\r\nLast File=OLD\r\n");
    base::FixedString<24> lastFile("UNTOUCHED");
    files::INIIN(lastFile);
    EXPECT_EQ(files::viewSettings().K_GRID, 9);
    EXPECT_EQ(lastFile, base::FixedString<24>("OLD"));
    EXPECT_FALSE(files::sessionState().SETTINGS_WRITE);

    EXPECT_TRUE(files::LASTDIR("NEW"));
    EXPECT_FALSE(std::filesystem::exists(iniPath()));
    EXPECT_EQ(readText(inwPath()), "K_GRID=    9\r\n[Files]\r\nLast File=OLD\r\n");
}

TEST_F(SettingsFile, IniFileWinsOverInwAndTheExitTidiesUp) {
    putSettings(iniPath(), "K_GRID=    5\r\n");
    putSettings(inwPath(), "K_GRID=    9\r\n");
    base::FixedString<24> lastFile("UNTOUCHED");
    files::INIIN(lastFile);
    EXPECT_EQ(files::viewSettings().K_GRID, 5);
    EXPECT_TRUE(lastFile.blank()) << "the name is blanked once a file is found";
    EXPECT_TRUE(files::sessionState().SETTINGS_WRITE);

    EXPECT_TRUE(files::LASTDIR("SITE"));
    EXPECT_NE(readText(iniPath()).find("K_GRID=    5\r\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(inwPath()));
}

TEST_F(SettingsFile, SiteFileIsReadWhenTheUserHasNone) {
    std::filesystem::create_directories(temp.path() + "/site/pelk-gm");
    writeText(temp.path() + "/site/pelk-gm/Pelk-GM.INI", "K_SYNT=    6\n");
    base::FixedString<24> lastFile("UNTOUCHED");
    files::INIIN(lastFile);
    EXPECT_EQ(files::viewSettings().K_SYNT, 6);
    EXPECT_TRUE(files::sessionState().SETTINGS_WRITE);
}

TEST_F(SettingsFile, NoFileKeepsDefaultsAndTheName) {
    base::FixedString<24> lastFile("UNTOUCHED");
    files::INIIN(lastFile);
    EXPECT_EQ(lastFile, base::FixedString<24>("UNTOUCHED"));
    EXPECT_TRUE(files::sessionState().SETTINGS_WRITE);
    EXPECT_EQ(files::viewSettings().K_PNTS, 4);
    EXPECT_EQ(files::viewSettings().K_PLIN, 9);
    EXPECT_TRUE(toolkit.folderChanges.empty());
}

TEST_F(SettingsFile, FailedWriteKeepsTheOldFile) {
    putSettings(iniPath(), "K_GRID=    5\r\n");
    // A folder where the temporary file should go cannot be had: the
    // configuration folder is replaced by a plain file.
    files::sessionState().SETTINGS_WRITE = true;
    ScopedEnv elsewhere("XDG_CONFIG_HOME", temp.path() + "/blocked");
    writeText(temp.path() + "/blocked", "not a folder");
    EXPECT_FALSE(files::LASTDIR("SITE"));
    EXPECT_EQ(readText(iniPath()), "K_GRID=    5\r\n");
}

}  // namespace
