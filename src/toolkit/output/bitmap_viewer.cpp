#include "toolkit/output/bitmap_viewer.h"

#include <algorithm>
#include <array>
#include <memory>

#include "platform/gdi/gdi.h"
#include "platform/window/scroll_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/frame_procs.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/window_table.h"
#include "toolkit/output/bitmap_store.h"

namespace tk {

namespace {

constexpr const char* kViewClass = "ZEVEDOROR";
constexpr int kViewId = 1001;
constexpr int kNone = -999;

struct ViewerRecord {
    int window = 0;
    win::HWND frame = nullptr, view = nullptr, statusBar = nullptr;
    std::array<win::HWND, 4> toolbars{};
    int mode = 2;
    bool closed = false;
    win::HBITMAP bitmap = nullptr;
    int width = 0, height = 0;
    int fullWidth = kNone, fullHeight = kNone;  // frame size showing the whole bitmap
    int options = 0;
    bool dragging = false;
    int mouseX = 0, mouseY = 0, dragH = 0, dragV = 0;
    win::WNDPROC previousProc = nullptr;
};

std::array<std::unique_ptr<ViewerRecord>, kWindowSlots>& records() {
    static std::array<std::unique_ptr<ViewerRecord>, kWindowSlots> r;
    return r;
}

ViewerRecord* recordOfFrame(win::HWND frame) {
    for (auto& r : records())
        if (r && r->frame == frame) return r.get();
    return nullptr;
}

ViewerRecord* recordOfView(win::HWND view) {
    for (auto& r : records())
        if (r && r->view == view) return r.get();
    return nullptr;
}

ViewerRecord* recordOfWindow(int window) {
    if (window < 0 || window >= kWindowSlots) return nullptr;
    return records()[static_cast<std::size_t>(window)].get();
}

int scrollPosition(win::HWND view, int bar) {
    win::SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = win::SIF_ALL;
    win::GetScrollInfo(view, bar, &si);
    return si.nPos;
}

int scrollPage(win::HWND view, int bar) {
    win::SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = win::SIF_ALL;
    win::GetScrollInfo(view, bar, &si);
    return static_cast<int>(si.nPage);
}

void postScrolled(const ViewerRecord& r) {
    const int h = scrollPosition(r.view, win::SB_HORZ), v = scrollPosition(r.view, win::SB_VERT);
    EventPost(BitmapScrolled, 0, (h & 0xFFFF) | (v & 0xFFFF) << 16, 0, r.frame);
}

win::SIZE clientSize(win::HWND h) {
    win::RECT rc{};
    win::GetClientRect(h, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

int barHeight(win::HWND bar) {
    if (!bar || !win::IsWindowVisible(bar)) return 0;
    win::RECT rc{};
    win::GetWindowRect(bar, &rc);
    return rc.bottom - rc.top;
}
int barWidth(win::HWND bar) {
    if (!bar || !win::IsWindowVisible(bar)) return 0;
    win::RECT rc{};
    win::GetWindowRect(bar, &rc);
    return rc.right - rc.left;
}

// The frame size at which the whole bitmap shows with the window's bars.
win::SIZE neededFrameSize(const ViewerRecord& r) {
    const WindowSlot& slot = windowSystem().slots[static_cast<std::size_t>(r.window)];
    win::RECT rc{0, 0, r.width, r.height};
    win::AdjustWindowRectEx(&rc, win::WS_CHILD | win::WS_HSCROLL | win::WS_VSCROLL, win::FALSE, 0);
    rc.bottom += barHeight(slot.statusBar) + barHeight(slot.toolbars[0]) + barHeight(slot.toolbars[3]);
    rc.right += barWidth(slot.toolbars[1]) + barWidth(slot.toolbars[2]);
    const auto style = static_cast<win::DWORD>(win::GetWindowLongA(r.frame, win::GWL_STYLE));
    const auto exStyle = static_cast<win::DWORD>(win::GetWindowLongA(r.frame, win::GWL_EXSTYLE));
    win::AdjustWindowRectEx(&rc, style, win::GetMenu(r.frame) != nullptr, exStyle);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

void setScrollBar(win::HWND view, int bar, int extent, int client, int position) {
    win::SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = win::SIF_RANGE | win::SIF_PAGE | (position >= 0 ? win::SIF_POS : 0u);
    si.nMin = 0;
    si.nMax = extent - 1;
    si.nPage = static_cast<win::UINT>(std::clamp(client, 0, extent));
    si.nPos = position;
    win::SetScrollInfo(view, bar, &si, win::FALSE);
}

// The pages follow the view's client size (the whole bitmap when the frame
// is large enough for it); a position the new page moves is reported.
void viewResized(ViewerRecord& r) {
    const int h = scrollPosition(r.view, win::SB_HORZ), v = scrollPosition(r.view, win::SB_VERT);
    win::RECT frame{};
    win::GetWindowRect(r.frame, &frame);
    const bool whole = r.fullWidth != kNone && frame.right - frame.left >= r.fullWidth &&
                       frame.bottom - frame.top >= r.fullHeight;
    const win::SIZE c = clientSize(r.view);
    setScrollBar(r.view, win::SB_HORZ, r.width, whole ? r.width : c.cx, -1);
    setScrollBar(r.view, win::SB_VERT, r.height, whole ? r.height : c.cy, -1);
    if (h != scrollPosition(r.view, win::SB_HORZ) || v != scrollPosition(r.view, win::SB_VERT))
        postScrolled(r);
}

void layoutView(ViewerRecord& r) {
    const WindowSlot& slot = windowSystem().slots[static_cast<std::size_t>(r.window)];
    if (!slot.client || !r.view) return;
    win::RECT area{};
    win::GetWindowRect(slot.client, &area);
    win::POINT corner{area.left, area.top};
    win::ScreenToClient(r.frame, &corner);
    win::MoveWindow(r.view, corner.x, corner.y, area.right - area.left, area.bottom - area.top,
                    win::TRUE);
}

void fitFrame(ViewerRecord& r) {
    const win::SIZE need = neededFrameSize(r);
    win::RECT rc{};
    win::GetWindowRect(r.frame, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int vbar = win::GetSystemMetrics(win::SM_CXVSCROLL);
    const int hbar = win::GetSystemMetrics(win::SM_CYHSCROLL);
    int nw = w, nh = h;
    if (w >= need.cx && h >= need.cy) {
        nw = need.cx, nh = need.cy;
    } else if (w >= need.cx) {
        if (w >= need.cx + vbar) nw = need.cx + vbar;
    } else if (h >= need.cy) {
        if (h >= need.cy + hbar) nh = need.cy + hbar;
    }
    if (nw != w || nh != h)
        win::SetWindowPos(r.frame, nullptr, 0, 0, nw, nh,
                          win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

// The frame may grow to show the whole bitmap and no further.
void limitFrame(ViewerRecord& r, win::MINMAXINFO& info) {
    const win::SIZE need = neededFrameSize(r);
    const int vbar = win::GetSystemMetrics(win::SM_CXVSCROLL);
    const int hbar = win::GetSystemMetrics(win::SM_CYHSCROLL);
    r.fullWidth = r.fullHeight = kNone;
    const bool widthFits = need.cx <= info.ptMaxSize.x, heightFits = need.cy <= info.ptMaxSize.y;
    if (widthFits && heightFits) {
        info.ptMaxSize = {need.cx, need.cy};
        r.fullWidth = need.cx, r.fullHeight = need.cy;
    } else if (widthFits) {
        if (need.cx + vbar < info.ptMaxSize.x) info.ptMaxSize.x = need.cx + vbar;
    } else if (heightFits) {
        if (need.cy + hbar < info.ptMaxSize.y) info.ptMaxSize.y = need.cy + hbar;
    }
    info.ptMaxTrackSize = info.ptMaxSize;
}

void attach(ViewerRecord& r, int index, int horizontal, int vertical) {
    const BitmapEntry& e = *bitmapSlot(index);
    r.bitmap = e.handle;
    r.width = e.width;
    r.height = e.height;
    r.dragging = false;
    fitFrame(r);
    win::MINMAXINFO screen{};
    screen.ptMaxSize = {win::GetSystemMetrics(win::SM_CXSCREEN), win::GetSystemMetrics(win::SM_CYSCREEN)};
    limitFrame(r, screen);
    const win::SIZE c = clientSize(r.view);
    setScrollBar(r.view, win::SB_HORZ, r.width, c.cx, horizontal);
    setScrollBar(r.view, win::SB_VERT, r.height, c.cy, vertical);
    win::SendMessageA(r.view, win::WM_SIZE, 0, win::MAKELPARAM(c.cx, c.cy));
}

// Moves a scroll bar by a step; the picture is redrawn and the change
// reported.
void scrollBy(ViewerRecord& r, int bar, int step) {
    if (step == 0) return;
    const int old = scrollPosition(r.view, bar);
    win::SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = win::SIF_POS;
    si.nPos = old + step;
    win::SetScrollInfo(r.view, bar, &si, win::TRUE);
    win::InvalidateRect(r.view, nullptr, win::FALSE);
    win::UpdateWindow(r.view);
    postScrolled(r);
}

int halfPage(const ViewerRecord& r, int bar) {
    const win::SIZE c = clientSize(r.view);
    return (bar == win::SB_HORZ ? c.cx : c.cy) / 2;
}

void scrollMessage(ViewerRecord& r, int bar, win::WPARAM wp) {
    const int code = win::LOWORD(wp);
    int step = 0;
    switch (code) {
        case win::SB_LINEUP: step = -1; break;
        case win::SB_LINEDOWN: step = 1; break;
        case win::SB_PAGEUP: step = -halfPage(r, bar); break;
        case win::SB_PAGEDOWN: step = halfPage(r, bar); break;
        case win::SB_THUMBTRACK:
            step = static_cast<int>(static_cast<short>(win::HIWORD(wp))) - scrollPosition(r.view, bar);
            break;
        default: break;
    }
    scrollBy(r, bar, step);
}

void scrollTo(ViewerRecord& r, int bar, int position) {
    scrollBy(r, bar, position - scrollPosition(r.view, bar));
}

bool keyDown(ViewerRecord& r, win::WPARAM key) {
    const bool ctrl = win::GetKeyState(win::VK_CONTROL) < 0;
    switch (key) {
        case win::VK_PRIOR:
            ctrl ? scrollTo(r, win::SB_VERT, 0) : scrollBy(r, win::SB_VERT, -halfPage(r, win::SB_VERT));
            return true;
        case win::VK_NEXT:
            ctrl ? scrollTo(r, win::SB_VERT, r.height) : scrollBy(r, win::SB_VERT, halfPage(r, win::SB_VERT));
            return true;
        case win::VK_HOME:
            ctrl ? scrollTo(r, win::SB_HORZ, 0) : scrollBy(r, win::SB_HORZ, -halfPage(r, win::SB_HORZ));
            return true;
        case win::VK_END:
            ctrl ? scrollTo(r, win::SB_HORZ, r.width) : scrollBy(r, win::SB_HORZ, halfPage(r, win::SB_HORZ));
            return true;
        case win::VK_LEFT: scrollBy(r, win::SB_HORZ, -1); return true;
        case win::VK_RIGHT: scrollBy(r, win::SB_HORZ, 1); return true;
        case win::VK_UP: scrollBy(r, win::SB_VERT, -1); return true;
        case win::VK_DOWN: scrollBy(r, win::SB_VERT, 1); return true;
        default: return false;
    }
}

void paint(ViewerRecord& r) {
    win::PAINTSTRUCT ps{};
    win::HDC dc = win::BeginPaint(r.view, &ps);
    win::HDC memory = win::CreateCompatibleDC(dc);
    win::HGDIOBJ old = win::SelectObject(memory, r.bitmap);
    if (win::HPALETTE p = windowSystem().Palette) {
        win::SelectPalette(dc, p, 0);
        win::RealizePalette(dc);
    }
    const win::SIZE c = clientSize(r.view);
    win::BitBlt(dc, 0, 0, c.cx, c.cy, memory, scrollPosition(r.view, win::SB_HORZ),
                scrollPosition(r.view, win::SB_VERT), win::SRCCOPY);
    win::SelectObject(memory, old);
    win::DeleteDC(memory);
    win::EndPaint(r.view, &ps);
}

int mouseButton(win::UINT msg) {
    switch (msg) {
        case win::WM_MBUTTONDOWN:
        case win::WM_MBUTTONDBLCLK: return 2;
        case win::WM_RBUTTONDOWN:
        case win::WM_RBUTTONDBLCLK: return 3;
        default: return 1;
    }
}

bool mouseMessage(ViewerRecord& r, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    const int x = static_cast<short>(win::LOWORD(lp)), y = static_cast<short>(win::HIWORD(lp));
    const bool dragAllowed = r.mode == 1 || (r.options & 2) != 0;
    switch (msg) {
        case win::WM_LBUTTONDOWN:
            if (!dragAllowed) break;
            win::SetCapture(r.view);
            r.dragging = true;
            r.mouseX = x, r.mouseY = y;
            r.dragH = scrollPosition(r.view, win::SB_HORZ);
            r.dragV = scrollPosition(r.view, win::SB_VERT);
            win::SetCursor(win::LoadCursorA(nullptr, win::IDC_SIZEALL));
            return true;
        case win::WM_MOUSEMOVE:
            if (!r.dragging) return false;
            scrollTo(r, win::SB_HORZ, std::max(0, r.dragH + r.mouseX - x));
            scrollTo(r, win::SB_VERT, std::max(0, r.dragV + r.mouseY - y));
            r.mouseX = x, r.mouseY = y;
            r.dragH = scrollPosition(r.view, win::SB_HORZ);
            r.dragV = scrollPosition(r.view, win::SB_VERT);
            return true;
        case win::WM_LBUTTONUP:
            if (!r.dragging) return false;
            win::SetCursor(win::LoadCursorA(nullptr, win::IDC_ARROW));
            win::ReleaseCapture();
            r.dragging = false;
            return true;
        default:
            break;
    }
    const bool doubleClick = msg == win::WM_LBUTTONDBLCLK || msg == win::WM_MBUTTONDBLCLK ||
                             msg == win::WM_RBUTTONDBLCLK;
    int doubleEnabled = 0;
    EventTypeSetting(MouseDoubleClick, doubleEnabled);
    win::SetCapture(r.view);
    // The key state and the packed position, as the event queue reads every
    // mouse message.
    EventPost(doubleClick && doubleEnabled ? MouseDoubleClick : MouseButtonDown, mouseButton(msg),
              static_cast<std::intptr_t>(wp), lp, r.frame);
    return true;
}

win::LRESULT viewProc(win::HWND view, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    ViewerRecord* r = recordOfView(view);
    if (!r) return win::DefWindowProcA(view, msg, wp, lp);
    switch (msg) {
        case win::WM_PAINT:
            paint(*r);
            return 0;
        case win::WM_ERASEBKGND:
            return 1;
        case win::WM_SIZE:
            viewResized(*r);
            return 0;
        case win::WM_HSCROLL:
            scrollMessage(*r, win::SB_HORZ, wp);
            return 0;
        case win::WM_VSCROLL:
            scrollMessage(*r, win::SB_VERT, wp);
            return 0;
        case win::WM_KEYDOWN:
            if ((r->mode == 1 || (r->options & 1)) && keyDown(*r, wp)) return 0;
            break;
        case win::WM_MOUSEWHEEL: {
            const int delta = static_cast<short>(win::HIWORD(wp));
            const int limit = halfPage(*r, win::SB_VERT);
            const int step = std::clamp(delta, -limit, limit);
            scrollTo(*r, win::SB_VERT, std::max(0, scrollPosition(view, win::SB_VERT) - step));
            return 0;
        }
        case win::WM_LBUTTONDOWN:
        case win::WM_MBUTTONDOWN:
        case win::WM_RBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK:
        case win::WM_MBUTTONDBLCLK:
        case win::WM_RBUTTONDBLCLK:
        case win::WM_MOUSEMOVE:
        case win::WM_LBUTTONUP:
            if (mouseMessage(*r, msg, wp, lp)) return 0;
            break;
        default:
            break;
    }
    if (msg == win::WM_KEYDOWN && r->mode == 1) return win::DefWindowProcA(view, msg, wp, lp);
    // Everything else is reported as for any toolkit drawing window.
    const WindowSlot& slot = windowSystem().slots[static_cast<std::size_t>(r->window)];
    return slot.client ? ClientWindowProcedure(slot.client, msg, wp, lp)
                       : win::DefWindowProcA(view, msg, wp, lp);
}

win::LRESULT passOn(ViewerRecord* r, win::HWND frame, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (r && r->previousProc) return win::CallWindowProcA(r->previousProc, frame, msg, wp, lp);
    return FrameWindowProcedure(frame, msg, wp, lp);
}

void destroyed(ViewerRecord& r) {
    if (r.mode == 3) {
        if (seams().modalFrame) seams().modalFrame->end(r.frame);
    }
    FrameUserRecord* fr = frameRecord(r.frame);
    if (fr) setFrameRecord(r.window, nullptr);
}

win::LRESULT frameProc(win::HWND frame, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    ViewerRecord* r = recordOfFrame(frame);
    if (!r) return FrameWindowProcedure(frame, msg, wp, lp);
    switch (msg) {
        case win::WM_SIZE: {
            const win::LRESULT result = passOn(r, frame, msg, wp, lp);
            if (wp != win::SIZE_MINIMIZED) layoutView(*r);
            return result;
        }
        case win::WM_GETMINMAXINFO:
            passOn(r, frame, msg, wp, lp);
            limitFrame(*r, *reinterpret_cast<win::MINMAXINFO*>(lp));
            return 0;
        case win::WM_CLOSE:
            if (r->mode == 1) {
                r->closed = true;
                win::DestroyWindow(frame);
            } else {
                EventPost(CloseRequest, 0, 0, 0, frame);
            }
            return 0;
        case win::WM_SETFOCUS:
            windowSystem().FocusWindow = frame;
            if (r->view) win::SetFocus(r->view);
            return 0;
        case win::WM_DESTROY: {
            destroyed(*r);
            const win::WNDPROC previous = r->previousProc;
            const int window = r->window;
            if (r->mode != 1) records()[static_cast<std::size_t>(window)].reset();
            return previous ? win::CallWindowProcA(previous, frame, msg, wp, lp)
                            : FrameWindowProcedure(frame, msg, wp, lp);
        }
        default:
            return passOn(r, frame, msg, wp, lp);
    }
}

// Asks the window layer each time rather than remembering: a restarted
// window system (a second run of the program in one process) has forgotten
// the class.
void registerViewClass() {
    win::WNDCLASSA wc{};
    if (win::WNDCLASSA known{}; win::GetClassInfoA(nullptr, kViewClass, &known)) return;
    wc.lpfnWndProc = viewProc;
    wc.hCursor = win::LoadCursorA(nullptr, win::IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<win::HBRUSH>(static_cast<win::INT_PTR>(win::COLOR_WINDOW + 1));
    wc.lpszClassName = kViewClass;
    win::RegisterClassA(&wc);
}

// Runs a modal viewer until the user closes it.
void runModal(ViewerRecord& r) {
    if (seams().modalFrame) seams().modalFrame->begin(r.frame);
    win::MSG msg{};
    while (!r.closed && win::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == 0x0118 && win::LOWORD(msg.wParam) == 0xFFF6) continue;
        win::TranslateMessage(&msg);
        win::DispatchMessageA(&msg);
    }
    if (seams().modalFrame) seams().modalFrame->end(r.frame);
    records()[static_cast<std::size_t>(r.window)].reset();
}

}  // namespace

void BitmapViewerOpen(int index, int horizontal, int vertical, int& mode, int options, int& status) {
    WindowSystem& w = windowSystem();
    const int window = w.CurrentSlot;
    if (window <= 0) {
        status = 1;
        return;
    }
    const BitmapEntry* e = bitmapSlot(index);
    if (!e || !e->handle) {
        status = 2;
        return;
    }
    if (index == BitmapTargetIndex()) {
        status = 3;
        return;
    }
    WindowSlot& slot = w.slots[static_cast<std::size_t>(window)];
    if (ViewerRecord* r = recordOfWindow(window)) {
        attach(*r, index, horizontal, vertical);
        win::InvalidateRect(r->view, nullptr, win::FALSE);
        win::UpdateWindow(r->view);
        status = 0;
        return;
    }
    if (slot.record) {
        status = 4;
        return;
    }
    if (win::GetWindow(slot.client, win::GW_CHILD)) {
        status = 9;
        return;
    }
    status = 0;
    if (hasChildStyle(slot.frame) && mode != 2) {
        mode = 2;
        status = 5;
    }
    registerViewClass();
    auto record = std::make_unique<ViewerRecord>();
    ViewerRecord& r = *record;
    r.window = window;
    r.frame = slot.frame;
    r.mode = mode;
    r.options = options;
    r.statusBar = slot.statusBar;
    if (mode != 1) r.toolbars = slot.toolbars;
    win::RECT area{};
    win::GetWindowRect(slot.client, &area);
    win::POINT corner{area.left, area.top};
    win::ScreenToClient(slot.frame, &corner);
    r.view = win::CreateWindowExA(
        0, kViewClass, "",
        win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | win::WS_HSCROLL | win::WS_VSCROLL,
        corner.x, corner.y, area.right - area.left, area.bottom - area.top, slot.frame,
        reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(kViewId)), nullptr, nullptr);
    if (!r.view) {
        status = 6;
        return;
    }
    records()[static_cast<std::size_t>(window)] = std::move(record);
    auto fr = std::make_unique<FrameUserRecord>();
    fr->words[0] = KindBitmapViewer;
    fr->words[5] = reinterpret_cast<std::intptr_t>(r.view);
    setFrameRecord(window, std::move(fr));
    r.previousProc = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
        slot.frame, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&frameProc)));
    attach(r, index, std::max(0, horizontal), std::max(0, vertical));
    const bool hadFocus = win::GetFocus() == slot.client;
    if (hadFocus) win::SetFocus(r.view);
    win::ShowWindow(slot.client, win::SW_HIDE);
    win::UpdateWindow(r.view);
    if (mode == 3 && !win::IsWindowEnabled(slot.frame)) {
        win::EnableWindow(slot.frame, win::TRUE);
        win::SetFocus(r.view);
    }
    win::ShowWindow(slot.frame, win::SW_SHOW);
    if (mode == 3 && seams().modalFrame) seams().modalFrame->begin(slot.frame);
    if (mode == 1) runModal(r);
}

int BitmapViewerFind(int index) {
    const BitmapEntry* e = bitmapSlot(index);
    if (!e || !e->handle) return 0;
    for (int window = 1; window < kWindowSlots; ++window)
        if (const ViewerRecord* r = recordOfWindow(window); r && r->bitmap == e->handle) return window;
    return 0;
}

int BitmapViewerInfo(int window, int selector) {
    const ViewerRecord* r = recordOfWindow(window);
    if (!r || !r->view) return 0;
    switch (selector) {
        case 3:
            for (int index = 0; index < kBitmapSlots; ++index)
                if (bitmapSlot(index)->handle == r->bitmap) return index + 1;
            return 0;
        case 4:
            return scrollPosition(r->view, win::SB_HORZ);
        case 5:
            return scrollPosition(r->view, win::SB_VERT);
        case 101:
            return r->width;
        case 102:
            return r->height;
        case 103: {
            int below = scrollPosition(r->view, win::SB_VERT) + scrollPage(r->view, win::SB_VERT);
            if (r->width - 1 >= scrollPage(r->view, win::SB_HORZ))
                below += win::GetSystemMetrics(win::SM_CYHSCROLL);
            return below;
        }
        default:
            return 0;
    }
}

void ResetBitmapViewers() {
    for (auto& r : records())
        r.reset();
}

}  // namespace tk
