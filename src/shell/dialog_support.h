#pragma once
// What the shell's dialogs share: loading, the place each dialog was last
// left, the modal and semi-modeless shows and closing.

#include <initializer_list>

#include "toolkit/core/event_queue.h"
#include "util/dialog_wrappers.h"

namespace shell {

// A dialog's screen position for the run; -1, -1 centres it.
struct DialogPosition {
    int x = -1, y = -1;
};

inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

// Loads the dialog (once: a loaded dialog is reused) and makes it current.
void loadDialog(int id);
// Shows the current dialog modally where it was last left, remembers where
// it was left and answers the button that closed it.
int showModal(DialogPosition& where);
// As showModal; OK while a numeric field holds text that is no number is
// refused with a message and the dialog is shown again.
int showModalForNumbers(DialogPosition& where, std::initializer_list<int> numericFields);
// Shows the current dialog semi-modeless where it was last left and lets its
// push buttons and field changes through as events.
void showSemiModeless(DialogPosition& where);
// Keeps the current dialog's screen position.
void rememberPosition(DialogPosition& where);
// Selects, hides and unloads the dialog.
void closeDialog(int id);

// The next event that belongs to the dialog (events of other windows are
// read and dropped while an editor runs its own loop).
int waitForDialogEvent(int dialog, tk::EventRecord& event);

}  // namespace shell
