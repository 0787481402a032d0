#include "explorer_windows.h"

#include <algorithm>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/robot/finder.h"
#include "platform/window/window_state.h"
#include "shell/shell_state.h"
#include "toolkit/core/window_table.h"

namespace explorer {

namespace {

win::HWND mainFrame() {
    return tk::windowSystem().slots[0].frame;
}

win::HWND profileFrameNow() {
    const int n = shell::profileWindow();
    return n > 0 ? tk::windowSystem().slots[static_cast<std::size_t>(n)].frame : nullptr;
}

bool isView(win::HWND h) {
    return h && (h == mainFrame() || h == profileFrameNow());
}

}  // namespace

win::HWND frontDialog() {
    const std::vector<win::HWND> menus = win::robot::openPopupMenus();
    for (win::HWND h : win::robot::topLevelWindows()) {
        if (std::find(menus.begin(), menus.end(), h) != menus.end()) continue;
        if (classOf(h) == "#32768") continue;  // a pop-up menu window
        return isView(h) ? nullptr : h;
    }
    return nullptr;
}

Front front() {
    // A click on a greyed title of a menu bar holds the bar in menu mode
    // with nothing dropped down: only Escape or a click elsewhere leaves it.
    if (!win::robot::openPopupMenus().empty() || win::detail::state().menuLoopDepth > 0)
        return Front::Menu;
    return frontDialog() ? Front::Dialog : Front::Views;
}

win::HWND windowNamed(const std::string& name) {
    if (name == "main") return mainFrame();
    if (name == "mainc") return tk::windowSystem().slots[0].client;
    if (name == "prof") return profileFrameNow();
    if (name == "profc") {
        const int n = shell::profileWindow();
        return n > 0 ? tk::windowSystem().slots[static_cast<std::size_t>(n)].client : nullptr;
    }
    if (name == "dlg") return frontDialog();
    return nullptr;
}

namespace {

void collect(win::HWND parent, std::vector<win::HWND>& out) {
    for (win::HWND c = win::GetWindow(parent, win::GW_CHILD); c;
         c = win::GetWindow(c, win::GW_HWNDNEXT)) {
        if (!win::IsWindowVisible(c)) continue;
        out.push_back(c);
        collect(c, out);
    }
}

}  // namespace

std::vector<win::HWND> controlsOf(win::HWND window) {
    std::vector<win::HWND> out;
    if (window) collect(window, out);
    return out;
}

std::string classOf(win::HWND h) {
    char name[128] = {};
    win::GetClassNameA(h, name, sizeof name);
    return name;
}

bool isFileSelector(win::HWND dialog) {
    return dialog && win::GetDlgItem(dialog, win::kFileNameEdit) &&
           win::GetDlgItem(dialog, win::kFolderList);
}

}  // namespace explorer
