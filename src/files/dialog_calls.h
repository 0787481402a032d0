#pragma once
// The dialog-manager routines that the import dialogs of the file layer call.
// Each is a function object so that the program binds the toolkit's dialog
// manager and the tests answer as a user would. Unbound, no dialog can be
// shown and every dialog ends as if Cancel had been pressed.

#include <functional>
#include <string_view>

namespace files {

struct DialogCalls {
    // Loads a dialog template and makes it current; false when it cannot.
    std::function<bool(int id)> DlgLoad;
    std::function<void(int field, int value)> DlgPutInteger;
    std::function<void(int field, std::string_view text)> DlgPutString;
    std::function<void(int field, int state)> DlgFieldState;
    std::function<void(int field, int state)> DlgPutCheckBox;
    // Shows the current dialog; a modal one returns when a button closed it.
    std::function<void(int x, int y, int focusField, int showType)> DlgShow;
    std::function<int(int selector)> DialogInfoQuery;
    std::function<void(int field, int& value)> DlgGetInteger;
    std::function<void(int field, int& state)> DlgGetCheckBox;
    std::function<void()> DlgHide;
};

DialogCalls& dialogCalls();
void resetDialogCalls();

// Field states and show types of the dialog manager.
inline constexpr int kFieldEnabled = 1;
inline constexpr int kFieldHidden = 3;
inline constexpr int kShowModal = 1;
inline constexpr int kButtonOk = 1;

// The put routine that util::PUTDLGSTRING goes through for the file layer's
// dialogs: the bound DlgPutString, nothing while it is unbound.
void putDialogString(int field, std::string_view text);

// Shows the loaded dialog modally and answers the button that closed it
// (0 when no dialog could be shown).
int showModalDialog(int x, int y);

}  // namespace files
