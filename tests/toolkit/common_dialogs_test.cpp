// The toolkit's standard dialogs on the headless desktop, the robot playing
// the user: file, page set-up, colour and folder dialogs, the client origin
// and the path splitter.

#include "toolkit/core/common_dialogs.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core_test_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/controls_api.h"
#include "platform/gdi/printing.h"
#include "platform/message_box.h"
#include "platform/resources/resource_api.h"
#include "platform/robot/finder.h"
#include "toolkit/core/window_placement.h"
#include "window_test_support.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using win::robot::Script;

constexpr int kFilterResource = 3001;

// A string block holding the filter text under kFilterResource.
void registerFilterResource() {
    static std::vector<unsigned char> block;
    static win::ResourceEntry entry{};
    if (!block.empty()) return;
    const std::string text = "Models|*.tqm|";
    for (int i = 0; i < 16; ++i) {
        const bool ours = i == kFilterResource % 16;
        const std::size_t n = ours ? text.size() : 0;
        block.push_back(static_cast<unsigned char>(n));
        block.push_back(0);
        for (std::size_t k = 0; k < n; ++k) {
            block.push_back(static_cast<unsigned char>(text[k]));
            block.push_back(0);
        }
    }
    entry = {nullptr,      6,
             nullptr,      static_cast<win::WORD>(kFilterResource / 16 + 1),
             block.data(), static_cast<std::uint32_t>(block.size())};
    win::registerResources(&entry, 1);
}

win::HWND dialog() {
    return win::robot::findTopLevelByClass("#32770");
}

std::vector<std::string> listed(int id) {
    std::vector<std::string> out;
    win::HWND list = win::GetDlgItem(dialog(), id);
    const auto n = win::SendMessageA(list, win::LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char buf[256] = {};
        win::SendMessageA(list, win::LB_GETTEXT, static_cast<win::WPARAM>(i),
                          reinterpret_cast<win::LPARAM>(buf));
        out.push_back(buf);
    }
    return out;
}

win::HWND childOfClass(win::HWND parent, const std::string& lowerName) {
    for (win::HWND h = win::GetWindow(parent, win::GW_CHILD); h;
         h = win::GetWindow(h, win::GW_HWNDNEXT)) {
        char name[64] = {};
        win::GetClassNameA(h, name, sizeof name);
        std::string n = name;
        for (char& c : n)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (n == lowerName) return h;
    }
    return nullptr;
}

// Picks an entry of a dialog's drop-down list as a choice of the user does.
void chooseComboEntry(int id, int index) {
    win::HWND combo = win::GetDlgItem(dialog(), id);
    win::SendMessageA(combo, win::CB_SETCURSEL, static_cast<win::WPARAM>(index), 0);
    win::SendMessageA(dialog(), win::WM_COMMAND,
                      win::MAKEWPARAM(static_cast<win::WORD>(id), win::CBN_SELCHANGE),
                      reinterpret_cast<win::LPARAM>(combo));
}

class CommonDialogsTest : public test::WindowTest {
  protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        win::testing::resetMessageBoxes();
        PageSetupStateReset();
        std::ofstream(dir.file("a.csv")) << "1";
        std::ofstream(dir.file("b.txt")) << "2";
        std::ofstream(dir.file("site.tqm")) << "3";
    }
    void TearDown() override {
        PageSetupStateReset();
        win::testing::resetMessageBoxes();
        test::WindowTest::TearDown();
    }
    test::TempDir dir;
    test::EnvVar printer{"PELK_PRINTER", "pdf"};
};

