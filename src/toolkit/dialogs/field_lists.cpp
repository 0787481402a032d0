#include "toolkit/dialogs/field_lists.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/dialogs/dialog_api.h"
#include "platform/gdi/metafile.h"
#include "platform/resources/resource_api.h"
#include "platform/window/image_api.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_procedure.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/field_values.h"

namespace tk {
namespace {

int gNoSelection = -1;
bool gUniqueIds = false;

win::DWORD styleOf(win::HWND h) {
    return static_cast<win::DWORD>(win::GetWindowLongPtrA(h, win::GWL_STYLE));
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return std::string(s);
}

bool noDialog(std::string_view routine) {
    if (toolkitState().CurrentDialogNumber != 0 && currentDialog()) return false;
    ReportLibraryError(1005, routine);
    return true;
}

void blankCopy(std::span<char> out, std::string_view s) {
    std::fill(out.begin(), out.end(), ' ');
    std::copy_n(s.begin(), std::min(s.size(), out.size()), out.begin());
}

win::HWND fieldOf(int& field, ControlClass cls) {
    win::HWND h = currentField(field);
    if (!h || !controlClassIs(h, cls)) {
        field = -1;
        return nullptr;
    }
    return h;
}

std::string listText(win::HWND h, int kind, int index) {
    const bool list = kind == 1 || kind == 4;
    const int n = static_cast<int>(win::SendMessageA(
        h, list ? win::LB_GETTEXTLEN : win::CB_GETLBTEXTLEN, static_cast<win::WPARAM>(index), 0));
    std::string s(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
    win::SendMessageA(h, list ? win::LB_GETTEXT : win::CB_GETLBTEXT,
                      static_cast<win::WPARAM>(index), reinterpret_cast<win::LPARAM>(s.data()));
    s.resize(std::strlen(s.c_str()));
    return s;
}

using Item = win::HTREEITEM;

Item treeNext(win::HWND tree, Item item, win::UINT code) {
    return reinterpret_cast<Item>(
        win::SendMessageA(tree, win::TVM_GETNEXTITEM, code, reinterpret_cast<win::LPARAM>(item)));
}

int treeItemId(win::HWND tree, Item item) {
    win::TVITEMA it;
    it.mask = win::TVIF_PARAM | win::TVIF_HANDLE;
    it.hItem = item;
    win::SendMessageA(tree, win::TVM_GETITEMA, 0, reinterpret_cast<win::LPARAM>(&it));
    return static_cast<int>(it.lParam);
}

Item treeFind(win::HWND tree, Item first, int id) {
    for (Item i = first; i; i = treeNext(tree, i, win::TVGN_NEXT)) {
        if (treeItemId(tree, i) == id) return i;
        if (Item c = treeNext(tree, i, win::TVGN_CHILD))
            if (Item found = treeFind(tree, c, id)) return found;
    }
    return nullptr;
}

Item treeFindItem(win::HWND tree, int id) {
    return treeFind(tree, treeNext(tree, nullptr, win::TVGN_ROOT), id);
}

Item treeInsert(win::HWND tree, Item parent, Item after, std::string_view text, int id,
                win::UINT state) {
    std::string t(text);
    win::TVINSERTSTRUCTA ins;
    ins.hParent = parent ? parent : win::TVI_ROOT;
    ins.hInsertAfter = after ? after : win::TVI_LAST;
    ins.item.mask = win::TVIF_TEXT | win::TVIF_PARAM | win::TVIF_STATE;
    ins.item.pszText = t.data();
    ins.item.lParam = id;
    ins.item.state = state & win::TVIS_EXPANDED;
    ins.item.stateMask = win::TVIS_EXPANDED;
    Item item = reinterpret_cast<Item>(
        win::SendMessageA(tree, win::TVM_INSERTITEMA, 0, reinterpret_cast<win::LPARAM>(&ins)));
    if (state & win::TVIS_SELECTED)
        win::SendMessageA(tree, win::TVM_SELECTITEM, win::TVGN_CARET,
                          reinterpret_cast<win::LPARAM>(item));
    return item;
}

void fillLevel(win::HWND tree, Item parent, win::HMENU menu, int selectedId) {
    const int n = win::GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        std::array<char, 256> text{};
        win::GetMenuStringA(menu, static_cast<win::UINT>(i), text.data(), 256, win::MF_BYPOSITION);
        win::HMENU sub = win::GetSubMenu(menu, i);
        const int id = sub ? 0 : static_cast<int>(win::GetMenuItemID(menu, i));
        const win::UINT mstate =
            win::GetMenuState(menu, static_cast<win::UINT>(i), win::MF_BYPOSITION);
        win::UINT state = sub && (mstate & win::MF_CHECKED) ? win::TVIS_EXPANDED : 0;
        if (id != 0 && id == selectedId) state |= win::TVIS_SELECTED;
        Item item = treeInsert(tree, parent, nullptr, text.data(), id, state);
        if (sub) fillLevel(tree, item, sub, selectedId);
        if (state & win::TVIS_EXPANDED)
            win::SendMessageA(tree, win::TVM_EXPAND, win::TVE_EXPAND,
                              reinterpret_cast<win::LPARAM>(item));
    }
}

}  // namespace

int ListFieldKind(win::HWND control) {
    const win::DWORD s = styleOf(control);
    if (controlClassIs(control, ControlClass::ListBox))
        return (s & (win::LBS_MULTIPLESEL | win::LBS_EXTENDEDSEL)) ? 4 : 1;
    if (controlClassIs(control, ControlClass::ComboBox))
        return (s & 3) == win::CBS_DROPDOWNLIST ? 2 : 3;
    return -1;
}

void ListAddItem(int kind, win::HWND control, std::string_view text) {
    std::string t = trimmed(text);
    win::SendMessageA(control, kind == 1 || kind == 4 ? win::LB_ADDSTRING : win::CB_ADDSTRING, 0,
                      reinterpret_cast<win::LPARAM>(t.c_str()));
}

bool ListSelectItem(int kind, win::HWND control, int index) {
    const win::LRESULT r =
        win::SendMessageA(control, kind == 1 ? win::LB_SETCURSEL : win::CB_SETCURSEL,
                          static_cast<win::WPARAM>(index), 0);
    if (r < 0) return false;
    win::UpdateWindow(control);
    return true;
}

void ComboTextPut(win::HWND control, std::string_view text) {
    std::string t = trimmed(text);
    const win::LRESULT i =
        win::SendMessageA(control, win::CB_FINDSTRINGEXACT, static_cast<win::WPARAM>(-1),
                          reinterpret_cast<win::LPARAM>(t.c_str()));
    if (i >= 0)
        win::SendMessageA(control, win::CB_SETCURSEL, static_cast<win::WPARAM>(i), 0);
    else
        win::SetWindowTextA(control, t.c_str());
}

int ListSelectionGet(win::HWND control, std::string& text) {
    const int i = static_cast<int>(win::SendMessageA(control, win::LB_GETCURSEL, 0, 0));
    if (i < 0) return -1;
    text = listText(control, 1, i);
    return i + 1;
}

int ComboSelectionGet(win::HWND control, std::string& text) {
    const int sel = static_cast<int>(win::SendMessageA(control, win::CB_GETCURSEL, 0, 0));
    text = windowText(control, 1024);
    if (!text.empty()) {
        if (sel >= 0) return sel + 1;
        const win::LRESULT i =
            win::SendMessageA(control, win::CB_FINDSTRINGEXACT, static_cast<win::WPARAM>(-1),
                              reinterpret_cast<win::LPARAM>(text.c_str()));
        return i >= 0 ? static_cast<int>(i) + 1 : 0;
    }
    if (sel < 0) return -1;
    text = listText(control, 2, sel);
    return sel + 1;
}

void DlgPutMenu(int field, std::span<const std::string> options, int count, int selected,
                std::optional<std::string_view> text) {
    if (noDialog("DlgPutMenu")) return;
    win::HWND h = currentField(field);
    const int kind = h ? ListFieldKind(h) : -1;
    if (kind == -1 || kind == 4) return ReportLibraryError(1006, "DlgPutMenu");
    int f = field;
    DialogFieldClear(f);
    const int n = std::clamp(count, 0, static_cast<int>(options.size()));
    for (int i = 0; i < n; ++i)
        ListAddItem(kind, h, options[static_cast<std::size_t>(i)]);
    if (kind == 3 && selected == 0 && text) return ComboTextPut(h, *text);
    if (selected < 1 || selected > n || !ListSelectItem(kind, h, selected - 1))
        ReportLibraryError(1011, "DlgPutMenu");
}

void DlgGetMenu(int field, int& selected, std::span<char> text) {
    if (noDialog("DlgGetMenu")) return;
    win::HWND h = currentField(field);
    const int kind = h ? ListFieldKind(h) : -1;
    if (kind == -1 || kind == 4) return ReportLibraryError(1006, "DlgGetMenu");
    std::string s;
    const int r = kind == 1 ? ListSelectionGet(h, s) : ComboSelectionGet(h, s);
    if (r == -1) {
        selected = kUndefinedInteger;
        return ReportLibraryError(1010, "DlgGetMenu");
    }
    selected = r;
    if (!text.empty()) blankCopy(text, s);
}

void DlgPutOption(int field, int option) {
    if (noDialog("DlgPutOption")) return;
    win::HWND h = currentField(field);
    const int kind = h ? ListFieldKind(h) : -1;
    if (kind == -1 || kind == 4) return ReportLibraryError(1006, "DlgPutOption");
    if (!ListSelectItem(kind, h, option - 1) || option < 1)
        ReportLibraryError(1011, "DlgPutOption");
}

void DlgPutProgressBar(int field, int value, std::optional<int> mode) {
    if (noDialog("DlgPutProgressBar")) return;
    int f = field;
    win::HWND h = fieldOf(f, ControlClass::Progress);
    if (!h) return ReportLibraryError(1006, "DlgPutProgressBar");
    win::SendMessageA(h, mode.value_or(0) == 0 ? win::PBM_SETPOS : win::PBM_DELTAPOS,
                      static_cast<win::WPARAM>(value), 0);
}

void FieldRectangle(int& field, int& x, int& y, int& width, int& height, bool clientMode) {
    win::HWND h = currentField(field);
    if (!h) {
        field = -1;
        return;
    }
    win::RECT r{};
    if (clientMode) {
        win::GetClientRect(h, &r);
        win::MapWindowPoints(h, currentDialog(), reinterpret_cast<win::POINT*>(&r), 2);
    } else {
        win::GetWindowRect(h, &r);
        win::MapWindowPoints(nullptr, currentDialog(), reinterpret_cast<win::POINT*>(&r), 2);
    }
    x = r.left;
    y = r.top;
    width = r.right - r.left;
    height = r.bottom - r.top;
}

void TrackbarRangeGet(win::HWND control, int& minimum, int& maximum) {
    minimum = static_cast<int>(win::SendMessageA(control, win::TBM_GETRANGEMIN, 0, 0));
    maximum = static_cast<int>(win::SendMessageA(control, win::TBM_GETRANGEMAX, 0, 0));
}

int DialogFieldInfo(int field, int item) {
    if (!currentDialog()) return 0;
    win::HWND h = currentField(field);
    if (!h) return 0;
    int x = 0, y = 0, w = 0, hgt = 0, f = field, lo = 0, hi = 0;
    switch (item) {
        case 1:
        case 2:
        case 3:
        case 4:
            FieldRectangle(f, x, y, w, hgt, true);
            return item == 1 ? x : item == 2 ? y : item == 3 ? w : hgt;
        case 5:
            return FieldTypeQuery(h);
        case 6:
            return FieldStateQuery(h);
        case 7:
        case 8:
            if (!controlClassIs(h, ControlClass::Trackbar)) return 0;
            TrackbarRangeGet(h, lo, hi);
            return item == 7 ? lo : hi;
        default:
            return 0;
    }
}

void TabSelectPage(int& field, int& pageId) {
    win::HWND tab = fieldOf(field, ControlClass::Tab);
    if (!tab) return;
    int index = -1;
    for (int i = 0; i < tabItemCount(tab); ++i) {
        const TabItemExtra e = tabItemExtra(tab, i);
        if (e.pageId == pageId && e.disabled == 0) index = i;
    }
    if (index < 0) {
        pageId = -1;
        return;
    }
    const int previous = static_cast<int>(
        win::SendMessageA(tab, win::TCM_SETCURSEL, static_cast<win::WPARAM>(index), 0));
    if (previous == index || !win::IsWindowVisible(tab)) return;
    if (win::HWND old = dialogWindowOf(tabItemExtra(tab, previous).pageId))
        win::ShowWindow(old, win::SW_HIDE);
    if (win::HWND page = dialogWindowOf(pageId)) {
        win::SetWindowPos(
            page, tab, 0, 0, 0, 0,
            win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE);
        DialogFocusFirstTabStop(tab, page, win::IsWindowVisible(currentDialog()) != 0);
    }
    win::UpdateWindow(tab);
}

void TabPageEnable(int& field, int pageId, int state) {
    win::HWND tab = fieldOf(field, ControlClass::Tab);
    if (!tab) return;
    for (int i = 0; i < tabItemCount(tab); ++i) {
        TabItemExtra e = tabItemExtra(tab, i);
        if (e.pageId != pageId) continue;
        e.disabled = state == 0 ? 1 : 0;
        tabItemExtraSet(tab, i, e);
        if (win::IsWindowVisible(tab)) {
            win::RECT r{};
            win::SendMessageA(tab, win::TCM_GETITEMRECT, static_cast<win::WPARAM>(i),
                              reinterpret_cast<win::LPARAM>(&r));
            win::InvalidateRect(tab, &r, win::TRUE);
        }
        win::UpdateWindow(tab);
        return;
    }
    field = -2;
}

void TabSelectedPage(int& field, int& pageId) {
    win::HWND tab = fieldOf(field, ControlClass::Tab);
    if (!tab) return;
    const int sel = static_cast<int>(win::SendMessageA(tab, win::TCM_GETCURSEL, 0, 0));
    pageId = sel < 0 ? 0 : tabItemExtra(tab, sel).pageId;
}

void TrackbarPut(int& field, int position, int selectionStart, int selectionEnd, int mode) {
    win::HWND h = fieldOf(field, ControlClass::Trackbar);
    if (!h) return;
    win::SendMessageA(h, win::TBM_SETPOS, win::TRUE, position);
    if (!(styleOf(h) & win::TBS_ENABLESELRANGE)) return;
    if (mode == 0)
        win::SendMessageA(h, win::TBM_SETSEL, win::TRUE,
                          win::MAKELONG(selectionStart, selectionEnd));
    else if (mode == 2)
        win::SendMessageA(h, win::TBM_CLEARSEL, win::TRUE, 0);
}

void TrackbarGetValues(int& field, int& position, int& selectionStart, int& selectionEnd) {
    win::HWND h = fieldOf(field, ControlClass::Trackbar);
    if (!h) return;
    position = static_cast<int>(win::SendMessageA(h, win::TBM_GETPOS, 0, 0));
    const int s = static_cast<int>(win::SendMessageA(h, win::TBM_GETSELSTART, 0, 0));
    const int e = static_cast<int>(win::SendMessageA(h, win::TBM_GETSELEND, 0, 0));
    if ((styleOf(h) & win::TBS_ENABLESELRANGE) && s < e) {
        selectionStart = s;
        selectionEnd = e;
    } else {
        selectionStart = selectionEnd = gNoSelection;
    }
}

void TrackbarRangeSet(int& field, int minimum, int maximum, int tickFrequency) {
    win::HWND h = fieldOf(field, ControlClass::Trackbar);
    if (!h) return;
    win::SendMessageA(h, win::TBM_SETRANGEMIN, win::FALSE, minimum);
    win::SendMessageA(h, win::TBM_SETRANGEMAX, win::TRUE, maximum);
    if (tickFrequency > 0)
        win::SendMessageA(h, win::TBM_SETTICFREQ, static_cast<win::WPARAM>(tickFrequency), 0);
}

void TrackbarPageLine(int& field, int lineSize, int pageSize) {
    win::HWND h = fieldOf(field, ControlClass::Trackbar);
    if (!h) return;
    win::SendMessageA(h, win::TBM_SETLINESIZE, 0, lineSize);
    win::SendMessageA(h, win::TBM_SETPAGESIZE, 0, pageSize > 0 ? pageSize : lineSize);
}

void TrackbarNoSelection(int value) {
    gNoSelection = value;
}

void ProgressRangeSet(int& field, int low, int high) {
    win::HWND h = fieldOf(field, ControlClass::Progress);
    if (h) win::SendMessageA(h, win::PBM_SETRANGE, 0, win::MAKELONG(low, high));
}

void TreeFillFromMenu(win::HWND tree, int menuId, int selectedId) {
    if (menuId == 0 || !tree) return;
    win::HMENU menu =
        win::LoadMenuA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(menuId)));
    if (!menu) return;
    fillLevel(tree, nullptr, menu, selectedId);
    win::DestroyMenu(menu);
}

