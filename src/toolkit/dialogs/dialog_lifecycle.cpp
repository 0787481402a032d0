#include "toolkit/dialogs/dialog_lifecycle.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_units.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_settings.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/modal_state.h"

namespace tk {
namespace {

win::LPCSTR resourceName(int id) {
    return win::MAKEINTRESOURCEA(static_cast<win::WORD>(id));
}

const void* dialogTemplate(int resourceId) {
    win::HRSRC found = win::FindResourceA(nullptr, resourceName(resourceId),
                                          win::MAKEINTRESOURCEA(win::RT_DIALOG_ID));
    if (!found) return nullptr;
    return win::LockResource(win::LoadResource(nullptr, found));
}

win::DWORD styleOf(win::HWND h) {
    return static_cast<win::DWORD>(win::GetWindowLongPtrA(h, win::GWL_STYLE));
}

win::HWND clientOfWindow(int n) {
    if (n < 0 || n >= kWindowSlots) return nullptr;
    return windowSystem().slots[n].client;
}

win::HWND frameOfWindow(int n) {
    if (n < 0 || n >= kWindowSlots) return nullptr;
    return windowSystem().slots[n].frame;
}

bool isLoadedDialog(win::HWND h) {
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s)
        if (t.slots[s] == h) return true;
    return false;
}

int slotOfWindow(win::HWND h) {
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s)
        if (t.slots[s] == h) return s;
    return -1;
}

// The initial field states, read back from the controls' styles.
void recordFieldStates(win::HWND dialog) {
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT)) {
        if (isUpDownPartner(c)) continue;
        if (FieldRecord* r = fieldRecordOf(c)) r->state = FieldStateQuery(c);
    }
}

// The tab field of another loaded dialog whose page this dialog is.
bool isTabPageOfOther(win::HWND dialog) {
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec || !isChildStyle(dialog)) return false;
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s) {
        if (t.slots[s] == dialog) continue;
        for (win::HWND c = win::GetWindow(t.slots[s], win::GW_CHILD); c;
             c = win::GetWindow(c, win::GW_HWNDNEXT)) {
            if (!isTabControl(c)) continue;
            for (int i = 0; i < tabItemCount(c); ++i)
                if (tabItemExtra(c, i).pageId == rec->identifier()) return true;
        }
    }
    return false;
}

void showModal(DialogRecord& rec) {
    DialogTable& t = dialogTable();
    win::HWND savedReturn = t.returnWindow;
    win::HWND savedActive = t.activeDialog;
    win::HWND wasActive = win::GetActiveWindow();
    win::HWND hadFocus = win::GetFocus();
    ModalDisableOthers(rec.returnWindow, true);
    t.creating = true;
    // The instance comes from the loaded dialog's own template, also for a
    // dialog loaded under another identifier (the state copy pairs the
    // controls of both in template order).
    const int templateId = rec.templateId() != 0 ? rec.templateId() : rec.identifier();
    win::DialogBoxParamA(nullptr, resourceName(templateId), rec.returnWindow, DialogProcedure, 0);
    t.slots[0] = nullptr;
    t.creating = false;
    ModalEnableOthers(t.semiModelessTop ? t.semiModelessTop : rec.returnWindow, true);
    t.returnWindow = savedReturn;
    t.activeDialog = savedActive;
    win::HWND back = rec.returnWindow;
    if (back && win::IsWindow(back) && isChildStyle(back)) {
        win::SetFocus(back);
        FocusWindowActivate(back);
        if (isLoadedDialog(back)) t.activeDialog = back;
    }
    ModalHandBack(wasActive, hadFocus);
}

void focusOnShow(win::HWND dialog, int focusField) {
    win::HWND target = focusField != 0 ? win::GetDlgItem(dialog, focusField) : nullptr;
    win::SetFocus(target ? target : dialog);
    if (target) FieldSelectAllText(target);
}

