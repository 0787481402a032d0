// The field procedures the toolkit puts on the controls of its dialogs.

#include <cstring>
#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/user_api.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/field_values.h"

namespace tk {
namespace {

win::LRESULT callClass(win::WNDPROC proc, win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    return proc ? win::CallWindowProcA(proc, h, m, w, l) : win::DefWindowProcA(h, m, w, l);
}

bool drawingField(win::HWND h) {
    FieldRecord* r = fieldRecordOf(h);
    return r && r->isDrawingTarget && !DialogIsModalCopy(h);
}

void postFieldEvent(win::HWND control, int type, win::WPARAM w, win::LPARAM l) {
    win::HWND dialog = win::GetParent(control);
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec) return;
    rec->graphicsField() = win::GetDlgCtrlID(control);
    EventPost(type, 0, static_cast<std::intptr_t>(w), l, dialog);
}

win::DWORD styleOf(win::HWND h) {
    return static_cast<win::DWORD>(win::GetWindowLongPtrA(h, win::GWL_STYLE));
}

void commandToParent(win::HWND control, int code) {
    const int id = win::GetDlgCtrlID(control);
    win::SendMessageA(win::GetParent(control), win::WM_COMMAND, win::MAKEWPARAM(id, code),
                      reinterpret_cast<win::LPARAM>(control));
}

void trackbarReportChange(win::HWND tb) {
    win::HWND dialog = win::GetParent(tb);
    if (DialogIsModalCopy(dialog)) return;
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec) return;
    rec->previousField() = rec->changedField();
    rec->changedField() = win::GetDlgCtrlID(tb);
    DialogFocusRemember(dialog, tb);
    EventPost(FieldChanged, 0, -1, -1, dialog);
}

// The selected item's page shares the tab field's area: whatever of it the
// tab field repaints, the page repaints too.
void invalidateSelectedPage(win::HWND tab, const win::RECT& update) {
    const int selected = static_cast<int>(win::SendMessageA(tab, win::TCM_GETCURSEL, 0, 0));
    if (selected < 0) return;
    win::HWND page = dialogWindowOf(tabItemExtra(tab, selected).pageId);
    if (!page) return;
    win::RECT mapped = update;
    win::MapWindowPoints(tab, page, reinterpret_cast<win::POINT*>(&mapped), 2);
    win::InvalidateRect(page, &mapped, win::FALSE);
}

// Disabled items look engraved: their text in the shadow colour over the
// same text in the highlight colour one pixel right and down, inside the
// item shrunk by two pixels. The opaque first pass covers what the tab
// control drew there.
void embossDisabledItems(win::HWND tab) {
    const int count = static_cast<int>(win::SendMessageA(tab, win::TCM_GETITEMCOUNT, 0, 0));
    win::HDC dc = nullptr;
    win::HGDIOBJ oldFont = nullptr;
    for (int i = 0; i < count; ++i) {
        if (tabItemExtra(tab, i).disabled == 0) continue;
        if (!dc) {
            dc = win::GetDC(tab);
            oldFont = win::SelectObject(
                dc, reinterpret_cast<win::HGDIOBJ>(win::SendMessageA(tab, win::WM_GETFONT, 0, 0)));
            win::SetTextAlign(dc, win::TA_CENTER | win::TA_TOP);
            win::SetBkColor(dc, win::GetSysColor(win::COLOR_BTNFACE));
        }
        win::RECT r{};
        win::SendMessageA(tab, win::TCM_GETITEMRECT, static_cast<win::WPARAM>(i),
                          reinterpret_cast<win::LPARAM>(&r));
        r = {r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        char text[1025] = {};
        win::TCITEMA item;
        item.mask = win::TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 1024;
        win::SendMessageA(tab, win::TCM_GETITEMA, static_cast<win::WPARAM>(i),
                          reinterpret_cast<win::LPARAM>(&item));
        const auto length = static_cast<win::UINT>(std::strlen(text));
        const int x = (r.left + r.right) / 2, y = r.top + 3;
        win::SetBkMode(dc, win::OPAQUE);
        win::SetTextColor(dc, win::GetSysColor(win::COLOR_BTNHIGHLIGHT));
        win::ExtTextOutA(dc, x + 1, y + 1, win::ETO_OPAQUE | win::ETO_CLIPPED, &r, text, length,
                         nullptr);
        win::SetBkMode(dc, win::TRANSPARENT);
        win::SetTextColor(dc, win::GetSysColor(win::COLOR_BTNSHADOW));
        win::ExtTextOutA(dc, x, y, win::ETO_CLIPPED, &r, text, length, nullptr);
    }
    if (!dc) return;
    win::SelectObject(dc, oldFont);
    win::ReleaseDC(tab, dc);
    if (win::HWND child = win::GetWindow(tab, win::GW_CHILD))
        win::InvalidateRect(child, nullptr, win::TRUE);
}

}  // namespace

