#pragma once
// Program positions and control positions. The program counts a line break
// as two characters (CR LF, as in a plain file); the rich-edit control from
// version 2 on counts it as one. With version 1 or the native-positions
// option the two agree.

#include "toolkit/editors/editor_record.h"

namespace tk {

// Converts two program positions of the current window's editor to control
// positions.
void EditorToControlPositions(int a, int b, int& aControl, int& bControl);
// The same for a given editor.
void editorToControlPositions(EditorWindowRecord& record, int a, int b, int& aControl,
                              int& bControl);
// The text length with line breaks counted as two, measured without moving
// the view unless the display is frozen.
int EditorTextLength(win::HWND control, bool frozen);
// The number of line breaks before a control position.
int EditorCountBreaks(win::HWND control, int position);
// Whether program and control positions differ for this editor.
bool editorConverts(const EditorWindowRecord& record);
// A control position as the program counts it.
int editorProgramPosition(const EditorWindowRecord& record, int controlPosition);

}  // namespace tk