int showModeless(DialogRecord& rec, win::HWND dialog, int showType, int focusField, int caller,
                 bool childStyle, bool hostHidden, bool hostCombined) {
    DialogTable& t = dialogTable();
    if (showType == ShowSemiModeless) {
        ++t.semiModelessCount;
        t.semiModelessTop = dialog;
        ModalDisableOthers(nullptr, false);
        for (const WindowSlot& s : windowSystem().slots)
            if (s.frame) win::EnableWindow(s.frame, win::FALSE);
    }
    if (childStyle && caller == 0 && (hostHidden || hostCombined)) return hostHidden ? -2 : -3;
    TabPagesAttach(dialog);
    DialogCentrePosition(dialog, childStyle);
    win::SetWindowPos(
        dialog, nullptr, t.pendingX, t.pendingY, 0, 0,
        win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOREDRAW | win::SWP_NOACTIVATE);
    if (childStyle) {
        win::SetWindowPos(dialog, win::HWND_TOP, 0, 0, 0, 0,
                          win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_SHOWWINDOW);
        FocusWindowActivate(dialog);
        t.activeDialog = dialog;
    }
    win::ShowWindow(dialog, win::SW_RESTORE);
    if (caller != 2) focusOnShow(dialog, focusField);
    win::UpdateWindow(dialog);
    win::HWND focus = win::GetFocus();
    if (focus && win::IsChild(dialog, focus)) rec.previousField() = win::GetDlgCtrlID(focus);
    rec.shown() = 1;
    return 0;
}

void reshow(win::HWND dialog, bool childStyle) {
    win::ShowWindow(dialog, win::SW_RESTORE);
    win::SetWindowPos(dialog, win::HWND_TOP, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_SHOWWINDOW);
    win::UpdateWindow(dialog);
    if (childStyle) {
        win::SetFocus(dialog);
        win::SetActiveWindow(dialog);
        dialogTable().activeDialog = dialog;
        FocusWindowActivate(dialog);
    }
}

// Replaces references to a hidden dialog in the chains of windows to return to.
void skipInChains(win::HWND dialog, const DialogRecord& rec) {
    const DialogTable& t = dialogTable();
    for (int s = 1; s <= t.count; ++s) {
        DialogRecord* other = dialogRecordOf(t.slots[s]);
        if (!other) continue;
        if (other->returnWindow == dialog) other->returnWindow = rec.returnWindow;
        if (other->enableBackWindow == dialog) other->enableBackWindow = rec.enableBackWindow;
    }
    for (int n = 1; n < kWindowSlots; ++n) {
        WindowSlot& slot = windowSystem().slots[n];
        if (slot.returnFocus == dialog) slot.returnFocus = rec.returnWindow;
    }
}

void removeSlot(int slot) {
    DialogTable& t = dialogTable();
    if (t.frozenBitmap[slot]) win::DeleteObject(t.frozenBitmap[slot]);
    for (int s = slot; s < t.count; ++s) {
        t.slots[s] = t.slots[s + 1];
        t.frozenBitmap[s] = t.frozenBitmap[s + 1];
        t.frozenCount[s] = t.frozenCount[s + 1];
    }
    t.slots[t.count] = nullptr;
    t.frozenBitmap[t.count] = nullptr;
    t.frozenCount[t.count] = 0;
    --t.count;
    if (t.currentSlot == slot)
        t.currentSlot = 0;
    else if (t.currentSlot > slot)
        --t.currentSlot;
}

bool ownerChainReaches(win::HWND h, win::HWND dialog) {
    for (win::HWND o = win::GetWindow(h, win::GW_OWNER); o; o = win::GetWindow(o, win::GW_OWNER))
        if (o == dialog) return true;
    return false;
}

void destroyPagesOf(win::HWND dialog) {
    std::vector<int> pages;
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT))
        if (isTabControl(c))
            for (int i = 0; i < tabItemCount(c); ++i)
                pages.push_back(tabItemExtra(c, i).pageId);
    for (int id : pages)
        if (win::HWND page = dialogWindowOf(id); page && page != dialog) DialogDestroySlot(page, 0);
}

