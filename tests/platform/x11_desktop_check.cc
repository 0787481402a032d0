// Looks at the running program from outside, as the desktop sees it, through
// Xlib: its main window and profile window are X windows of their own with
// their titles and places; a menu opened by a click is an override-redirect
// window at the menu's place; a window moved and sized from outside is drawn
// again at its new size and the program knows its new place; a modal dialog
// is transient for its owner; the close message of the profile window closes
// it and that of the main window ends the program. Input goes in through
// xdotool as a user's would. Exits 0 when every check held.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

Display* d = nullptr;
Window root = 0;
int failures = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    std::fflush(stdout);
    if (!ok) ++failures;
}

struct Shown {
    Window w = 0;
    bool viewable = false;
    bool overrideRedirect = false;
    int x = 0, y = 0, width = 0, height = 0;
    std::string title;
};

std::string textProperty(Window w, const char* name) {
    Atom type;
    int format;
    unsigned long items, rest;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 4096, False, AnyPropertyType,
                           &type, &format, &items, &rest, &data) == Success &&
        data && format == 8)
        text.assign(reinterpret_cast<char*>(data), items);
    if (data) XFree(data);
    return text;
}

std::vector<long> longProperty(Window w, const char* name) {
    Atom type;
    int format;
    unsigned long items, rest;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1 << 20, False, AnyPropertyType,
                           &type, &format, &items, &rest, &data) == Success &&
        data && format == 32)
        values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + items);
    if (data) XFree(data);
    return values;
}

// The window of a program inside what the root window holds: the window
// itself without a manager, the client inside the manager's frame with one
// (the window with WM_STATE), or an override-redirect window.
Window clientOf(Window w, int depth = 0) {
    if (!longProperty(w, "WM_STATE").empty() || depth > 3) return w;
    Window rootReturn, parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(d, w, &rootReturn, &parent, &children, &n))
        for (unsigned i = 0; i < n && !found; ++i) {
            const Window c = clientOf(children[i], depth + 1);
            if (!longProperty(c, "WM_STATE").empty()) found = c;
        }
    if (children) XFree(children);
    return found ? found : w;
}

std::vector<Shown> topLevels() {
    std::vector<Shown> result;
    Window rootReturn, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, root, &rootReturn, &parent, &children, &n)) return result;
    for (unsigned i = 0; i < n; ++i) {
        XWindowAttributes frame;
        if (!XGetWindowAttributes(d, children[i], &frame)) continue;
        Shown s;
        s.w = frame.override_redirect ? children[i] : clientOf(children[i]);
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, s.w, &a)) continue;
        s.viewable = a.map_state == IsViewable;
        s.overrideRedirect = a.override_redirect;
        Window child;
        XTranslateCoordinates(d, s.w, root, 0, 0, &s.x, &s.y, &child);
        s.width = a.width;
        s.height = a.height;
        s.title = textProperty(s.w, "_NET_WM_NAME");
        result.push_back(s);
    }
    if (children) XFree(children);
    return result;
}

// Waits are long: a sanitized program on a loaded machine starts slowly.
std::optional<Shown> waitFor(const std::function<bool(const Shown&)>& wanted, double seconds = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        for (const Shown& s : topLevels())
            if (wanted(s)) return s;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
}

bool waitUntil(const std::function<bool()>& done, double seconds = 30) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

Shown current(Window w) {
    for (const Shown& s : topLevels())
        if (s.w == w) return s;
    return {};
}

void xdotool(const std::string& args) {
    const std::string command = "xdotool " + args;
    if (std::system(command.c_str()) != 0) check(false, command);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

void clickAt(int x, int y) {
    xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

unsigned long pixel(Window w, int x, int y) {
    XImage* image = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0xFFFFFFFF;
    const unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return p;
}

void sendClose(Window w) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

Window inputFocus() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    return focus;
}

bool hasState(Window w, const char* state) {
    const Atom wanted = XInternAtom(d, state, False);
    for (long a : longProperty(w, "_NET_WM_STATE"))
        if (static_cast<Atom>(a) == wanted) return true;
    return false;
}

// A picture of the whole screen for a person to look at, named after `path`
// with `suffix` before its extension.
void takeScreenshot(const std::string& path, const std::string& suffix) {
    if (path.empty()) return;
    const std::string named = path.substr(0, path.rfind('.')) + suffix + ".png";
    const std::string command = "import -window root '" + named + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) std::printf("no screenshot %s (import missing?)\n", named.c_str());
}

// The program's frames: a 4-pixel sizing border, a 19-pixel caption and a
// 19-pixel menu bar; "File" is the first item of a menu bar.
constexpr int kMenuBarTop = 4 + 19;
constexpr int kMenuBarHeight = 19;

