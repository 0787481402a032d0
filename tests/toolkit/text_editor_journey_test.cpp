// A user's journey through the text editor window: open a text file, replace
// a word everywhere, make the first line bold and centred, save it as rich
// text, open it again, print it to the PDF printer, and close the editor.

#include "editor_journey_support.h"
#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/message_box.h"
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
    EditorWindowRecord* create(int options) {
        window = openEditorWindow("Notes");
        int status = 0, mode = 2;
        EditorCreateArgs args;
        args.options = options;
        args.fontNumber = 3;
        args.fontSize = 11;
        EditorCreate(status, mode, args);
        EXPECT_EQ(status, 0);
        frame = slot(window).frame;
        return editorRecordOfWindow(window);
    }
    // The file dialog takes a path and Enter.
    static void chooseFile(Script& s, const char* title, const std::string& name) {
        s.check([title] { ASSERT_TRUE(commonDialog(title)) << title; });
        s.chord({win::VK_CONTROL, 'A'}).text(name).key(win::VK_RETURN);
    }
    win::CHARFORMATA formatAt(const EditorWindowRecord& r, long at) {
        win::CHARRANGE sel{at, at + 1};
        win::SendMessageA(r.editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        win::CHARFORMATA cf;
        win::SendMessageA(r.editControl, win::EM_GETCHARFORMAT, win::SCF_SELECTION,
                          reinterpret_cast<win::LPARAM>(&cf));
        return cf;
    }
    win::WORD alignmentAt(const EditorWindowRecord& r, long at) {
        win::CHARRANGE sel{at, at};
        win::SendMessageA(r.editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        win::PARAFORMAT pf;
        win::SendMessageA(r.editControl, win::EM_GETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&pf));
        return pf.wAlignment;
    }

    int window = 0;
    win::HWND frame = nullptr;
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
    const std::string printed = printedText();
    EXPECT_NE(printed.find("Dear dog,"), std::string::npos) << printed;
    EXPECT_NE(printed.find("The dog sat on the mat."), std::string::npos) << printed;
    win::UpdateWindow(frame);
    screenshot(frame, "text_editor.png");
    EXPECT_GT(pixelsOf(r->editControl, win::RGB(0, 0, 0)), 200);
}

}  // namespace
}  // namespace tk::test
