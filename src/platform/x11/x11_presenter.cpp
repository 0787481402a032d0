#include "platform/x11/x11_presenter.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "base/cp1252.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/screen.h"
#include "platform/window/surface.h"
#include "platform/window/user_api.h"
#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_keys.h"
#include "platform/x11/x11_top_levels.h"

namespace win {
void clipboardTakenByOtherProgram();
}

namespace win::x11 {

struct X11Presenter::State {
    explicit State(Display* d) : c(d), tops(c) {}
    Connection c;
    TopLevels tops;
    Window utility = 0;  // owns the clipboard and receives its transfers
    std::map<unsigned, Cursor> cursors;
    bool ownsClipboard = false;
    std::string offeredText;  // UTF-8, LF line ends
    POINT lastRootPoint{};
};

namespace {

std::uint64_t realNowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Requests about windows that went away meanwhile (the manager's or the
// program's) fail harmlessly; the default handler would end the program.
int ignoreXError(Display*, XErrorEvent* e) {
    if (std::getenv("PELK_X11_DEBUG"))
        std::fprintf(stderr, "X error %d on request %d\n", e->error_code, e->request_code);
    return 0;
}

void followScreenSize(X11Presenter::State& s, int width, int height) {
    ScreenConfig sc = screenConfig();
    if (sc.width == width && sc.height == height) return;
    sc.width = width;
    sc.height = height;
    configureScreen(sc);
    s.tops.screenChanged();
}

int buttonOf(unsigned x) {
    return x == 1 ? 0 : x == 3 ? 1 : 2;
}

void answerSelectionRequest(X11Presenter::State& s, const XSelectionRequestEvent& req) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = req.display;
    reply.requestor = req.requestor;
    reply.selection = req.selection;
    reply.target = req.target;
    reply.time = req.time;
    reply.property = None;
    const Atoms& a = s.c.atoms;
    if (req.target == a.targets) {
        const Atom offered[] = {a.targets, a.utf8, XA_STRING};
        XChangeProperty(s.c.display, req.requestor, req.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(offered), 3);
        reply.property = req.property;
    } else if (req.target == a.utf8 || req.target == XA_STRING) {
        std::string data = s.offeredText;
        if (req.target == XA_STRING) {
            // Latin-1 for old clients.
            std::string latin;
            for (char c : base::utf8ToCp1252(data)) {
                const char32_t u = base::cp1252ToUnicode(static_cast<unsigned char>(c));
                latin.push_back(u < 256 ? static_cast<char>(u) : '?');
            }
            data = latin;
        }
        XChangeProperty(s.c.display, req.requestor, req.property, req.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()),
                        static_cast<int>(data.size()));
        reply.property = req.property;
    }
    XSendEvent(s.c.display, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
}

void keyEvent(XKeyEvent& e, bool down) {
    KeySym sym = 0;
    char text[8];
    const int n = XLookupString(&e, text, sizeof text, &sym, nullptr);
    const int vk = virtualKeyOfKeysym(sym);
    if (vk) {
        injectKey(vk, down);
        return;
    }
    // A character no key of the US layout types (an accented letter ...).
    if (down && n > 0) {
        const unsigned char c = base::unicodeToCp1252(static_cast<unsigned char>(text[0]));
        if (sym >= 0xA0 && sym <= 0xFF)
            injectChar(base::unicodeToCp1252(static_cast<char32_t>(sym)));
        else if (c)
            injectChar(c);
    }
}


// Where a pointer event happened on the program's screen: inside the X
// window of a program window at the program's idea of its place, so a
// click lands on the pixel it was shown on.
POINT pointOf(X11Presenter::State& s, Window xw, int x, int y, int rootX, int rootY,
              unsigned long serial) {
    s.lastRootPoint = {rootX, rootY};
    if (!s.tops.windowOf(xw)) return {rootX, rootY};
    return s.tops.screenPoint(xw, x, y, serial);
}

// A click on an X window that the desktop shows in front of the program's
// other windows goes to that window even where the program still stacks
// another one over it.
void frontForClick(X11Presenter::State& s, Window xw, POINT pt) {
    const HWND h = s.tops.windowOf(xw);
    if (!h) return;
    const HWND under = WindowFromPoint(pt);
    if (under && GetAncestor(under, GA_ROOT) != h)
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void releaseHeldKeys() {
    // Keys held when another program takes the keyboard would stay down
    // for good: let them go.
    for (int vk = 1; vk < 255; ++vk)
        if (vk != VK_LBUTTON && vk != VK_RBUTTON && vk != VK_MBUTTON && GetKeyState(vk) < 0)
            injectKey(vk, false);
}

void pointerEvent(X11Presenter::State& s, XEvent& e) {
    if (e.type == MotionNotify) {
        s.c.lastTime = e.xmotion.time;
        const POINT p = pointOf(s, e.xmotion.window, e.xmotion.x, e.xmotion.y, e.xmotion.x_root,
                                e.xmotion.y_root, e.xmotion.serial);
        injectMouseMove(p.x, p.y);
        return;
    }
    const XButtonEvent& b = e.xbutton;
    s.c.lastTime = b.time;
    const POINT p = pointOf(s, b.window, b.x, b.y, b.x_root, b.y_root, b.serial);
    if (e.type == ButtonPress) {
        s.tops.pressed();
        frontForClick(s, b.window, p);
    } else if (b.button == 1 && s.tops.releaseAfterHandOver()) {
        return;  // the program had its release when the move was handed over
    }
    if (b.button == 4 || b.button == 5) {
        if (e.type == ButtonPress) injectMouseWheel(p.x, p.y, b.button == 4 ? WHEEL_DELTA : -WHEEL_DELTA);
    } else if (b.button <= 3) {
        injectMouseMove(p.x, p.y);
        injectMouseButton(p.x, p.y, buttonOf(b.button), e.type == ButtonPress);
    }
}

void rootEvent(X11Presenter::State& s, XEvent& e) {
    if (e.type == ConfigureNotify)
        followScreenSize(s, e.xconfigure.width, e.xconfigure.height);
    else if (e.type == PropertyNotify && (e.xproperty.atom == s.c.atoms.netSupportingWmCheck ||
                                          e.xproperty.atom == s.c.atoms.netSupported))
        s.c.lookForWindowManager();
}

}  // namespace

std::unique_ptr<X11Presenter> X11Presenter::open(const char* displayName) {
    Display* d = XOpenDisplay(displayName);
    if (!d) return nullptr;
    XSetErrorHandler(ignoreXError);
    auto s = std::make_unique<State>(d);
    XSelectInput(d, s->c.root, StructureNotifyMask | PropertyChangeMask);
    s->utility = XCreateSimpleWindow(d, s->c.root, -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(d, s->utility, PropertyChangeMask);
    // The program's screen is the X screen.
    followScreenSize(*s, DisplayWidth(d, s->c.screen), DisplayHeight(d, s->c.screen));
    XFlush(d);
    return std::unique_ptr<X11Presenter>(new X11Presenter(std::move(s)));
}

X11Presenter::X11Presenter(std::unique_ptr<State> state) : s_(std::move(state)) {}

X11Presenter::~X11Presenter() {
    Display* d = s_->c.display;
    for (const auto& [shape, cursor] : s_->cursors)
        XFreeCursor(d, cursor);
    XDestroyWindow(d, s_->utility);
    s_.reset();
    XCloseDisplay(d);
}

void X11Presenter::poll() {
    State& s = *s_;
    Display* d = s.c.display;
    while (XPending(d)) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.xany.window == s.c.root) {
            rootEvent(s, e);
            continue;
        }
        switch (e.type) {
            case MotionNotify:
            case ButtonPress:
            case ButtonRelease:
                pointerEvent(s, e);
                break;
            case KeyPress:
                s.c.lastTime = e.xkey.time;
                keyEvent(e.xkey, true);
                break;
            case KeyRelease: {
                s.c.lastTime = e.xkey.time;
                // X repeats a held key as release-press pairs; Windows sends repeated key-downs.
                if (XEventsQueued(d, QueuedAfterReading)) {
                    XEvent next;
                    XPeekEvent(d, &next);
                    if (next.type == KeyPress && next.xkey.time == e.xkey.time &&
                        next.xkey.keycode == e.xkey.keycode)
                        break;
                }
                keyEvent(e.xkey, false);
                break;
            }
            case FocusOut: {
                Window focus = 0;
                int revert = 0;
                XGetInputFocus(d, &focus, &revert);
                if (!s.tops.windowOf(focus)) releaseHeldKeys();
                break;
            }
            case SelectionRequest:
                answerSelectionRequest(s, e.xselectionrequest);
                break;
            case SelectionClear:
                s.ownsClipboard = false;
                clipboardTakenByOtherProgram();
                break;
            default:
                if (e.type == PropertyNotify) s.c.lastTime = e.xproperty.time;
                s.tops.handle(e);
                break;
        }
    }
}

void X11Presenter::wait(std::optional<std::uint64_t> untilMs) {
    poll();
    if (inputPending()) return;
    // The X server does not keep what covered windows showed: what comes
    // into view again is sent again.
    if (s_->tops.exposed()) present();
    const int fd = ConnectionNumber(s_->c.display);
    fd_set set;
    FD_ZERO(&set);
    FD_SET(fd, &set);
    timeval tv{};
    timeval* timeout = nullptr;
    if (untilMs) {
        const std::uint64_t now = currentClock().nowMs();
        const std::uint64_t ms = *untilMs > now ? *untilMs - now : 0;
        tv.tv_sec = static_cast<long>(ms / 1000);
        tv.tv_usec = static_cast<long>((ms % 1000) * 1000);
        timeout = &tv;
    }
    select(fd + 1, &set, nullptr, nullptr, timeout);
    poll();
    if (s_->tops.exposed()) present();
}

void X11Presenter::present() {
    s_->tops.present();
}

bool X11Presenter::moveOrSizeByDesktop(HWND hwnd, int edge) {
    if (!s_->tops.moveOrSizeByManager(hwnd, edge, s_->lastRootPoint)) return false;
    // The manager has the mouse now and keeps its release; the program
    // lets go of the button so nothing waits for it.
    POINT p{};
    GetCursorPos(&p);
    injectMouseButton(p.x, p.y, 0, false);
    return true;
}

void X11Presenter::setCursorShape(int id) {
    unsigned shape = XC_left_ptr;
    switch (id) {
        case IDC_IBEAM_ID:
            shape = XC_xterm;
            break;
        case IDC_WAIT_ID:
        case IDC_APPSTARTING_ID:
            shape = XC_watch;
            break;
        case IDC_CROSS_ID:
            shape = XC_crosshair;
            break;
        case IDC_UPARROW_ID:
            shape = XC_sb_up_arrow;
            break;
        case IDC_SIZENWSE_ID:
            shape = XC_bottom_right_corner;
            break;
        case IDC_SIZENESW_ID:
            shape = XC_bottom_left_corner;
            break;
        case IDC_SIZEWE_ID:
            shape = XC_sb_h_double_arrow;
            break;
        case IDC_SIZENS_ID:
            shape = XC_sb_v_double_arrow;
            break;
        case IDC_SIZEALL_ID:
            shape = XC_fleur;
            break;
        case IDC_NO_ID:
            shape = XC_X_cursor;
            break;
        case IDC_HAND_ID:
            shape = XC_hand2;
            break;
        default:
            break;
    }
    Cursor& c = s_->cursors[shape];
    if (!c) c = XCreateFontCursor(s_->c.display, shape);
    s_->tops.setCursor(c);
    XFlush(s_->c.display);
}

void X11Presenter::beep() {
    XBell(s_->c.display, 0);
    XFlush(s_->c.display);
}

void X11Presenter::clipboardTextChanged() {
    std::string text;
    if (!clipboardText(text)) return;
    // CP1252 with CR LF inside the program; UTF-8 with LF on the desktop.
    std::string lf;
    for (char c : text)
        if (c != '\r') lf.push_back(c);
    s_->offeredText = base::cp1252ToUtf8(lf);
    Display* d = s_->c.display;
    XSetSelectionOwner(d, s_->c.atoms.clipboard, s_->utility, s_->c.lastTime);
    s_->ownsClipboard = XGetSelectionOwner(d, s_->c.atoms.clipboard) == s_->utility;
    XFlush(d);
}

std::optional<std::string> X11Presenter::foreignClipboardText() {
    State& s = *s_;
    if (s.ownsClipboard) return std::nullopt;
    Display* d = s.c.display;
    const Atoms& a = s.c.atoms;
    if (XGetSelectionOwner(d, a.clipboard) == None) return std::nullopt;
    XConvertSelection(d, a.clipboard, a.utf8, a.clipboardProperty, s.utility, CurrentTime);
    XFlush(d);
    const std::uint64_t deadline = realNowMs() + 1000;
    while (realNowMs() < deadline) {
        XEvent e;
        if (XCheckTypedWindowEvent(d, s.utility, SelectionNotify, &e)) {
            if (e.xselection.property == None) return std::nullopt;
            Atom type;
            int format;
            unsigned long items, rest;
            unsigned char* data = nullptr;
            XGetWindowProperty(d, s.utility, a.clipboardProperty, 0, 1 << 24, True, AnyPropertyType,
                               &type, &format, &items, &rest, &data);
            std::string text(reinterpret_cast<char*>(data), data ? items : 0);
            if (data) XFree(data);
            return text;
        }
        fd_set set;
        FD_ZERO(&set);
        FD_SET(ConnectionNumber(d), &set);
        timeval tv{0, 20000};
        select(ConnectionNumber(d) + 1, &set, nullptr, nullptr, &tv);
    }
    return std::nullopt;
}

}  // namespace win::x11
