// The main window as the user meets it: the map of a database whose map was
// never scaled, the mark of the open profile that neither a redraw cancels
// nor a close leaves behind, the keys and clicks right after a box closes,
// and a database named on the command line in another case.

#include "survey_fixture.h"
#include "shell/window_views.h"
#include "platform/window/screen.h"
#include "toolkit/graphics/colour_table.h"

namespace shell::test {
namespace {

using MainWindowTest = ProgramTest;

// The screen's colour of palette colour n.
std::uint32_t surfaceColourOfPen(int n) {
    int rgb = 0;
    tk::ColourNumberRgb(n, rgb);
    return static_cast<std::uint32_t>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

int pixelsOfColour(std::uint32_t colour) {
    int count = 0;
    for (std::uint32_t p : windowPixels(mainClient()))
        count += p == colour;
    return count;
}

// Pixels of the main window's drawing area in palette colour n.
int pixelsOfPen(int n) {
    return pixelsOfColour(surfaceColourOfPen(n));
}

void expose(win::HWND w) {
    win::InvalidateRect(w, nullptr, win::TRUE);
}

TEST_F(MainWindowTest, TheMapShowsEveryProfileAndTheMarkStandsUntilItsWindowCloses) {
    // The database's map was never scaled: the map is fitted when drawn.
    writeSurvey("SITE");
    auto marked = std::make_shared<std::vector<std::uint32_t>>();
    Script s;
    s.check([=] {
        EXPECT_GT(mainLoop().MapAxis.divCountX, 0);
        EXPECT_GT(pixelsOfPen(files::viewSettings().K_PLIN), 50);  // the profile lines
        EXPECT_EQ(views::viewState().MarkedProfile, 1);
        saveShot(mainWindow(), "shell_main_window_map.png");
        *marked = windowPixels(mainClient());
        expose(mainClient());
    });
    // A redraw draws the mark again, and only once.
    s.check([=] {
        EXPECT_EQ(windowPixels(mainClient()), *marked);
        EXPECT_EQ(views::viewState().MarkedProfile, 1);
    });
    chooseProfileMenu(s, "File", "Exit");
    s.check([=] {
        EXPECT_EQ(views::viewState().MarkedProfile, 0);
        EXPECT_NE(windowPixels(mainClient()), *marked);
        const auto closed = windowPixels(mainClient());
        saveShot(mainWindow(), "shell_main_window_no_mark.png");
        // A fresh drawing of the map without a current profile is the same.
        expose(mainClient());
        *marked = closed;
    });
    s.check([=] { EXPECT_EQ(windowPixels(mainClient()), *marked); });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

// A first run with no settings: the main window on the right half of the
// screen, the profile window on the left, side by side and whole.
TEST_F(MainWindowTest, TheFirstRunPutsTheTwoWindowsSideBySide) {
    writeSurvey("SITE");
    Script s;
    s.check([] {
        const win::ScreenConfig& screen = win::screenConfig();
        const win::RECT main = win::robot::screenRect(mainWindow());
        const win::RECT profile = win::robot::screenRect(profileFrame());
        // The placements give the drawing areas; the frames add their borders.
        EXPECT_NEAR(main.left, screen.width / 2, 1);
        EXPECT_NEAR(main.right - main.left, 0.45 * screen.width, 10);
        EXPECT_NEAR(profile.left, 3, 1);
        EXPECT_NEAR(profile.top, 3, 1);
        EXPECT_NEAR(profile.right - profile.left, 0.45 * screen.width, 10);
        EXPECT_GE(profile.bottom - profile.top, 0.5 * screen.height);
        EXPECT_LE(profile.bottom, screen.height);
        // Each window was drawn once before the program first waited.
        EXPECT_EQ(shellSession().MapDrawings, 1);
        EXPECT_EQ(shellSession().ProfileDrawings, 1);
        EXPECT_LE(profile.right, main.left) << "the windows overlap";
        saveShot(mainWindow(), "main_after_start.png");
        saveShot(profileFrame(), "profile_after_start.png");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(MainWindowTest, KeysAndClicksRightAfterABoxClosesGoWhereTheyAreAimed) {
    writeSurvey("SITE");
    Script s;
    // A model in the clipboard: Paste Model to All asks its question.
    chooseProfileMenu(s, "Edit", "Copy Model");
    s.clickAt(win::robot::clientPoint(mainClient, 300, 200));
    chooseMenu(s, "Edit", "Paste Model to All");
    s.check([] { ASSERT_TRUE(dialogTitled("Proceed?")); });
    s.key(win::VK_ESCAPE);
    s.check([] {
        EXPECT_FALSE(dialogTitled("Proceed?"));
        EXPECT_EQ(win::GetActiveWindow(), mainWindow());
        EXPECT_EQ(win::GetFocus(), mainClient());
        EXPECT_FALSE(win::GetCapture());
    });
    s.text("l");  // the first key after the box
    s.check([] { EXPECT_TRUE(views::viewState().ShowLocks); });
    // The first click after the box opens the menu it is aimed at.
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

TEST_F(MainWindowTest, ADatabaseNamedInAnotherCaseIsFound) {
    writeSurvey("SITE");
    Script s;
    s.check([] {
        EXPECT_EQ(database().NPROF, 2);
        EXPECT_EQ(currentProfile(), 1);
        EXPECT_TRUE(profileWindowOpen());
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm Site.tqm", std::move(s)), 0);
    // The file read is the file the settings remember.
    EXPECT_NE(readFile(settingsFile()).find("Last File=Site"), std::string::npos);
}

}  // namespace
}  // namespace shell::test

namespace shell::test {
namespace {

// The example survey: its lines of gravity and magnetic profiles lie on one
// another, and the mark of the open profile still shows over both.
TEST_F(MainWindowTest, TheExampleSurveyShowsTheMarkOfItsOpenProfile) {
    fs::copy_file(PELK_SOURCE_DIR "/examples/BASIN.TQM", dir_ / "BASIN.TQM");
    Script s;
    s.check([] {
        ASSERT_GT(currentProfile(), 0);
        EXPECT_EQ(views::viewState().MarkedProfile, currentProfile());
        // Four of the five lines drawn as they are, the open profile's
        // inverted by its mark; without the mark all five show.
        const std::uint32_t line = surfaceColourOfPen(files::viewSettings().K_PLIN);
        const int marked = pixelsOfColour(line);
        unmarkCurrentProfile();
        const int unmarked = pixelsOfColour(line);
        markCurrentProfile();
        EXPECT_GT(marked, 500);
        EXPECT_NEAR(static_cast<double>(unmarked) / marked, 1.25, 0.05);
        saveShot(mainWindow(), "shell_main_window_example.png");
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm BASIN.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
