#pragma once
// The operations through which a program drives the text editor of the
// current output window: its text, selection and state, formats of ranges,
// freezing the display, and what a closed modal editor left behind.

#include <string>

#include "toolkit/editors/editor_positions.h"
#include "toolkit/editors/editor_record.h"

namespace tk {

// What a modal editor leaves for the program when it closes; window -1 of
// EditorInfo and EditorGetString answers from it.
struct EditorClosedState {
    int notModified = 1;
    int length = 0;
    int changed = 0;
    int selectionStart = 0;
    int selectionEnd = 0;
    int currentFile = 1;
    int fileCount = 1;
    int firstVisibleLine = 0;
    int fontNumber = 0;
    int fontSize = 0;
    std::string findText;
    std::string replaceText;
    std::string fileName;
};
EditorClosedState& editorClosedState();
// Records the closing editor's state.
void editorRecordClosedState(EditorWindowRecord& record);

void EditorPutText(int& status, const std::string& text);
// start in, status out (0, or -1 for no editor).
void EditorReplaceRange(int& start, int end, const std::string& text);
// status 0, 2 when the text was cut to size - 1 characters, 1 no editor.
void EditorGetText(int& status, int size, std::string& text);
// start in, status out; count characters from start.
void EditorGetTextRange(int& start, int count, std::string& text);
void EditorInfo(int window, int selector, int& value);
void EditorGetString(int window, int selector, std::string& text, int length);
void EditorLinePosition(int selector, int value, int& result);
// start in (program position), -1 out for no editor.
void EditorSetSelection(int& start, int end);
void EditorSetCaret(int position);
void EditorScrollToLine(int line);
void EditorSetModified(int notModified, int changed);
void EditorEmptyUndo();
void EditorTextSize(int& size);
void EditorCopyTextOut(std::string& buffer);
void EditorCopyTextIn(int length, const std::string& buffer);
void EditorSwitchFile(int number, int& status);
void EditorSetBackup(int flag);
// bold, italic, strike-out 1 on, -1 unchanged, else off; underline > 0 on,
// 0 off, -1 unchanged; size points (-1 unchanged); colours RGB, -1
// automatic, -2 unchanged; face empty = unchanged. status -1 no editor, -2
// not rich text.
void EditorSetCharFormat(int& status, int start, int end, int bold, int italic, int underline,
                         int strikeOut, int size, int colour, int background,
                         const std::string& face);
// bullets 0 off, -1 unchanged, else on; alignment 0 left, 1 centre, 2 right,
// -1 unchanged.
void EditorSetParaFormat(int& status, int start, int end, int bullets, int alignment);
void EditorFreezeDisplay(int show);
void EditorRepaint(int window);
void EditorSave(int saveAs);

}  // namespace tk