bool anyFrameVisible() {
    for (const WindowSlot& s : windowSystem().slots)
        if (s.frame && win::IsWindowVisible(s.frame)) return true;
    return false;
}

}  // namespace

bool isChildStyle(win::HWND h) {
    return (styleOf(h) & win::WS_CHILD) != 0;
}

bool isTabControl(win::HWND h) {
    return controlClassIs(h, ControlClass::Tab);
}

bool isDialogWindow(win::HWND h) {
    return controlClassIs(h, ControlClass::Dialog);
}

int tabItemCount(win::HWND tab) {
    return static_cast<int>(win::SendMessageA(tab, win::TCM_GETITEMCOUNT, 0, 0));
}

namespace {
struct TabItemBuffer {
    win::TCITEMHEADERA head;
    TabItemExtra extra;
};
}  // namespace

TabItemExtra tabItemExtra(win::HWND tab, int item) {
    TabItemBuffer b;
    b.head.mask = win::TCIF_PARAM;
    if (!win::SendMessageA(tab, win::TCM_GETITEMA, static_cast<win::WPARAM>(item),
                           reinterpret_cast<win::LPARAM>(&b)))
        return {};
    return b.extra;
}

void tabItemExtraSet(win::HWND tab, int item, const TabItemExtra& extra) {
    TabItemBuffer b;
    b.head.mask = win::TCIF_PARAM;
    b.extra = extra;
    win::SendMessageA(tab, win::TCM_SETITEMA, static_cast<win::WPARAM>(item),
                      reinterpret_cast<win::LPARAM>(&b));
}

win::RECT tabDisplayRect(win::HWND tab) {
    win::RECT r{};
    win::GetWindowRect(tab, &r);
    win::MapWindowPoints(nullptr, win::GetParent(tab), reinterpret_cast<win::POINT*>(&r), 2);
    win::SendMessageA(tab, win::TCM_ADJUSTRECT, win::FALSE, reinterpret_cast<win::LPARAM>(&r));
    return r;
}

win::HWND DialogOwnerWindow() {
    const DialogTable& t = dialogTable();
    if (t.activeDialog && win::IsWindowVisible(t.activeDialog)) {
        DialogRecord* r = dialogRecordOf(t.activeDialog);
        if (r && r->combinedWindow) return r->combinedWindow;
        return t.activeDialog;
    }
    return t.returnWindow;
}

int DialogParentWindowNumber() {
    win::HWND d = currentDialog();
    if (!d) return 0;
    win::HWND parent = isChildStyle(d) ? win::GetParent(d) : win::GetWindow(d, win::GW_OWNER);
    int n = parent ? WindowSlotOfHandle(parent) : -1;
    return n < 0 ? 0 : n;
}

void DialogCreateFromResource(int& resourceId, int identifier, int windowNumber, bool combined) {
    DialogTable& t = dialogTable();
    if (int slot = DialogSlotFind(identifier); slot > 0) {
        t.currentSlot = slot;
        return;
    }
    if (t.count >= kDialogSlots) {
        resourceId = -1;
        return;
    }
    const void* tmpl = dialogTemplate(resourceId);
    if (!tmpl) {
        resourceId = -2;
        return;
    }
    ControlAtomsEnsure();
    ++t.count;
    auto* rec = new DialogRecord;
    rec->identifier() = identifier;
    rec->templateId() = resourceId;
    if (combined && windowNumber >= 0) {
        rec->combinedWindow = frameOfWindow(windowNumber);
        rec->combinedWindowNumber() = windowNumber;
    }
    t.pendingFocusField = t.pendingX = t.pendingY = 0;
    t.creating = true;
    win::HWND savedActive = t.activeDialog;
    win::HWND parent = windowNumber == -1 ? DialogOwnerWindow() : clientOfWindow(windowNumber);
    win::HWND dialog = win::CreateDialogIndirectParamA(nullptr, tmpl, parent, DialogProcedure,
                                                       reinterpret_cast<win::LPARAM>(rec));
    t.slots[t.count] = dialog;
    t.creating = false;
    if (!dialog) {
        t.slots[t.count] = nullptr;
        --t.count;
        if (!dialogRecordOf(dialog)) delete rec;
        resourceId = -3;
        return;
    }
    t.currentSlot = t.count;
    DialogApplySettings(dialog, resourceId, t.count);
    recordFieldStates(dialog);
    t.activeDialog = savedActive;
}