void TreeCopyItems(win::HWND toTree, void* parent, win::HWND fromTree, void* firstItem) {
    for (Item i = static_cast<Item>(firstItem); i; i = treeNext(fromTree, i, win::TVGN_NEXT)) {
        std::string text(32768, '\0');
        win::TVITEMA it;
        it.mask = win::TVIF_TEXT | win::TVIF_PARAM | win::TVIF_STATE | win::TVIF_HANDLE;
        it.hItem = i;
        it.pszText = text.data();
        it.cchTextMax = 32768;
        it.stateMask = win::TVIS_EXPANDED | win::TVIS_SELECTED;
        win::SendMessageA(fromTree, win::TVM_GETITEMA, 0, reinterpret_cast<win::LPARAM>(&it));
        Item copy = treeInsert(toTree, static_cast<Item>(parent), nullptr, text.c_str(),
                               static_cast<int>(it.lParam), it.state);
        if (Item child = treeNext(fromTree, i, win::TVGN_CHILD)) {
            TreeCopyItems(toTree, copy, fromTree, child);
            if (it.state & win::TVIS_EXPANDED)
                win::SendMessageA(toTree, win::TVM_EXPAND, win::TVE_EXPAND,
                                  reinterpret_cast<win::LPARAM>(copy));
        }
    }
}

