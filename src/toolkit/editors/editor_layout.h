#pragma once
// Places the editor's toolbar and edit control in the area the frame left
// for its drawing window; the hidden drawing window keeps that area too.

#include "toolkit/editors/editor_record.h"

namespace tk {

void editorLayout(win::HWND frame, EditorWindowRecord& record);

}  // namespace tk