void DlgLoad(int resourceId, std::optional<int> identifier, std::optional<int> windowNumber) {
    const int id = identifier.value_or(resourceId);
    int result = resourceId;
    DialogCreateFromResource(result, id, windowNumber.value_or(0), false);
    if (result == -1) return ReportLibraryError(1087, "DlgLoad");
    if (result == -2) return ReportLibraryError(1007, "DlgLoad");
    if (result == -3) return ReportLibraryError(1088, "DlgLoad");
    toolkitState().CurrentDialogNumber = id;
}

void DlgSelect(int identifier) {
    int slot = DialogSlotFind(identifier);
    if (slot < 1) return ReportLibraryError(1008, "DlgSelect");
    dialogTable().currentSlot = slot;
    toolkitState().CurrentDialogNumber = identifier;
}

void DialogCentrePosition(win::HWND dialog, bool childStyle) {
    DialogTable& t = dialogTable();
    win::RECT r{};
    win::GetWindowRect(dialog, &r);
    int refWidth = toolkitState().ScreenWidth, refHeight = toolkitState().ScreenHeight;
    if (childStyle) {
        win::RECT c{};
        win::GetClientRect(win::GetParent(dialog), &c);
        refWidth = c.right - c.left;
        refHeight = c.bottom - c.top;
    } else if (refWidth <= 0 || refHeight <= 0) {
        refWidth = win::GetSystemMetrics(win::SM_CXSCREEN);
        refHeight = win::GetSystemMetrics(win::SM_CYSCREEN);
    }
    if (t.pendingX == -1) t.pendingX = (refWidth - (r.right - r.left)) / 2;
    if (t.pendingY == -1) t.pendingY = (refHeight - (r.bottom - r.top)) / 2;
}

void DialogShowSlot(int x, int y, int xPixels, int yPixels, int& showType, int focusField,
                    int caller) {
    DialogTable& t = dialogTable();
    win::HWND dialog = currentDialog();
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec) {
        showType = -2;
        return;
    }
    const bool childStyle = isChildStyle(dialog);
    bool hostHidden = false, hostCombined = false;
    if (childStyle) {
        win::HWND frame = win::GetParent(win::GetParent(dialog));
        hostHidden = !frame || !win::IsWindowVisible(frame);
        const FrameUserRecord* fr = frame ? frameRecord(frame) : nullptr;
        hostCombined = fr && fr->kind() == KindCombinedDialog;
    }
    if (rec->combinedWindow && caller == 0) {
        showType = -4;
        return;
    }
    if (rec->shown() == 1) {
        reshow(dialog, childStyle);
        showType = 0;
        return;
    }
    int type = showType, result = 0;
    if (type == ShowModeless && t.semiModelessCount > 0) type = ShowSemiModeless, result = -1;
    if (childStyle && type != ShowModeless) {
        if (type == ShowModal) {
            int ignored = 0;
            FreezeWindowContents(0, -1, ignored);
        }
        type = ShowModeless;
        result = -1;
    }
    t.pendingFocusField = focusField;
    t.pendingX = childStyle ? xPixels : x;
    t.pendingY = childStyle ? yPixels : y;
    if (t.activeDialog && win::IsWindowVisible(t.activeDialog)) {
        DialogRecord* a = dialogRecordOf(t.activeDialog);
        rec->returnWindow = a && a->combinedWindow ? a->combinedWindow : t.activeDialog;
    } else {
        rec->returnWindow = t.returnWindow;
    }
    rec->enableBackWindow = t.semiModelessTop ? t.semiModelessTop : rec->returnWindow;
    rec->showType() = type;
    if (type == ShowModal) {
        showModal(*rec);
        showType = result;
        return;
    }
    int shown =
        showModeless(*rec, dialog, type, focusField, caller, childStyle, hostHidden, hostCombined);
    showType = shown != 0 ? shown : result;
}

