#pragma once
// Colour-coded painting of a text editor: the editor paints its lines
// itself, in the colours of runs that the program supplies per line.

#include <functional>
#include <string>
#include <vector>

#include "toolkit/editors/editor_record.h"

namespace tk {

// Runs of one line: 1-based first and last character positions and a
// colour (RGB, or -1 for the selection's highlight).
struct EditorColourRun {
    int start = 0;
    int end = 0;
    int colour = 0;
};
// The program's colouring: window number, the selection's 1-based start
// and end within the line (-1 when the selection misses the line), the
// capacity and the line's text; answers at most capacity runs. This
// program colours nothing: unset, there are no runs.
using EditorColourRunsProc = std::function<std::vector<EditorColourRun>(
    int window, int selectionStart, int selectionEnd, int capacity, const std::string& line)>;
EditorColourRunsProc& editorColourRuns();
inline constexpr int kEditorColourRunCapacity = 100;

// Switches the current window's editor to colour-coded painting and
// repaints it.
void EditorEnableColourCoding();
// The edit control's procedure while colour coding is on.
win::LRESULT EditorColourPaintProc(win::HWND control, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
// The control's client point of a control position.
void EditorCharPosition(win::HWND control, long position, win::POINT& point);
// Draws text starting at a control position piece by piece between tabs;
// a highlighted run also fills the cells of its tabs.
void EditorDrawTextRun(const EditorWindowRecord& record, win::HDC dc, const std::string& text,
                       long position, int length, bool highlighted);

}  // namespace tk
