#include "toolkit/dialogs/dialog_table.h"

#include "platform/dialogs/dialog_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/dialog_hooks.h"

namespace tk {

DialogTable& dialogTable() {
    static DialogTable table;
    return table;
}

FieldValidationState& fieldValidation() {
    static FieldValidationState state;
    return state;
}

DialogPartHooks& dialogPartHooks() {
    static DialogPartHooks hooks;
    return hooks;
}

DialogRecord* dialogRecordOf(win::HWND dialog) {
    if (!dialog || !win::IsWindow(dialog)) return nullptr;
    return reinterpret_cast<DialogRecord*>(win::GetWindowLongPtrA(dialog, win::GWL_USERDATA));
}

int DialogSlotFind(int identifier) {
    const DialogTable& t = dialogTable();
    for (int slot = 0; slot <= t.count; ++slot) {
        if (!t.slots[slot]) continue;
        DialogRecord* r = dialogRecordOf(t.slots[slot]);
        if (r && r->identifier() == identifier) return slot;
    }
    return -1;
}

win::HWND dialogWindowOf(int identifier) {
    const DialogTable& t = dialogTable();
    for (int slot = 1; slot <= t.count; ++slot) {
        DialogRecord* r = dialogRecordOf(t.slots[slot]);
        if (r && r->identifier() == identifier) return t.slots[slot];
    }
    return nullptr;
}

win::HWND currentDialog() {
    if (toolkitState().CurrentDialogNumber == 0) return nullptr;
    const DialogTable& t = dialogTable();
    if (t.currentSlot < 1 || t.currentSlot > t.count) return nullptr;
    return t.slots[t.currentSlot];
}

DialogRecord* currentDialogRecord() {
    return dialogRecordOf(currentDialog());
}

win::HWND currentField(int field) {
    win::HWND d = currentDialog();
    return d ? win::GetDlgItem(d, field) : nullptr;
}

void resetDialogTable() {
    dialogTable() = DialogTable{};
    fieldValidation() = FieldValidationState{};
}

}  // namespace tk
