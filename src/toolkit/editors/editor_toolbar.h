#pragma once
// The editor's own toolbar: the common controls' standard small colour
// images for the file, print, find and edit commands, and, when the
// program's resources hold their pictures, the formatting and link buttons.

#include "toolkit/editors/editor_record.h"

namespace tk {

inline constexpr int kEditorFormatBitmapId = 32101;
inline constexpr int kEditorLinkBitmapId = 2001;

// Makes the toolbar (control identifier 1001) in the frame and answers it.
win::HWND editorBuildToolbar(EditorWindowRecord& record, win::HWND frame);

}  // namespace tk
