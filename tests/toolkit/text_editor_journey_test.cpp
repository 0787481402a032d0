// A user's journeys through the text editor window: open a text file, replace
// a word everywhere, make the first line bold and centred, save it as rich
// text, open it again and print it to the PDF printer; find, fonts, bullets
// and alignments; the context menu; the command line; the modal editor;
// printing the selection.

#include "editor_journey_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/common_dialogs/common_dialog_ids.h"
#include "platform/message_box.h"
#include "toolkit/editors/editor_command_line.h"
#include "toolkit/editors/editor_create.h"
#include "toolkit/editors/editor_operations.h"
#include "toolkit/editors/editor_text.h"

namespace tk::test {
namespace {

using win::robot::Script;

win::HWND commonDialog(const char* title) {
    return win::robot::findTopLevelByTitle(title);
}

class TextEditorJourney : public EditorJourney {
  protected:
    EditorWindowRecord* create(int options, const std::string& file = {}) {
        int status = 0;
        EditorWindowRecord* r = textEditor(options, status, 2, file);
        EXPECT_EQ(status, 0);
        return r;
    }
    // A modeless editor with a file of the bytes loaded.
    EditorWindowRecord* createWith(int options, const std::string& name, const std::string& bytes) {
        return create(options, writeFile(name, bytes));
    }
    // The file dialog takes a path and Enter.
    static void chooseFile(Script& s, const char* title, const std::string& name) {
        s.check([title] { ASSERT_TRUE(commonDialog(title)) << title; });
        s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    }
    win::CHARFORMATA formatAt(const EditorWindowRecord& r, win::LONG at) {
        win::CHARRANGE sel{at, at + 1};
        win::SendMessageA(r.editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        win::CHARFORMATA cf;
        win::SendMessageA(r.editControl, win::EM_GETCHARFORMAT, win::SCF_SELECTION,
                          reinterpret_cast<win::LPARAM>(&cf));
        return cf;
    }
    win::PARAFORMAT paragraphAt(const EditorWindowRecord& r, win::LONG at) {
        win::CHARRANGE sel{at, at};
        win::SendMessageA(r.editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        win::PARAFORMAT pf;
        win::SendMessageA(r.editControl, win::EM_GETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&pf));
        return pf;
    }
    win::WORD alignmentAt(const EditorWindowRecord& r, win::LONG at) {
        return paragraphAt(r, at).wAlignment;
    }
    static std::string historyEntry(int index) {
        std::string text;
        EditorGetHistoryEntry(index, text);
        return text;
    }
};

TEST_F(TextEditorJourney, OpenReplaceFormatSaveReopenAndPrint) {
    const std::string letter = writeFile("letter.txt", "Dear cat,\r\nThe cat sat on the mat.\r\n");
    EditorWindowRecord* r = create(kEditorRichText | kEditorModifiedMark);
    ASSERT_NE(r, nullptr);
    Script s;
    s.chord({win::VK_CONTROL, 'O'});
    chooseFile(s, "Open", letter);
    s.check([&] {
        EXPECT_EQ(editorControlText(*r), "Dear cat,\r\nThe cat sat on the mat.\r\n");
        EXPECT_EQ(win::robot::windowText(frame), "Notes - [" + letter + "]");
    });
    // Replace every "cat" by "dog"; the search ends with its box.
    s.chord({win::VK_CONTROL, 'H'});
    s.check([] { ASSERT_TRUE(commonDialog("Replace")); });
    s.text("cat");
    s.clickOn([] { return win::GetDlgItem(commonDialog("Replace"), win::kReplaceWithEdit); });
    s.text("dog");
    s.answerMessageBox(win::IDOK);
    s.clickOn([] { return win::GetDlgItem(commonDialog("Replace"), win::kReplaceAllButton); });
    s.check([&] {
        EXPECT_EQ(editorControlText(*r), "Dear dog,\r\nThe dog sat on the mat.\r\n");
        EXPECT_EQ(win::robot::windowText(frame), "Notes - [" + letter + " *]");
    });
    s.clickOn([] { return win::GetDlgItem(commonDialog("Replace"), win::IDCANCEL); });
    // The first line bold and centred.
    s.check([&] { win::SetFocus(r->editControl); });
    s.chord({win::VK_CONTROL, win::VK_HOME}).key(win::VK_HOME).chord({win::VK_SHIFT, win::VK_END});
    s.chord({win::VK_CONTROL, 'B'}).chord({win::VK_CONTROL, 'E'});
    s.check([&] {
        EXPECT_TRUE(formatAt(*r, 0).dwEffects & win::CFE_BOLD);
        EXPECT_FALSE(formatAt(*r, 12).dwEffects & win::CFE_BOLD);
        EXPECT_EQ(alignmentAt(*r, 0), win::PFA_CENTER);
        EXPECT_EQ(alignmentAt(*r, 12), win::PFA_LEFT);
    });
    // Save As rich text, then open it again.
    const std::string rich = path("letter.rtf");
    s.key(win::VK_F12);
    chooseFile(s, "Save As", rich);
    s.check([&] {
        const std::string saved = readFile("letter.rtf");
        EXPECT_NE(saved.find("{\\rtf1"), std::string::npos);
        EXPECT_NE(saved.find("\\b"), std::string::npos);
        EXPECT_NE(saved.find("\\qc"), std::string::npos);
        EXPECT_NE(saved.find("dog"), std::string::npos);
        EXPECT_EQ(readFile("letter.txt"), "Dear cat,\r\nThe cat sat on the mat.\r\n");
        EXPECT_EQ(win::robot::windowText(frame), "Notes - [" + rich + "]");
    });
    // An edit after the save makes Open ask first; No keeps the file as saved.
    s.chord({win::VK_CONTROL, win::VK_END}).text("!");
    s.answerMessageBox(win::IDNO);
    s.chord({win::VK_CONTROL, 'O'});
    chooseFile(s, "Open", rich);
    s.check([&] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text,
                  "Do you want to save changes to " + rich + "?");
        EXPECT_EQ(editorControlText(*r), "Dear dog,\r\nThe dog sat on the mat.\r\n");
        EXPECT_TRUE(formatAt(*r, 0).dwEffects & win::CFE_BOLD);
        EXPECT_FALSE(formatAt(*r, 12).dwEffects & win::CFE_BOLD);
        EXPECT_EQ(alignmentAt(*r, 0), win::PFA_CENTER);
        EXPECT_EQ(alignmentAt(*r, 12), win::PFA_LEFT);
    });
    // Print with the page set-up dialog's OK.
    s.chord({win::VK_CONTROL, 'P'});
    s.check([] { ASSERT_TRUE(commonDialog("Page Setup")); });
    s.key(win::VK_RETURN);
    play(std::move(s));
    // Open, Save As and Print reach the program after the editor did them;
    // Replace and the formatting keys do not.
    std::vector<int> reported;
    for (const EventRecord& e : eventsOf(MenuSelect))
        reported.push_back(e[1]);
    EXPECT_EQ(reported, (std::vector<int>{32102, 32104, 32102, 32105}));
    EXPECT_EQ(eventsOf(MenuSelect)[0][0], window);
    const std::string printed = printedText();
    EXPECT_NE(printed.find("Dear dog,"), std::string::npos) << printed;
    EXPECT_NE(printed.find("The dog sat on the mat."), std::string::npos) << printed;
    win::UpdateWindow(frame);
    screenshot(frame, "text_editor.png");
    EXPECT_GT(pixelsOf(r->editControl, win::RGB(0, 0, 0)), 200);
}

// A rich text file from elsewhere: a long font name with letters above 127,
// one with a semicolon and a brace written as escapes. Saving and opening
// it again keeps its text and the fonts' names.
TEST_F(TextEditorJourney, ARichFileKeepsItsTextAndFontNamesThroughSaveAndOpen) {
    const std::string longName = "Grotesk f\xfcr sehr lange Namen mit \xc4rger, \xd6l und \xdc"
                                 "bermut, ganz ohne Ende in Sicht, \xe9t\xe9 \xe0 Paris et ailleurs";
    const std::string file = std::string("{\\rtf1\\ansi{\\fonttbl{\\f0 ") + longName +
                             ";}{\\f1 Mono\\'3b\\{x\\};}}\r\n\\f0 Gr\xfc\xdf Gott\\par \\f1 zweite "
                             "Zeile\\par}";
    EditorWindowRecord* r = createWith(kEditorRichText | kEditorModifiedMark, "fonts.rtf", file);
    ASSERT_NE(r, nullptr);
    const std::string text = "Gr\xfc\xdf Gott\r\nzweite Zeile";
    auto faceAt = [&](win::LONG at) { return std::string(formatAt(*r, at).szFaceName); };
    Script s;
    s.check([&] {
        EXPECT_EQ(editorControlText(*r), text);
        EXPECT_EQ(faceAt(0), longName.substr(0, faceAt(0).size()));
        EXPECT_EQ(faceAt(12), "Mono;{x}");
        win::SetFocus(r->editControl);
    });
    s.chord({win::VK_CONTROL, win::VK_END}).text("!");
    s.chord({win::VK_CONTROL, 'S'});
    // An edit after the save, dropped: what shows after Open is the file.
    s.text("?");
    s.answerMessageBox(win::IDNO);
    s.chord({win::VK_CONTROL, 'O'});
    chooseFile(s, "Open", path("fonts.rtf"));
    s.check([&] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(editorControlText(*r), text + "!");
        EXPECT_FALSE(faceAt(0).empty());
        EXPECT_EQ(faceAt(0), longName.substr(0, faceAt(0).size()));
        EXPECT_EQ(faceAt(12), "Mono;{x}");
    });
    play(std::move(s));
}