TEST_F(CommonDialogsTest, FileDialogTurnsTheFilterTextIntoEntriesAndReturnsTheChosenOne) {
    Script s;
    s.check([] {
        ASSERT_TRUE(dialog());
        EXPECT_EQ(win::robot::windowText(dialog()), "Pick");
        win::HWND combo = win::GetDlgItem(dialog(), win::kFilterCombo);
        EXPECT_EQ(win::SendMessageA(combo, win::CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(listed(win::kFileList), std::vector<std::string>{"a.csv"});
        chooseComboEntry(win::kFilterCombo, 1);
        EXPECT_EQ(listed(win::kFileList), (std::vector<std::string>{"a.csv", "b.txt", "site.tqm"}));
    });
    s.text("b.txt").key(win::VK_RETURN);
    win::robot::play(std::move(s));
    char name[300] = {};
    int index = 1, result = -1, error = -1;
    FileDialogRun(-1, index, 0, 0, 0, 0, 0, 1, result, error, "Pick", name, sizeof name,
                  dir.path().c_str(), "CSV Files|*.csv|All Files|*.*|");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(std::string(name), dir.file("b.txt"));
}

TEST_F(CommonDialogsTest, FileDialogTakesItsFilterFromAStringResourceAndCancelGivesZero) {
    registerFilterResource();
    Script s;
    s.check([] { EXPECT_EQ(listed(win::kFileList), std::vector<std::string>{"site.tqm"}); });
    s.key(win::VK_ESCAPE);
    win::robot::play(std::move(s));
    char name[300] = "kept.tqm";
    int index = 1, result = -1, error = -1;
    FileDialogRun(kFilterResource, index, 1, 1, 0, 0, 1, 0, result, error, "Save", name,
                  sizeof name, dir.path().c_str(), "");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(index, 1);
    EXPECT_STREQ(name, "kept.tqm");
}

TEST_F(CommonDialogsTest, SplitPathNameSeparatesFolderAndName) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\DATA\\PROFILE.DAT", "C:\\DATA\\", "PROFILE.DAT"},
        {"C:\\DATA\\", "C:\\DATA", ""},
        {"C:\\", "C:\\", ""},
        {"NAME.DAT", "", "NAME.DAT"},
        {"C:NAME", "C:", "NAME"},
        {"C:\\DATA\\..", "C:\\DATA\\..", ""},
        {"  /home/user/model.tqm", "/home/user/", "model.tqm"},
        {"/home/user/", "/home/user", ""},
        {"/", "/", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        char path[40], name[20];
        putText(TextOut(path), c.path);
        SplitPathName(TextOut(path), TextOut(name));
        EXPECT_EQ(trimRight(std::string_view(path, sizeof path)), c.folder) << c.path;
        EXPECT_EQ(trimRight(std::string_view(name, sizeof name)), c.name) << c.path;
    }
}

TEST_F(CommonDialogsTest, ClientOriginOfAWindowAndOfTheFocusWindow) {
    openRoot();
    int x = 0, y = 0;
    ClientOriginOnScreen(0, x, y);
    const win::POINT root = clientToScreen(0, 0, 0);
    EXPECT_EQ(x, root.x);
    EXPECT_EQ(y, root.y);
    int child = 0;
    WindowOpenChildArgs a;
    a.flags = kDefaultWindowFlags | kFlagInsideParent;
    a.parent = 0;
    a.x = 500;
    a.y = 500;
    a.width = 3000;
    a.height = 3000;
    WindowOpenChild(child, a);
    ASSERT_GT(child, 0);
    // The focus window is the child inside the root: its top-level window counts.
    windowSystem().FocusWindow = slot(child).client;
    windowSystem().ActiveModelessDialog = nullptr;
    ClientOriginOnScreen(-1, x, y);
    EXPECT_EQ(x, root.x);
    EXPECT_EQ(y, root.y);
    // An active modeless dialog counts first.
    win::HWND box = win::CreateWindowExA(0, "#32770", "Box", win::WS_POPUP | win::WS_VISIBLE, 300,
                                         200, 100, 80, nullptr, nullptr, nullptr, nullptr);
    windowSystem().ActiveModelessDialog = box;
    ClientOriginOnScreen(-1, x, y);
    win::POINT boxOrigin{0, 0};
    win::ClientToScreen(box, &boxOrigin);
    EXPECT_EQ(x, boxOrigin.x);
    EXPECT_EQ(y, 200);
    windowSystem().ActiveModelessDialog = nullptr;
    win::DestroyWindow(box);
    ClientOriginOnScreen(child, x, y);
    const win::POINT inner = clientToScreen(child, 0, 0);
    EXPECT_EQ(x, inner.x);
    EXPECT_GT(inner.x, root.x);
}

struct Page {
    int width = 0, height = 0, printableWidth = 0, printableHeight = 0, left = 0, top = 0;
    int orientation = 0, copies = 1, colours = 0, result = -1;
    void run(int unitKind) {
        PageSetupDialogRun(width, height, printableWidth, printableHeight, left, top, orientation,
                           copies, unitKind, colours, result);
    }
};

TEST_F(CommonDialogsTest, PageSetupReturnsThePaperInTheAskedUnitsAndKeepsThePrinter) {
    const win::PaperSize paper = win::printerPaperSizes(win::defaultPrinter().device).front();
    int measure = 0;
    test::EnvVar all{"LC_ALL", "C"};
    LocaleMeasureSystem(measure);
    EXPECT_EQ(measure, 2);  // the C locale is metric

    // Hundredths of a millimetre, upright, margins of 10 mm kept through OK.
    Page p;
    p.left = p.top = 1000;
    p.printableWidth = paper.widthTenthsMm * 10 - 2000;
    p.printableHeight = paper.heightTenthsMm * 10 - 2000;
    p.copies = 2;
    Script s;
    s.check([] {
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(dialog(), win::kMarginRight)), "10.0");
    });
    s.clickOn([] { return win::GetDlgItem(dialog(), win::IDOK); });
    win::robot::play(std::move(s));
    p.run(3);
    ASSERT_EQ(p.result, 1);
    EXPECT_EQ(p.width, paper.widthTenthsMm * 10);
    EXPECT_EQ(p.height, paper.heightTenthsMm * 10);
    EXPECT_EQ(p.printableWidth, p.width - 2000);
    EXPECT_EQ(p.left, 1000);
    EXPECT_EQ(p.copies, 2);
    const PageSetupState& st = pageSetupState();
    EXPECT_TRUE(st.initialised);
    EXPECT_EQ(st.deviceName, win::defaultPrinter().device);
    EXPECT_EQ(st.copies, 2);
    EXPECT_EQ(st.paperSize, paper.code);

    // Thousandths of an inch, turned: the paper is fetched anew and exchanged.
    Page q;
    q.orientation = 1;
    q.left = q.top = 500;
    q.printableWidth = q.printableHeight = 1000;
    Script t;
    t.clickOn([] { return win::GetDlgItem(dialog(), win::IDOK); });
    win::robot::play(std::move(t));
    q.run(1);
    ASSERT_EQ(q.result, 1);
    EXPECT_EQ(q.orientation, 1);
    EXPECT_EQ(q.width, (paper.heightTenthsMm * 1000 + 127) / 254);
    EXPECT_EQ(q.height, (paper.widthTenthsMm * 1000 + 127) / 254);
    EXPECT_NEAR(q.printableWidth, 1000, 10);  // the dialog shows inches to 0.01
    EXPECT_EQ(st.unitFlag, win::PSD_INTHOUSANDTHSOFINCHES);

    // Cancel changes nothing, not even the kept orientation.
    Page r;
    r.copies = 7;
    Script u;
    u.clickOn([] { return win::GetDlgItem(dialog(), win::IDCANCEL); });
    win::robot::play(std::move(u));
    r.run(1);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(st.copies, 1);
    EXPECT_EQ(st.unitFlag, win::PSD_INTHOUSANDTHSOFINCHES);
}

