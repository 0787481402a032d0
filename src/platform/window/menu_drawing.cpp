// Menu bars and pop-up menus as the layer lays them out and draws them.

#include <algorithm>

#include "platform/window/layer_drawing.h"
#include "platform/window/menu_internal.h"
#include "platform/window/window_internal.h"

namespace win::detail {

RECT menuBarRectInWindow(Window* w);

std::string labelPart(const std::string& text) {
    return text.substr(0, text.find('\t'));
}
std::string acceleratorPart(const std::string& text) {
    const auto tab = text.find('\t');
    return tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

void paintPopup(HWND hwnd) {
    Menu* m = findMenu(popupWindowMenu(hwnd));
    const WindowDrawTarget target = windowDrawTarget(hwnd, false);
    if (!m || !target.surface) return;
    const int selected = trackedSelection(hwnd, false);
    Surface& s = *target.surface;
    const RECT clip = target.clip;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    const RECT outer = offsetRect(RECT{0, 0, wr.right - wr.left, wr.bottom - wr.top},
                                  target.origin.x, target.origin.y);
    layerFill(s, clip, outer, GetSysColor(COLOR_MENU));
    layerEdge(s, clip, outer, true, true);
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        const RECT r = offsetRect(it.rect, target.origin.x, target.origin.y);
        if (it.type & MF_SEPARATOR) {
            const int y = (r.top + r.bottom) / 2 - 1;
            layerLine(s, clip, r.left + 1, y, r.right - 1, y, GetSysColor(COLOR_BTNSHADOW));
            layerLine(s, clip, r.left + 1, y + 1, r.right - 1, y + 1,
                      GetSysColor(COLOR_BTNHIGHLIGHT));
            continue;
        }
        const bool hot = static_cast<int>(i) == selected;
        if (hot) layerFill(s, clip, r, GetSysColor(COLOR_HIGHLIGHT));
        const COLORREF ink = !enabled(it) ? GetSysColor(COLOR_GRAYTEXT)
                             : hot        ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                          : GetSysColor(COLOR_MENUTEXT);
        int underline = -1;
        const std::string label = displayText(labelPart(it.text), &underline);
        const int ty = r.top + 3;
        if (!enabled(it) && !hot)
            layerText(s, clip, r.left + 21, ty + 1, label, GetSysColor(COLOR_BTNHIGHLIGHT), false,
                      underline);
        layerText(s, clip, r.left + 20, ty, label, ink, (it.state & MF_DEFAULT) != 0, underline);
        const std::string accel = acceleratorPart(it.text);
        if (!accel.empty())
            layerText(s, clip, r.right - 20 - layerTextWidth(accel, false), ty, accel, ink, false,
                      -1);
        if (it.state & MF_CHECKED) {
            const int cx = r.left + 8, cy = (r.top + r.bottom) / 2;
            for (int k = 0; k < 7; ++k) {
                const int y = k < 3 ? cy + k - 1 : cy + 1 - (k - 2);
                layerFill(s, clip, {cx + k - 3, y, cx + k - 2, y + 3}, ink);
            }
        }
        if (it.subMenu) {
            const int cx = r.right - 10, cy = (r.top + r.bottom) / 2;
            for (int k = 0; k < 4; ++k)
                layerFill(s, clip, {cx + k, cy - 3 + k, cx + k + 1, cy + 4 - k}, ink);
        }
    }
}

int menuTextWidth(const std::string& shownText) {
    return layerTextWidth(shownText, false);
}

void layoutMenuBar(HWND hwnd) {
    Window* w = findWindow(hwnd);
    Menu* m = w ? findMenu(w->menu) : nullptr;
    if (!m) return;
    const RECT bar = menuBarRectInWindow(w);
    int x = bar.left;
    for (MenuItem& it : m->items) {
        const int width = menuTextWidth(displayText(it.text)) + 16;
        it.rect = {x, bar.top, x + width, bar.top + kMenuItemHeight - 1};
        x += width;
    }
    // A right-justified item and everything after it sit at the right end.
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        if (!(m->items[i].type & MF_RIGHTJUSTIFY)) continue;
        int right = bar.right;
        for (std::size_t j = m->items.size(); j-- > i;) {
            const int width = m->items[j].rect.right - m->items[j].rect.left;
            m->items[j].rect.left = right - width;
            m->items[j].rect.right = right;
            right -= width;
        }
        break;
    }
}

SIZE layoutPopup(Menu* m) {
    int label = 0, accel = 0;
    for (const MenuItem& it : m->items) {
        if (it.type & MF_SEPARATOR) continue;
        label = std::max(label, menuTextWidth(displayText(labelPart(it.text))));
        accel = std::max(accel, menuTextWidth(acceleratorPart(it.text)));
    }
    const int width = kPopupBorder * 2 + 20 + label + (accel ? accel + 24 : 0) + 20;
    int y = kPopupBorder;
    for (MenuItem& it : m->items) {
        const int h = (it.type & MF_SEPARATOR) ? kMenuSeparatorHeight : kMenuItemHeight;
        it.rect = {kPopupBorder, y, width - kPopupBorder, y + h};
        y += h;
    }
    return {width, y + kPopupBorder};
}

int trackMenuBarInternal(HWND hwnd, bool byMouse, POINT pt, int ch);

void paintMenuBar(HWND hwnd) {
    Window* w = findWindow(hwnd);
    Menu* m = w ? findMenu(w->menu) : nullptr;
    if (!m) return;
    layoutMenuBar(hwnd);
    const WindowDrawTarget target = windowDrawTarget(hwnd, false);
    if (!target.surface) return;
    Surface& s = *target.surface;
    const RECT bar = offsetRect(menuBarRectInWindow(w), target.origin.x, target.origin.y);
    layerFill(s, target.clip, bar, GetSysColor(COLOR_MENU));
    const int selected = trackedSelection(hwnd, true);
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        const RECT r = offsetRect(it.rect, target.origin.x, target.origin.y);
        const bool hot = static_cast<int>(i) == selected || (it.state & MF_HILITE);
        if (hot) layerFill(s, target.clip, r, GetSysColor(COLOR_HIGHLIGHT));
        int underline = -1;
        const std::string label = displayText(it.text, &underline);
        const COLORREF ink = !enabled(it) ? GetSysColor(COLOR_GRAYTEXT)
                             : hot        ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                          : GetSysColor(COLOR_MENUTEXT);
        layerText(s, target.clip, r.left + 8, r.top + 3, label, ink, false, underline);
    }
}

bool menuBarItemScreenRect(HWND hwnd, int position, RECT& out) {
    Window* w = findWindow(hwnd);
    Menu* m = w ? findMenu(w->menu) : nullptr;
    if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return false;
    layoutMenuBar(hwnd);
    const RECT wr = windowRectOnScreen(w);
    out = offsetRect(m->items[static_cast<std::size_t>(position)].rect, wr.left, wr.top);
    return true;
}

}  // namespace win::detail

namespace win {
int menuBarHeight(HWND hwnd) {
    detail::Window* w = detail::findWindow(hwnd);
    return (w && !(w->style & WS_CHILD) && w->menu) ? GetSystemMetrics(SM_CYMENU) : 0;
}
}  // namespace win