TEST_F(TextEditorJourney, FindFindNextFontBulletsAndTheStyleAndAlignmentKeys) {
    EditorWindowRecord* r = createWith(kEditorRichText, "cats.txt", "one cat, two cat\r\nlast line\r\n");
    ASSERT_NE(r, nullptr);
    Script s;
    s.chord({win::VK_CONTROL, 'F'});
    s.check([] { ASSERT_TRUE(commonDialog("Find")); });
    s.text("cat").key(win::VK_RETURN);
    s.check([&] {
        EXPECT_EQ(selection(*r).cpMin, 4);
        EXPECT_EQ(selection(*r).cpMax, 7);
    });
    s.clickOn([] { return win::GetDlgItem(commonDialog("Find"), win::IDCANCEL); });
    s.check([&] { EXPECT_FALSE(commonDialog("Find")); });
    // F3 repeats the search from the selection.
    s.key(win::VK_F1 + 2);
    s.check([&] {
        EXPECT_EQ(selection(*r).cpMin, 13);
        EXPECT_EQ(selection(*r).cpMax, 16);
    });
    // Nothing further: the box says so and the last find stays selected.
    s.answerMessageBox(win::IDOK);
    s.key(win::VK_F1 + 2);
    s.check([&] {
        ASSERT_TRUE(win::testing::lastMessageBox());
        EXPECT_EQ(win::testing::lastMessageBox()->text, "End of text reached");
        EXPECT_EQ(selection(*r).cpMin, 13);
        EXPECT_EQ(selection(*r).cpMax, 16);
    });
    s.chord({win::VK_CONTROL, 'I'}).chord({win::VK_CONTROL, 'U'}).chord({win::VK_CONTROL, 'R'});
    s.check([&] {
        const win::CHARFORMATA second = formatAt(*r, 13), first = formatAt(*r, 4);
        EXPECT_TRUE(second.dwEffects & win::CFE_ITALIC);
        EXPECT_TRUE(second.dwEffects & win::CFE_UNDERLINE);
        EXPECT_FALSE(first.dwEffects & (win::CFE_ITALIC | win::CFE_UNDERLINE));
        EXPECT_EQ(alignmentAt(*r, 0), win::PFA_RIGHT);
        EXPECT_EQ(alignmentAt(*r, 18), win::PFA_LEFT);
        win::CHARRANGE word{13, 16};
        win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&word));
    });
    // The Format menu: bullets on the first line, then 20 points through the font dialog.
    s.clickMenuBar(frame, "Format").clickMenuItem("Bullet Style");
    s.check([&] {
        EXPECT_EQ(paragraphAt(*r, 0).wNumbering, win::PFN_BULLET);
        EXPECT_EQ(paragraphAt(*r, 18).wNumbering, 0);
        win::CHARRANGE word{13, 16};
        win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&word));
    });
    s.clickMenuBar(frame, "Format").clickMenuItem("Font");
    s.check([] { ASSERT_TRUE(commonDialog("Font")); });
    s.clickOn([] {
        return win::GetWindow(win::GetDlgItem(commonDialog("Font"), win::cmb3), win::GW_CHILD);
    });
    s.key(win::VK_END);
    for (int i = 0; i < 3; ++i)
        s.key(win::VK_BACK);
    s.text("20");
    s.clickOn([] { return win::GetDlgItem(commonDialog("Font"), win::IDOK); });
    s.check([&] {
        EXPECT_FALSE(commonDialog("Font"));
        EXPECT_EQ(formatAt(*r, 13).yHeight, 400);
        EXPECT_NE(formatAt(*r, 4).yHeight, 400);
        EXPECT_TRUE(formatAt(*r, 13).dwEffects & win::CFE_ITALIC);
    });
    s.check([&] { win::SetFocus(r->editControl); });
    s.key(win::VK_HOME).chord({win::VK_CONTROL, 'L'});
    s.check([&] { EXPECT_EQ(alignmentAt(*r, 0), win::PFA_LEFT); });
    play(std::move(s));
}

