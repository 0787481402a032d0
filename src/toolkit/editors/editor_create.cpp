#include "toolkit/editors/editor_create.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/kernel/files.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/seams.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/core/window_split.h"
#include "toolkit/core/window_table.h"
#include "toolkit/editors/editor_command_line.h"
#include "toolkit/editors/editor_format.h"
#include "toolkit/editors/editor_modal.h"
#include "toolkit/editors/editor_files.h"
#include "toolkit/editors/editor_layout.h"
#include "toolkit/editors/editor_menus.h"
#include "toolkit/editors/editor_open.h"
#include "toolkit/editors/editor_record.h"
#include "toolkit/editors/editor_split.h"
#include "toolkit/editors/editor_frame.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/editor_title.h"
#include "toolkit/editors/editor_toolbar.h"

namespace tk {
namespace {

std::string fullPath(const std::string& name) {
    if (name.empty()) return {};
    char buffer[win::MAX_PATH] = {};
    const win::DWORD n = win::GetFullPathNameA(name.c_str(), sizeof buffer, buffer, nullptr);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : name;
}

// The program's filter: at most 1000 characters, its last character the
// separator, which becomes NUL throughout.
std::string filterOf(const std::string& text) {
    std::string f = text.substr(0, 1000);
    if (f.empty()) return f;
    const char sep = f.back();
    std::replace(f.begin(), f.end(), sep, '\0');
    return f;
}

std::unique_ptr<EditorWindowRecord> freshRecord(const EditorCreateArgs& a) {
    auto r = std::make_unique<EditorWindowRecord>();
    EditorApplyOptions(*r, a.options);
    r->fileFilter = filterOf(a.fileFilter);
    r->filterIndex[1] = a.filterIndex == -1 ? 1 : a.filterIndex;
    r->bookmark.fill(-1);
    return r;
}

static_assert(kEditorCreateModalMenu == kEditorMenuRefusedModal &&
              kEditorCreateMenuFailed == kEditorMenuNotLoaded);

void buildMenus(EditorWindowRecord& r, WindowSlot& slot, const EditorCreateArgs& a, int mode,
                int& status, bool pane) {
    editorBuildPopups(r);
    win::HMENU bar = editorMenuBar(a.menuId, mode == 1, status);
    editorInsertPopups(r, bar);
    r.mainMenu = bar;
    editorInstallMenuBar(slot, bar, pane);
}

void statusFields(EditorWindowRecord& r, int window) {
    r.statusBar = editorStatusParts(window, {130, 170, 210, 250}, 1);
    if (!r.statusBar) return;
    const auto text = [&](int part, const char* t) {
        win::SendMessageA(r.statusBar, win::SB_SETTEXTA, static_cast<win::WPARAM>(part),
                          reinterpret_cast<win::LPARAM>(t));
    };
    text(0, "Line:1   Col:1");
    text(1, (win::GetKeyState(win::VK_CAPITAL) & 1) ? "\tCAPS" : "");
    text(2, (win::GetKeyState(win::VK_NUMLOCK) & 1) ? "\tNUM" : "");
    text(3, "\tINS");
}

win::HWND editControl(const EditorWindowRecord& r, win::HWND frame) {
    win::DWORD style = win::WS_CHILD | win::WS_VISIBLE | win::WS_VSCROLL | win::ES_MULTILINE |
                       win::ES_AUTOVSCROLL | win::ES_NOHIDESEL;
    if (r.readOnly) style |= win::ES_READONLY;
    if (!r.wordWrap) style |= win::WS_HSCROLL | win::ES_AUTOHSCROLL;
    const char* cls = editorRichEditVersion() >= 2 ? win::RICHEDIT_CLASSA : win::RICHEDIT_CLASS10A;
    win::HWND h = win::CreateWindowExA(
        win::WS_EX_CLIENTEDGE, cls, "", style, 0, 0, 1, 1, frame,
        reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(kEditorControlId)), nullptr,
        nullptr);
    if (!h) return nullptr;
    win::SendMessageA(h, win::EM_EXLIMITTEXT, 0, kEditorTextLimit);
    win::DWORD mask = win::ENM_CHANGE | win::ENM_SCROLL | win::ENM_MOUSEEVENTS |
                      win::ENM_SELCHANGE | win::ENM_PROTECTED;
    if (r.statusBar) mask |= win::ENM_KEYEVENTS;
    win::SendMessageA(h, win::EM_SETEVENTMASK, 0, static_cast<win::LPARAM>(mask));
    return h;
}

void createOnPlainWindow(int& status, int& mode, const EditorCreateArgs& a, int window) {
    WindowSlot& slot = windowSystem().slots[static_cast<std::size_t>(window)];
    const win::HWND top = editorSplitTop(slot.frame);
    const bool childFrame = hasChildStyle(slot.frame);
    const bool insideParent = top ? hasChildStyle(top) : childFrame;
    if (childFrame && mode != 2) {
        if (mode == 1 && seams().modalFrame) seams().modalFrame->freeze(0, -1);
        mode = 2;
        status = kEditorCreateMadeModeless;
    }
    if (insideParent && a.menuId && mode == 2) status = kEditorCreateNestedMenu;
    const std::vector<win::HWND> quiet = editorQuietClients(top);
    EditorWindowRecord& r = editorAttach(window, freshRecord(a));
    r.editorAccelerators = editorBuildAccelerators(r);
    win::ShowWindow(slot.client, win::SW_HIDE);
    r.fileName = fullPath(a.fileName);
    if (!insideParent && !(a.options & kEditorNoMenu))
        buildMenus(r, slot, a, mode, status, childFrame);
    if (a.splitterWindow != -1 && editorJoinSplit(window, r.mainMenu, a.splitterWindow))
        r.paneAccelerators = editorBuildPaneAccelerators(r);
    editorTakeToolbars(r.windowToolbars, slot, mode);
    if (mode != 1 && a.menuId) {
        slot.accelerators = win::LoadAcceleratorsA(
            nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(a.menuId)));
        r.programAccelerators = slot.accelerators;
        slot.menuHelp = MenuHelpResourceLoad(a.menuId);
    }
    if (!(a.options & kEditorNoToolbar)) editorBuildToolbar(r, slot.frame);
    statusFields(r, window);
    EditorCreateFont(r, a.fontNumber, a.fontSize);
    if (a.options & (kEditorCommandLine | kEditorCommandHistory)) {
        if (mode == 1)
            status = kEditorCreateModalCommandLine;
        else
            EditorCommandLine(slot.frame, r, (a.options & kEditorCommandHistory) != 0);
    }
    r.insertMode = 1;
    r.editControl = editControl(r, slot.frame);
    if (FrameUserRecord* fr = frameRecord(slot.frame))
        fr->words[5] = reinterpret_cast<std::intptr_t>(r.editControl);
    if (r.editControl && r.font)
        win::SendMessageA(r.editControl, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(r.font), 0);
    char title[1024] = {};
    win::GetWindowTextA(slot.frame, title, sizeof title);
    r.title = title;
    r.previousProc = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
        slot.frame, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&EditorWindowProc)));
    editorLayout(slot.frame, r);
    if (!r.fileName.empty()) EditorLoadFile(slot.frame, 0);
    EditorUpdateTitle(slot.frame);
    r.focusControl = r.commandEdit ? r.commandEdit : r.editControl;
    win::SetFocus(r.focusControl);
    editorSetModified(r, false);
    r.changed = 0;
    r.mode = mode;
    if (mode == 3) dialogTable().semiModelessCount += 1;
    if (!win::IsWindowEnabled(slot.frame)) {
        win::EnableWindow(slot.frame, win::TRUE);
        win::SetFocus(r.focusControl);
    }
    win::ShowWindow(slot.frame, win::SW_SHOW);
    FocusWindowActivate(slot.frame);
    if (mode != 2 && seams().modalFrame) seams().modalFrame->begin(slot.frame);
    for (win::HWND h : quiet)
        win::ValidateRect(h, nullptr);
    if (mode == 1) editorModalLoop(window);
}

}  // namespace

void EditorCreate(int& status, int& mode, const EditorCreateArgs& a) {
    WindowSystem& w = windowSystem();
    const int window = w.CurrentWindow;
    if (window <= 0 || window >= kWindowSlots || !w.slots[static_cast<std::size_t>(window)].frame) {
        status = kEditorCreateRoot;
        return;
    }
    WindowSlot& slot = w.slots[static_cast<std::size_t>(window)];
    const FrameUserRecord* fr = frameRecord(slot.frame);
    if (fr && fr->kind() == KindTextEditor) {
        editorOpenAnother(status, *editorRecordOf(slot.frame), fullPath(a.fileName), a.filterIndex);
        return;
    }
    if (fr) {
        status = kEditorCreateOtherKind;
        return;
    }
    if (win::GetWindow(slot.client, win::GW_CHILD)) {
        status = kEditorCreateHasChildren;
        return;
    }
    createOnPlainWindow(status, mode, a, window);
}

}  // namespace tk
