// Editors in the panes of a split window: the split window shows the menu
// of the pane the user works in and sends its menu commands and keys there,
// and closing it asks each editor pane its save question.

#include <array>

#include "grid_editor_test_support.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/message_box.h"
#include "toolkit/core/window_split.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/editors/editor_create.h"
#include "toolkit/editors/editor_text.h"

namespace tk::test {
namespace {

class EditorPanesTest : public GridEditorTest {
  protected:
    int commandPane() const { return static_cast<int>(frameRecord(slot(0).frame)->words[SplitCommandPane]); }
};

TEST_F(EditorPanesTest, TheSplitWindowServesThePaneInUseAndAsksEachEditorBeforeClosing) {
    OutputWindowSelect(0);
    std::array<SplitPaneArgs, 2> panes{};
    int first = -1, second = -1;
    ASSERT_EQ(WindowSplitCreate(0, panes, first, second), 0);
    window = first;
    GridEditorCreateArgs grid;
    grid.templateField = IDC_GEGRID;
    grid.options = kGridEditorRowsFollow;
    grid.splitWindow = 0;
    GridEditorRecord* g = make(IDD_GEHOST, grid);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(win::GetMenu(slot(0).frame), g->mainMenu);
    EXPECT_EQ(commandPane(), first);

    OutputWindowSelect(second);
    int status = 0, mode = 2;
    EditorCreateArgs text;
    text.options = kEditorRichText;
    text.splitterWindow = 0;
    EditorCreate(status, mode, text);
    EXPECT_EQ(status, 0);
    EditorWindowRecord* t = editorRecordOfWindow(second);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(commandPane(), second);
    EXPECT_NE(t->paneAccelerators, nullptr);

    const win::HWND root = slot(0).frame;
    Script s;
    // Working in the grid pane: its menu and keys.
    s.clickAt(win::robot::clientPoint([&] { return gridRecordOfWindow(g->grid)->cellArea; }, 20, 8));
    s.check([&] {
        EXPECT_EQ(commandPane(), first);
        EXPECT_EQ(win::GetMenu(root), g->mainMenu);
    });
    s.chord({win::VK_CONTROL, 'I'});
    s.check([&] { EXPECT_EQ(gridRecordOfWindow(g->grid)->rowCount, 2); });
    // Working in the text pane: its menu, and the menu's commands go there.
    s.clickOn([&] { return t->editControl; });
    s.text("hello");
    s.check([&] {
        EXPECT_EQ(commandPane(), second);
        EXPECT_EQ(win::GetMenu(root), t->mainMenu);
    });
    s.clickMenuBar(root, "Edit").clickMenuItem("Select All");
    s.check([&] {
        win::CHARRANGE sel;
        win::SendMessageA(t->editControl, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        EXPECT_EQ(sel.cpMin, 0);
        EXPECT_EQ(sel.cpMax, 5);
    });
    // Closing asks the grid pane first; Cancel keeps the window.
    s.answerMessageBox(win::IDCANCEL);
    s.check([&] { win::PostMessageA(root, win::WM_CLOSE, 0, 0); });
    s.check([&] {
        ASSERT_EQ(win::testing::messageBoxes().size(), 1u);
        EXPECT_EQ(win::testing::messageBoxes()[0].caption, "Veraziderad Grid Editor");
    });
    s.answerMessageBox(win::IDNO);
    s.answerMessageBox(win::IDNO);
    s.check([&] { win::PostMessageA(root, win::WM_CLOSE, 0, 0); });
    play(std::move(s));
    ASSERT_EQ(win::testing::messageBoxes().size(), 3u);
    EXPECT_EQ(win::testing::messageBoxes()[2].text, "Do you want to save changes?");
    ASSERT_EQ(eventsOf(CloseRequest).size(), 1u);
    EXPECT_EQ(eventsOf(CloseRequest)[0][0], 0);
}

}  // namespace
}  // namespace tk::test