// Opens the File menu of a window by a click and checks the menu's window.
void checkMenuOf(const Shown& owner, const std::string& whose) {
    clickAt(owner.x + 16, owner.y + kMenuBarTop + kMenuBarHeight / 2);
    const auto menu = waitFor(
        [](const Shown& s) {
            return s.viewable && s.overrideRedirect &&
                   textProperty(s.w, "WM_CLASS").rfind("pelk-gm", 0) == 0;
        },
        10);
    check(menu.has_value(), "a click on File of the " + whose + " opens an override-redirect menu");
    if (menu) {
        const int belowBar = owner.y + kMenuBarTop + kMenuBarHeight;
        check(menu->x >= owner.x && menu->x <= owner.x + 12 && menu->y >= belowBar - 2 &&
                  menu->y <= belowBar + 4 && menu->width > 60 && menu->height > 60,
              "the " + whose + "'s File menu lies under its menu bar item (" +
                  std::to_string(menu->x) + ", " + std::to_string(menu->y) + ")");
        xdotool("key Escape");
        check(waitUntil([&] { return !current(menu->w).viewable; }, 10), "Escape closes the menu");
        xdotool("key Escape");  // and leaves the menu bar
    }
}

}  // namespace

int main(int argc, char** argv) {
    alarm(280);  // never outlive a broken test
    const std::string mainTitle = argc > 1 ? argv[1] : "";
    const std::string screenshot = argc > 2 ? argv[2] : "";
    d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    root = DefaultRootWindow(d);
    // Windows come and go while they are looked at.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    auto managed = [](const Shown& s) { return s.viewable && !s.overrideRedirect; };
    const auto mainWindow = waitFor([&](const Shown& s) {
        return managed(s) && s.title.rfind(mainTitle, 0) == 0 &&
               longProperty(s.w, "WM_TRANSIENT_FOR").empty();
    });
    check(mainWindow.has_value(), "the main window is an X window titled \"" + mainTitle + "...\"");
    if (!mainWindow) return 1;
    const Window main = mainWindow->w;
    const auto profile = waitFor([&](const Shown& s) {
        return managed(s) && s.w != main && s.title.find("Profile") != std::string::npos;
    });
    check(profile.has_value(), "the profile window is an X window of its own");
    if (!profile) return 1;
    const Window profileWindow = profile->w;
    // Let start-up finish drawing; the start-up hints go with their OK button.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    if (const auto hints = waitFor([&](const Shown& s) { return managed(s) && s.title == "Hints"; }, 15)) {
        clickAt(hints->x + hints->width - 52, hints->y + hints->height - 25);
        check(waitUntil([&] { return !current(hints->w).viewable; }), "the hints' OK closes them");
    }
    const Shown m = current(main), p = current(profileWindow);
    std::printf("main \"%s\" %dx%d+%d+%d; profile \"%s\" %dx%d+%d+%d\n", m.title.c_str(), m.width,
                m.height, m.x, m.y, p.title.c_str(), p.width, p.height, p.x, p.y);
    check(m.width >= 400 && m.height >= 300 && p.width >= 300 && p.height >= 200,
          "both windows have a working size");
    const int screenWidth = DisplayWidth(d, DefaultScreen(d));
    const int screenHeight = DisplayHeight(d, DefaultScreen(d));
    check(p.x >= 0 && p.y >= 0 && p.x + p.width <= screenWidth && p.y + p.height <= screenHeight,
          "the profile window's saved place from a larger screen is brought onto this one");
    check(textProperty(main, "WM_CLASS") == std::string("pelk-gm\0pelk-gm\0", 16),
          "WM_CLASS names the desktop entry");
    const std::vector<long> icon = longProperty(main, "_NET_WM_ICON");
    check(icon.size() > 2 && icon[0] * icon[1] + 2 <= static_cast<long>(icon.size()),
          "the main window carries the program's icon");
    check(longProperty(profileWindow, "WM_TRANSIENT_FOR") == std::vector<long>{static_cast<long>(main)},
          "the profile window is transient for the main window");

    takeScreenshot(screenshot, "");
    checkMenuOf(m, "main window");

    // Moved and sized from outside, as a window manager does.
    const int nx = 300, ny = 150, nw = 760, nh = 500;
    XMoveResizeWindow(d, profileWindow, nx, ny, nw, nh);
    XFlush(d);
    const bool redrawn = waitUntil([&] {
        const Shown s = current(profileWindow);
        return s.x == nx && s.y == ny && s.width == nw && s.height == nh &&
               pixel(profileWindow, nw - 1, nh / 2) == 0x404040 &&
               pixel(profileWindow, nw / 2, nh - 1) == 0x404040;
    });
    check(redrawn, "the profile window moved and sized from outside draws its frame at its new size");
    checkMenuOf(current(profileWindow), "moved profile window");
    check(waitUntil([&] { return inputFocus() == profileWindow; }, 10),
          "the profile window, activated by the click, has the desktop's keyboard focus");

    // A modal dialog over the main window: View, Properties.
    clickAt(m.x + 89, m.y + kMenuBarTop + kMenuBarHeight / 2);
    xdotool("key p");
    const auto dialog = waitFor([&](const Shown& s) {
        return managed(s) && s.w != main && s.w != profileWindow && s.title != "Hints";
    });
    check(dialog.has_value(), "View, Properties opens a dialog window");
    if (dialog) {
        std::printf("dialog \"%s\" %dx%d+%d+%d\n", dialog->title.c_str(), dialog->width,
                    dialog->height, dialog->x, dialog->y);
        check(longProperty(dialog->w, "WM_TRANSIENT_FOR") == std::vector<long>{static_cast<long>(main)},
              "the dialog is transient for the main window");
        check(hasState(dialog->w, "_NET_WM_STATE_MODAL"), "the dialog is modal");
        check(waitUntil([&] { return inputFocus() == dialog->w; }, 10),
              "the dialog has the desktop's keyboard focus");
        std::this_thread::sleep_for(std::chrono::seconds(1));  // as long as a user looks at it
        sendClose(dialog->w);
        check(waitUntil([&] { return !current(dialog->w).viewable; }), "its close message closes the dialog");
    }

    // A click in the profile window's drawing area activates it as a click
    // on its title does: after the main window's title made that one
    // active, the profile window's caption turns the active colour and it
    // has the desktop's keyboard focus.
    {
        const Shown mw = current(main), pw = current(profileWindow);
        clickAt(mw.x + mw.width - 120, mw.y + 12);
        check(waitUntil([&] { return inputFocus() == main; }, 10),
              "a click on the main window's title gives it the keyboard focus");
        // A caption point clear of the title's text and of the boxes.
        const auto caption = [](const Shown& w) { return pixel(w.w, w.width - 80, 6); };
        const unsigned long activeCaption = caption(current(main));
        const unsigned long inactiveCaption = caption(current(profileWindow));
        check(activeCaption != inactiveCaption,
              "the inactive profile window's caption is another colour");
        clickAt(pw.x + 8, pw.y + pw.height / 2);
        check(waitUntil([&] { return inputFocus() == profileWindow; }, 10),
              "a click in the profile window's drawing area gives it the keyboard focus");
        check(waitUntil([&] { return caption(current(profileWindow)) == activeCaption; }, 10),
              "a click in the profile window's drawing area makes it the active window");
        const Shown after = current(main);
        check(after.x == mw.x && after.y == mw.y,
              "a click on the main window's title leaves it in place");
        takeScreenshot(screenshot, "_client_click");
    }

    // Dragged by its caption, the main window follows the pointer (moved by
    // the manager when there is one, else by the program).
    {
        const Shown was = current(main);
        const int x = was.x + was.width - 120, y = was.y + 12;
        xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " mousedown 1");
        xdotool("mousemove " + std::to_string(x + 40) + " " + std::to_string(y + 30));
        // The button stays down until the move has begun: a program that
        // meets the press only after the release rightly moves nothing, and
        // a loaded machine may be that slow.
        const bool begun = waitUntil([&] {
            const Shown s = current(main);
            return std::abs(s.x - was.x - 40) <= 2 && std::abs(s.y - was.y - 30) <= 2;
        });
        xdotool("mousemove " + std::to_string(x + 80) + " " + std::to_string(y + 60) +
                " mouseup 1");
        check(waitUntil([&] {
                  const Shown s = current(main);
                  return std::abs(s.x - was.x - 80) <= 2 && std::abs(s.y - was.y - 60) <= 2;
              }),
              "the main window dragged by its caption follows the pointer");
        const Shown now = current(main);
        std::printf("caption drag from %d,%d: %s, ended at %d,%d\n", was.x, was.y,
                    begun ? "began" : "never began", now.x, now.y);
    }

    // The maximise box fills the screen; the picture shows it.
    const Shown before = current(main);
    clickAt(before.x + before.width - 30, before.y + 12);
    check(waitUntil([&] {
              const Shown s = current(main);
              return s.x <= 0 && s.y <= 0 && s.x + s.width >= screenWidth &&
                     s.y + s.height >= screenHeight;
          }),
          "the maximise box makes the main window fill the screen");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    takeScreenshot(screenshot, "_maximised");

    sendClose(profileWindow);
    check(waitUntil([&] { return !current(profileWindow).viewable; }),
          "the profile window's close message closes it");
    check(current(main).viewable, "the main window stays");
    std::this_thread::sleep_for(std::chrono::seconds(1));  // as a user moves on
    sendClose(main);
    XCloseDisplay(d);
    return failures == 0 ? 0 : 1;
}
