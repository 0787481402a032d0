#include "toolkit/dialogs/modal_state.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_hooks.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/field_values.h"

namespace tk {
namespace {

win::DWORD styleOf(win::HWND h) {
    return static_cast<win::DWORD>(win::GetWindowLongPtrA(h, win::GWL_STYLE));
}

std::vector<win::HWND> childrenOf(win::HWND h) {
    std::vector<win::HWND> out;
    for (win::HWND c = win::GetWindow(h, win::GW_CHILD); c; c = win::GetWindow(c, win::GW_HWNDNEXT))
        out.push_back(c);
    return out;
}

win::RECT clientRectOf(win::HWND dialog, win::HWND c) {
    win::RECT r{};
    win::GetWindowRect(c, &r);
    win::MapWindowPoints(nullptr, dialog, reinterpret_cast<win::POINT*>(&r), 2);
    return r;
}

bool isToolkitWindowClass(win::HWND h) {
    if (!h) return true;
    char name[32] = {};
    win::GetClassNameA(h, name, sizeof name);
    const std::string_view n(name);
    return n == "VERAZIDERAD" || n == "DODAVAZED" || n == "VIRADERIZA";
}

void copyFieldRecord(FieldRecord& to, const FieldRecord& from) {
    to.value = from.value;
    to.minimum = from.minimum;
    to.maximum = from.maximum;
    to.smallStep = from.smallStep;
    to.largeStep = from.largeStep;
    to.spinBase = from.spinBase;
    to.valueSet = from.valueSet;
    to.textColour = from.textColour;
    to.backgroundColour = from.backgroundColour;
    to.leftByTab = from.leftByTab;
    to.maximumLength = from.maximumLength;
    to.formatText = from.formatText;
    to.stretchRight = from.stretchRight;
    to.stretchBottom = from.stretchBottom;
    to.stretchFlags = from.stretchFlags;
    to.flags = from.flags;
}

std::string itemText(win::HWND h, win::UINT lenMsg, win::UINT textMsg, int i) {
    const auto n = win::SendMessageA(h, lenMsg, static_cast<win::WPARAM>(i), 0);
    std::string s(static_cast<std::size_t>(std::max<win::LRESULT>(n, 0)) + 1, '\0');
    win::SendMessageA(h, textMsg, static_cast<win::WPARAM>(i),
                      reinterpret_cast<win::LPARAM>(s.data()));
    s.resize(std::strlen(s.c_str()));
    return s;
}

void copyList(win::HWND to, win::HWND from, const FieldRecord* fromRecord) {
    win::SendMessageA(to, win::LB_RESETCONTENT, 0, 0);
    if (fromRecord && !fromRecord->tabStops.empty()) {
        std::vector<int> stops = fromRecord->tabStops;
        win::SendMessageA(to, win::LB_SETTABSTOPS, stops.size(),
                          reinterpret_cast<win::LPARAM>(stops.data()));
    }
    const int n = static_cast<int>(win::SendMessageA(from, win::LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::string s = itemText(from, win::LB_GETTEXTLEN, win::LB_GETTEXT, i);
        win::SendMessageA(to, win::LB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>(s.c_str()));
    }
    if (styleOf(from) & (win::LBS_MULTIPLESEL | win::LBS_EXTENDEDSEL)) {
        for (int i = 0; i < n; ++i)
            win::SendMessageA(
                to, win::LB_SETSEL,
                win::SendMessageA(from, win::LB_GETSEL, static_cast<win::WPARAM>(i), 0) > 0, i);
    } else {
        win::SendMessageA(
            to, win::LB_SETCURSEL,
            static_cast<win::WPARAM>(win::SendMessageA(from, win::LB_GETCURSEL, 0, 0)), 0);
    }
}

void copyCombo(win::HWND to, win::HWND from, const FieldRecord* fromRecord) {
    win::SendMessageA(to, win::CB_RESETCONTENT, 0, 0);
    const int n = static_cast<int>(win::SendMessageA(from, win::CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        std::string s = itemText(from, win::CB_GETLBTEXTLEN, win::CB_GETLBTEXT, i);
        win::SendMessageA(to, win::CB_ADDSTRING, 0, reinterpret_cast<win::LPARAM>(s.c_str()));
    }
    win::SendMessageA(to, win::CB_SETCURSEL,
                      static_cast<win::WPARAM>(win::SendMessageA(from, win::CB_GETCURSEL, 0, 0)),
                      0);
    if (fromRecord && fromRecord->maximumLength > 0)
        win::SendMessageA(to, win::CB_LIMITTEXT,
                          static_cast<win::WPARAM>(fromRecord->maximumLength), 0);
}

void copyTab(win::HWND to, win::HWND from) {
    win::SendMessageA(to, win::TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < tabItemCount(from); ++i) {
        std::string text(1026, '\0');
        struct {
            win::TCITEMHEADERA head;
            TabItemExtra extra;
        } item;
        item.head.mask = win::TCIF_TEXT | win::TCIF_PARAM;
        item.head.pszText = text.data();
        item.head.cchTextMax = 1025;
        win::SendMessageA(from, win::TCM_GETITEMA, static_cast<win::WPARAM>(i),
                          reinterpret_cast<win::LPARAM>(&item));
        item.head.pszText = text.data();
        win::SendMessageA(to, win::TCM_INSERTITEMA, static_cast<win::WPARAM>(i),
                          reinterpret_cast<win::LPARAM>(&item));
    }
    win::SendMessageA(to, win::TCM_SETCURSEL,
                      static_cast<win::WPARAM>(win::SendMessageA(from, win::TCM_GETCURSEL, 0, 0)),
                      0);
}

void copyTrackbar(win::HWND to, win::HWND from) {
    const auto get = [from](win::UINT m) { return win::SendMessageA(from, m, 0, 0); };
    const auto lo = get(win::TBM_GETRANGEMIN), hi = get(win::TBM_GETRANGEMAX);
    win::SendMessageA(to, win::TBM_SETRANGEMIN, win::FALSE, lo);
    win::SendMessageA(to, win::TBM_SETRANGEMAX, win::FALSE, hi);
    if (styleOf(from) & win::TBS_ENABLESELRANGE) {
        win::SendMessageA(to, win::TBM_SETSELSTART, win::FALSE, get(win::TBM_GETSELSTART));
        win::SendMessageA(to, win::TBM_SETSELEND, win::FALSE, get(win::TBM_GETSELEND));
    }
    win::SendMessageA(to, win::TBM_SETPAGESIZE, 0, get(win::TBM_GETPAGESIZE));
    win::SendMessageA(to, win::TBM_SETLINESIZE, 0, get(win::TBM_GETLINESIZE));
    const auto ticks = get(win::TBM_GETNUMTICS);
    if (ticks > 1)
        win::SendMessageA(to, win::TBM_SETTICFREQ,
                          static_cast<win::WPARAM>((hi - lo) / (ticks - 1)), 0);
    win::SendMessageA(to, win::TBM_SETPOS, win::TRUE, get(win::TBM_GETPOS));
}

void copyByClass(win::HWND to, win::HWND from, FieldRecord* fromRecord) {
    const win::DWORD style = styleOf(from);
    switch (controlClassOf(from)) {
        case ControlClass::Button:
            win::SendMessageA(
                to, win::BM_SETCHECK,
                static_cast<win::WPARAM>(win::SendMessageA(from, win::BM_GETCHECK, 0, 0)), 0);
            if (style & (win::BS_BITMAP | win::BS_ICON)) {
                const win::UINT type =
                    (style & win::BS_BITMAP) ? win::IMAGE_BITMAP : win::IMAGE_ICON;
                win::SendMessageA(to, win::BM_SETIMAGE, type,
                                  win::SendMessageA(from, win::BM_GETIMAGE, type, 0));
            }
            break;
        case ControlClass::Static: {
            const int kind = FieldImageKind(from);
            if (kind != 0) {
                const win::UINT type = kind == 1   ? win::IMAGE_BITMAP
                                       : kind == 2 ? win::IMAGE_ICON
                                                   : win::IMAGE_ENHMETAFILE;
                win::SendMessageA(to, win::STM_SETIMAGE, type,
                                  win::SendMessageA(from, win::STM_GETIMAGE, type, 0));
            }
            break;
        }
        case ControlClass::ComboBox:
            copyCombo(to, from, fromRecord);
            break;
        case ControlClass::ListBox:
            copyList(to, from, fromRecord);
            break;
        case ControlClass::Tab:
            copyTab(to, from);
            break;
        case ControlClass::Progress: {
            win::PBRANGE range;
            win::SendMessageA(from, win::PBM_GETRANGE, win::TRUE,
                              reinterpret_cast<win::LPARAM>(&range));
            win::SendMessageA(to, win::PBM_SETRANGE32, static_cast<win::WPARAM>(range.iLow),
                              range.iHigh);
            win::SendMessageA(
                to, win::PBM_SETPOS,
                static_cast<win::WPARAM>(win::SendMessageA(from, win::PBM_GETPOS, 0, 0)), 0);
            break;
        }
        case ControlClass::Grid:
            if (dialogPartHooks().gridCopy) dialogPartHooks().gridCopy(to, from);
            break;
        case ControlClass::Trackbar:
            copyTrackbar(to, from);
            break;
        case ControlClass::Edit:
        case ControlClass::NumericEdit:
            if (fromRecord && fromRecord->maximumLength > 0)
                win::SendMessageA(to, win::EM_LIMITTEXT,
                                  static_cast<win::WPARAM>(fromRecord->maximumLength), 0);
            if (fromRecord && !fromRecord->tabStops.empty() && (style & win::ES_MULTILINE)) {
                std::vector<int> stops = fromRecord->tabStops;
                win::SendMessageA(to, win::EM_SETTABSTOPS, stops.size(),
                                  reinterpret_cast<win::LPARAM>(stops.data()));
            }
            win::SendMessageA(to, win::EM_SETREADONLY, (style & win::ES_READONLY) != 0, 0);
            break;
        case ControlClass::TreeView:
            win::SendMessageA(to, win::TVM_DELETEITEM, 0,
                              reinterpret_cast<win::LPARAM>(win::TVI_ROOT));
            TreeCopyItems(to, nullptr, from,
                          reinterpret_cast<void*>(
                              win::SendMessageA(from, win::TVM_GETNEXTITEM, win::TVGN_ROOT, 0)));
            break;
        default:
            break;
    }
}

void copyChild(win::HWND toDialog, win::HWND to, win::HWND fromDialog, win::HWND from) {
    DialogRecord* fromRec = dialogRecordOf(fromDialog);
    DialogRecord* toRec = dialogRecordOf(toDialog);
    if (fromRec && toRec && fromRec->stretchField == from) toRec->stretchField = to;
    win::SetWindowLongPtrA(to, win::GWL_STYLE, static_cast<win::LONG_PTR>(styleOf(from)));
    const win::RECT r = clientRectOf(fromDialog, from);
    win::SetWindowPos(to, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                      win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    const ControlClass cls = controlClassOf(from);
    if (cls == ControlClass::UpDown || cls == ControlClass::ScrollBar) return;
    FieldRecord* fr = fieldRecordOf(from);
    FieldRecord* tr = fieldRecordOf(to);
    if (fr && tr) copyFieldRecord(*tr, *fr);
    copyByClass(to, from, fr);
    if (cls != ControlClass::Tab) win::SetWindowTextA(to, windowText(from).c_str());
    if (isEditLike(from))
        win::SendMessageA(
            to, win::EM_SETMODIFY,
            static_cast<win::WPARAM>(win::SendMessageA(from, win::EM_GETMODIFY, 0, 0)), 0);
    const bool enabled = win::IsWindowEnabled(from) != 0;
    win::EnableWindow(to, !enabled);
    win::EnableWindow(to, enabled);
    win::SendMessageA(to, win::WM_SETFONT,
                      static_cast<win::WPARAM>(win::SendMessageA(from, win::WM_GETFONT, 0, 0)),
                      win::FALSE);
    if (fr && tr && fr->buddy && tr->buddy) {
        const auto range = win::SendMessageA(fr->buddy, win::UDM_GETRANGE, 0, 0);
        win::SendMessageA(tr->buddy, win::UDM_SETRANGE, 0, range);
        win::UDACCEL accel[2];
        const auto n = win::SendMessageA(fr->buddy, win::UDM_GETACCEL, 2,
                                         reinterpret_cast<win::LPARAM>(accel));
        if (n > 0)
            win::SendMessageA(tr->buddy, win::UDM_SETACCEL,
                              static_cast<win::WPARAM>(std::min<win::LRESULT>(n, 2)),
                              reinterpret_cast<win::LPARAM>(accel));
    }
}

bool frozenPaint(win::HWND client, win::HBITMAP& bitmap) {
    if (bitmap) return false;
    win::RECT r{};
    win::GetClientRect(client, &r);
    win::HDC dc = win::GetDC(client);
    win::HDC mem = win::CreateCompatibleDC(dc);
    bitmap = win::CreateCompatibleBitmap(dc, std::max<int>(r.right, 1), std::max<int>(r.bottom, 1));
    win::HGDIOBJ old = win::SelectObject(mem, bitmap);
    win::BitBlt(mem, 0, 0, r.right, r.bottom, dc, 0, 0, win::SRCCOPY);
    win::SelectObject(mem, old);
    win::DeleteDC(mem);
    win::ReleaseDC(client, dc);
    return true;
}

void restoreFrozen(win::HWND client, win::HBITMAP& bitmap) {
    win::RECT r{};
    win::GetClientRect(client, &r);
    win::HDC dc = win::GetDC(client);
    win::HDC mem = win::CreateCompatibleDC(dc);
    win::HGDIOBJ old = win::SelectObject(mem, bitmap);
    win::BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, win::SRCCOPY);
    win::SelectObject(mem, old);
    win::DeleteDC(mem);
    win::ReleaseDC(client, dc);
    win::DeleteObject(bitmap);
    bitmap = nullptr;
    win::ValidateRect(client, nullptr);
}

}  // namespace

void DialogCopyState(win::HWND to, win::HWND from) {
    DialogRecord* toRec = dialogRecordOf(to);
    DialogRecord* fromRec = dialogRecordOf(from);
    if (toRec && fromRec) *toRec = *fromRec;
    win::SetWindowTextA(to, windowText(from).c_str());
    win::SendMessageA(to, win::WM_SETICON, win::ICON_BIG,
                      win::SendMessageA(from, win::WM_GETICON, win::ICON_BIG, 0));
    win::RECT r{};
    win::GetWindowRect(from, &r);
    if (isChildStyle(from))
        win::MapWindowPoints(nullptr, win::GetParent(from), reinterpret_cast<win::POINT*>(&r), 2);
    win::SetWindowPos(to, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                      win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    if (to == dialogTable().slots[0] && toRec && toRec->stretchField) DialogAddSizeGrip(to);
    std::vector<win::HWND> a = childrenOf(to), b = childrenOf(from);
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        copyChild(to, a[i], from, b[i]);
}

void ModalDisableOthers(win::HWND except, bool includeWindows) {
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s) {
        win::HWND d = t.slots[s];
        if (d == except) continue;
        DialogRecord* rec = dialogRecordOf(d);
        if (!rec || rec->shown() != 1) continue;
        if (except && rec->combinedWindow == except) continue;
        win::HWND parent = isChildStyle(d) ? win::GetParent(d) : win::GetWindow(d, win::GW_OWNER);
        if (isToolkitWindowClass(parent)) win::EnableWindow(d, win::FALSE);
    }
    if (!includeWindows) return;
    for (const WindowSlot& slot : windowSystem().slots)
        if (slot.frame && slot.frame != except && win::IsWindowVisible(slot.frame))
            win::EnableWindow(slot.frame, win::FALSE);
}

void ModalHandBack(win::HWND wasActive, win::HWND hadFocus) {
    win::HWND capture = win::GetCapture();
    if (capture && (!win::IsWindow(capture) || !win::IsWindowVisible(capture)))
        win::ReleaseCapture();
    if (!win::GetActiveWindow() && wasActive && win::IsWindow(wasActive) &&
        win::IsWindowEnabled(wasActive))
        win::SetActiveWindow(wasActive);
    if (!win::GetFocus() && hadFocus && win::IsWindow(hadFocus) && win::IsWindowVisible(hadFocus))
        win::SetFocus(hadFocus);
}

void ModalEnableOthers(win::HWND except, bool includeWindows) {
    const DialogTable& t = dialogTable();
    const bool onlyExcept = t.semiModelessCount > 0;
    auto enable = [&](win::HWND h) {
        if (!onlyExcept || h == except) win::EnableWindow(h, win::TRUE);
    };
    for (int s = 1; s <= t.count; ++s) {
        win::HWND d = t.slots[s];
        DialogRecord* rec = dialogRecordOf(d);
        if (!rec || rec->shown() != 1) continue;
        win::HWND parent = isChildStyle(d) ? win::GetParent(d) : win::GetWindow(d, win::GW_OWNER);
        if (isToolkitWindowClass(parent)) enable(d);
    }
    if (!includeWindows) return;
    for (const WindowSlot& slot : windowSystem().slots)
        if (slot.frame && win::IsWindowVisible(slot.frame)) enable(slot.frame);
}

bool DialogHasGraphics(win::HWND dialog) {
    DialogRecord* rec = dialogRecordOf(dialog);
    if (rec && rec->isDrawingTarget()) return true;
    for (win::HWND c : childrenOf(dialog)) {
        FieldRecord* f = fieldRecordOf(c);
        if (f && f->isDrawingTarget) return true;
        if (isTabControl(c)) {
            const int sel = static_cast<int>(win::SendMessageA(c, win::TCM_GETCURSEL, 0, 0));
            win::HWND page = dialogWindowOf(tabItemExtra(c, sel).pageId);
            if (page && page != dialog && DialogHasGraphics(page)) return true;
        }
    }
    return false;
}

void FreezeWindowContents(int mode, int exceptWindowNumber, int& result) {
    DialogTable& t = dialogTable();
    WindowSystem& w = windowSystem();
    result = 0;
    if (mode == 1) {
        for (int s = 1; s <= t.count; ++s) {
            DialogRecord* rec = dialogRecordOf(t.slots[s]);
            if (!rec || rec->shown() != 1) continue;
            for (win::HWND c : childrenOf(t.slots[s]))
                win::UpdateWindow(c);
            win::UpdateWindow(t.slots[s]);
        }
        t.freezeActive = true;
        for (int n = 0; n < kWindowSlots; ++n) {
            WindowSlot& slot = w.slots[n];
            if (!slot.client || n == exceptWindowNumber || !slot.frame ||
                !win::IsWindowVisible(slot.frame) || isChildStyle(slot.frame))
                continue;
            const FrameUserRecord* fr = frameRecord(slot.frame);
            if (fr && fr->kind() != KindSplit) continue;
            frozenPaint(slot.client, slot.frozenBitmap);
            ++slot.frozenUseCount;
        }
        for (int s = 1; s <= t.count; ++s) {
            DialogRecord* rec = dialogRecordOf(t.slots[s]);
            if (!rec || rec->shown() != 1 || !DialogHasGraphics(t.slots[s])) continue;
            frozenPaint(t.slots[s], t.frozenBitmap[s]);
            ++t.frozenCount[s];
        }
        w.ContentsFrozen = true;
        return;
    }
    t.freezeActive = false;
    for (int n = 0; n < kWindowSlots; ++n) {
        WindowSlot& slot = w.slots[n];
        if (!slot.frozenBitmap || n == exceptWindowNumber) continue;
        if (--slot.frozenUseCount > 0) {
            t.freezeActive = true;
            continue;
        }
        slot.frozenUseCount = 0;
        const win::LONG_PTR style = win::GetWindowLongPtrA(slot.client, win::GWL_STYLE);
        win::SetWindowLongPtrA(slot.client, win::GWL_STYLE,
                               style & ~static_cast<win::LONG_PTR>(win::WS_CLIPCHILDREN));
        restoreFrozen(slot.client, slot.frozenBitmap);
        win::SetWindowLongPtrA(slot.client, win::GWL_STYLE, style);
        for (const WindowSlot& inner : w.slots)
            for (win::HWND bar : inner.toolbars)
                if (bar && win::IsChild(slot.client, bar))
                    win::RedrawWindow(bar, nullptr, nullptr,
                                      win::RDW_INVALIDATE | win::RDW_UPDATENOW);
    }
    for (int s = 1; s <= t.count; ++s) {
        if (!t.frozenBitmap[s]) {
            if (t.slots[s]) win::UpdateWindow(t.slots[s]);
            continue;
        }
        if (--t.frozenCount[s] > 0) {
            t.freezeActive = true;
            continue;
        }
        t.frozenCount[s] = 0;
        restoreFrozen(t.slots[s], t.frozenBitmap[s]);
    }
    w.ContentsFrozen = t.freezeActive;
}

void ModalInstanceOpen(win::HWND instance) {
    DialogTable& t = dialogTable();
    t.slots[0] = instance;
    auto* rec = new DialogRecord;
    win::SetWindowLongPtrA(instance, win::GWL_USERDATA, reinterpret_cast<win::LONG_PTR>(rec));
    if (win::HWND loaded = currentDialog()) DialogCopyState(instance, loaded);
    TabPagesAttach(instance);
    DialogCentrePosition(instance, false);
    win::SetWindowPos(instance, nullptr, t.pendingX, t.pendingY, 0, 0,
                      win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

void ModalInstanceClose(win::HWND instance, int button) {
    DialogTable& t = dialogTable();
    DialogRecord* rec = dialogRecordOf(instance);
    if (!rec) return;
    t.lastModalDialog = rec->identifier();
    rec->changedField() = button;
    win::HWND focus = win::GetFocus();
    if (focus && win::IsChild(instance, focus) && win::GetDlgCtrlID(focus) != button)
        rec->previousField() = win::GetDlgCtrlID(focus);
    DialogsDetachChildren(instance);
    t.creating = true;
    if (win::HWND loaded = currentDialog()) DialogCopyState(loaded, instance);
    t.activeDialog = nullptr;
    win::SetWindowLongPtrA(instance, win::GWL_USERDATA, 0);
    delete rec;
    win::EndDialog(instance, 0);
    t.creating = false;
}

}  // namespace tk