win::LRESULT ButtonSubclassProcedure(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    const ControlClassAtoms& a = controlClassAtoms();
    FieldValidationState& v = fieldValidation();
    switch (m) {
        case win::WM_SETFOCUS:
            commandToParent(h, win::BN_SETFOCUS);
            break;
        case win::BM_SETSTATE: {
            const bool pushed =
                (win::SendMessageA(h, win::BM_GETSTATE, 0, 0) & win::BST_PUSHED) != 0;
            if ((w != 0) != pushed && drawingField(h)) postFieldEvent(h, 107, w, l);
            break;
        }
        case win::WM_KILLFOCUS:
            if (fieldProcedureState().buttonRefocusEnabled == 1 && v.invalidField &&
                dialogPartHooks().numericFieldRefocus)
                dialogPartHooks().numericFieldRefocus(h, v.invalidField, 1);
            break;
        case win::WM_LBUTTONUP: {
            if (!v.invalidField) break;
            const int x = win::LOWORD(static_cast<win::DWORD>(l)),
                      y = win::HIWORD(static_cast<win::DWORD>(l));
            win::RECT r{};
            win::GetClientRect(h, &r);
            if ((x < r.left || x > r.right || y < r.top || y > r.bottom) &&
                dialogPartHooks().numericFieldRefocus) {
                fieldProcedureState().buttonRefocusEnabled = 0;
                dialogPartHooks().numericFieldRefocus(h, v.invalidField, 0);
                fieldProcedureState().buttonRefocusEnabled = 1;
            }
            break;
        }
        default:
            break;
    }
    return callClass(a.buttonProcedure, h, m, w, l);
}

win::LRESULT StaticSubclassProcedure(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    const ControlClassAtoms& a = controlClassAtoms();
    if (m == win::WM_NCHITTEST) {
        win::LRESULT r = callClass(a.staticProcedure, h, m, w, l);
        if (r == win::HTTRANSPARENT && (styleOf(h) & win::SS_NOTIFY)) return win::HTCLIENT;
        return r;
    }
    if (m >= win::WM_MOUSEMOVE && m <= win::WM_MBUTTONDBLCLK) {
        if (!drawingField(h)) return 0;
        DialogRecord* rec = dialogRecordOf(win::GetParent(h));
        int type = 104;
        switch (m) {
            case win::WM_MOUSEMOVE:
                if (rec) rec->mouseButton() = 0;
                type = 106;
                break;
            case win::WM_LBUTTONUP:
            case win::WM_RBUTTONUP:
            case win::WM_MBUTTONUP:
                win::ReleaseCapture();
                type = 105;
                break;
            case win::WM_LBUTTONDBLCLK:
            case win::WM_RBUTTONDBLCLK:
            case win::WM_MBUTTONDBLCLK:
                win::SetCapture(h);
                type = doubleClickEventsEnabled() ? 116 : 104;
                break;
            default:
                win::SetCapture(h);
                break;
        }
        if (rec && m != win::WM_MOUSEMOVE) rec->mouseButton() = mouseButtonOf(m);
        postFieldEvent(h, type, w, l);
        return 0;
    }
    if (m == win::WM_SETCURSOR) {
        FieldRecord* r = fieldRecordOf(h);
        win::HCURSOR cursor = r && r->cursor ? r->cursor : win::GetCursor();
        if (r && r->isDrawingTarget && cursor &&
            win::LOWORD(static_cast<win::DWORD>(l)) == win::HTCLIENT) {
            win::SetCursor(cursor);
            return 0;
        }
    }
    if (m == win::WM_ENABLE) return 0;
    return callClass(a.staticProcedure, h, m, w, l);
}

