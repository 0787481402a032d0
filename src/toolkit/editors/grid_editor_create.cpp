#include <algorithm>
#include <memory>

#include "platform/controls/common_controls_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/window_split.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/grid_editor.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_template.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/editors/grid_editor_files.h"
#include "toolkit/editors/editor_split.h"
#include "toolkit/editors/editor_frame.h"
#include "toolkit/editors/grid_editor_menus.h"
#include "toolkit/editors/grid_editor_window.h"

namespace tk {
namespace {

static_assert(kGridEditorCreateModalMenu == kEditorMenuRefusedModal &&
              kGridEditorCreateMenuFailed == kEditorMenuNotLoaded);

void buildMenuBar(GridEditorRecord& r, WindowSlot& slot, const GridEditorCreateArgs& a,
                  int showType, int& status, bool pane) {
    gridEditorBuildPopups(r);
    win::HMENU bar = editorMenuBar(a.menuId, showType == 1, status);
    editorInsertPopup(bar, 0, r.filePopup, "&File", kGridPopupFile);
    editorInsertPopup(bar, 1, r.editPopup, "&Edit", kGridPopupEdit);
    editorInsertPopup(bar, 2, r.searchPopup, "&Search", kGridPopupSearch);
    r.mainMenu = bar;
    editorInstallMenuBar(slot, bar, pane);
}

void statusFields(GridEditorRecord& r) {
    r.statusBar = editorStatusParts(r.window, {30, 90, 140, 200}, 0);
    if (!r.statusBar) return;
    const char* texts[4] = {"Row", "\t\t1", "\tColumn", "\t\t1"};
    for (int part = 0; part < 4; ++part)
        win::SendMessageA(r.statusBar, win::SB_SETTEXTA,
                          static_cast<win::WPARAM>(part | win::SBT_NOBORDERS),
                          reinterpret_cast<win::LPARAM>(texts[part]));
}

// The editor's font: the template grid's, made anew.
win::HFONT copyFont(win::HWND templateGrid) {
    win::HFONT source =
        reinterpret_cast<win::HFONT>(win::SendMessageA(templateGrid, win::WM_GETFONT, 0, 0));
    win::LOGFONTA lf;
    if (!source || !win::GetObjectA(source, sizeof lf, &lf)) return nullptr;
    lf.lfOutPrecision = win::OUT_TT_PRECIS;
    return win::CreateFontIndirectA(&lf);
}

// The copy of the template grid: same columns, cells, labels and colours.
win::HWND cloneGrid(GridEditorRecord& r, win::HWND frame, win::HWND templateGrid) {
    const auto style = static_cast<win::DWORD>(win::GetWindowLongA(templateGrid, win::GWL_STYLE));
    win::HWND grid = win::CreateWindowExA(
        win::WS_EX_CLIENTEDGE, "VORARIZ", "",
        (style | 0x5100 | win::WS_CHILD | win::WS_VISIBLE) & ~win::WS_DISABLED, 0, 0, 100, 100,
        frame, reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(kGridEditorGridId)), nullptr,
        nullptr);
    if (!grid) return nullptr;
    r.grid = grid;
    GridCopyState(grid, templateGrid);
    GridRecord* source = gridRecordOfWindow(templateGrid);
    GridRecord* copy = gridRecordOfWindow(grid);
    if (source && copy) {
        copy->textColour = source->textColour;
        copy->backgroundColour = source->backgroundColour;
        copy->fieldId = 0;
        copy->dialogId = 0;
    }
    return grid;
}

bool refuse(int& status, int code) {
    status = code;
    return false;
}

bool mayCreate(int& status, const WindowSlot& slot, int window, win::HWND templateGrid) {
    if (window <= 0 || window >= kWindowSlots || !slot.frame)
        return refuse(status, kGridEditorCreateRoot);
    if (frameRecord(slot.frame)) return refuse(status, kGridEditorCreateOtherKind);
    if (win::GetWindow(slot.client, win::GW_CHILD))
        return refuse(status, kGridEditorCreateHasChildren);
    if (!gridRecordOfWindow(templateGrid)) return refuse(status, kGridEditorCreateNoGrid);
    return true;
}

void adoptFile(GridEditorRecord& r, win::HWND frame, const std::string& file) {
    r.fileName.clear();
    if (file.empty()) return;
    std::string name = file.substr(0, 259);
    int status = 0;
    GridEditorLoadCsv(r.window, 0, r.rowsFollow, status, r.filterIndex, r.labelsInFiles, name,
                      r.filter);
    if (status == 1) {
        r.fileName = name.substr(0, 259);
        GridEditorTitle(frame);
    }
}

}  // namespace

