#include "platform/x11/x11_presenter.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <sys/select.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "base/cp1252.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/clock.h"
#include "platform/window/input_queue.h"
#include "platform/window/screen.h"
#include "platform/window/surface.h"
#include "platform/window/user_api.h"
#include "platform/x11/x11_keys.h"

namespace win {
void clipboardTakenByOtherProgram();
}

namespace win::x11 {

struct X11Presenter::State {
    Display* display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    XImage* image = nullptr;
    std::vector<std::uint32_t> shown;
    int width = 0, height = 0;
    Atom deleteWindow = 0, clipboard = 0, targets = 0, utf8 = 0, property = 0;
    bool ownsClipboard = false;
    std::string offeredText;  // UTF-8, LF line ends
    bool needFullRedraw = true;
};

namespace {

std::uint64_t realNowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void makeImage(X11Presenter::State& s, int w, int h) {
    if (s.image) XDestroyImage(s.image);  // frees the pixel buffer too
    auto* pixels = static_cast<char*>(std::calloc(static_cast<std::size_t>(w) * h, 4));
    s.image =
        XCreateImage(s.display, DefaultVisual(s.display, DefaultScreen(s.display)),
                     static_cast<unsigned>(DefaultDepth(s.display, DefaultScreen(s.display))),
                     ZPixmap, 0, pixels, static_cast<unsigned>(w), static_cast<unsigned>(h), 32, 0);
    s.width = w;
    s.height = h;
    s.shown.assign(static_cast<std::size_t>(w) * h, 0xFFFFFFFF);
    s.needFullRedraw = true;
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
    if (req.target == s.targets) {
        const Atom offered[] = {s.targets, s.utf8, XA_STRING};
        XChangeProperty(s.display, req.requestor, req.property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(offered), 3);
        reply.property = req.property;
    } else if (req.target == s.utf8 || req.target == XA_STRING) {
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
        XChangeProperty(s.display, req.requestor, req.property, req.target, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()),
                        static_cast<int>(data.size()));
        reply.property = req.property;
    }
    XSendEvent(s.display, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
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

}  // namespace

std::unique_ptr<X11Presenter> X11Presenter::open(const char* displayName) {
    Display* d = XOpenDisplay(displayName);
    if (!d) return nullptr;
    auto s = std::make_unique<State>();
    s->display = d;
    const ScreenConfig& sc = screenConfig();
    const int screen = DefaultScreen(d);
    s->window = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, static_cast<unsigned>(sc.width),
                                    static_cast<unsigned>(sc.height), 0, BlackPixel(d, screen),
                                    BlackPixel(d, screen));
    XStoreName(d, s->window, "Pelk-GM");
    XSelectInput(d, s->window,
                 ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                     ButtonReleaseMask | PointerMotionMask | StructureNotifyMask | FocusChangeMask);
    s->deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(d, s->window, &s->deleteWindow, 1);
    s->clipboard = XInternAtom(d, "CLIPBOARD", False);
    s->targets = XInternAtom(d, "TARGETS", False);
    s->utf8 = XInternAtom(d, "UTF8_STRING", False);
    s->property = XInternAtom(d, "PELK_CLIPBOARD", False);
    s->gc = XCreateGC(d, s->window, 0, nullptr);
    makeImage(*s, sc.width, sc.height);
    XMapWindow(d, s->window);
    XFlush(d);
    return std::unique_ptr<X11Presenter>(new X11Presenter(std::move(s)));
}

X11Presenter::X11Presenter(std::unique_ptr<State> state) : s_(std::move(state)) {}

X11Presenter::~X11Presenter() {
    if (s_->image) XDestroyImage(s_->image);
    if (s_->gc) XFreeGC(s_->display, s_->gc);
    XDestroyWindow(s_->display, s_->window);
    XCloseDisplay(s_->display);
}

void X11Presenter::poll() {
    State& s = *s_;
    while (XPending(s.display)) {
        XEvent e;
        XNextEvent(s.display, &e);
        switch (e.type) {
            case MotionNotify:
                injectMouseMove(e.xmotion.x, e.xmotion.y);
                break;
            case ButtonPress:
            case ButtonRelease:
                if (e.xbutton.button == 4 || e.xbutton.button == 5) {
                    if (e.type == ButtonPress)
                        injectMouseWheel(e.xbutton.x, e.xbutton.y,
                                         e.xbutton.button == 4 ? WHEEL_DELTA : -WHEEL_DELTA);
                } else if (e.xbutton.button <= 3) {
                    injectMouseMove(e.xbutton.x, e.xbutton.y);
                    injectMouseButton(e.xbutton.x, e.xbutton.y, buttonOf(e.xbutton.button),
                                      e.type == ButtonPress);
                }
                break;
            case KeyPress:
                keyEvent(e.xkey, true);
                break;
            case KeyRelease: {
                // X repeats a held key as release-press pairs; Windows sends repeated key-downs.
                if (XEventsQueued(s.display, QueuedAfterReading)) {
                    XEvent next;
                    XPeekEvent(s.display, &next);
                    if (next.type == KeyPress && next.xkey.time == e.xkey.time &&
                        next.xkey.keycode == e.xkey.keycode)
                        break;
                }
                keyEvent(e.xkey, false);
                break;
            }
            case Expose:
                s.needFullRedraw = true;
                break;
            case FocusOut:
                // Keys held when another program takes the keyboard would stay
                // down for good: let them go.
                for (int vk = 1; vk < 255; ++vk)
                    if (vk != VK_LBUTTON && vk != VK_RBUTTON && vk != VK_MBUTTON &&
                        GetKeyState(vk) < 0)
                        injectKey(vk, false);
                break;
            case ClientMessage:
                if (static_cast<Atom>(e.xclient.data.l[0]) == s.deleteWindow) {
                    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
                        if (IsWindowVisible(h)) {
                            PostMessageA(h, WM_CLOSE, 0, 0);
                            break;
                        }
                }
                break;
            case SelectionRequest:
                answerSelectionRequest(s, e.xselectionrequest);
                break;
            case SelectionClear:
                s.ownsClipboard = false;
                clipboardTakenByOtherProgram();
                break;
            default:
                break;
        }
    }
}

void X11Presenter::wait(std::optional<std::uint64_t> untilMs) {
    poll();
    if (inputPending()) return;
    const int fd = ConnectionNumber(s_->display);
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
}

void X11Presenter::present() {
    State& s = *s_;
    const Surface& screen = composeScreen();
    if (screen.width != s.width || screen.height != s.height) {
        XResizeWindow(s.display, s.window, static_cast<unsigned>(screen.width),
                      static_cast<unsigned>(screen.height));
        makeImage(s, screen.width, screen.height);
    }
    // Only the rows that changed go to the server.
    int first = s.height, last = -1;
    for (int y = 0; y < s.height; ++y) {
        const std::uint32_t* src = screen.pixels.data() + static_cast<std::size_t>(y) * s.width;
        std::uint32_t* dst = s.shown.data() + static_cast<std::size_t>(y) * s.width;
        if (!s.needFullRedraw && std::memcmp(src, dst, static_cast<std::size_t>(s.width) * 4) == 0)
            continue;
        std::memcpy(dst, src, static_cast<std::size_t>(s.width) * 4);
        for (int x = 0; x < s.width; ++x)
            XPutPixel(s.image, x, y, src[x]);
        first = std::min(first, y);
        last = y;
    }
    s.needFullRedraw = false;
    if (last >= first) {
        XPutImage(s.display, s.window, s.gc, s.image, 0, first, 0, first,
                  static_cast<unsigned>(s.width), static_cast<unsigned>(last - first + 1));
        XFlush(s.display);
    }
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
    const Cursor c = XCreateFontCursor(s_->display, shape);
    XDefineCursor(s_->display, s_->window, c);
    XFreeCursor(s_->display, c);
    XFlush(s_->display);
}

void X11Presenter::beep() {
    XBell(s_->display, 0);
    XFlush(s_->display);
}

void X11Presenter::clipboardTextChanged() {
    std::string text;
    if (!clipboardText(text)) return;
    // CP1252 with CR LF inside the program; UTF-8 with LF on the desktop.
    std::string lf;
    for (char c : text)
        if (c != '\r') lf.push_back(c);
    s_->offeredText = base::cp1252ToUtf8(lf);
    XSetSelectionOwner(s_->display, s_->clipboard, s_->window, CurrentTime);
    s_->ownsClipboard = XGetSelectionOwner(s_->display, s_->clipboard) == s_->window;
    XFlush(s_->display);
}

std::optional<std::string> X11Presenter::foreignClipboardText() {
    State& s = *s_;
    if (s.ownsClipboard) return std::nullopt;
    if (XGetSelectionOwner(s.display, s.clipboard) == None) return std::nullopt;
    XConvertSelection(s.display, s.clipboard, s.utf8, s.property, s.window, CurrentTime);
    XFlush(s.display);
    const std::uint64_t deadline = realNowMs() + 1000;
    while (realNowMs() < deadline) {
        XEvent e;
        if (XCheckTypedWindowEvent(s.display, s.window, SelectionNotify, &e)) {
            if (e.xselection.property == None) return std::nullopt;
            Atom type;
            int format;
            unsigned long items, rest;
            unsigned char* data = nullptr;
            XGetWindowProperty(s.display, s.window, s.property, 0, 1 << 24, True, AnyPropertyType,
                               &type, &format, &items, &rest, &data);
            std::string text(reinterpret_cast<char*>(data), data ? items : 0);
            if (data) XFree(data);
            return text;
        }
        fd_set set;
        FD_ZERO(&set);
        FD_SET(ConnectionNumber(s.display), &set);
        timeval tv{0, 20000};
        select(ConnectionNumber(s.display) + 1, &set, nullptr, nullptr, &tv);
    }
    return std::nullopt;
}

}  // namespace win::x11