TEST_F(TextEditorJourney, TheContextMenuIsTheEditMenu) {
    EditorWindowRecord* r = createWith(0, "short.txt", "alpha beta\r\n");
    ASSERT_NE(r, nullptr);
    Script s;
    // From the keyboard: Shift+F10 at the caret.
    s.check([&] { win::SetFocus(r->editControl); });
    s.chord({win::VK_SHIFT, win::VK_F10});
    s.clickMenuItem("Select All");
    s.check([&] {
        EXPECT_EQ(selection(*r).cpMin, 0);
        EXPECT_GE(selection(*r).cpMax, 10);
    });
    // With the mouse, and with a selection its Cut is offered and takes the text away.
    s.clickOn([&] { return r->editControl; }, win::robot::Button::Right);
    s.clickMenuItem("Cut");
    s.check([&] { EXPECT_EQ(editorControlText(*r), ""); });
    play(std::move(s));
}

TEST_F(TextEditorJourney, TheCommandLineReportsEachEntryAndKeepsAHundredOfThem) {
    EditorWindowRecord* r = create(kEditorCommandHistory);
    ASSERT_NE(r, nullptr);
    int status = 0;
    ASSERT_TRUE(r->commandEdit);
    EditorSetPrompt(status, "Command:");
    EXPECT_EQ(status, 0);
    EventTypeEnable(EditorCommandEntered, 1);
    Script s;
    s.check([&] { EXPECT_EQ(win::GetFocus(), r->commandEdit); });
    s.text("zoom 2").key(win::VK_RETURN).text("zoom 2").key(win::VK_RETURN);
    s.chord({win::VK_CONTROL, 'A'}).text("pan").key(win::VK_RETURN);
    s.check([&] {
        EXPECT_EQ(eventsOf(EditorCommandEntered).size(), 3u);
        EXPECT_EQ(historyEntry(0), "pan");
        EXPECT_EQ(historyEntry(1), "zoom 2");
        EXPECT_EQ(win::SendMessageA(r->commandControl, win::CB_GETCOUNT, 0, 0), 2);
    });
    // Down walks into the older entries; Esc clears the line.
    s.key(win::VK_DOWN);
    s.check([&] { EXPECT_EQ(win::robot::windowText(r->commandEdit), "zoom 2"); });
    s.key(win::VK_ESCAPE);
    s.check([&] { EXPECT_EQ(win::robot::windowText(r->commandEdit), ""); });
    for (int i = 0; i < 99; ++i)
        s.text("step " + std::to_string(i)).key(win::VK_RETURN).key(win::VK_ESCAPE);
    s.check([&] {
        EXPECT_EQ(win::SendMessageA(r->commandControl, win::CB_GETCOUNT, 0, 0), 100);
        EXPECT_EQ(historyEntry(0), "step 98");
        EXPECT_EQ(historyEntry(99), "pan");
    });
    // Tab hands the keys to the text.
    s.key(win::VK_TAB).text("typed");
    s.check([&] { EXPECT_EQ(editorControlText(*r), "typed"); });
    play(std::move(s));
    win::UpdateWindow(frame);
    screenshot(frame, "text_editor_command_line.png");
    EXPECT_EQ(win::robot::windowText(r->promptText), "Command:");
    win::RECT prompt{};
    win::GetWindowRect(r->promptFrame, &prompt);
    EXPECT_GT(prompt.right - prompt.left, 30);
    EXPECT_GT(pixelsOf(r->promptText, win::RGB(0, 0, 0)), 20);
}