void TreeSelectItem(int& field, int id) {
    win::HWND tree = fieldOf(field, ControlClass::TreeView);
    if (!tree) return;
    Item i = treeFindItem(tree, id);
    if (!i) {
        field = -2;
        return;
    }
    win::SendMessageA(tree, win::TVM_SELECTITEM, win::TVGN_CARET, reinterpret_cast<win::LPARAM>(i));
}

void TreeSelectedItem(int& field, int& id, bool wantText, std::string& text) {
    win::HWND tree = fieldOf(field, ControlClass::TreeView);
    if (!tree) return;
    Item i = treeNext(tree, nullptr, win::TVGN_CARET);
    if (!i) {
        field = -2;
        return;
    }
    id = treeItemId(tree, i);
    if (!wantText) return;
    std::string buf(1025, '\0');
    win::TVITEMA it;
    it.mask = win::TVIF_TEXT | win::TVIF_HANDLE;
    it.hItem = i;
    it.pszText = buf.data();
    it.cchTextMax = 1025;
    win::SendMessageA(tree, win::TVM_GETITEMA, 0, reinterpret_cast<win::LPARAM>(&it));
    text = buf.c_str();
}

void TreeDeleteItem(int& field, int id) {
    win::HWND tree = fieldOf(field, ControlClass::TreeView);
    if (!tree) return;
    Item i = treeFindItem(tree, id);
    if (!i) {
        field = -2;
        return;
    }
    win::SendMessageA(tree, win::TVM_DELETEITEM, 0, reinterpret_cast<win::LPARAM>(i));
}

