// The Explorer-style file dialog's child: the caller's template made a
// control-parent child, and its place inside our dialog.

#include "platform/common_dialogs/explorer_child.h"

#include <algorithm>

#include "platform/dialogs/dialog_template.h"

namespace win::commdlg {
namespace {

RECT rectIn(HWND parent, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void resizeClient(HWND h, int w, int ht) {
    RECT r{0, 0, w, ht};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(h, GWL_EXSTYLE)));
    SetWindowPos(h, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::vector<BYTE> explorerChildTemplate(const OPENFILENAMEA& o) {
    dialogs::DialogTemplate t;
    std::vector<BYTE> empty;
    const bool byName = (o.Flags & OFN_ENABLETEMPLATE) != 0,
               byHandle = (o.Flags & OFN_ENABLETEMPLATEHANDLE) != 0;
    if (byName || byHandle) {
        const void* bytes =
            chooseTemplate(byName, byHandle, o.hInstance, o.lpTemplateName, o.hInstance, empty);
        if (!bytes || !dialogs::parseTemplate(bytes, t)) return {};
    }
    // Whatever the caller's template says, it becomes a control-parent child.
    t.style = (t.style & ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                             DS_MODALFRAME | WS_VISIBLE)) |
              WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL | DS_3DLOOK;
    t.x = t.y = 0;
    t.caption.clear();
    t.menuName.clear();
    t.menuId = 0;
    return dialogs::buildTemplate(t);
}

void fitExplorerChild(HWND h, HWND child) {
    RECT ours;
    GetClientRect(h, &ours);
    RECT c;
    GetWindowRect(child, &c);
    int cw = c.right - c.left, ch = c.bottom - c.top;
    HWND marker = GetDlgItem(child, stc32);
    if (!marker) {
        SetWindowPos(child, HWND_BOTTOM, 0, ours.bottom, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        resizeClient(h, std::max<int>(ours.right, cw), ours.bottom + ch);
        return;
    }
    const RECT m = rectIn(child, marker);
    const int growX = std::max<int>(0, ours.right - (m.right - m.left));
    const int growY = std::max<int>(0, ours.bottom - (m.bottom - m.top));
    for (HWND w = GetWindow(child, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == marker) continue;
        RECT r = rectIn(child, w);
        const int dx = r.left >= m.right ? growX : 0, dy = r.top >= m.bottom ? growY : 0;
        if (dx || dy)
            SetWindowPos(w, nullptr, r.left + dx, r.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (HWND w = GetWindow(h, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == child) continue;
        RECT r = rectIn(h, w);
        SetWindowPos(w, nullptr, r.left + m.left, r.top + m.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    cw += growX;
    ch += growY;
    SetWindowPos(child, HWND_BOTTOM, 0, 0, std::max<int>(cw, m.left + ours.right),
                 std::max<int>(ch, m.top + ours.bottom), SWP_NOACTIVATE);
    GetWindowRect(child, &c);
    resizeClient(h, c.right - c.left, c.bottom - c.top);
}

}  // namespace win::commdlg