TEST_F(TextEditorJourney, AModalEditorReturnsWhenClosedAndLeavesItsState) {
    window = openEditorWindow("Notes");
    frame = slot(window).frame;
    Script s;
    s.check([&] {
        ASSERT_TRUE(editorRecordOfWindow(window));
        win::SetFocus(editorRecordOfWindow(window)->editControl);
    });
    s.text("Hello").chord({win::VK_CONTROL, 'F'});
    s.check([] { ASSERT_TRUE(commonDialog("Find")); });
    s.text("ll");
    s.clickOn([] { return win::GetDlgItem(commonDialog("Find"), win::IDCANCEL); });
    s.answerMessageBox(win::IDNO);
    s.clickMenuBar(frame, "File").clickMenuItem("Exit");
    win::robot::play(std::move(s));
    int status = 0, mode = 1;
    EditorCreateArgs args;
    args.fontNumber = 3;
    args.fontSize = 11;
    OutputWindowSelect(window);
    EditorCreate(status, mode, args);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(win::robot::playing());
    EXPECT_FALSE(win::IsWindow(frame));
    EXPECT_EQ(win::testing::lastMessageBox()->text, "Do you want to save changes?");
    int value = -7;
    EditorInfo(-1, 2, value);
    EXPECT_EQ(value, 5);
    EditorInfo(-1, 1, value);
    EXPECT_EQ(value, 0);
    EditorInfo(-1, 5, value);
    EXPECT_EQ(value, 5);
    std::string found;
    EditorGetString(-1, 1, found, 10);
    EXPECT_EQ(found, "ll");
    window = 0;
    frame = nullptr;
}