void DlgShow(std::optional<int> x, std::optional<int> y, std::optional<int> focusField,
             std::optional<int> showType) {
    ToolkitState& s = toolkitState();
    if (s.CurrentDialogNumber == 0 || !currentDialog()) return ReportLibraryError(1005, "DlgShow");
    const int type = showType.value_or(ShowModeless);
    int px = x.value_or(-1), py = y.value_or(-1);
    int xPixels = -1, yPixels = -1;
    {
        const int saved = windowSystem().CurrentWindow;
        const int parent = DialogParentWindowNumber();
        const bool switchWindow = parent != saved && windowIsOpen(parent);
        if (switchWindow) YYWINSEL(parent, 1);
        int a = 0, b = 0;
        WindowUnitsToPixels(px, py, a, b);
        xPixels = px == -1 ? -1 : a;
        yPixels = py == -1 ? -1 : b;
        if (switchWindow && windowIsOpen(saved)) YYWINSEL(saved, 1);
    }
    if (type == ShowModal) {
        int freeze = 0;
        FreezeWindowContents(1, -1, freeze);
        if (freeze != 0) ReportLibraryError(freeze, "DlgShow");
    }
    int result = type;
    DialogShowSlot(px, py, xPixels, yPixels, result, focusField.value_or(0), 0);
    if (type == ShowModal && result != -1) {
        int ignored = 0;
        FreezeWindowContents(0, -1, ignored);
        if (DialogRecord* rec = currentDialogRecord()) {
            s.LastDialogClosingField = rec->changedField();
            s.LastDialogChangedField = rec->previousField();
        }
        s.LastDialogThirdValue = dialogTable().lastModalDialog;
    }
    switch (result) {
        case -4:
            return ReportLibraryError(1047, "DlgShow");
        case -3:
            return ReportLibraryError(1046, "DlgShow");
        case -2:
            return ReportLibraryError(1016, "DlgShow");
        case -1:
            return ReportLibraryError(1014, "DlgShow");
        default:
            return;
    }
}

void DialogHideSlot(int& slot) {
    DialogTable& t = dialogTable();
    const bool viaCurrent = slot == -1;
    const int s = viaCurrent ? t.currentSlot : slot;
    if (s < 1 || s > t.count) return;
    win::HWND dialog = t.slots[s];
    DialogRecord* rec = dialogRecordOf(dialog);
    if (!rec) return;
    if (viaCurrent && rec->combinedWindow) {
        slot = -1;
        return;
    }
    if (isTabPageOfOther(dialog)) {
        slot = -2;
        return;
    }
    if (viaCurrent) slot = 0;
    const bool wasActive = t.activeDialog == dialog;
    if (rec->shown() == 1 && rec->showType() == ShowSemiModeless) {
        --t.semiModelessCount;
        ModalEnableOthers(wasActive ? rec->enableBackWindow : nullptr, true);
    }
    skipInChains(dialog, *rec);
    if (wasActive) t.activeDialog = nullptr;
    win::SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                      win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                          win::SWP_NOACTIVATE);
    rec->shown() = 0;
    if (t.semiModelessTop == dialog)
        t.semiModelessTop = t.semiModelessCount > 0 ? rec->enableBackWindow : nullptr;
    if (wasActive && rec->returnWindow && win::IsWindow(rec->returnWindow)) {
        win::SetFocus(rec->returnWindow);
        win::SendMessageA(rec->returnWindow, win::WM_NCACTIVATE, win::TRUE, 0);
        if (isLoadedDialog(rec->returnWindow)) t.activeDialog = rec->returnWindow;
    }
}

void DlgHide() {
    if (toolkitState().CurrentDialogNumber == 0 || !currentDialog()) return;
    int slot = -1;
    DialogHideSlot(slot);
    if (slot == -1) ReportLibraryError(1047, "DlgHide");
    if (slot == -2) ReportLibraryError(1069, "DlgHide");
}

