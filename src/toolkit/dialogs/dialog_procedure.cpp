#include "toolkit/dialogs/dialog_procedure.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/menu_api.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_selection.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/dialogs/modal_state.h"
#include "toolkit/dialogs/numeric_edit.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

namespace {

win::HBRUSH gColourBrush = nullptr;

struct OwnedResource {
    win::HANDLE handle;
    int kind;  // 0 font, else the image kind
};
std::map<win::HWND, std::vector<OwnedResource>> gOwnedResources;

// The size-grip styles of a scroll bar.
constexpr win::DWORD kSizeBoxBottomRightAlign = 0x4;
constexpr win::DWORD kSizeGrip = 0x10;

win::DWORD styleOf(win::HWND h) {
    return static_cast<win::DWORD>(win::GetWindowLongPtrA(h, win::GWL_STYLE));
}

bool isClientWindow(win::HWND h) {
    char name[32] = {};
    win::GetClassNameA(h, name, sizeof name);
    return std::string_view(name) == "VIRADERIZA";
}

bool isPushButton(win::HWND control) {
    if (!controlClassIs(control, ControlClass::Button)) return false;
    const win::DWORD type = styleOf(control) & win::BS_TYPEMASK;
    return type == win::BS_PUSHBUTTON || type == win::BS_DEFPUSHBUTTON;
}

bool isModalInstance(win::HWND dialog) {
    return dialog && dialog == dialogTable().slots[0];
}

void updateSystemMenu(win::HWND dialog, win::WPARAM sizeType) {
    win::HMENU menu = win::GetSystemMenu(dialog, win::FALSE);
    if (!menu) return;
    const win::DWORD style = styleOf(dialog);
    auto set = [menu](win::WPARAM cmd, bool on) {
        win::EnableMenuItem(menu, static_cast<win::UINT>(cmd),
                            win::MF_BYCOMMAND | (on ? win::MF_ENABLED : win::MF_GRAYED));
    };
    if (sizeType == win::SIZE_MINIMIZED) {
        set(win::SC_MINIMIZE, false);
        set(win::SC_RESTORE, true);
    } else if (sizeType == win::SIZE_MAXIMIZED) {
        set(win::SC_MAXIMIZE, false);
        set(win::SC_RESTORE, true);
    } else {
        set(win::SC_MINIMIZE, (style & win::WS_MINIMIZEBOX) != 0);
        set(win::SC_MAXIMIZE, (style & win::WS_MAXIMIZEBOX) != 0);
        set(win::SC_RESTORE, false);
    }
}

void initSystemMenu(win::HWND dialog) {
    win::HMENU menu = win::GetSystemMenu(dialog, win::FALSE);
    if (!menu) return;
    const win::DWORD style = styleOf(dialog);
    auto grey = [menu](win::WPARAM cmd) {
        win::EnableMenuItem(menu, static_cast<win::UINT>(cmd), win::MF_BYCOMMAND | win::MF_GRAYED);
    };
    grey(win::SC_RESTORE);
    if (!(style & win::WS_MINIMIZEBOX)) grey(win::SC_MINIMIZE);
    if (!(style & win::WS_MAXIMIZEBOX)) grey(win::SC_MAXIMIZE);
    if (!(style & win::WS_THICKFRAME)) grey(win::SC_SIZE);
}

// Releases every field's record and the resources a loaded dialog's fields own.
void releaseFields(win::HWND dialog) {
    const bool modal = isModalInstance(dialog);
    win::HFONT dialogFont =
        reinterpret_cast<win::HFONT>(win::SendMessageA(dialog, win::WM_GETFONT, 0, 0));
    std::vector<win::HWND> children;
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT))
        children.push_back(c);
    for (win::HWND c : children) {
        if (FieldRecord* r = fieldRecordOf(c)) {
            if (isTabControl(c) && controlClassAtoms().tabProcedure)
                win::SetWindowLongPtrA(
                    c, win::GWL_WNDPROC,
                    reinterpret_cast<win::LONG_PTR>(controlClassAtoms().tabProcedure));
            else if (r->previousProcedure)
                win::SetWindowLongPtrA(c, win::GWL_WNDPROC,
                                       reinterpret_cast<win::LONG_PTR>(r->previousProcedure));
            if (numericFieldType(c) == 0) FieldRecordFree(c);
        }
        if (modal) continue;
        auto font = reinterpret_cast<win::HFONT>(win::SendMessageA(c, win::WM_GETFONT, 0, 0));
        const bool ownFont = font && font != dialogFont &&
                             font != win::GetStockObject(win::SYSTEM_FONT) &&
                             font != win::GetStockObject(win::SYSTEM_FIXED_FONT);
        // The controls go after the dialog's WM_DESTROY; what they show is
        // freed once they are gone (WM_NCDESTROY of the dialog).
        std::vector<OwnedResource>& owned = gOwnedResources[dialog];
        if (ownFont) owned.push_back({font, 0});
        if (win::HANDLE image = FieldImageOf(c)) owned.push_back({image, FieldImageKind(c)});
    }
}

