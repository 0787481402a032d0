// Binds the window half's hooks and the modal frame of the toolkit core to
// the dialog manager.

#include "toolkit/dialogs/dialog_bind.h"

#include <string_view>

#include "toolkit/dialogs/dialog_hooks.h"

#include "platform/dialogs/dialog_api.h"
#include "platform/resources/resource_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_settings.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/dialogs/modal_state.h"
#include "toolkit/dialogs/numeric_edit.h"

namespace tk {
namespace {

// The frame around message boxes and common dialogs: owned by
// DialogOwnerWindow, the other windows disabled meanwhile.
class DialogModalFrame : public ModalFrame {
  public:
    // Before any dialog was deactivated there is no window to return to:
    // the active toolkit frame owns the box then.
    win::HWND owner() override {
        // A box is placed over its owner: one that is gone or hidden (a
        // dialog closed just before) would put it at the screen's corner.
        auto shown = [](win::HWND h) { return h && win::IsWindow(h) && win::IsWindowVisible(h); };
        const WindowSystem& w = windowSystem();
        const auto current = static_cast<std::size_t>(w.CurrentWindow);
        win::HWND frame = current < w.slots.size() ? w.slots[current].frame : nullptr;
        for (win::HWND h : {DialogOwnerWindow(), w.ActiveFrame, win::GetActiveWindow(), frame})
            if (shown(h)) return h;
        return nullptr;
    }
    void begin(win::HWND except) override {
        focus_.push_back(win::GetFocus());
        active_.push_back(win::GetActiveWindow());
        ModalDisableOthers(except, true);
    }
    void end(win::HWND except) override {
        ModalEnableOthers(except, true);
        if (focus_.empty()) return;
        win::HWND f = focus_.back();
        win::HWND a = active_.back();
        focus_.pop_back();
        active_.pop_back();
        if (f && win::IsWindow(f)) win::SetFocus(f);
        ModalHandBack(a, f);
    }
    int freeze(int mode, int exceptWindow) override {
        int result = 0;
        FreezeWindowContents(mode, exceptWindow, result);
        return result;
    }