void TreeInsertItem(int& field, int referenceId, int position, int newId, std::string_view text) {
    win::HWND tree = fieldOf(field, ControlClass::TreeView);
    if (!tree) return;
    Item root = treeNext(tree, nullptr, win::TVGN_ROOT);
    if (!root) {
        treeInsert(tree, nullptr, nullptr, text, newId, 0);
        return;
    }
    Item ref = treeFindItem(tree, referenceId);
    if (!ref) {
        field = -2;
        return;
    }
    if (gUniqueIds && treeFindItem(tree, newId)) {
        field = -3;
        return;
    }
    Item parent = treeNext(tree, ref, win::TVGN_PARENT);
    if (position == 3) {
        treeInsert(tree, ref, nullptr, text, newId, 0);
        win::TVITEMA it;
        it.mask = win::TVIF_CHILDREN | win::TVIF_HANDLE;
        it.hItem = ref;
        it.cChildren = 1;
        win::SendMessageA(tree, win::TVM_SETITEMA, 0, reinterpret_cast<win::LPARAM>(&it));
    } else if (position == 1) {
        Item prev = treeNext(tree, ref, win::TVGN_PREVIOUS);
        treeInsert(tree, parent, prev ? prev : win::TVI_FIRST, text, newId, 0);
    } else {
        treeInsert(tree, parent, ref, text, newId, 0);
    }
}