void freeOwnedResources(win::HWND dialog) {
    auto it = gOwnedResources.find(dialog);
    if (it == gOwnedResources.end()) return;
    for (const OwnedResource& r : it->second) {
        if (r.kind == 0)
            win::DeleteObject(r.handle);
        else
            FieldImageDestroy(r.handle, r.kind);
    }
    gOwnedResources.erase(it);
}

void paintFrozen(win::HWND dialog) {
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s) {
        if (t.slots[s] != dialog || !t.frozenBitmap[s]) continue;
        win::PAINTSTRUCT ps;
        win::HDC dc = win::BeginPaint(dialog, &ps);
        win::HDC mem = win::CreateCompatibleDC(dc);
        win::HGDIOBJ old = win::SelectObject(mem, t.frozenBitmap[s]);
        win::RECT r{};
        win::GetClientRect(dialog, &r);
        win::BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, win::SRCCOPY);
        win::SelectObject(mem, old);
        win::DeleteDC(mem);
        win::EndPaint(dialog, &ps);
        return;
    }
}

bool dialogFrozen(win::HWND dialog) {
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s)
        if (t.slots[s] == dialog) return t.frozenBitmap[s] != nullptr;
    return false;
}

// Records a change of field and posts FieldChanged unless the dialog is a
// modal instance (then only the loaded dialog's record is kept up to date).
void changeOfField(win::HWND dialog, win::HWND control, int id, bool focusCode, win::LPARAM lp) {
    DialogRecord* rec = bookkeepingRecord(dialog);
    if (!rec) return;
    rec->previousField() = rec->changedField();
    rec->changedField() = id;
    if (!DialogIsModalCopy(dialog)) {
        const bool sameField = rec->previousField() == rec->changedField();
        if (!(focusCode && sameField)) EventPost(FieldChanged, 0, -1, lp, dialog);
    }
    DialogFocusRemember(dialog, control);
}

// A grid's cell editor whose text is no readable number keeps OK waiting,
// as leaving the cell would (the check is forced, beeps and keeps the cell).
bool gridCellRefuses(win::HWND focus) {
    win::HWND area = focus ? win::GetParent(focus) : nullptr;
    GridRecord* g = area ? gridRecordOfWindow(win::GetParent(area)) : nullptr;
    return g && g->editor && g->editor->window() == focus && !gridEditorValueAcceptable(*g);
}

void pushButtonCommand(win::HWND dialog, win::WPARAM wp, win::HWND control) {
    FieldValidationState& v = fieldValidation();
    win::HWND focus = win::GetFocus();
    const int id = win::LOWORD(wp);
    if (id == win::IDOK && gridCellRefuses(focus)) return;
    if (focus && dialogPartHooks().numericFieldRefuses && numericFieldType(focus) != 0 &&
        dialogPartHooks().numericFieldRefuses(focus, focus, 0))
        v.invalidField = focus;
    if (v.invalidField && id == win::IDOK) {
        BeepIfEnabled();
        win::SetFocus(v.invalidField);
        FieldSelectAllText(v.invalidField);
        v.invalidField = nullptr;
        return;
    }
    if (v.invalidField) {
        win::SetWindowTextA(v.invalidField, v.savedFieldText.c_str());
        if (FieldRecord* r = fieldRecordOf(v.invalidField)) r->value = v.savedFieldValue;
        v.saveOnNextFocus = 1;
        v.invalidField = nullptr;
    }
    if (isModalInstance(dialog)) {
        ModalInstanceClose(dialog, id);
        return;
    }
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec) return;
    if (!control || focus != control) rec->previousField() = rec->changedField();
    EventPost(PushButton, 0, static_cast<std::intptr_t>(wp),
              reinterpret_cast<std::intptr_t>(control), dialog);
}

