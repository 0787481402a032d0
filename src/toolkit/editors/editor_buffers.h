#pragma once
// The editor buffer table: per window (0-50) and file (1-20) the text,
// selection, scroll position and flags of a file that is not shown, and the
// file's name.

#include <string>
#include <vector>

#include "toolkit/editors/editor_record.h"

namespace tk {

struct EditorBufferSlot {
    int textLength = 0;  // bytes of the stored text in file form
    int length = 0;      // text length as the program counts it
    int selectionStart = 0;
    int selectionEnd = 0;
    int notModified = 0;
    int changed = 0;
    int firstVisibleLine = 0;
    bool namePresent = false;
    bool textPresent = false;
    std::string name;
    std::vector<char> text;
};

// Entry (window, file); window 0-50, file 1-20.
EditorBufferSlot& editorBufferSlot(int window, int file);
// Forgets every entry (start-up, tests).
void resetEditorBuffers();

void EditorBufferSetName(int window, int file, const std::string& name);
// The stored name blank-padded to the length (blanks when none is stored).
void EditorBufferGetName(int window, int file, std::string& name, int length);
void EditorBufferGetFlag(int window, int file, int& state);
// Releases entry (window, file) and moves the later files' entries down.
void EditorBufferFree(int window, int file);

}  // namespace tk

namespace tk {

// Puts the shown text, selection, first visible line and flags of the
// window's editor into entry (window, file).
void EditorBufferClose(int window, int file);
// Brings entry (window, file) back into the window's editor and releases
// the stored text.
void EditorBufferOpen(int window, int file);
void EditorBufferSwitch(int window, int from, int to);

}  // namespace tk