namespace {

// The item `id` of the tree when it has children; else null, with field set to
// -2 (no such item) or -3 (an item without children).
Item treeBranch(win::HWND tree, int id, int& field) {
    Item i = treeFindItem(tree, id);
    if (!i) {
        field = -2;
        return nullptr;
    }
    if (!treeNext(tree, i, win::TVGN_CHILD)) {
        field = -3;
        return nullptr;
    }
    return i;
}

}  // namespace

void TreeBranchState(int& field, int id, int& state) {
    win::HWND tree = fieldOf(field, ControlClass::TreeView);
    if (!tree) return;
    Item i = treeBranch(tree, id, field);
    if (!i) return;
    win::TVITEMA it;
    it.mask = win::TVIF_STATE | win::TVIF_HANDLE;
    it.hItem = i;
    it.stateMask = win::TVIS_EXPANDED;
    win::SendMessageA(tree, win::TVM_GETITEMA, 0, reinterpret_cast<win::LPARAM>(&it));
    state = (it.state & win::TVIS_EXPANDED) ? 2 : 1;
}

void TreeExpand(int& field, int id, int mode) {
    win::HWND tree = fieldOf(field, ControlClass::TreeView);
    if (!tree) return;
    Item i = treeBranch(tree, id, field);
    if (!i) return;
    win::SendMessageA(tree, win::TVM_EXPAND, mode == 1 ? win::TVE_COLLAPSE : win::TVE_EXPAND,
                      reinterpret_cast<win::LPARAM>(i));
}

