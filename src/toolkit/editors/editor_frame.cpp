#include "toolkit/editors/editor_frame.h"

#include "platform/controls/common_controls_api.h"
#include "platform/window/user_api.h"
#include "platform/window/user_constants.h"
#include "toolkit/core/window_classes.h"

namespace tk {

bool frameHasCaption(win::HWND frame) {
    return (win::GetWindowLongA(frame, win::GWL_STYLE) & win::WS_CAPTION) == win::WS_CAPTION;
}

win::HWND editorStatusParts(int window, const std::array<int, 4>& edges, int style) {
    WindowSlot& slot = windowSystem().slots[static_cast<std::size_t>(window)];
    if (!slot.statusBar) return nullptr;
    const int parts = frameHasCaption(slot.frame) ? 4 : 5;
    int previous = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        slot.statusParts[i] = {edges[i] - previous, style};
        previous = edges[i];
    }
    slot.statusParts[4] = {-1, style};
    slot.statusPartCount = parts;
    std::array<int, 5> at{edges[0], edges[1], edges[2], edges[3], -1};
    StatusBarPartEdges(window, parts, at.data());
    win::SendMessageA(slot.statusBar, win::SB_SETPARTS, static_cast<win::WPARAM>(parts),
                      reinterpret_cast<win::LPARAM>(at.data()));
    return slot.statusBar;
}

void editorActivateInsideParent(win::HWND frame, win::HWND focusControl) {
    if (!hasChildStyle(frame)) return;
    win::BringWindowToTop(frame);
    bool inside = false;
    for (win::HWND h = win::GetFocus(); h && !inside; h = win::GetParent(h))
        inside = h == frame;
    if (!inside && focusControl) win::SetFocus(focusControl);
    FocusWindowActivate(frame);
}

bool editorActivationMessage(win::UINT msg, win::WPARAM wp) {
    if (msg == win::WM_MOUSEACTIVATE) return true;
    if (msg != win::WM_PARENTNOTIFY) return false;
    const auto event = win::LOWORD(wp);
    return event == win::WM_LBUTTONDOWN || event == win::WM_RBUTTONDOWN ||
           event == win::WM_MBUTTONDOWN;
}

}  // namespace tk