bool changeNotification(win::HWND control, int code) {
    switch (code) {
        case 0:
        case 1:
        case 3:
        case 4:
        case 5:
        case 0x100:
        case 0x300:
            return true;
        case 6:
            return controlClassIs(control, ControlClass::Button);
        default:
            return false;
    }
}

win::INT_PTR onCommand(win::HWND dialog, win::WPARAM wp, win::LPARAM lp) {
    const int code = win::HIWORD(wp);
    const int id = win::LOWORD(wp);
    auto control = reinterpret_cast<win::HWND>(lp);
    if (code == 0 && isChildStyle(dialog)) {
        const auto cmd = static_cast<win::WPARAM>(id & 0xFFFF);
        if (cmd == win::SC_SIZE || cmd == win::SC_MOVE || cmd == win::SC_MINIMIZE ||
            cmd == win::SC_MAXIMIZE || cmd == win::SC_CLOSE || cmd == win::SC_RESTORE)
            return win::SendMessageA(dialog, win::WM_SYSCOMMAND, cmd, 0);
    }
    if (code == 0 && (!control || isPushButton(control))) {
        pushButtonCommand(dialog, wp, control);
        return win::TRUE;
    }
    if (code == 2) {
        FieldRecord* r = fieldRecordOf(control);
        if (!(r && (r->flags & kFieldFlagNoDoubleClickDefault)) &&
            dialogPartHooks().pressDefaultButton)
            dialogPartHooks().pressDefaultButton(control);
        return win::FALSE;
    }
    if (!control || !changeNotification(control, code) || dialogTable().creating) return win::FALSE;
    FieldRecord* r = fieldRecordOf(control);
    if ((code == 0x300 || code == 5) && !(r && r->reportTyping)) return win::FALSE;
    const bool focusCode = code == 0x100 || code == 3 || code == 4 || code == 6;
    changeOfField(dialog, control, id, focusCode, reinterpret_cast<std::intptr_t>(control));
    return win::FALSE;
}


void tabSelChanging(win::HWND dialog, win::HWND tab) {
    FieldValidationState& v = fieldValidation();
    win::HWND focus = win::GetFocus();
    if (focus != tab && focus && numericFieldType(focus) != 0 &&
        dialogPartHooks().numericFieldRefuses &&
        dialogPartHooks().numericFieldRefuses(focus, focus, 0))
        v.tabInvalidField = focus;
    const int sel = static_cast<int>(win::SendMessageA(tab, win::TCM_GETCURSEL, 0, 0));
    if (v.tabInvalidField || v.invalidField) {
        v.tabSelectionToRestore = sel;
        BeepIfEnabled();
        return;
    }
    const int pageId = tabItemExtra(tab, sel).pageId;
    if (win::HWND page = dialogWindowOf(pageId)) win::ShowWindow(page, win::SW_HIDE);
    if (!dialogTable().creating)
        if (DialogRecord* rec = bookkeepingRecord(dialog)) rec->leftPage() = pageId;
}

void tabSelChange(win::HWND dialog, win::HWND tab) {
    FieldValidationState& v = fieldValidation();
    if (v.tabInvalidField || v.invalidField) {
        win::HWND back = v.tabInvalidField ? v.tabInvalidField : v.invalidField;
        win::SendMessageA(tab, win::TCM_SETCURSEL,
                          static_cast<win::WPARAM>(v.tabSelectionToRestore), 0);
        win::SetFocus(back);
        v.tabInvalidField = nullptr;
        return;
    }
    const int sel = static_cast<int>(win::SendMessageA(tab, win::TCM_GETCURSEL, 0, 0));
    const int pageId = tabItemExtra(tab, sel).pageId;
    win::HWND page = dialogWindowOf(pageId);
    if (page) {
        win::SetWindowPos(
            page, tab, 0, 0, 0, 0,
            win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE);
        win::UpdateWindow(tab);
        if (win::GetFocus() != tab) DialogFocusFirstTabStop(tab, page, true);
        win::UpdateWindow(page);
    }
    if (dialogTable().creating) return;
    if (DialogRecord* rec = bookkeepingRecord(dialog)) rec->selectedPage() = pageId;
    if (!DialogIsModalCopy(dialog)) EventPost(TabChanged, 0, 0, 0, dialog);
}