win::LRESULT EditSubclassProcedure(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    const ControlClassAtoms& a = controlClassAtoms();
    if (m == win::WM_CHAR && w == 1) {
        win::SendMessageA(h, win::EM_SETSEL, 0, -1);
        win::SendMessageA(h, win::EM_SCROLLCARET, 0, 0);
        return 0;
    }
    if (m == win::WM_KEYDOWN && w == win::VK_RETURN && !(styleOf(h) & win::ES_WANTRETURN) &&
        win::GetKeyState(win::VK_CONTROL) >= 0 && win::GetKeyState(win::VK_MENU) >= 0 &&
        dialogPartHooks().pressDefaultButton) {
        dialogPartHooks().pressDefaultButton(h);
        return 0;
    }
    return callClass(a.editProcedure, h, m, w, l);
}

win::LRESULT TrackbarSubclassProcedure(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    const ControlClassAtoms& a = controlClassAtoms();
    FieldProcedureState& s = fieldProcedureState();
    const bool selRange = (styleOf(h) & win::TBS_ENABLESELRANGE) != 0;
    if (m == win::WM_SETFOCUS) commandToParent(h, 0x100);
    if (m == win::WM_KILLFOCUS) s.trackbarAnchor = 0;
    if (m == win::WM_KEYDOWN && selRange && !(l & (1L << 30))) {
        if (w == win::VK_SHIFT) {
            s.trackbarAnchor = static_cast<int>(win::SendMessageA(h, win::TBM_GETPOS, 0, 0));
        } else if (w == win::VK_DELETE) {
            win::SendMessageA(h, win::TBM_CLEARSEL, win::TRUE, 0);
            s.trackbarAnchor = 0;
            trackbarReportChange(h);
        } else if (w == 'A' && win::GetKeyState(win::VK_CONTROL) < 0) {
            win::SendMessageA(h, win::TBM_SETSELSTART, win::FALSE,
                              win::SendMessageA(h, win::TBM_GETRANGEMIN, 0, 0));
            win::SendMessageA(h, win::TBM_SETSELEND, win::TRUE,
                              win::SendMessageA(h, win::TBM_GETRANGEMAX, 0, 0));
            trackbarReportChange(h);
        }
    }
    if (m == win::WM_KEYUP && w == win::VK_SHIFT && selRange) {
        if (win::SendMessageA(h, win::TBM_GETSELSTART, 0, 0) ==
            win::SendMessageA(h, win::TBM_GETSELEND, 0, 0))
            win::SendMessageA(h, win::TBM_CLEARSEL, win::TRUE, 0);
        s.trackbarAnchor = 0;
    }
    return callClass(a.trackbarProcedure, h, m, w, l);
}