TEST_F(TextEditorJourney, PrintSelectionPrintsOnlyTheSelectedLines) {
    EditorWindowRecord* r = createWith(0, "two.txt", "First line here\r\nSecond line there\r\n");
    ASSERT_NE(r, nullptr);
    Script s;
    s.check([&] {
        win::SetFocus(r->editControl);
        win::CHARRANGE second{16, 33};
        win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&second));
    });
    s.chord({win::VK_CONTROL, win::VK_SHIFT, 'P'});
    s.check([] { ASSERT_TRUE(commonDialog("Page Setup")); });
    s.key(win::VK_RETURN);
    play(std::move(s));
    const std::string printed = printedText();
    EXPECT_NE(printed.find("Second line there"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("First"), std::string::npos) << printed;
}

TEST_F(TextEditorJourney, WithoutPrintingThePrintKeysDoNothing) {
    EditorWindowRecord* r = createWith(kEditorNoPrint, "keep.txt", "Kept\r\n");
    ASSERT_NE(r, nullptr);
    Script s;
    s.check([&] { win::SendMessageA(r->editControl, win::EM_SETSEL, 0, -1); });
    s.chord({win::VK_CONTROL, win::VK_SHIFT, 'P'}).chord({win::VK_CONTROL, 'P'});
    s.check([&] { EXPECT_FALSE(commonDialog("Page Setup")); });
    play(std::move(s));
    EXPECT_TRUE(win::IsWindow(frame));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "prints"));
    EXPECT_EQ(editorControlText(*r), "Kept\r\n");
}

}  // namespace
}  // namespace tk::test