win::INT_PTR onNotify(win::HWND dialog, win::LPARAM lp) {
    auto* hdr = reinterpret_cast<win::NMHDR*>(lp);
    win::HWND from = hdr->hwndFrom;
    const ControlClass cls = controlClassOf(from);
    if (cls == ControlClass::Tab) {
        if (hdr->code == win::TCN_SELCHANGING) tabSelChanging(dialog, from);
        if (hdr->code == win::TCN_SELCHANGE) tabSelChange(dialog, from);
        if (hdr->code == win::TCN_SELCHANGING &&
            (fieldValidation().tabInvalidField || fieldValidation().invalidField)) {
            win::SetWindowLongPtrA(dialog, win::DWLP_MSGRESULT, win::TRUE);
            return win::TRUE;
        }
        return win::FALSE;
    }
    if (cls == ControlClass::TreeView) {
        if (hdr->code == win::TVN_SELCHANGEDA || hdr->code == win::TVN_ITEMEXPANDEDA) {
            if (dialogTable().creating) return win::FALSE;
            const int id = win::GetDlgCtrlID(from);
            if (DialogRecord* rec = bookkeepingRecord(dialog)) {
                rec->changedField() = id;
                rec->previousField() = id;
            }
            DialogFocusRemember(dialog, from);
            if (!DialogIsModalCopy(dialog))
                EventPost(FieldChanged, 0, -1, reinterpret_cast<std::intptr_t>(from), dialog);
        } else if (hdr->code == win::NM_DBLCLK) {
            FieldRecord* r = fieldRecordOf(from);
            if (!(r && (r->flags & kFieldFlagNoDoubleClickDefault))) {
                auto sel = reinterpret_cast<win::HTREEITEM>(
                    win::SendMessageA(from, win::TVM_GETNEXTITEM, win::TVGN_CARET, 0));
                const bool leaf =
                    sel && !win::SendMessageA(from, win::TVM_GETNEXTITEM, win::TVGN_CHILD,
                                              reinterpret_cast<win::LPARAM>(sel));
                if (leaf && dialogPartHooks().pressDefaultButton)
                    dialogPartHooks().pressDefaultButton(from);
            }
        }
        return win::FALSE;
    }
    if (cls == ControlClass::UpDown && hdr->code == win::UDN_DELTAPOS) {
        auto buddy = reinterpret_cast<win::HWND>(win::SendMessageA(from, win::UDM_GETBUDDY, 0, 0));
        if (!buddy || !isSpinField(buddy)) return win::FALSE;
        SpinFieldStep(buddy, *reinterpret_cast<win::NMUPDOWN*>(lp));
        win::SetWindowLongPtrA(dialog, win::DWLP_MSGRESULT, win::TRUE);
        return win::TRUE;
    }
    return win::FALSE;
}

void onScroll(win::HWND dialog, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    auto control = reinterpret_cast<win::HWND>(lp);
    if (!control) return;
    const int code = win::LOWORD(wp);
    if (controlClassIs(control, ControlClass::Trackbar)) {
        if (code == win::TB_ENDTRACK) return;
        if ((styleOf(control) & win::TBS_ENABLESELRANGE) && (win::GetKeyState(win::VK_SHIFT) < 0)) {
            const int pos = static_cast<int>(win::SendMessageA(control, win::TBM_GETPOS, 0, 0));
            const int anchor = fieldProcedureState().trackbarAnchor;
            win::SendMessageA(control, win::TBM_SETSEL, win::TRUE,
                              win::MAKELONG(std::min(anchor, pos), std::max(anchor, pos)));
        }
        if (DialogIsModalCopy(dialog)) return;
        changeOfField(dialog, control, win::GetDlgCtrlID(control), false,
                      reinterpret_cast<std::intptr_t>(control));
        return;
    }
    if (msg == win::WM_VSCROLL && controlClassIs(control, ControlClass::UpDown) &&
        code != win::SB_ENDSCROLL && !DialogIsModalCopy(dialog)) {
        auto buddy =
            reinterpret_cast<win::HWND>(win::SendMessageA(control, win::UDM_GETBUDDY, 0, 0));
        if (!buddy) return;
        DialogRecord* rec = dialogRecordOf(dialog);
        if (!rec) return;
        rec->changedField() = rec->previousField() = win::GetDlgCtrlID(buddy);
        DialogFocusRemember(dialog, buddy);
        FieldRecord* own = fieldRecordOf(control);
        if (!(own && own->reportTyping)) EventPost(FieldChanged, 0, -1, -1, dialog);
    }
}