  private:
    std::vector<win::HWND> focus_, active_;
};

std::int32_t* recordWords(win::HWND h) {
    DialogRecord* r = dialogRecordOf(h);
    return r && isDialogWindow(h) ? r->words.data() : nullptr;
}

// The dialog manager's codes (-1 table full, -2 not in the resources, -3
// not created) in the window layer's terms (-3, -1, -4).
int createCombined(int identifier, int window) {
    int result = identifier;
    DialogCreateFromResource(result, identifier, window, true);
    switch (result) {
        case -1:
            return -3;
        case -2:
            return -1;
        case -3:
            return -4;
        default:
            return identifier;
    }
}

win::INT_PTR probeProcedure(win::HWND, win::UINT, win::WPARAM, win::LPARAM) {
    return 0;
}

bool combinableStyle(win::DWORD style) {
    return (style & win::WS_CHILD) && (style & win::DS_CONTROL) &&
           (style & win::WS_CAPTION) != win::WS_CAPTION && !(style & win::WS_SYSMENU);
}

// A trial copy of the dialog, with its settings applied under a record of
// its own for the moment, tells its style, size and stretchable field.
int probeCombined(int identifier, win::HWND owner, int& width, int& height, bool& stretches) {
    win::LPCSTR name = win::MAKEINTRESOURCEA(static_cast<win::WORD>(identifier));
    if (!win::FindResourceA(nullptr, name, win::RT_DIALOG)) return -1;
    win::HWND probe = win::CreateDialogParamA(nullptr, name, owner, probeProcedure, 0);
    if (!probe) return -4;
    int result = -2;
    if (combinableStyle(static_cast<win::DWORD>(win::GetWindowLongPtrA(probe, win::GWL_STYLE)))) {
        win::RECT r{};
        win::GetWindowRect(probe, &r);
        width = r.right - r.left;
        height = r.bottom - r.top;
        DialogRecord record;
        win::SetWindowLongPtrA(probe, win::GWL_USERDATA, reinterpret_cast<win::LONG_PTR>(&record));
        DialogApplySettings(probe, identifier, -1);
        stretches = record.stretchField != nullptr;
        win::SetWindowLongPtrA(probe, win::GWL_USERDATA, 0);
        result = 1;
    }
    win::DestroyWindow(probe);
    return result;
}

// Shows a loaded dialog modeless, made current only for the show.
void showModeless(int identifier) {
    const int slot = DialogSlotFind(identifier);
    if (slot < 1) return;
    DialogTable& t = dialogTable();
    int& number = toolkitState().CurrentDialogNumber;
    const int currentSlot = t.currentSlot, currentNumber = number;
    t.currentSlot = slot;
    number = identifier;
    int type = ShowModeless;
    DialogShowSlot(-1, -1, -1, -1, type, 0, 1);
    t.currentSlot = currentSlot;
    number = currentNumber;
}

void hideAndUnload(win::HWND dialog) {
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s) {
        if (t.slots[s] != dialog) continue;
        int hide = s;
        DialogHideSlot(hide);
        DialogUnloadSlot(0, s);
        return;
    }
}

std::vector<win::HWND> loadedDialogs() {
    const DialogTable& t = dialogTable();
    return std::vector<win::HWND>(t.slots.begin() + 1, t.slots.begin() + 1 + t.count);
}

void destroyAll() {
    DialogTable& t = dialogTable();
    while (t.count > 0) {
        win::HWND d = t.slots[t.count];
        DialogsDetachChildren(d);
        DialogDestroySlot(d, 1);
    }
    resetDialogTable();
}

bool translateMessage(win::MSG& msg) {
    win::HWND active = windowSystem().ActiveModelessDialog;
    if (!active || !win::IsWindow(active)) return false;
    return win::IsDialogMessageA(active, &msg) != 0;
}

win::HWND ownerOf(win::HWND dialog) {
    return isChildStyle(dialog) ? win::GetParent(dialog) : win::GetWindow(dialog, win::GW_OWNER);
}

win::HWND fieldWindow(int dialog, int field) {
    win::HWND d = dialogWindowOf(dialog);
    return d && field != 0 ? win::GetDlgItem(d, field) : d;
}

bool fieldCursorSet(win::HWND field, win::HCURSOR cursor, int shape) {
    FieldRecord* r = fieldRecordOf(field);
    if (!r) return false;
    r->cursor = cursor;
    r->cursorShape = shape;
    return true;
}

int fieldCursorShape(win::HWND field) {
    const FieldRecord* r = fieldRecordOf(field);
    return r && r->cursor ? r->cursorShape : -1;
}

// Up-down controls, nested dialogs and scroll bars keep what they have.
bool keepsItsCursor(win::HWND control) {
    char name[32] = {};
    win::GetClassNameA(control, name, sizeof name);
    const std::string_view c(name);
    return c == "msctls_updown32" || c == "#32770" || c == "ScrollBar" || c == "SCROLLBAR";
}

void fieldCursorsClear() {
    const DialogTable& t = dialogTable();
    for (int slot = 1; slot <= t.count; ++slot)
        for (win::HWND h = win::GetWindow(t.slots[slot], win::GW_CHILD); h;
             h = win::GetWindow(h, win::GW_HWNDNEXT))
            if (!keepsItsCursor(h)) fieldCursorSet(h, nullptr, 0);
}

// The grid of a field of the current dialog; field 0 is the grid that fills
// the current toolkit window (its frame record names it in word 5, as the
// other editor windows do).
GridRecord* gridOfCurrentField(int field) {
    win::HWND h = nullptr;
    if (field == 0) {
        const WindowSystem& w = windowSystem();
        const FrameUserRecord* fr = frameRecord(w.slots[w.CurrentSlot].frame);
        if (fr && fr->kind() == KindGridEditor) h = fr->handle(5);
    } else {
        h = currentField(field);
    }
    return gridRecordOfWindow(h);
}

void bindGrid() {
    DialogPartHooks& p = dialogPartHooks();
    p.gridClassRegister = [] { GridClassRegister(nullptr); };
    p.gridClearAll = [](win::HWND h) {
        if (GridRecord* g = gridRecordOfWindow(h)) GridClearAll(*g, true);
    };
    setGridLookup(gridOfCurrentField);
}

}  // namespace

void DialogManagerBind() {
    static DialogModalFrame frame;
    seams().modalFrame = &frame;
    WindowDialogHooks& d = windowDialogHooks();
    d.recordOf = recordWords;
    d.slotFind = [](int id) { return DialogSlotFind(id); };
    d.loadedCount = [] { return dialogTable().count; };
    d.windowOf = dialogWindowOf;
    d.loadedDialogs = loadedDialogs;
    d.createCombined = createCombined;
    d.probeCombined = probeCombined;
    d.showModeless = showModeless;
    d.hideAndUnload = hideAndUnload;
    d.hasStretchField = DialogHasStretchField;
    d.detachChildren = DialogsDetachChildren;
    d.destroyAll = destroyAll;
    d.translateMessage = translateMessage;
    d.ownerOf = ownerOf;
    d.fieldWindow = fieldWindow;
    d.fieldCursorSet = fieldCursorSet;
    d.fieldCursorShape = fieldCursorShape;
    d.fieldCursorsClear = fieldCursorsClear;
    NumericEditHooksBind();
    bindGrid();
}

}  // namespace tk
