// The window-text state the program sets at start-up, seen once its main
// window is open and has been sized.

#include "program_test_support.h"
#include "toolkit/core/window_text.h"

namespace shell::test {
namespace {

TEST_F(ProgramTest, StartUpLeavesTheWindowTextInCourierOnTheOpenMainWindow) {
    writeDatabase("SITE");
    Script s;
    s.check([] {
        ASSERT_TRUE(mainWindow());
        const tk::WindowTextState& t = tk::windowTextState();
        EXPECT_EQ(t.fontNumber, 4);
        EXPECT_EQ(t.rootFrame, tk::windowSystem().slots[0].frame);
        EXPECT_EQ(t.bold, 0);
        EXPECT_EQ(t.italic, 0);
        EXPECT_EQ(t.underline, 0);
    });
    chooseMenu(s, "File", "Exit");
    EXPECT_EQ(run("pelk-gm SITE.TQM", std::move(s)), 0);
}

}  // namespace
}  // namespace shell::test
