#include "platform/x11/x11_connection.h"

#include <X11/Xatom.h>

#include <algorithm>

namespace win::x11 {
namespace {

Atom intern(Display* d, const char* name) {
    return XInternAtom(d, name, False);
}

}  // namespace

Connection::Connection(Display* d) : display(d) {
    screen = DefaultScreen(d);
    root = RootWindow(d, screen);
    visual = DefaultVisual(d, screen);
    depth = DefaultDepth(d, screen);
    directPixels = (depth == 24 || depth == 32) && visual->red_mask == 0xFF0000 &&
                   visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF &&
                   ImageByteOrder(d) == LSBFirst;
    Atoms& a = atoms;
    a.wmProtocols = intern(d, "WM_PROTOCOLS");
    a.wmDeleteWindow = intern(d, "WM_DELETE_WINDOW");
    a.wmState = intern(d, "WM_STATE");
    a.utf8 = intern(d, "UTF8_STRING");
    a.netWmName = intern(d, "_NET_WM_NAME");
    a.netWmIcon = intern(d, "_NET_WM_ICON");
    a.netWmPid = intern(d, "_NET_WM_PID");
    a.netWmState = intern(d, "_NET_WM_STATE");
    a.netWmStateModal = intern(d, "_NET_WM_STATE_MODAL");
    a.netWmStateMaxVert = intern(d, "_NET_WM_STATE_MAXIMIZED_VERT");
    a.netWmStateMaxHorz = intern(d, "_NET_WM_STATE_MAXIMIZED_HORZ");
    a.netWmStateHidden = intern(d, "_NET_WM_STATE_HIDDEN");
    a.netWmWindowType = intern(d, "_NET_WM_WINDOW_TYPE");
    a.typeNormal = intern(d, "_NET_WM_WINDOW_TYPE_NORMAL");
    a.typeDialog = intern(d, "_NET_WM_WINDOW_TYPE_DIALOG");
    a.typePopupMenu = intern(d, "_NET_WM_WINDOW_TYPE_POPUP_MENU");
    a.typeDropdownMenu = intern(d, "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU");
    a.typeTooltip = intern(d, "_NET_WM_WINDOW_TYPE_TOOLTIP");
    a.netWmMoveResize = intern(d, "_NET_WM_MOVERESIZE");
    a.netActiveWindow = intern(d, "_NET_ACTIVE_WINDOW");
    a.netSupportingWmCheck = intern(d, "_NET_SUPPORTING_WM_CHECK");
    a.netSupported = intern(d, "_NET_SUPPORTED");
    a.motifWmHints = intern(d, "_MOTIF_WM_HINTS");
    a.clipboard = intern(d, "CLIPBOARD");
    a.targets = intern(d, "TARGETS");
    a.clipboardProperty = intern(d, "PELK_CLIPBOARD");
    lookForWindowManager();
}

bool Connection::windowManager() const {
    return manager_;
}

bool Connection::supports(Atom request) const {
    return manager_ && std::find(supported_.begin(), supported_.end(), request) != supported_.end();
}

void Connection::lookForWindowManager() {
    // The manager names a window of its own on the root window and names
    // itself on that window again; a stale name from a manager that left
    // points at nothing.
    manager_ = false;
    supported_.clear();
    Atom type;
    int format;
    unsigned long items, rest;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, root, atoms.netSupportingWmCheck, 0, 1, False, XA_WINDOW,
                           &type, &format, &items, &rest, &data) == Success &&
        data && items == 1) {
        const Window check = *reinterpret_cast<Window*>(data);
        XWindowAttributes attributes;
        manager_ = check != 0 && XGetWindowAttributes(display, check, &attributes) != 0;
    }
    if (data) XFree(data);
    if (manager_) supported_ = atomsOf(root, atoms.netSupported);
}

void Connection::setAtoms(Window w, Atom property, const std::vector<Atom>& values) const {
    XChangeProperty(display, w, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

void Connection::setCardinals(Window w, Atom property, const std::vector<long>& values) const {
    XChangeProperty(display, w, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

void Connection::setText(Window w, Atom property, const std::string& utf8) const {
    XChangeProperty(display, w, property, atoms.utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()),
                    static_cast<int>(utf8.size()));
}

std::vector<Atom> Connection::atomsOf(Window w, Atom property) const {
    std::vector<Atom> result;
    Atom type;
    int format;
    unsigned long items, rest;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, w, property, 0, 1024, False, XA_ATOM, &type, &format, &items,
                           &rest, &data) == Success &&
        data && format == 32) {
        const Atom* values = reinterpret_cast<const Atom*>(data);
        result.assign(values, values + items);
    }
    if (data) XFree(data);
    return result;
}

void Connection::tellRoot(Window w, Atom type, long a, long b, long c, long d, long e) const {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = type;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = a;
    ev.xclient.data.l[1] = b;
    ev.xclient.data.l[2] = c;
    ev.xclient.data.l[3] = d;
    ev.xclient.data.l[4] = e;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
}

}  // namespace win::x11
