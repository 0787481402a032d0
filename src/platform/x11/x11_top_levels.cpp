#include "platform/x11/x11_top_levels.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <cstdlib>
#include <cstring>

#include "base/cp1252.h"
#include "platform/window/screen.h"
#include "platform/window/surface.h"
#include "platform/window/user_api.h"
#include "platform/window/window_internal.h"

namespace win::x11 {

struct TopLevels::Shown {
    HWND hwnd = nullptr;
    Window xw = 0;
    bool popup = false;
    bool mapped = false;
    bool everMapped = false;
    bool iconic = false;         // the manager shows it as an icon
    bool managerMaximised = false;
    bool modal = false;
    RECT placed{};               // the geometry last asked of or told by the server
    unsigned long placedSerial = 0;
    // The program's moves the server may not have made yet: the request's
    // serial and the place before it. A pointer event from before a move
    // gives its position in the window where it stood then.
    std::deque<std::pair<unsigned long, POINT>> movesInFlight;
    std::string title;
    Window transientFor = 0;
    HICON icon = nullptr;
    RECT hintedSize{};           // the size the size hints were last written for
    ShownPixels pixels;
};

namespace {

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool isPopup(HWND h) {
    const auto style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
    return (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION;
}

std::string className(HWND h) {
    char name[64] = {};
    GetClassNameA(h, name, sizeof name);
    return name;
}

RECT windowRect(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

// The icon the desktop shows for a window: its own, its class's, or its
// owner's (dialogs carry the program's icon).
HICON iconOf(HWND h) {
    for (int depth = 0; h && depth < 8; ++depth, h = GetWindow(h, GW_OWNER)) {
        if (detail::Window* w = detail::findWindow(h)) {
            if (w->iconBig) return w->iconBig;
            if (w->iconSmall) return w->iconSmall;
            if (w->cls && w->cls->icon) return w->cls->icon;
        }
    }
    return nullptr;
}

// A modal dialog: its owner is disabled while it is up.
bool isModal(HWND h) {
    const HWND owner = GetWindow(h, GW_OWNER);
    return owner && !IsWindowEnabled(owner) && IsWindowEnabled(h);
}

// A visible, enabled window that `h` owns (directly or through others): the
// one to turn to when the user picks a window that a modal dialog blocks.
HWND enabledPopupOf(HWND h) {
    for (HWND t = GetTopWindow(nullptr); t; t = GetWindow(t, GW_HWNDNEXT)) {
        if (t == h || !IsWindowVisible(t) || !IsWindowEnabled(t) || isPopup(t)) continue;
        for (HWND o = GetWindow(t, GW_OWNER); o; o = GetWindow(o, GW_OWNER))
            if (o == h) return t;
    }
    return nullptr;
}

// Fits a window that does not lie wholly on the screen (saved on a larger
// screen) back onto it.
void bringOntoScreen(HWND h) {
    if (IsZoomed(h) || IsIconic(h)) return;
    const ScreenConfig& sc = screenConfig();
    const RECT r = windowRect(h);
    const int w = std::min<int>(r.right - r.left, sc.width);
    const int height = std::min<int>(r.bottom - r.top, sc.height);
    const int x = std::clamp<int>(r.left, 0, sc.width - w);
    const int y = std::clamp<int>(r.top, 0, sc.height - height);
    if (x != r.left || y != r.top || w != r.right - r.left || height != r.bottom - r.top)
        SetWindowPos(h, nullptr, x, y, w, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TopLevels::TopLevels(Connection& c) : c_(c) {}

TopLevels::~TopLevels() {
    if (grab_) XUngrabPointer(c_.display, CurrentTime);
    for (auto& s : shown_)
        XDestroyWindow(c_.display, s->xw);
    if (gc_) XFreeGC(c_.display, gc_);
}

TopLevels::Shown* TopLevels::find(HWND h) const {
    for (const auto& s : shown_)
        if (s->hwnd == h) return s.get();
    return nullptr;
}

TopLevels::Shown* TopLevels::findX(Window xw) const {
    for (const auto& s : shown_)
        if (s->xw == xw) return s.get();
    return nullptr;
}

HWND TopLevels::windowOf(Window xw) const {
    const Shown* s = findX(xw);
    return s ? s->hwnd : nullptr;
}

Window TopLevels::xWindowOf(HWND h) const {
    const Shown* s = find(h);
    return s ? s->xw : 0;
}

POINT TopLevels::screenPoint(Window xw, int x, int y, unsigned long serial) {
    Shown* s = findX(xw);
    if (!s) return {x, y};
    auto& moves = s->movesInFlight;
    // Events come in order: a move the server had made when this one was
    // sent is made for every later event too.
    while (!moves.empty() && moves.front().first <= serial)
        moves.pop_front();
    if (!moves.empty()) return {moves.front().second.x + x, moves.front().second.y + y};
    const RECT r = windowRect(s->hwnd);
    return {r.left + x, r.top + y};
}

TopLevels::Shown& TopLevels::create(HWND h) {
    auto s = std::make_unique<Shown>();
    s->hwnd = h;
    s->popup = isPopup(h);
    const RECT r = windowRect(h);
    XSetWindowAttributes a{};
    a.override_redirect = s->popup ? True : False;
    a.save_under = s->popup ? True : False;
    a.background_pixel = WhitePixel(c_.display, c_.screen);
    a.bit_gravity = NorthWestGravity;
    a.cursor = cursor_;
    a.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                   ButtonReleaseMask | PointerMotionMask | StructureNotifyMask | FocusChangeMask |
                   PropertyChangeMask;
    s->xw = XCreateWindow(c_.display, c_.root, r.left, r.top,
                          static_cast<unsigned>(std::max<LONG>(1, r.right - r.left)),
                          static_cast<unsigned>(std::max<LONG>(1, r.bottom - r.top)), 0,
                          CopyFromParent, InputOutput, CopyFromParent,
                          CWOverrideRedirect | CWSaveUnder | CWBackPixel | CWBitGravity |
                              CWEventMask | CWCursor,
                          &a);
    s->placed = r;
    s->placedSerial = NextRequest(c_.display);
    const Atoms& at = c_.atoms;
    XClassHint cls{const_cast<char*>("pelk-gm"), const_cast<char*>("pelk-gm")};
    XSetClassHint(c_.display, s->xw, &cls);
    c_.setCardinals(s->xw, at.netWmPid, {static_cast<long>(getpid())});
    if (s->popup) {
        const std::string name = className(h);
        const Atom type = name == "#32768"      ? at.typePopupMenu
                          : name == "ComboLBox" ? at.typeDropdownMenu
                                                : at.typeTooltip;
        c_.setAtoms(s->xw, at.netWmWindowType, {type});
    } else {
        Atom protocols[] = {at.wmDeleteWindow};
        XSetWMProtocols(c_.display, s->xw, protocols, 1);
        // The program draws its own caption and frame: the manager adds none.
        const long motif[5] = {2 /* decorations given */, 0, 0 /* none */, 0, 0};
        XChangeProperty(c_.display, s->xw, at.motifWmHints, at.motifWmHints, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(motif), 5);
        XWMHints hints{};
        hints.flags = InputHint | StateHint;
        hints.input = True;
        hints.initial_state = NormalState;
        XSetWMHints(c_.display, s->xw, &hints);
        c_.setAtoms(s->xw, at.netWmWindowType,
                    {GetWindow(h, GW_OWNER) ? at.typeDialog : at.typeNormal});
    }
    shown_.push_back(std::move(s));
    return *shown_.back();
}

void TopLevels::destroy(Shown& s) {
    if (grab_ == s.xw) {
        XUngrabPointer(c_.display, CurrentTime);
        grab_ = 0;
    }
    XDestroyWindow(c_.display, s.xw);
    std::erase(stacked_, s.xw);
    std::erase_if(shown_, [&](const auto& p) { return p.get() == &s; });
}

void TopLevels::syncProperties(Shown& s) {
    char text[512] = {};
    GetWindowTextA(s.hwnd, text, sizeof text);
    if (s.title != text || !s.everMapped) {
        s.title = text;
        const std::string utf8 = base::cp1252ToUtf8(s.title);
        c_.setText(s.xw, c_.atoms.netWmName, utf8);
        c_.setText(s.xw, XA_WM_NAME, utf8);
    }
    if (s.popup) return;
    const Shown* owner = find(GetWindow(s.hwnd, GW_OWNER));
    const Window transient = owner && owner->mapped ? owner->xw : 0;
    if (transient != s.transientFor) {
        s.transientFor = transient;
        if (transient)
            XSetTransientForHint(c_.display, s.xw, transient);
        else
            XDeleteProperty(c_.display, s.xw, XA_WM_TRANSIENT_FOR);
    }
    const HICON icon = iconOf(s.hwnd);
    if (icon != s.icon) {
        s.icon = icon;
        std::vector<long> data;
        for (int size : {16, 32, 48}) {
            std::vector<std::uint32_t> argb;
            if (!detail::iconPixels(icon, size, argb)) break;
            data.push_back(size);
            data.push_back(size);
            data.insert(data.end(), argb.begin(), argb.end());
        }
        if (data.empty())
            XDeleteProperty(c_.display, s.xw, c_.atoms.netWmIcon);
        else
            c_.setCardinals(s.xw, c_.atoms.netWmIcon, data);
    }
}

void TopLevels::syncGeometry(Shown& s) {
    const RECT r = windowRect(s.hwnd);
    const int w = std::max<int>(1, r.right - r.left), h = std::max<int>(1, r.bottom - r.top);
    if (!s.popup && !sameRect(r, s.hintedSize)) {
        // The program's place counts (saved positions); a fixed frame keeps its size.
        s.hintedSize = r;
        XSizeHints hints{};
        hints.flags = USPosition | USSize | PPosition | PSize | PMinSize;
        hints.x = r.left;
        hints.y = r.top;
        hints.width = w;
        hints.height = h;
        hints.min_width = std::min(w, GetSystemMetrics(SM_CXMINTRACK));
        hints.min_height = std::min(h, GetSystemMetrics(SM_CYMINTRACK));
        if (!(GetWindowLongA(s.hwnd, GWL_STYLE) & WS_THICKFRAME)) {
            hints.flags |= PMaxSize;
            hints.min_width = hints.max_width = w;
            hints.min_height = hints.max_height = h;
        }
        XSetWMNormalHints(c_.display, s.xw, &hints);
    }
    if (sameRect(r, s.placed)) return;
    if (s.mapped) {
        // A drag moves the window at every step: a few places are enough.
        if (s.movesInFlight.size() >= 64) s.movesInFlight.pop_front();
        s.movesInFlight.emplace_back(NextRequest(c_.display), POINT{s.placed.left, s.placed.top});
    }
    s.placed = r;
    s.placedSerial = NextRequest(c_.display);
    XMoveResizeWindow(c_.display, s.xw, r.left, r.top, static_cast<unsigned>(w),
                      static_cast<unsigned>(h));
}

void TopLevels::setNetState(Shown& s, Atom state, bool on) {
    if (s.mapped && c_.windowManager()) {
        c_.tellRoot(s.xw, c_.atoms.netWmState, on ? 1 : 0, static_cast<long>(state));
        return;
    }
    std::vector<Atom> states = c_.atomsOf(s.xw, c_.atoms.netWmState);
    std::erase(states, state);
    if (on) states.push_back(state);
    c_.setAtoms(s.xw, c_.atoms.netWmState, states);
}

void TopLevels::syncState(Shown& s) {
    if (s.popup) return;
    const bool modal = isModal(s.hwnd);
    if (modal != s.modal) {
        s.modal = modal;
        setNetState(s, c_.atoms.netWmStateModal, modal);
    }
    if (!c_.windowManager()) return;
    const bool maximised = IsZoomed(s.hwnd) != FALSE;
    if (maximised != s.managerMaximised) {
        s.managerMaximised = maximised;
        if (s.mapped) {
            c_.tellRoot(s.xw, c_.atoms.netWmState, maximised ? 1 : 0,
                        static_cast<long>(c_.atoms.netWmStateMaxVert),
                        static_cast<long>(c_.atoms.netWmStateMaxHorz));
        } else {
            setNetState(s, c_.atoms.netWmStateMaxVert, maximised);
            setNetState(s, c_.atoms.netWmStateMaxHorz, maximised);
        }
    }
}

void TopLevels::map(Shown& s) {
    if (!s.popup && !s.everMapped) {
        bringOntoScreen(s.hwnd);
        syncGeometry(s);
    }
    s.everMapped = true;
    s.mapped = true;
    s.pixels.forget();
    XMapWindow(c_.display, s.xw);
    if (s.popup) XRaiseWindow(c_.display, s.xw);
}

void TopLevels::hide(Shown& s) {
    s.mapped = false;
    s.iconic = false;
    if (s.popup || !c_.windowManager())
        XUnmapWindow(c_.display, s.xw);
    else
        XWithdrawWindow(c_.display, s.xw, c_.screen);
    std::erase(stacked_, s.xw);
}

void TopLevels::paint(Shown& s) {
    const Surface* surface = topLevelSurface(s.hwnd);
    if (!surface || surface->width <= 0 || surface->height <= 0) return;
    for (const RECT& r : s.pixels.takeDamage(*surface))
        putPixels(*surface, s.xw, r);
}

void TopLevels::putPixels(const Surface& from, Window xw, const RECT& r) {
    const unsigned w = static_cast<unsigned>(r.right - r.left);
    const unsigned h = static_cast<unsigned>(r.bottom - r.top);
    if (c_.directPixels) {
        // The surface's rows go out as they are, without a copy.
        XImage* image = XCreateImage(c_.display, c_.visual, static_cast<unsigned>(c_.depth),
                                     ZPixmap, 0,
                                     reinterpret_cast<char*>(const_cast<std::uint32_t*>(
                                         from.pixels.data())),
                                     static_cast<unsigned>(from.width),
                                     static_cast<unsigned>(from.height), 32, from.width * 4);
        XPutImage(c_.display, xw, gc(), image, r.left, r.top, r.left, r.top, w, h);
        image->data = nullptr;
        XDestroyImage(image);
        return;
    }
    auto* data = static_cast<char*>(std::calloc(static_cast<std::size_t>(w) * h, 4));
    XImage* image = XCreateImage(c_.display, c_.visual, static_cast<unsigned>(c_.depth), ZPixmap,
                                 0, data, w, h, 32, 0);
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x)
            XPutPixel(image, static_cast<int>(x), static_cast<int>(y),
                      from.at(r.left + static_cast<int>(x), r.top + static_cast<int>(y)));
    XPutImage(c_.display, xw, gc(), image, 0, 0, r.left, r.top, w, h);
    XDestroyImage(image);
}

GC TopLevels::gc() {
    if (!gc_) gc_ = XCreateGC(c_.display, c_.root, 0, nullptr);
    return gc_;
}

void TopLevels::present() {
    exposed_ = false;
    // Windows of the program that are gone take their X windows with them.
    for (std::size_t i = shown_.size(); i-- > 0;)
        if (!IsWindow(shown_[i]->hwnd)) destroy(*shown_[i]);
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        const RECT r = windowRect(h);
        const bool visible = IsWindowVisible(h) && r.right > r.left && r.bottom > r.top;
        Shown* s = find(h);
        if (!visible) {
            if (s && s->mapped) hide(*s);
            continue;
        }
        if (s && s->popup != isPopup(h)) {
            destroy(*s);
            s = nullptr;
        }
        if (!s) s = &create(h);
        syncProperties(*s);
        syncState(*s);
        if (IsIconic(h) && c_.windowManager() && !s->popup && !GetWindow(h, GW_OWNER)) {
            // The manager shows a minimised window as it shows minimised
            // windows. Managers iconify a transient window only with its
            // owner, so an owned window keeps the program's own minimised
            // caption, where its restore box is at hand.
            if (!s->mapped) map(*s);
            if (!s->iconic) XIconifyWindow(c_.display, s->xw, c_.screen);
            s->iconic = true;
            continue;
        }
        if (s->iconic) {
            s->iconic = false;
            XMapWindow(c_.display, s->xw);
        }
        syncGeometry(*s);
        if (!s->mapped) map(*s);
        paint(*s);
    }
    restack();
    followActivation();
    followPointerGrab();
    XFlush(c_.display);
}

void TopLevels::restack() {
    std::vector<Window> order;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
        if (const Shown* s = find(h); s && s->mapped && !s->iconic) order.push_back(s->xw);
    if (order == stacked_) return;
    stacked_ = order;
    if (order.empty()) return;
    // A manager keeps the managed windows in frames of its own and stacks
    // those; it is asked to raise the front one. Without one, the X
    // windows are stacked as the program's.
    if (c_.windowManager()) {
        XRaiseWindow(c_.display, order.front());
        for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
            if (const Shown* s = find(h); s && s->mapped && s->popup) XRaiseWindow(c_.display, s->xw);
        return;
    }
    XRaiseWindow(c_.display, order.front());
    XRestackWindows(c_.display, order.data(), static_cast<int>(order.size()));
}

void TopLevels::followActivation() {
    const HWND active = GetActiveWindow();
    if (active == active_) return;
    const Shown* s = find(active);
    if (!s || !s->mapped || s->iconic || s->popup) return;
    active_ = active;
    if (c_.supports(c_.atoms.netActiveWindow))
        c_.tellRoot(s->xw, c_.atoms.netActiveWindow, 1 /* an application */,
                    static_cast<long>(c_.lastTime));
    else
        XSetInputFocus(c_.display, s->xw, RevertToParent, CurrentTime);
}

void TopLevels::followPointerGrab() {
    // While a menu or a drop-down list that holds the mouse is up, a click
    // anywhere on the desktop comes to the program (and closes it).
    Window want = 0;
    const HWND capture = GetCapture();
    for (HWND h = GetTopWindow(nullptr); h && !want; h = GetWindow(h, GW_HWNDNEXT)) {
        const Shown* s = find(h);
        if (!s || !s->mapped || !s->popup) continue;
        if (className(h) == "#32768" || (capture && GetAncestor(capture, GA_ROOT) == h))
            want = s->xw;
    }
    if (want == grab_) return;
    if (grab_) XUngrabPointer(c_.display, CurrentTime);
    grab_ = want;
    if (want)
        XGrabPointer(c_.display, want, True,
                     ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime);
}

bool TopLevels::handle(XEvent& e) {
    Shown* s = findX(e.xany.window);
    if (!s) return false;
    switch (e.type) {
        case Expose:
            s->pixels.forget();
            exposed_ = true;
            break;
        case ConfigureNotify:
            configured(*s, e.xconfigure);
            break;
        case PropertyNotify:
            propertyChanged(*s, e.xproperty.atom);
            break;
        case FocusIn:
            if (e.xfocus.detail != NotifyPointer && e.xfocus.detail != NotifyInferior)
                focusIn(*s);
            break;
        case ClientMessage:
            if (e.xclient.message_type == c_.atoms.wmProtocols &&
                static_cast<Atom>(e.xclient.data.l[0]) == c_.atoms.wmDeleteWindow)
                closeRequested(*s);
            break;
        default:
            return false;
    }
    return true;
}

void TopLevels::configured(Shown& s, const XConfigureEvent& e) {
    // Geometry from before the program's last change of it is stale.
    if (e.serial < s.placedSerial || !s.mapped || s.iconic) return;
    int x = e.x, y = e.y;
    if (!e.send_event) {
        // A real event gives the place in the parent, which is a frame of
        // the manager's when it has one.
        Window child;
        XTranslateCoordinates(c_.display, s.xw, c_.root, 0, 0, &x, &y, &child);
    }
    const RECT r{x, y, x + e.width, y + e.height};
    s.placed = r;
    if (sameRect(r, windowRect(s.hwnd))) return;
    SetWindowPos(s.hwnd, nullptr, x, y, e.width, e.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TopLevels::propertyChanged(Shown& s, Atom property) {
    if (s.popup) return;
    if (property == c_.atoms.netWmState && c_.windowManager()) {
        const std::vector<Atom> states = c_.atomsOf(s.xw, c_.atoms.netWmState);
        auto has = [&](Atom a) { return std::find(states.begin(), states.end(), a) != states.end(); };
        const bool maximised = has(c_.atoms.netWmStateMaxVert) && has(c_.atoms.netWmStateMaxHorz);
        if (maximised == s.managerMaximised) return;
        s.managerMaximised = maximised;
        if (maximised != (IsZoomed(s.hwnd) != FALSE))
            ShowWindow(s.hwnd, maximised ? SW_MAXIMIZE : SW_RESTORE);
        return;
    }
    if (property != c_.atoms.wmState) return;
    Atom type;
    int format;
    unsigned long items, rest;
    unsigned char* data = nullptr;
    long state = 0;
    if (XGetWindowProperty(c_.display, s.xw, c_.atoms.wmState, 0, 2, False, c_.atoms.wmState,
                           &type, &format, &items, &rest, &data) == Success &&
        data && items >= 1)
        state = reinterpret_cast<long*>(data)[0];
    if (data) XFree(data);
    if (state == IconicState && !s.iconic && s.mapped) {
        // Minimised by the manager.
        s.iconic = true;
        if (!IsIconic(s.hwnd)) ShowWindow(s.hwnd, SW_MINIMIZE);
    } else if (state == NormalState && s.iconic) {
        s.iconic = false;
        if (IsIconic(s.hwnd)) ShowWindow(s.hwnd, SW_RESTORE);
    }
}

void TopLevels::focusIn(Shown& s) {
    if (s.popup) return;
    active_ = s.hwnd;
    HWND h = s.hwnd;
    // A window behind a modal dialog hands the keyboard to the dialog.
    if (!IsWindowEnabled(h))
        if (const HWND popup = enabledPopupOf(h)) h = popup;
    if (GetActiveWindow() != h && IsWindowEnabled(h)) SetForegroundWindow(h);
}

void TopLevels::closeRequested(Shown& s) {
    if (!IsWindowEnabled(s.hwnd)) {
        // A modal dialog is up: the user is shown it instead.
        MessageBeep(0);
        if (const HWND popup = enabledPopupOf(s.hwnd)) SetForegroundWindow(popup);
        return;
    }
    PostMessageA(s.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

bool TopLevels::moveOrSizeByManager(HWND h, int edge, POINT rootPt) {
    const Shown* s = find(h);
    if (!s || s->popup || !s->mapped || !c_.supports(c_.atoms.netWmMoveResize)) return false;
    // The manager's directions, by the window layer's edge numbers (0: move).
    static constexpr long kDirection[9] = {8, 7, 3, 1, 0, 2, 5, 6, 4};
    if (edge < 0 || edge > 8) return false;
    // The manager moves the window until the button it was pressed with
    // is released. When the release is already on its way to the program
    // (a quick click on the caption) the manager would never see it and
    // would drag the window with the pointer until the next click, which
    // it would take for itself: the program's own loop sees the release.
    Window rootReturn = 0, childReturn = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    if (!XQueryPointer(c_.display, c_.root, &rootReturn, &childReturn, &rx, &ry, &wx, &wy, &mask) ||
        (mask & Button1Mask) == 0)
        return false;
    XUngrabPointer(c_.display, c_.lastTime);
    if (grab_) grab_ = 0;
    c_.tellRoot(s->xw, c_.atoms.netWmMoveResize, rootPt.x, rootPt.y, kDirection[edge],
                1 /* left button */, 1 /* an application */);
    XFlush(c_.display);
    handedOver_ = s->xw;
    return true;
}

bool TopLevels::releaseAfterHandOver() {
    if (!handedOver_) return false;
    // Released between the question above and the manager's grab: the
    // manager would drag the window with the pointer until the next click,
    // which it would take for itself.
    static constexpr long kCancel = 11;
    c_.tellRoot(handedOver_, c_.atoms.netWmMoveResize, 0, 0, kCancel, 1, 1);
    XFlush(c_.display);
    handedOver_ = 0;
    return true;
}

void TopLevels::setCursor(Cursor cursor) {
    cursor_ = cursor;
    for (const auto& s : shown_)
        XDefineCursor(c_.display, s->xw, cursor);
}

void TopLevels::screenChanged() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (!IsWindowVisible(h) || isPopup(h)) continue;
        if (IsZoomed(h))
            ShowWindow(h, SW_MAXIMIZE);  // fits a maximised window to the new screen
        else
            bringOntoScreen(h);
    }
}

}  // namespace win::x11