void DialogsDetachChildren(win::HWND dialog) {
    std::vector<win::HWND> embedded;
    for (win::HWND c = win::GetWindow(dialog, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT))
        if (isDialogWindow(c)) embedded.push_back(c);
    for (win::HWND c : embedded) {
        win::ShowWindow(c, win::SW_HIDE);
        win::SetParent(c, clientOfWindow(0));
    }
}

void DialogDestroySlot(win::HWND dialog, int option) {
    DialogTable& t = dialogTable();
    bool pagesDestroyed = false;
    if (option == 0) {
        const int before = t.count;
        destroyPagesOf(dialog);
        pagesDestroyed = t.count != before;
    }
    for (int s = t.count; s >= 1; --s) {
        win::HWND other = t.slots[s];
        if (other == dialog || s > t.count) continue;
        if (win::IsChild(dialog, other) || ownerChainReaches(other, dialog)) {
            int hideSlot = s;
            DialogHideSlot(hideSlot);
            if (hideSlot >= 0) DialogUnloadSlot(0, s);
        }
    }
    const int slot = slotOfWindow(dialog);
    DialogRecord* rec = dialogRecordOf(dialog);
    if (t.activeDialog == dialog) t.activeDialog = nullptr;
    if (t.semiModelessTop == dialog) t.semiModelessTop = nullptr;
    if (windowSystem().ActiveModelessDialog == dialog)
        windowSystem().ActiveModelessDialog = nullptr;
    win::DestroyWindow(dialog);
    delete rec;
    if (slot > 0) removeSlot(slot);
    if (pagesDestroyed) t.currentSlot = 0;
    if (t.count == 0 && !anyFrameVisible()) t.returnWindow = frameOfWindow(0);
}

void DialogUnloadSlot(int option, int slot) {
    DialogTable& t = dialogTable();
    const int s = slot == -1 ? t.currentSlot : slot;
    if (s < 1 || s > t.count) return;
    win::HWND dialog = t.slots[s];
    DialogsDetachChildren(dialog);
    DialogDestroySlot(dialog, option);
}

void DlgUnload(std::optional<int> option) {
    ToolkitState& st = toolkitState();
    if (st.CurrentDialogNumber == 0 || !currentDialog())
        return ReportLibraryError(1005, "DlgUnload");
    int slot = -1;
    DialogHideSlot(slot);
    if (slot == -1) return ReportLibraryError(1047, "DlgUnload");
    if (slot == -2) return ReportLibraryError(1069, "DlgUnload");
    DialogUnloadSlot(option.value_or(0), -1);
    dialogTable().currentSlot = 0;
    st.CurrentDialogNumber = 0;
}

void TabPagesAttach(win::HWND dialog) {
    for (win::HWND tab = win::GetWindow(dialog, win::GW_CHILD); tab;
         tab = win::GetWindow(tab, win::GW_HWNDNEXT)) {
        if (!isTabControl(tab)) continue;
        const int selected = static_cast<int>(win::SendMessageA(tab, win::TCM_GETCURSEL, 0, 0));
        const win::RECT area = tabDisplayRect(tab);
        for (int i = 0; i < tabItemCount(tab); ++i) {
            win::HWND page = dialogWindowOf(tabItemExtra(tab, i).pageId);
            if (!page || page == dialog) continue;
            win::DWORD style = styleOf(page);
            style &= ~(win::WS_POPUP | win::WS_CAPTION | win::WS_SYSMENU | win::DS_MODALFRAME);
            style |= win::WS_CHILD | win::DS_CONTROL;
            win::SetWindowLongPtrA(page, win::GWL_STYLE, static_cast<win::LONG_PTR>(style));
            if (DialogHasStretchField(page)) {
                std::vector<win::HWND> grips;
                for (win::HWND c = win::GetWindow(page, win::GW_CHILD); c;
                     c = win::GetWindow(c, win::GW_HWNDNEXT))
                    if (controlClassIs(c, ControlClass::ScrollBar)) grips.push_back(c);
                for (win::HWND g : grips)
                    win::DestroyWindow(g);
            }
            win::SetParent(page, dialog);
            const bool show = i == selected && (styleOf(tab) & win::WS_VISIBLE) != 0;
            win::SetWindowPos(
                page, tab, area.left, area.top, area.right - area.left, area.bottom - area.top,
                win::SWP_NOACTIVATE | (show ? win::SWP_SHOWWINDOW : win::SWP_HIDEWINDOW));
            win::EnableWindow(page, win::TRUE);
            TabPagesAttach(page);
        }
    }
}