void TreeItemSetText(int& field, int id, std::string_view text) {
    win::HWND tree = fieldOf(field, ControlClass::TreeView);
    if (!tree) return;
    Item i = treeFindItem(tree, id);
    if (!i) {
        field = -2;
        return;
    }
    std::string t(text);
    win::TVITEMA it;
    it.mask = win::TVIF_TEXT | win::TVIF_HANDLE;
    it.hItem = i;
    it.pszText = t.data();
    win::SendMessageA(tree, win::TVM_SETITEMA, 0, reinterpret_cast<win::LPARAM>(&it));
}

void TreeUniqueIds(bool on) {
    gUniqueIds = on;
}

int ListBoxCount(int& field) {
    win::HWND h = fieldOf(field, ControlClass::ListBox);
    return h ? static_cast<int>(win::SendMessageA(h, win::LB_GETCOUNT, 0, 0)) : 0;
}

void ListBoxSelectedGet(int& field, int index, int& state) {
    win::HWND h = fieldOf(field, ControlClass::ListBox);
    if (!h) return;
    const win::LRESULT r =
        win::SendMessageA(h, win::LB_GETSEL, static_cast<win::WPARAM>(index - 1), 0);
    if (r < 0) {
        field = -2;
        return;
    }
    state = r > 0 ? 1 : 0;
}

void ListBoxSelectedPut(int& field, int index, int state) {
    win::HWND h = fieldOf(field, ControlClass::ListBox);
    if (!h) return;
    if (win::SendMessageA(h, win::LB_SETSEL, state != 0, index - 1) < 0) field = -2;
}

void ListBoxRangeSelect(int& field, int first, int last, int state) {
    win::HWND h = fieldOf(field, ControlClass::ListBox);
    if (!h) return;
    if (win::SendMessageA(h, win::LB_SELITEMRANGE, state != 0, win::MAKELONG(first - 1, last - 1)) <
        0)
        field = -2;
}