// What the locale routines answer under the user's locale LC_NUMERIC and
// LC_MEASUREMENT name; empty when they answer as expected.
std::string localeAnswersDiffering(const char* numeric, const char* measurement, char separator,
                                   int measure) {
    test::EnvVar n{"LC_NUMERIC", numeric};
    test::EnvVar m{"LC_MEASUREMENT", measurement};
    int gotMeasure = 0;
    LocaleMeasureSystem(gotMeasure);
    char gotSeparator = 0;
    LocaleDecimalSeparator(gotSeparator);
    std::string out;
    if (gotMeasure != measure)
        out += std::string(measurement) + " measures " + std::to_string(gotMeasure) + "\n";
    if (gotSeparator != separator)
        out += std::string(numeric) + " separates with " + gotSeparator + "\n";
    return out;
}

// In a child process: the answers under locales made in PATH, then the end
// of the process, with code 0 when every answer was the expected one.
[[noreturn]] void checkLocalesAndExit(const std::string& path) {
    test::EnvVar locpath{"LOCPATH", path.c_str()};
    test::EnvVar all{"LC_ALL", nullptr};
    test::EnvVar lang{"LANG", nullptr};
    std::string wrong = localeAnswersDiffering("de_DE", "en_US", ',', 1) +
                        localeAnswersDiffering("en_US", "de_DE", '.', 2) +
                        localeAnswersDiffering("xx_YY", "xx_YY", '.', 2);
    // The program's own numbers keep their point whatever the locale.
    test::EnvVar numeric{"LC_NUMERIC", "de_DE"};
    char text[16] = {};
    std::snprintf(text, sizeof text, "%.1f", 2.5);
    if (std::string(text) != "2.5") wrong += std::string("printed ") + text + "\n";
    std::fputs(wrong.c_str(), stderr);
    std::_Exit(wrong.empty() ? 0 : 1);
}

