// The text editor's files: loading plain text (NUL bytes, the end-of-file
// mark, text that looks like RTF) and RTF, saving with backup copies, the
// error boxes and the save prompt.

#include <string>
#include <vector>

#include "platform/kernel/files.h"
#include "text_editor_test_support.h"
#include "toolkit/editors/editor_title.h"

namespace tk::test {
namespace {

std::string windowText(win::HWND h) {
    char text[512] = {};
    win::GetWindowTextA(h, text, sizeof text);
    return text;
}

TEST_F(EditorTest, PlainLoadCleansTheBytesAndKeepsRtfLookingTextAsText) {
    struct Case {
        const char* cls;
        std::string bytes;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {win::RICHEDIT_CLASSA, std::string("ab\0c\x1a", 5), "ab c"},
        {win::RICHEDIT_CLASSA, std::string("x\x1a\x1a", 3), "x\x1a"},
        {win::RICHEDIT_CLASSA, "{\\rtf1 {\\b bold}}", "{\\rtf1 {\\b bold}}"},
        {win::RICHEDIT_CLASSA, "{\\rt", "{\\rt"},
        {win::RICHEDIT_CLASS10A, "{\\rtf1 x}", "{\\rtf1 x}"},
        {win::RICHEDIT_CLASSA, "one\r\ntwo", "one\r\ntwo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EditorWindowRecord& r = handMadeEditor(kEditorRichText, c.cls);
        r.fileName = writeFile("a.txt", c.bytes);
        r.changed = 1;
        editorInsertText(r, 0, "old");
        EXPECT_EQ(EditorLoadFile(frame, 0), 1);
        EXPECT_EQ(editorControlText(r), c.shown);
        EXPECT_FALSE(editorIsModified(r));
        EXPECT_EQ(r.changed, 0);
        EXPECT_EQ(win::SendMessageA(r.editControl, win::EM_CANUNDO, 0, 0), 0);
        EXPECT_NE(r.keptFile[1], nullptr);
        EXPECT_EQ(r.editGuard, 1);
        EXPECT_TRUE(win::testing::messageBoxes().empty());
        resetEditors();
        WindowTest::resetAll();
    }
}

TEST_F(EditorTest, RtfIsReadOnlyByARichEditorForRtfNames) {
    const std::string rtf = "{\\rtf1\\ansi {\\b bold} text}";
    struct Case {
        int options;
        const char* name;
        bool formatted;
    };
    for (const Case c : {Case{kEditorRichText, "a.RTF", true},
                         Case{kEditorRichText, "a.txt", false}, Case{0, "a.rtf", false}}) {
        SCOPED_TRACE(c.name);
        EditorWindowRecord& r = handMadeEditor(c.options);
        r.fileName = writeFile(c.name, rtf);
        EXPECT_EQ(EditorLoadFile(frame, 0), 1);
        EXPECT_EQ(editorControlText(r), c.formatted ? "bold text" : rtf);
        resetEditors();
        WindowTest::resetAll();
    }
}

TEST_F(EditorTest, SaveWritesTheTextBackWithABackupCopy) {
    EditorWindowRecord& r = handMadeEditor(kEditorBackupCopies);
    r.fileName = writeFile("x.txt", "one\r\ntwo");
    ASSERT_EQ(EditorLoadFile(frame, 0), 1);
    editorInsertText(r, 0, "zero\r\n");
    editorSetModified(r, true);
    r.changed = 1;
    EXPECT_EQ(EditorSaveFile(frame, 0), 1);
    EXPECT_EQ(readFile("x.txt"), "zero\r\none\r\ntwo");
    EXPECT_EQ(readFile("x.txt.bak"), "one\r\ntwo");
    EXPECT_FALSE(editorIsModified(r));
    EXPECT_EQ(r.changed, 1);  // saving leaves the changed flag
    EXPECT_NE(r.keptFile[1], nullptr);

    // A file without a previous version saves without a copy.
    r.fileName = path("new.txt");
    EXPECT_EQ(EditorSaveFile(frame, 0), 1);
    EXPECT_EQ(readFile("new.txt"), "zero\r\none\r\ntwo");
    EXPECT_FALSE(std::filesystem::exists(dir / "new.txt.bak"));
}

TEST_F(EditorTest, RichTextSavesAsRtfAndLoadsBackFormatted) {
    EditorWindowRecord& r = handMadeEditor(kEditorRichText);
    r.fileName = writeFile("f.rtf", "{\\rtf1\\ansi {\\b bold} text}");
    ASSERT_EQ(EditorLoadFile(frame, 0), 1);
    r.fileName = path("g.rtf");
    ASSERT_EQ(EditorSaveFile(frame, 0), 1);
    EXPECT_EQ(readFile("g.rtf").rfind("{\\rtf", 0), 0u);
    editorClearText(r);
    ASSERT_EQ(EditorLoadFile(frame, 0), 1);
    EXPECT_EQ(editorControlText(r), "bold text");
}

TEST_F(EditorTest, ReadAndOpenFailuresShowTheirBoxesAndLoadNothing) {
    EditorWindowRecord& r = handMadeEditor(kEditorQuietOpenErrors);
    r.fileName = writeFile("short.txt", "abcdef");
    editorFileReader() = [](win::HANDLE file, void* buffer, win::DWORD count, win::DWORD* done) {
        const win::BOOL ok = win::ReadFile(file, buffer, count / 2, done, nullptr);
        return ok;
    };
    win::testing::queueMessageBoxAnswer(win::IDOK);
    EXPECT_EQ(EditorLoadFile(frame, 0), 0);
    auto box = win::testing::lastMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "Read Error");
    EXPECT_EQ(box->owner, frame);
    EXPECT_EQ(box->style & win::MB_ICONMASK, win::MB_ICONWARNING);
    EXPECT_EQ(r.keptFile[1], nullptr);
    EXPECT_EQ(editorControlText(r), "");
    EXPECT_EQ(r.editGuard, 1);

    editorFileReader() = {};
    win::testing::resetMessageBoxes();
    r.fileName = path("missing.txt");
    EXPECT_EQ(EditorLoadFile(frame, 1), 0);  // quiet with quiet open errors: no box
    EXPECT_TRUE(win::testing::messageBoxes().empty());
    EXPECT_EQ(EditorLoadFile(frame, 0), 0);
    ASSERT_TRUE(win::testing::lastMessageBox());
    EXPECT_EQ(win::testing::lastMessageBox()->caption, "Open Error");
    EXPECT_EQ(r.keptFile[1], nullptr);
}

TEST_F(EditorTest, SavePromptNamesTheFileAndFollowsTheAnswer) {
    EditorWindowRecord& r = handMadeEditor(0);
    EXPECT_EQ(EditorSavePrompt(frame, r), 1);  // not modified: no prompt
    EXPECT_TRUE(win::testing::messageBoxes().empty());

    editorInsertText(r, 0, "text");
    editorSetModified(r, true);
    win::testing::queueMessageBoxAnswer(win::IDCANCEL);
    EXPECT_EQ(EditorSavePrompt(frame, r), 0);
    EXPECT_EQ(win::testing::lastMessageBox()->text, "Do you want to save changes?");
    EXPECT_EQ(win::testing::lastMessageBox()->caption, "Edit");

    r.fileName = path("p.txt");
    win::testing::queueMessageBoxAnswer(win::IDNO);
    EXPECT_EQ(EditorSavePrompt(frame, r), 1);
    EXPECT_EQ(win::testing::lastMessageBox()->text,
              "Do you want to save changes to " + path("p.txt") + "?");
    EXPECT_FALSE(std::filesystem::exists(dir / "p.txt"));

    win::testing::queueMessageBoxAnswer(win::IDYES);
    EXPECT_EQ(EditorSavePrompt(frame, r), 1);
    EXPECT_EQ(readFile("p.txt"), "text");
}

TEST_F(EditorTest, TitleShowsTheFileAndTheModifiedMark) {
    EditorWindowRecord& r = handMadeEditor(kEditorModifiedMark);
    r.fileName = writeFile("a.txt", "abc");
    ASSERT_EQ(EditorLoadFile(frame, 0), 1);
    EXPECT_EQ(windowText(frame), "Edit - [" + r.fileName + "]");
    editorSetModified(r, true);
    EditorUpdateTitle(frame);
    EXPECT_EQ(windowText(frame), "Edit - [" + r.fileName + " *]");
    ASSERT_EQ(EditorSaveFile(frame, 0), 1);
    EXPECT_EQ(windowText(frame), "Edit - [" + r.fileName + "]");
    r.hideFileName = true;
    EditorUpdateTitle(frame);
    EXPECT_EQ(windowText(frame), "Edit");
}

}  // namespace
}  // namespace tk::test