void GridEditorCreate(int& status, int& showType, const GridEditorCreateArgs& a) {
    WindowSystem& w = windowSystem();
    const int window = w.CurrentWindow;
    WindowSlot dummy;
    WindowSlot& slot = window > 0 && window < kWindowSlots
                           ? w.slots[static_cast<std::size_t>(window)]
                           : dummy;
    win::HWND templateGrid = currentField(a.templateField);
    if (!mayCreate(status, slot, window, templateGrid)) return;
    const win::HWND split = editorSplitTop(slot.frame);
    const bool child = hasChildStyle(slot.frame);
    const bool mayHaveMenu = split ? !hasChildStyle(split) : !child;
    if (child) {
        if (showType == 2 && a.menuId && !mayHaveMenu) status = kGridEditorCreateChildMenu;
        if (showType == 1 || showType == 3) {
            if (showType == 1 && seams().modalFrame) seams().modalFrame->freeze(0, -1);
            showType = 2;
            status = kGridEditorCreateMadeModeless;
        }
    }
    const std::vector<win::HWND> quiet = editorQuietClients(split);
    auto fresh = std::make_unique<GridEditorRecord>();
    GridRecord* source = gridRecordOfWindow(templateGrid);
    gridEditorApplyOptions(*fresh, a.options, source->readOnly());
    fresh->filter = a.filter.substr(0, 1000);
    fresh->filterIndex = a.filterIndex == -1 ? 1 : a.filterIndex;
    GridEditorRecord& r = gridEditorAttach(window, std::move(fresh));
    r.showType = showType;
    r.editorAccelerators = gridEditorBuildAccelerators(r);
    win::ShowWindow(slot.client, win::SW_HIDE);
    if (mayHaveMenu && !(a.options & kGridEditorNoMenu))
        buildMenuBar(r, slot, a, showType, status, child);
    if (a.splitWindow != -1) editorJoinSplit(window, r.mainMenu, a.splitWindow);
    editorTakeToolbars(r.windowToolbars, slot, showType);
    if (a.menuId) {
        r.programAccelerators = win::LoadAcceleratorsA(
            nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(a.menuId)));
        slot.accelerators = r.programAccelerators;
        slot.menuHelp = MenuHelpResourceLoad(a.menuId);
    }
    if (!(a.options & kGridEditorNoToolbar)) gridEditorBuildToolbar(r, slot.frame);
    statusFields(r);
    char caption[1024] = {};
    win::GetWindowTextA(slot.frame, caption, sizeof caption);
    r.caption = caption;
    r.previousProc = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
        slot.frame, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&GridEditorWindowProc)));
    if (win::HFONT font = copyFont(templateGrid))
        win::SendMessageA(slot.frame, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(font), 0);
    // The copy fits the window to itself while it is still tiny; the window
    // keeps the size it was opened with.
    win::RECT outer{};
    win::GetWindowRect(slot.frame, &outer);
    cloneGrid(r, slot.frame, templateGrid);
    gridEditorNameWindows(r);
    win::SetWindowPos(slot.frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                      win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    win::RECT rc{};
    win::GetClientRect(slot.frame, &rc);
    win::SendMessageA(slot.frame, win::WM_SIZE, win::SIZE_RESTORED,
                      win::MAKELPARAM(rc.right, rc.bottom));
    adoptFile(r, slot.frame, a.initialFile);
    GridRecord* g = gridRecordOfWindow(r.grid);
    // Nothing is edited yet in the new window, whatever the template went through.
    if (g) g->changedFlagA = g->changedFlagB = 0;
    if (g && g->enabled && !g->editor) GridCreateCellEditor(*g);
    if (r.grid) win::SetFocus(r.grid);
    if (showType == 3) dialogTable().semiModelessCount += 1;
    if (!win::IsWindowEnabled(slot.frame)) win::EnableWindow(slot.frame, win::TRUE);
    win::ShowWindow(slot.frame, win::SW_SHOW);
    FocusWindowActivate(slot.frame);
    if (showType != 2 && seams().modalFrame) seams().modalFrame->begin(slot.frame);
    for (win::HWND h : quiet)
        win::ValidateRect(h, nullptr);
    if (r.grid) win::SetFocus(r.grid);
}

}  // namespace tk