void dialogMouse(win::HWND dialog, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec || !rec->isDrawingTarget() || DialogIsModalCopy(dialog)) return;
    int type = 0;
    switch (msg) {
        case win::WM_MOUSEMOVE:
            rec->mouseButton() = 0;
            type = 106;
            break;
        case win::WM_LBUTTONDOWN:
        case win::WM_RBUTTONDOWN:
        case win::WM_MBUTTONDOWN:
            win::SetCapture(dialog);
            type = 104;
            break;
        case win::WM_LBUTTONUP:
        case win::WM_RBUTTONUP:
        case win::WM_MBUTTONUP:
            win::ReleaseCapture();
            type = 105;
            break;
        default:  // double-clicks
            win::SetCapture(dialog);
            type = doubleClickEventsEnabled() ? 116 : 104;
            break;
    }
    if (msg != win::WM_MOUSEMOVE) rec->mouseButton() = mouseButtonOf(msg);
    rec->graphicsField() = 0;
    EventPost(type, 0, static_cast<std::intptr_t>(wp), lp, dialog);
}

// A child-style dialog has no caption menu of its own on the screen: a right
// click on its caption or system-menu box shows the system menu as a pop-up;
// the chosen command comes back as WM_COMMAND.
void captionMenu(win::HWND dialog, win::WPARAM hit, win::LPARAM lp) {
    if (!isChildStyle(dialog) || (hit != static_cast<win::WPARAM>(win::HTCAPTION) &&
                                  hit != static_cast<win::WPARAM>(win::HTSYSMENU)))
        return;
    win::HMENU menu = win::GetSystemMenu(dialog, win::FALSE);
    if (!menu) return;
    const win::UINT restore =
        win::GetMenuState(menu, static_cast<win::UINT>(win::SC_RESTORE), win::MF_BYCOMMAND);
    const bool restoreEnabled = !(restore & (win::MF_GRAYED | win::MF_DISABLED));
    win::SetMenuDefaultItem(
        menu, static_cast<win::UINT>(restoreEnabled ? win::SC_RESTORE : win::SC_CLOSE), win::FALSE);
    const auto bits = static_cast<win::DWORD>(lp);
    win::TrackPopupMenu(menu, win::TPM_LEFTALIGN, static_cast<short>(win::LOWORD(bits)),
                        static_cast<short>(win::HIWORD(bits)), 0, dialog, nullptr);
}

win::INT_PTR onInitDialog(win::HWND dialog, win::LPARAM lp) {
    DialogTable& t = dialogTable();
    initSystemMenu(dialog);
    DialogInitFields(dialog);
    const bool loaded = lp != 0;
    if (loaded) {
        auto* rec = reinterpret_cast<DialogRecord*>(lp);
        win::SetWindowLongPtrA(dialog, win::GWL_USERDATA, lp);
        if (win::HWND root = windowSystem().slots[0].frame)
            win::SendMessageA(dialog, win::WM_SETICON, win::ICON_BIG,
                              win::GetClassLongPtrA(root, win::GCL_HICON));
        win::RECT r{};
        win::GetWindowRect(dialog, &r);
        rec->minimumWidth() = r.right - r.left;
        rec->minimumHeight() = r.bottom - r.top;
    } else {
        ModalInstanceOpen(dialog);
    }
    win::SetWindowLongPtrA(dialog, win::GWL_EXSTYLE,
                           win::GetWindowLongPtrA(dialog, win::GWL_EXSTYLE) | win::WS_EX_APPWINDOW);
    win::INT_PTR answer = loaded ? win::FALSE : win::TRUE;
    if (t.pendingFocusField != 0) {
        win::HWND f = win::GetDlgItem(dialog, t.pendingFocusField);
        win::SetFocus(f);
        if (f) FieldSelectAllText(f);
        answer = win::FALSE;
    }
    t.creating = false;
    return answer;
}

}  // namespace