void FieldSetTabStops(int& field, std::span<const int> stops) {
    win::HWND h = currentField(field);
    const bool multiEdit =
        h && controlClassIs(h, ControlClass::Edit) && (styleOf(h) & win::ES_MULTILINE);
    const bool list = h && controlClassIs(h, ControlClass::ListBox);
    if (!multiEdit && !list) {
        field = -1;
        return;
    }
    std::vector<int> copy(stops.begin(), stops.end());
    win::SendMessageA(h, multiEdit ? win::EM_SETTABSTOPS : win::LB_SETTABSTOPS, copy.size(),
                      reinterpret_cast<win::LPARAM>(copy.data()));
    win::InvalidateRect(h, nullptr, win::TRUE);
    if (FieldRecord* r = fieldRecordOf(h)) r->tabStops = std::move(copy);
}

win::HANDLE FieldImageOf(win::HWND c) {
    const int kind = FieldImageKind(c);
    if (kind == 0) return nullptr;
    const win::UINT type = kind == 1   ? win::IMAGE_BITMAP
                           : kind == 2 ? win::IMAGE_ICON
                                       : win::IMAGE_ENHMETAFILE;
    const bool button = controlClassIs(c, ControlClass::Button);
    return reinterpret_cast<win::HANDLE>(
        win::SendMessageA(c, button ? win::BM_GETIMAGE : win::STM_GETIMAGE, type, 0));
}

int FieldImageKind(win::HWND c) {
    const win::DWORD s = styleOf(c);
    if (controlClassIs(c, ControlClass::Button)) {
        if (s & win::BS_BITMAP) return 1;
        if (s & win::BS_ICON) return 2;
        return 0;
    }
    if (!controlClassIs(c, ControlClass::Static)) return 0;
    switch (s & win::SS_TYPEMASK) {
        case win::SS_BITMAP:
            return 1;
        case win::SS_ICON:
            return 2;
        case win::SS_ENHMETAFILE:
            return 3;
        default:
            return 0;
    }
}

void FieldImageDestroy(win::HANDLE image, int kind) {
    if (!image) return;
    if (kind == 1) win::DeleteObject(image);
    if (kind == 2) win::DestroyIcon(static_cast<win::HICON>(image));
    if (kind == 3) win::DeleteEnhMetaFile(static_cast<win::HENHMETAFILE>(image));
}

void FieldPutMetafileResource(win::HWND control, int id) {
    win::HRSRC r = win::FindResourceA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(id)),
                                      "ZIVOVIZOZID");
    if (!r) return;
    const auto* data =
        static_cast<const win::BYTE*>(win::LockResource(win::LoadResource(nullptr, r)));
    win::HENHMETAFILE emf = win::SetEnhMetaFileBits(win::SizeofResource(nullptr, r), data);
    if (!emf) return;
    auto old = reinterpret_cast<win::HANDLE>(win::SendMessageA(
        control, win::STM_SETIMAGE, win::IMAGE_ENHMETAFILE, reinterpret_cast<win::LPARAM>(emf)));
    FieldImageDestroy(old, 3);
}