// The user's locale as the environment names it: the measuring system of
// LC_MEASUREMENT and the decimal separator of LC_NUMERIC, each on its own;
// a locale that is not installed reads as the C locale. The locales are
// made for the test and read in a child process (the C library keeps what
// it loaded from a locale path of the environment for good).
TEST_F(CommonDialogsTest, TheUsersLocaleGivesTheMeasuringSystemAndTheDecimalSeparator) {
    const fs::path locales = dir.file("locales");
    fs::create_directories(locales);
    for (const std::string name : {"en_US", "de_DE"}) {
        const std::string command = "localedef -i " + name + " -f ISO-8859-1 '" +
                                    (locales / name).string() + "' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str());
        ASSERT_TRUE(fs::exists(locales / name / "LC_MEASUREMENT")) << command;
    }
    EXPECT_EXIT(checkLocalesAndExit(locales.string()), ::testing::ExitedWithCode(0), "");
}

TEST_F(CommonDialogsTest, ColourDialogStartsFromTheGivenColourAndSeedsTheCustomColours) {
    windowSystem().ColourPairs[3] = 0x123456;
    Script s;
    s.check([] {
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(dialog(), win::kRedEdit)), "10");
        EXPECT_EQ(win::robot::windowText(win::GetDlgItem(dialog(), win::kBlueEdit)), "30");
    });
    s.clickOn([] { return win::GetDlgItem(dialog(), win::IDOK); });
    s.check([] {});
    s.clickOn([] { return win::GetDlgItem(dialog(), win::IDCANCEL); });
    win::robot::play(std::move(s));
    int red = 10, green = 20, blue = 30, result = -1, error = -1;
    ColourDialogRun(red, green, blue, result, error);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(red, 10);
    EXPECT_EQ(green, 20);
    EXPECT_EQ(blue, 30);
    EXPECT_EQ(customColours()[3], 0x123456u);
    ColourDialogRun(red, green, blue, result, error);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(error, 0);
}

TEST_F(CommonDialogsTest, FolderChooserTakesATypedFolderAndOffersToCreateIt) {
    fs::create_directory(dir.file("sub"));
    const std::string wanted = dir.file("new");
    Script s;
    s.check([&] {
        ASSERT_TRUE(dialog());
        EXPECT_EQ(win::robot::windowText(dialog()), "Select Directory");
        win::SetFocus(childOfClass(dialog(), "edit"));
        EXPECT_EQ(win::robot::windowText(win::GetFocus()), dir.file("sub"));
        win::SendMessageA(win::GetFocus(), win::EM_SETSEL, 0, -1);
    });
    s.text(wanted);
    s.check([] { win::testing::queueMessageBoxAnswer(win::IDNO); });
    s.clickOn([] { return win::GetDlgItem(dialog(), win::IDOK); });
    s.check([] {
        ASSERT_TRUE(dialog());  // No keeps the dialog up
        win::testing::queueMessageBoxAnswer(win::IDYES);
    });
    s.clickOn([] { return win::GetDlgItem(dialog(), win::IDOK); });
    win::robot::play(std::move(s));
    char folder[260];
    putText(TextOut(folder), dir.file("sub"));
    int result = 0;
    DirectoryBrowseRun(0, result, kBrowseOfferCreation, TextOut(folder), "ignored");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(trimRight(std::string_view(folder, sizeof folder)), wanted);
    EXPECT_TRUE(fs::is_directory(wanted));
    const auto& boxes = win::testing::messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Create Directory?");
}

}  // namespace
}  // namespace tk