bool DialogIsModalCopy(win::HWND window) {
    win::HWND modal = dialogTable().slots[0];
    if (!modal) return false;
    for (win::HWND h = window; h; h = win::GetParent(h)) {
        if (h == modal) return true;
        if (!isChildStyle(h)) return false;
    }
    return false;
}

win::HWND dialogOfControl(win::HWND control) {
    for (win::HWND h = control; h; h = win::GetParent(h))
        if (dialogRecordOf(h) && isDialogWindow(h)) return h;
    return nullptr;
}

DialogRecord* bookkeepingRecord(win::HWND dialog) {
    if (DialogIsModalCopy(dialog)) {
        if (win::HWND loaded = currentDialog()) return dialogRecordOf(loaded);
    }
    return dialogRecordOf(dialog);
}

bool DialogHasStretchField(win::HWND window) {
    DialogRecord* r = dialogRecordOf(window);
    return r && r->stretchField != nullptr;
}

void DialogFocusRemember(win::HWND dialog, win::HWND control) {
    for (win::HWND d = dialog; d; d = win::GetParent(d)) {
        if (DialogRecord* r = dialogRecordOf(d)) r->focusToRestore = control;
        if (!isChildStyle(d)) return;
        win::HWND parent = win::GetParent(d);
        if (!parent || isClientWindow(parent)) return;
    }
}

void DialogFocusFirstTabStop(win::HWND fallback, win::HWND page, bool setFocus) {
    win::HWND target = fallback;
    for (win::HWND c = win::GetWindow(page, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT)) {
        const win::DWORD s = styleOf(c);
        if ((s & win::WS_TABSTOP) && (s & win::WS_VISIBLE) && !(s & win::WS_DISABLED)) {
            target = c;
            break;
        }
    }
    if (!setFocus || !target) return;
    win::SetFocus(target);
    FieldSelectAllText(target);
}

void DialogAddSizeGrip(win::HWND dialog) {
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec || !rec->stretchField) return;
    win::HWND w = rec->combinedWindow;
    if (w) {
        const int n = WindowSlotOfHandle(w);
        if (n >= 0 && windowSystem().slots[n].statusBar) return;
        while (w && isChildStyle(w)) {
            win::HWND frame = win::GetParent(win::GetParent(w));
            const FrameUserRecord* fr = frame ? frameRecord(frame) : nullptr;
            if (!fr || fr->kind() != KindSplit) break;
            return;
        }
    }
    win::RECT r{};
    win::GetClientRect(dialog, &r);
    win::CreateWindowExA(
        0, "SCROLLBAR", "",
        win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | win::WS_CLIPCHILDREN |
            win::WS_GROUP | kSizeGrip | kSizeBoxBottomRightAlign,
        0, 0, r.right, r.bottom, dialog,
        reinterpret_cast<win::HMENU>(static_cast<std::intptr_t>(-1)), nullptr, nullptr);
}