void FieldPutImage(int& field, int image, int kind) {
    win::HWND h = currentField(field);
    const bool isStatic = h && controlClassIs(h, ControlClass::Static);
    const bool isButton = h && controlClassIs(h, ControlClass::Button);
    if (!isStatic && !isButton) {
        field = -1;
        return;
    }
    const auto name =
        image == 0 && kind == 2 ? "ICON1" : win::MAKEINTRESOURCEA(static_cast<win::WORD>(image));
    win::HANDLE loaded = nullptr;
    win::UINT type = 0;
    win::DWORD style = styleOf(h);
    if (kind == 1) {
        loaded = win::LoadImageA(nullptr, name, win::IMAGE_BITMAP, 0, 0, 0);
        type = win::IMAGE_BITMAP;
    } else if (kind == 2) {
        loaded = win::LoadIconA(nullptr, name);
        type = win::IMAGE_ICON;
    } else if (kind == 5 && isStatic) {
        style = (style & ~win::SS_TYPEMASK) | win::SS_ENHMETAFILE;
        win::SetWindowLongPtrA(h, win::GWL_STYLE, static_cast<win::LONG_PTR>(style));
        const bool had = FieldImageOf(h) != nullptr;
        FieldPutMetafileResource(h, image);
        if (!had && !FieldImageOf(h)) field = -2;
        return;
    }
    if (!loaded) {
        field = -2;
        return;
    }
    if (isStatic) {
        style = (style & ~win::SS_TYPEMASK) |
                (type == win::IMAGE_BITMAP ? win::SS_BITMAP : win::SS_ICON);
    } else {
        style = (style & ~(win::BS_BITMAP | win::BS_ICON)) |
                (type == win::IMAGE_BITMAP ? win::BS_BITMAP : win::BS_ICON);
    }
    win::SetWindowLongPtrA(h, win::GWL_STYLE, static_cast<win::LONG_PTR>(style));
    auto old = reinterpret_cast<win::HANDLE>(
        win::SendMessageA(h, isStatic ? win::STM_SETIMAGE : win::BM_SETIMAGE, type,
                          reinterpret_cast<win::LPARAM>(loaded)));
    if (old != loaded) FieldImageDestroy(old, type == win::IMAGE_BITMAP ? 1 : 2);
}

void SpinStepSet(int& field, double small, double large, int base) {
    win::HWND h = currentField(field);
    FieldRecord* r = fieldRecordOf(h);
    if (!h || !isSpinField(h) || !r) {
        field = -1;
        return;
    }
    if (numericFieldType(h) == 6) {
        small = static_cast<float>(small);
        large = static_cast<float>(large);
    }
    r->smallStep = small;
    r->largeStep = large == 0.0 ? small : large;
    if (numericFieldType(h) == 5) r->spinBase = base;
}

void DialogUnitSize(int& width, int& height) {
    win::RECT r{0, 0, 4, 8};
    win::MapDialogRect(currentDialog(), &r);
    width = r.right;
    height = r.bottom;
}

void DialogResizeClient(int width, int height, int& result) {
    result = 0;
    win::HWND d = currentDialog();
    DialogRecord* rec = dialogRecordOf(d);
    if (!d || !rec || rec->combinedWindow) {
        result = -1;
        return;
    }
    win::RECT want{0, 0, width, height};
    win::MapDialogRect(d, &want);
    win::RECT client{};
    win::GetClientRect(d, &client);
    const int cx = width > 0 ? want.right : client.right;
    const int cy = height > 0 ? want.bottom : client.bottom;
    auto inside = [d](win::HWND c, int w, int h) {
        win::RECT r{};
        win::GetWindowRect(c, &r);
        win::MapWindowPoints(nullptr, d, reinterpret_cast<win::POINT*>(&r), 2);
        return r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h;
    };
    std::vector<win::HWND> comeBack;
    for (win::HWND c = win::GetWindow(d, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT)) {
        FieldRecord* f = fieldRecordOf(c);
        if (!f || rec->stretchField) continue;
        const bool before = inside(c, client.right, client.bottom), after = inside(c, cx, cy);
        if (before && !after) {
            const int kept = f->state;
            win::HWND focus = win::GetFocus();
            FieldStateApply(d, c, StateHidden, true);
            f->state = kept;
            if (focus == c) win::SetFocus(win::GetNextDlgTabItem(d, c, win::FALSE));
        } else if (!before && after) {
            comeBack.push_back(c);
        }
    }
    win::RECT outer{0, 0, cx, cy};
    win::AdjustWindowRectEx(&outer, styleOf(d), win::FALSE,
                            static_cast<win::DWORD>(win::GetWindowLongPtrA(d, win::GWL_EXSTYLE)));
    win::SetWindowPos(d, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                      win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    rec->minimumWidth() = std::min(rec->minimumWidth(), outer.right - outer.left);
    rec->minimumHeight() = std::min(rec->minimumHeight(), outer.bottom - outer.top);
    for (win::HWND c : comeBack)
        if (FieldRecord* f = fieldRecordOf(c)) FieldStateApply(d, c, f->state, false);
}

}  // namespace tk
