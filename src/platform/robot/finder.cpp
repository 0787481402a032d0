#include "platform/robot/finder.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "platform/window/menu_internal.h"
#include "platform/window/window_state.h"

namespace win::robot {
namespace {

HWND findDescendant(HWND parent, const std::function<bool(HWND)>& match) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (match(c)) return c;
        if (HWND d = findDescendant(c, match)) return d;
    }
    return nullptr;
}

std::string plainLabel(const std::string& text) {
    return detail::displayText(text.substr(0, text.find('\t')));
}

}  // namespace

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> out;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (IsWindowVisible(h)) out.push_back(h);
    return out;
}

HWND findTopLevelByTitle(const std::string& title) {
    for (HWND h : topLevelWindows())
        if (windowText(h) == title) return h;
    return nullptr;
}

HWND findTopLevelByClass(const std::string& name) {
    for (HWND h : topLevelWindows())
        if (className(h) == name) return h;
    return nullptr;
}

HWND findDescendantById(HWND parent, int id) {
    return findDescendant(parent, [=](HWND h) { return GetDlgCtrlID(h) == id; });
}

HWND findDescendantByClass(HWND parent, const std::string& name) {
    return findDescendant(parent, [&](HWND h) { return className(h) == name; });
}

HWND findDescendantByText(HWND parent, const std::string& text) {
    return findDescendant(parent, [&](HWND h) { return windowText(h) == text; });
}

std::string windowText(HWND hwnd) {
    const int n = GetWindowTextLengthA(hwnd);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(hwnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(std::max(0, got)));
    return s;
}

WindowState stateOf(HWND hwnd) {
    WindowState s;
    if (!IsWindow(hwnd)) return s;
    s.exists = true;
    s.visible = IsWindowVisible(hwnd) != 0;
    s.enabled = IsWindowEnabled(hwnd) != 0;
    s.focused = GetFocus() == hwnd;
    s.active = GetActiveWindow() == hwnd;
    constexpr UINT kGetCheck = 0x00F0;  // BM_GETCHECK
    std::string cls = className(hwnd);
    for (char& c : cls)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (cls == "BUTTON") s.checked = static_cast<int>(SendMessageA(hwnd, kGetCheck, 0, 0));
    s.rect = screenRect(hwnd);
    return s;
}

std::string className(HWND hwnd) {
    char buf[256];
    const int n = GetClassNameA(hwnd, buf, sizeof buf);
    return std::string(buf, static_cast<std::size_t>(n));
}

RECT screenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

POINT centreOf(const RECT& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
POINT centreOf(HWND hwnd) {
    return centreOf(screenRect(hwnd));
}

bool menuBarItemRect(HWND window, const std::string& title, RECT& out) {
    HMENU menu = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char buf[256];
        GetMenuStringA(menu, static_cast<UINT>(i), buf, sizeof buf, MF_BYPOSITION);
        if (plainLabel(buf) == title) return detail::menuBarItemScreenRect(window, i, out);
    }
    return false;
}

std::vector<HWND> openPopupMenus() {
    return detail::openPopupWindows();
}

bool openMenuItemRect(const std::string& label, RECT& out) {
    const auto popups = openPopupMenus();
    for (auto it = popups.rbegin(); it != popups.rend(); ++it) {
        detail::Menu* m = detail::findMenu(detail::popupWindowMenu(*it));
        if (!m) continue;
        for (const auto& item : m->items) {
            if (item.type & MF_SEPARATOR || plainLabel(item.text) != label) continue;
            RECT wr;
            GetWindowRect(*it, &wr);
            out = detail::offsetRect(item.rect, wr.left, wr.top);
            return true;
        }
    }
    return false;
}

}  // namespace win::robot
