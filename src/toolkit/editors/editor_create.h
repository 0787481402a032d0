#pragma once
// Turning the current output window into a text editor, or opening another
// file in it when it is one already.

#include <string>

#include "platform/win_types.h"

namespace tk {

// The statuses of EditorCreate.
inline constexpr int kEditorCreateRoot = 1, kEditorCreateModalMenu = 2, kEditorCreateMenuFailed = 3,
                     kEditorCreateNestedMenu = 4, kEditorCreateMadeModeless = 5,
                     kEditorCreateNoMemory = 6, kEditorCreateModalCommandLine = 7,
                     kEditorCreateOtherKind = 8, kEditorCreateHasChildren = 11,
                     kEditorCreateTooManyFiles = 12;

struct EditorCreateArgs {
    int menuId = 0;
    int options = 0;
    int fontNumber = 0;
    int fontSize = 0;
    int filterIndex = -1;
    int splitterWindow = -1;
    std::string fileName;
    std::string fileFilter;  // pairs written with a separator that is also the last character
};

// status is preset by the caller (0); mode 1 modal, 2 modeless, 3 semi-modeless.
void EditorCreate(int& status, int& mode, const EditorCreateArgs& args);

// The editor's window procedure, in place of the frame's.
win::LRESULT EditorWindowProc(win::HWND frame, win::UINT msg, win::WPARAM wp, win::LPARAM lp);

}  // namespace tk
