#pragma once
// Find and replace in the text editor: the system's modeless find and replace
// dialogs, their notifications, and the searches they ask for.

#include "platform/common_dialogs/common_dialogs_api.h"
#include "toolkit/editors/editor_record.h"

namespace tk {

// The registered message the find and replace dialogs send their owner.
win::UINT editorFindMessage();
// Opens the find dialog (replace = false) or the replace dialog.
void editorOpenFindDialog(win::HWND frame, EditorWindowRecord& record, bool replace);
// A notification of the dialogs: find next, replace, replace all, closing.
void editorFindNotification(win::HWND frame, EditorWindowRecord& record,
                            const win::FINDREPLACEA& request);
// 1 found and selected, 0 not ("End of text reached").
int EditorFindNext(win::HWND frame, EditorWindowRecord& record, const win::FINDREPLACEA& request);
// Replaces the selection when it is the find text, then finds the next one.
int EditorReplaceNext(win::HWND frame, EditorWindowRecord& record,
                      const win::FINDREPLACEA& request);
// The dialogs' hook for inside-parent editors: Cancel gives the focus back.
win::UINT_PTR EditorFindDialogHook(win::HWND dialog, win::UINT msg, win::WPARAM wp, win::LPARAM lp);

}  // namespace tk