void DialogLayoutFields(win::HWND dialog, int cx, int cy) {
    DialogRecord* rec = dialogRecordOf(dialog);
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT)) {
        const ControlClass cls = controlClassOf(c);
        win::RECT r{};
        win::GetWindowRect(c, &r);
        win::MapWindowPoints(nullptr, dialog, reinterpret_cast<win::POINT*>(&r), 2);
        if (cls == ControlClass::ScrollBar) {
            const int w = r.right - r.left, h = r.bottom - r.top;
            win::SetWindowPos(c, nullptr, cx - w, cy - h, 0, 0,
                              win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
            const bool zoomed = win::IsZoomed(dialog) ||
                                (rec && rec->combinedWindow && win::IsZoomed(rec->combinedWindow));
            win::ShowWindow(c, zoomed ? win::SW_HIDE : win::SW_SHOWNA);
            continue;
        }
        if (cls == ControlClass::UpDown || cls == ControlClass::Dialog) continue;
        FieldRecord* f = fieldRecordOf(c);
        if (!f || f->stretchFlags == 0) continue;
        win::HWND buddy = f->buddy && win::IsWindow(f->buddy) ? f->buddy : nullptr;
        int buddyWidth = 0;
        if (buddy) {
            win::RECT b{};
            win::GetWindowRect(buddy, &b);
            buddyWidth = b.right - b.left;
        }
        const int right = r.right + buddyWidth;
        const int dx = cx - right - f->stretchRight;
        const int dy = cy - r.bottom - f->stretchBottom;
        if (f->stretchFlags & kStretchLeft) r.left += dx;
        if (f->stretchFlags & kStretchRight) r.right += dx;
        if (f->stretchFlags & kStretchTop) r.top += dy;
        if (f->stretchFlags & kStretchBottom) r.bottom += dy;
        const win::UINT flags =
            win::SWP_NOZORDER | win::SWP_NOACTIVATE | win::SWP_NOCOPYBITS | win::SWP_NOOWNERZORDER;
        win::SetWindowPos(c, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
        if (buddy)
            win::SetWindowPos(buddy, nullptr, r.right, r.top, buddyWidth, r.bottom - r.top, flags);
    }
}

win::INT_PTR DialogControlColour(win::HWND dialog, win::UINT message, win::HDC dc,
                                 win::HWND control) {
    if (gColourBrush) win::DeleteObject(gColourBrush);
    gColourBrush = nullptr;
    if (controlClassIs(control, ControlClass::TreeView)) return 0;
    for (int i = 0; i < 2 && control && win::GetParent(control) != dialog; ++i)
        control = win::GetParent(control);
    if (!control || win::GetParent(control) != dialog) return 0;
    FieldRecord* f = fieldRecordOf(control);
    if (!f || (f->textColour == -1 && f->backgroundColour == -1)) return 0;
    const bool buttonLike = message == win::WM_CTLCOLORBTN || message == win::WM_CTLCOLORSTATIC;
    if (f->textColour != -1)
        win::SetTextColor(dc, static_cast<win::COLORREF>(f->textColour));
    else
        win::SetTextColor(dc,
                          win::GetSysColor(message == win::WM_CTLCOLORBTN ? win::COLOR_BTNTEXT
                                                                          : win::COLOR_WINDOWTEXT));
    win::COLORREF back = 0;
    if (f->backgroundColour != -1)
        back = win::GetNearestColor(dc, static_cast<win::COLORREF>(f->backgroundColour));
    else
        back = win::GetSysColor(buttonLike ? win::COLOR_BTNFACE : win::COLOR_WINDOW);
    win::SetBkColor(dc, back);
    gColourBrush = win::CreateSolidBrush(back);
    return reinterpret_cast<win::INT_PTR>(gColourBrush);
}

win::INT_PTR DialogProcedure(win::HWND dialog, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    DialogTable& t = dialogTable();
    if (msg == gridCellChangeMessage() && msg != 0) {
        if (t.creating) return win::TRUE;
        win::HWND grid = win::GetDlgItem(dialog, static_cast<int>(wp));
        DialogRecord* rec = bookkeepingRecord(dialog);
        if (rec) {
            rec->previousField() = rec->changedField();
            rec->changedField() = static_cast<int>(wp);
            if (!DialogIsModalCopy(dialog))
                EventPost(FieldChanged, 0, static_cast<std::intptr_t>(wp), lp, dialog);
        }
        DialogFocusRemember(dialog, grid);
        return win::TRUE;
    }
    switch (msg) {
        case win::WM_SIZE: {
            updateSystemMenu(dialog, wp);
            if (wp != win::SIZE_MINIMIZED && DialogHasStretchField(dialog))
                DialogLayoutFields(dialog, win::LOWORD(static_cast<win::DWORD>(lp)),
                                   win::HIWORD(static_cast<win::DWORD>(lp)));
            DialogRecord* rec = dialogRecordOf(dialog);
            if (wp != win::SIZE_MINIMIZED && rec && rec->isDrawingTarget() &&
                !DialogIsModalCopy(dialog)) {
                rec->graphicsField() = 0;
                win::RedrawWindow(dialog, nullptr, nullptr,
                                  win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_UPDATENOW |
                                      win::RDW_NOCHILDREN);
                EventPost(108, 0, static_cast<std::intptr_t>(wp), lp, dialog);
            }
            return win::FALSE;
        }
        case win::WM_DESTROY:
            releaseFields(dialog);
            return win::FALSE;
        case win::WM_NCDESTROY:
            freeOwnedResources(dialog);
            return win::FALSE;
        case win::WM_PAINT: {
            if (DialogIsModalCopy(dialog)) return win::FALSE;
            if (t.freezeActive && dialogFrozen(dialog)) {
                paintFrozen(dialog);
                return win::TRUE;
            }
            DialogRecord* rec = dialogRecordOf(dialog);
            if (rec && rec->isDrawingTarget() && !t.freezeActive) {
                rec->graphicsField() = 0;
                EventPost(107, 0, static_cast<std::intptr_t>(wp), lp, dialog);
            }
            return win::FALSE;
        }
        case win::WM_ACTIVATE:
            if (win::LOWORD(wp) != win::WA_INACTIVE) {
                t.activeDialog = dialog;
                // The event waits offer messages to it (keyboard navigation).
                windowSystem().ActiveModelessDialog = isModalInstance(dialog) ? nullptr : dialog;
            } else {
                t.activeDialog = nullptr;
                t.returnWindow = dialog;
                if (windowSystem().ActiveModelessDialog == dialog)
                    windowSystem().ActiveModelessDialog = nullptr;
            }
            return win::FALSE;
        case win::WM_SETFOCUS: {
            DialogRecord* rec = dialogRecordOf(dialog);
            if (isChildStyle(dialog) && isClientWindow(win::GetParent(dialog)) && rec &&
                rec->focusToRestore && win::IsWindow(rec->focusToRestore)) {
                win::SetFocus(rec->focusToRestore);
                return win::TRUE;
            }
            return win::FALSE;
        }
        case win::WM_GETMINMAXINFO: {
            DialogRecord* rec = dialogRecordOf(dialog);
            if (rec && rec->stretchField) {
                auto* mm = reinterpret_cast<win::MINMAXINFO*>(lp);
                mm->ptMinTrackSize.x = rec->minimumWidth();
                mm->ptMinTrackSize.y = rec->minimumHeight();
            }
            return win::FALSE;
        }
        case win::WM_MOUSEACTIVATE: {
            DialogRecord* rec = dialogRecordOf(dialog);
            if (isChildStyle(dialog) && isClientWindow(win::GetParent(dialog)) && rec &&
                !rec->combinedWindow) {
                win::SetWindowPos(dialog, win::HWND_TOP, 0, 0, 0, 0,
                                  win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_SHOWWINDOW);
                win::HWND focus = win::GetFocus();
                if (!focus || (focus != dialog && !win::IsChild(dialog, focus)))
                    win::SetFocus(dialog);
                t.activeDialog = dialog;
            }
            if (rec && rec->combinedWindow) {
                if (win::GetActiveWindow() != rec->combinedWindow)
                    FocusWindowActivate(rec->combinedWindow);
            } else {
                FocusWindowActivate(dialog);
            }
            return win::FALSE;
        }
        case win::WM_HELP: {
            if (DialogIsModalCopy(dialog)) return win::TRUE;
            DialogRecord* rec = dialogRecordOf(dialog);
            if (!rec) return win::TRUE;
            win::HWND focus = win::GetFocus();
            if (!focus || win::GetDlgCtrlID(focus) != win::IDHELP)
                rec->previousField() = rec->changedField();
            EventPost(PushButton, 0, win::IDHELP, 0, dialog);
            return win::TRUE;
        }
        case win::WM_NOTIFY:
            return onNotify(dialog, lp);
        case win::WM_NCRBUTTONDOWN:
            captionMenu(dialog, wp, lp);
            return win::FALSE;
        case win::WM_INITDIALOG:
            return onInitDialog(dialog, lp);
        case win::WM_COMMAND:
            return onCommand(dialog, wp, lp);
        case win::WM_HSCROLL:
        case win::WM_VSCROLL:
            onScroll(dialog, msg, wp, lp);
            return win::FALSE;
        case win::WM_CTLCOLOREDIT:
        case win::WM_CTLCOLORLISTBOX:
        case win::WM_CTLCOLORBTN:
        case win::WM_CTLCOLORSTATIC:
            return DialogControlColour(dialog, msg, reinterpret_cast<win::HDC>(wp),
                                       reinterpret_cast<win::HWND>(lp));
        default:
            break;
    }
    if (msg >= win::WM_MOUSEMOVE && msg <= win::WM_MBUTTONDBLCLK) dialogMouse(dialog, msg, wp, lp);
    return win::FALSE;
}

}  // namespace tk