win::LRESULT TabSubclassProcedure(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    const ControlClassAtoms& a = controlClassAtoms();
    auto disabled = [h](int i) { return tabItemExtra(h, i).disabled != 0; };
    auto itemCount = [&] {
        return static_cast<int>(callClass(a.tabProcedure, h, win::TCM_GETITEMCOUNT, 0, 0));
    };
    if (m == win::WM_PAINT) {
        win::RECT update{};
        if (win::GetUpdateRect(h, &update, win::FALSE)) invalidateSelectedPage(h, update);
        const win::LRESULT r = callClass(a.tabProcedure, h, m, w, l);
        embossDisabledItems(h);
        return r;
    }
    if (m == win::WM_MOVE ||
        (m == win::WM_SIZE && (w == win::SIZE_RESTORED || w == win::SIZE_MAXIMIZED))) {
        win::LRESULT r = callClass(a.tabProcedure, h, m, w, l);
        const win::RECT area = tabDisplayRect(h);
        for (int i = 0, count = itemCount(); i < count; ++i)
            if (win::HWND page = dialogWindowOf(tabItemExtra(h, i).pageId);
                page && win::GetParent(page) == win::GetParent(h))
                win::SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left,
                                  area.bottom - area.top, win::SWP_NOZORDER | win::SWP_NOACTIVATE);
        return r;
    }
    if (m == win::WM_KEYDOWN && (w == win::VK_LEFT || w == win::VK_RIGHT)) {
        const int focus = static_cast<int>(win::SendMessageA(h, win::TCM_GETCURFOCUS, 0, 0));
        const int step = w == win::VK_LEFT ? -1 : 1;
        const int count = itemCount();
        for (int i = focus + step; i >= 0 && i < count; i += step)
            if (!disabled(i)) {
                win::SendMessageA(h, win::TCM_SETCURFOCUS, static_cast<win::WPARAM>(i), 0);
                break;
            }
        return 0;
    }
    if (m == win::WM_KEYDOWN && (w == win::VK_UP || w == win::VK_DOWN)) {
        for (int i = 0, count = itemCount(); i < count; ++i)
            if (disabled(i)) return 0;
    }
    if (m == win::WM_LBUTTONDOWN) {
        win::TCHITTESTINFO hit;
        hit.pt.x = static_cast<short>(win::LOWORD(static_cast<win::DWORD>(l)));
        hit.pt.y = static_cast<short>(win::HIWORD(static_cast<win::DWORD>(l)));
        const int i = static_cast<int>(
            win::SendMessageA(h, win::TCM_HITTEST, 0, reinterpret_cast<win::LPARAM>(&hit)));
        if (i >= 0 && disabled(i)) return 0;
    }
    return callClass(a.tabProcedure, h, m, w, l);
}

win::LRESULT TreeViewSubclassProcedure(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    const ControlClassAtoms& a = controlClassAtoms();
    if (m == win::WM_SETFOCUS && !dialogTable().creating) {
        win::HWND dialog = win::GetParent(h);
        const int id = win::GetDlgCtrlID(h);
        if (DialogRecord* rec = bookkeepingRecord(dialog)) {
            rec->previousField() = rec->changedField();
            rec->changedField() = id;
            if (!DialogIsModalCopy(dialog) && rec->previousField() != id)
                EventPost(FieldChanged, 0, -1, 0, dialog);
        }
    }
    return callClass(a.treeViewProcedure, h, m, w, l);
}

win::LRESULT FieldSubclassProcedure(win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
    FieldRecord* r = fieldRecordOf(h);
    win::WNDPROC previous = r ? r->previousProcedure : nullptr;
    const win::LRESULT result = callClass(previous, h, m, w, l);
    if (!drawingField(h)) return result;
    if (m == win::WM_PAINT) {
        postFieldEvent(h, 107, w, l);
    } else if (m == win::WM_SIZE) {
        if (DialogRecord* rec = dialogRecordOf(win::GetParent(h)))
            rec->graphicsField() = win::GetDlgCtrlID(h);
        win::RedrawWindow(h, nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_UPDATENOW |
                              win::RDW_ERASENOW | win::RDW_NOCHILDREN);
        postFieldEvent(h, 108, w, l);
    }
    return result;
}

int mouseButtonOf(win::UINT message) {
    switch (message) {
        case win::WM_RBUTTONDOWN:
        case win::WM_RBUTTONUP:
        case win::WM_RBUTTONDBLCLK:
            return 3;
        case win::WM_MBUTTONDOWN:
        case win::WM_MBUTTONUP:
        case win::WM_MBUTTONDBLCLK:
            return 2;
        case win::WM_MOUSEMOVE:
            return 0;
        default:
            return 1;
    }
}

bool& doubleClickEventsEnabled() {
    static bool enabled = false;
    return enabled;
}

}  // namespace tk