void DialogSetTitle(win::HWND dialog, std::optional<std::string_view> title,
                    std::optional<int> iconId, int& error) {
    error = 0;
    const bool caption = (styleOf(dialog) & win::WS_CAPTION) == win::WS_CAPTION;
    if (title) {
        std::string text(*title);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
            text.pop_back();
        if (caption) {
            win::SetWindowTextA(dialog, text.c_str());
        } else if (isChildStyle(dialog)) {
            DialogRecord* rec = dialogRecordOf(dialog);
            const DialogTable& t = dialogTable();
            for (int s = 1; rec && s <= t.count; ++s) {
                if (t.slots[s] == dialog) continue;
                for (win::HWND c = win::GetWindow(t.slots[s], win::GW_CHILD); c;
                     c = win::GetWindow(c, win::GW_HWNDNEXT)) {
                    if (!isTabControl(c)) continue;
                    for (int i = 0; i < tabItemCount(c); ++i) {
                        if (tabItemExtra(c, i).pageId != rec->identifier()) continue;
                        win::TCITEMHEADERA item;
                        item.mask = win::TCIF_TEXT;
                        item.pszText = text.data();
                        win::SendMessageA(c, win::TCM_SETITEMA, static_cast<win::WPARAM>(i),
                                          reinterpret_cast<win::LPARAM>(&item));
                        win::RECT area = tabDisplayRect(c);
                        win::MapWindowPoints(win::GetParent(c), c,
                                             reinterpret_cast<win::POINT*>(&area), 2);
                        win::InvalidateRect(c, nullptr, win::TRUE);
                        win::ValidateRect(c, &area);
                        win::UpdateWindow(c);
                    }
                }
            }
        }
    }
    if (!caption || !iconId || *iconId == -1) return;
    win::HICON icon = *iconId == 0 ? win::LoadIconA(nullptr, "icon1")
                                   : win::LoadIconA(nullptr, resourceName(*iconId));
    if (!icon) {
        error = 1015;
        return;
    }
    win::SendMessageA(dialog, win::WM_SETICON, win::ICON_BIG, reinterpret_cast<win::LPARAM>(icon));
}

void DlgTitle(std::optional<std::string_view> title, std::optional<int> iconId) {
    win::HWND d = currentDialog();
    if (toolkitState().CurrentDialogNumber == 0 || !d) return ReportLibraryError(1005, "DlgTitle");
    int error = 0;
    DialogSetTitle(d, title, iconId, error);
    if (error) ReportLibraryError(error, "DlgTitle");
}

void DialogShowNearWindow(int focusField, int showType, int windowNumber) {
    win::HWND top = nullptr;
    if (windowNumber == -1) {
        const DialogTable& t = dialogTable();
        win::HWND from = t.activeDialog ? t.activeDialog : t.returnWindow;
        top = from ? win::GetAncestor(from, win::GA_ROOT) : nullptr;
    } else {
        top = clientOfWindow(windowNumber);
    }
    win::POINT p{0, 0};
    if (top) {
        win::HWND client = top;
        int n = WindowSlotOfHandle(top);
        if (n >= 0) client = clientOfWindow(n);
        win::ClientToScreen(client, &p);
    }
    // The position is given in pixels: the dialog is top-level.
    DlgShow(p.x, p.y, focusField, showType);
}

}  // namespace tk
