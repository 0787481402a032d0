// The operations through which a program drives a text editor window: the
// positions it counts (a line break as two characters), reading the text,
// formats of ranges, the statuses, and the buffers of files put away.

#include <string>

#include "editor_journey_support.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "toolkit/editors/editor_buffers.h"
#include "toolkit/editors/editor_colour_coding.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_operations.h"
#include "toolkit/editors/editor_text.h"

namespace tk::test {
namespace {

class EditorOperationsTest : public EditorJourney {
  protected:
    EditorWindowRecord* editor(int options, const std::string& text) {
        int status = 0;
        EditorWindowRecord* r = textEditor(options, status);
        EXPECT_EQ(status, 0);
        EditorPutText(status, text);
        EXPECT_EQ(status, 0);
        return r;
    }
    static std::string selected(const EditorWindowRecord& r) {
        const win::CHARRANGE sel = selection(r);
        return editorControlRange(r, sel.cpMin, sel.cpMax);
    }
    int info(int selector) {
        int value = -99;
        EditorInfo(window, selector, value);
        return value;
    }
};

TEST_F(EditorOperationsTest, ProgramPositionsCountALineBreakAsTwoUnlessNative) {
    struct Case {
        int options;
        std::string selected;
        int start, end, length, lineStart;
    };
    const Case cases[] = {
        {0, "rs", 5, 6, 6, 4},
        // Native positions are the control's own: 4 is already s.
        {kEditorNativePositions, "s", 5, 5, 5, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        const EditorWindowRecord* r = editor(c.options, "pq\r\nrs");
        ASSERT_NE(r, nullptr);
        int start = 4;
        EditorSetSelection(start, 6);
        EXPECT_EQ(start, 4);
        EXPECT_EQ(selected(*r), c.selected);
        EXPECT_EQ(info(4), c.start);
        EXPECT_EQ(info(5), c.end);
        EXPECT_EQ(info(2), c.length);
        EXPECT_EQ(info(104), c.options ? 1 : 0);
        int line = -1;
        EditorLinePosition(1, 4, line);
        EXPECT_EQ(line, 1);
        EditorLinePosition(2, 1, line);
        EXPECT_EQ(line, c.lineStart);
        win::DestroyWindow(frame);
        window = 0;
    }
}

TEST_F(EditorOperationsTest, TextIsReadWithinTheGivenSize) {
    editor(0, "ab\r\ncd");
    struct Case {
        int size;
        std::string text;
        int status;
    };
    const Case cases[] = {{3, "ab", 2}, {6, "ab\r\nc", 2}, {7, "ab\r\ncd", 0}};
    for (const Case& c : cases) {
        std::string text;
        int status = -1;
        EditorGetText(status, c.size, text);
        EXPECT_EQ(text, c.text) << c.size;
        EXPECT_EQ(status, c.status) << c.size;
    }
    int start = 4;
    std::string range;
    EditorGetTextRange(start, 2, range);
    EXPECT_EQ(range, "cd");
    EXPECT_EQ(start, 0);
}

TEST_F(EditorOperationsTest, RangesAreReplacedUndoablyAndFormattedInRichText) {
    const EditorWindowRecord* r = editor(kEditorRichText, "pq\r\nrs\r\ntu");
    int start = 4;
    EditorReplaceRange(start, 6, "xyz");
    EXPECT_EQ(start, 0);
    EXPECT_EQ(editorControlText(*r), "pq\r\nxyz\r\ntu");
    win::SendMessageA(r->editControl, win::EM_UNDO, 0, 0);
    EXPECT_EQ(editorControlText(*r), "pq\r\nrs\r\ntu");
    // Program range 5..6 is r and s; the selection stays where it was.
    int status = -1;
    int caret = 9;  // u, control position 7
    EditorSetSelection(caret, 9);
    EditorSetCharFormat(status, 5, 6, 1, -1, 1, -1, 14, 0x0000FF, -2, "Courier New");
    EXPECT_EQ(status, 0);
    EditorSetParaFormat(status, 5, 6, 1, 1);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(selection(*r).cpMin, 7);
    win::CHARRANGE sel{3, 5};
    win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    win::CHARFORMATA cf;
    win::SendMessageA(r->editControl, win::EM_GETCHARFORMAT, win::SCF_SELECTION,
                      reinterpret_cast<win::LPARAM>(&cf));
    EXPECT_EQ(cf.dwEffects & (win::CFE_BOLD | win::CFE_UNDERLINE | win::CFE_ITALIC),
              win::CFE_BOLD | win::CFE_UNDERLINE);
    EXPECT_EQ(cf.yHeight, 280);
    EXPECT_EQ(cf.crTextColor, 0x0000FFu);
    EXPECT_STREQ(cf.szFaceName, "Courier New");
    win::PARAFORMAT pf;
    win::SendMessageA(r->editControl, win::EM_GETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&pf));
    EXPECT_EQ(pf.wAlignment, win::PFA_CENTER);
    EXPECT_EQ(pf.wNumbering, win::PFN_BULLET);
    // The first line keeps its format.
    sel = {0, 2};
    win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    win::SendMessageA(r->editControl, win::EM_GETCHARFORMAT, win::SCF_SELECTION,
                      reinterpret_cast<win::LPARAM>(&cf));
    EXPECT_FALSE(cf.dwEffects & win::CFE_BOLD);
}

TEST_F(EditorOperationsTest, StatusesTellWhatCouldNotBeDone) {
    const EditorWindowRecord* r = editor(kEditorSeveralFiles, "plain");
    int status = 0;
    EditorSetCharFormat(status, 1, 3, 1, -1, -1, -1, -1, -2, -2, "");
    EXPECT_EQ(status, -2);
    EditorSetParaFormat(status, 1, 3, 1, -1);
    EXPECT_EQ(status, -2);
    win::CHARRANGE sel{0, 3};
    win::SendMessageA(r->editControl, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    win::CHARFORMATA cf;
    win::SendMessageA(r->editControl, win::EM_GETCHARFORMAT, win::SCF_SELECTION,
                      reinterpret_cast<win::LPARAM>(&cf));
    EXPECT_FALSE(cf.dwEffects & win::CFE_BOLD);
    EditorSwitchFile(3, status);
    EXPECT_EQ(status, 2);
    int version = 0;
    EditorInfo(-1, 8, version);
    EXPECT_EQ(version, 2);
    // The root window is no editor.
    OutputWindowSelect(0);
    int start = 1;
    EditorSetSelection(start, 2);
    EXPECT_EQ(start, -1);
    EditorPutText(status, "x");
    EXPECT_EQ(status, 1);
    std::string text = "kept";
    EditorGetText(status, 10, text);
    EXPECT_EQ(status, 1);
    int value = 42;
    EditorInfo(0, 2, value);
    EXPECT_EQ(value, 42);
}

TEST_F(EditorOperationsTest, AFrozenDisplayKeepsTheViewUntilShownAgain) {
    const EditorWindowRecord* r = editor(0, "one\r\ntwo\r\nthree");
    int start = 5;
    EditorSetSelection(start, 8);
    EditorFreezeDisplay(0);
    EXPECT_FALSE(win::IsWindowVisible(r->editControl));
    start = 0;
    EditorReplaceRange(start, 3, "ONE");
    EXPECT_FALSE(win::IsWindowVisible(r->editControl));
    EditorFreezeDisplay(1);
    EXPECT_TRUE(win::IsWindowVisible(r->editControl));
    EXPECT_EQ(selected(*r), "two");
    EXPECT_EQ(editorControlText(*r), "ONE\r\ntwo\r\nthree");
}

TEST_F(EditorOperationsTest, AFilePutAwayKeepsItsSelectionInProgramPositions) {
    EditorWindowRecord* r = editor(kEditorSeveralFiles, "ab\r\ncd");
    int start = 4;
    EditorSetSelection(start, 6);
    int status = -1;
    win::SendMessageA(frame, win::WM_COMMAND, kCmdNew, 0);
    ASSERT_EQ(r->fileCount, 2);
    const EditorBufferSlot& kept = editorBufferSlot(window, 1);
    EXPECT_EQ(kept.length, 6);
    EXPECT_EQ(kept.selectionStart, 5);
    EXPECT_EQ(kept.selectionEnd, 6);
    EXPECT_EQ(kept.notModified, 1);
    EditorPutText(status, "other");
    EditorSwitchFile(1, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(editorControlText(*r), "ab\r\ncd");
    EXPECT_EQ(selected(*r), "cd");
    EXPECT_FALSE(kept.textPresent);
}

TEST_F(EditorOperationsTest, ColourCodingPaintsTheProgramsRunsAndTheSelection) {
    EditorWindowRecord* r = editor(0, "red\tlit\r\nplain line");
    std::vector<std::string> asked;
    editorColourRuns() = [&](int w, int a, int b, int capacity, const std::string& line) {
        EXPECT_EQ(w, window);
        EXPECT_EQ(capacity, kEditorColourRunCapacity);
        asked.push_back(line + " " + std::to_string(a) + "," + std::to_string(b));
        if (line != "red\tlit") return std::vector<EditorColourRun>{};
        return std::vector<EditorColourRun>{{1, 3, 0x0000FF}, {5, 8, -1}};
    };
    int status = 0;
    EditorSetSelection(status = 12, 14);
    EditorEnableColourCoding();
    win::UpdateWindow(frame);
    const win::COLORREF red = win::RGB(255, 0, 0), light = win::GetSysColor(win::COLOR_HIGHLIGHT);
    // Each painted line is offered once, with the selection's part of it.
    ASSERT_GE(asked.size(), 2u);
    asked.resize(2);
    EXPECT_EQ(asked, (std::vector<std::string>{"red\tlit -1,-1", "plain line 4,5"}));
    screenshot(frame, "text_editor_colour_runs.png");
    EXPECT_GT(pixelsOf(r->editControl, red), 10);
    const int runLight = pixelsOf(r->editControl, light);
    EXPECT_GT(runLight, 50);
    // The whole text selected is drawn highlighted, the runs aside.
    win::SendMessageA(r->editControl, win::EM_SETSEL, 0, -1);
    win::InvalidateRect(r->editControl, nullptr, win::TRUE);
    win::UpdateWindow(frame);
    screenshot(frame, "text_editor_colour_all.png");
    EXPECT_EQ(pixelsOf(r->editControl, red), 0);
    EXPECT_GT(pixelsOf(r->editControl, light), runLight * 2);
    editorColourRuns() = nullptr;
}

}  // namespace
}  // namespace tk::test
