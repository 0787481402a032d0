#pragma once
// The connection to the X server that the presenter's parts share: the
// display, the atoms they speak in, and whether a window manager runs.

#include <X11/Xlib.h>

#include <string>
#include <vector>

namespace win::x11 {

struct Atoms {
    Atom wmProtocols, wmDeleteWindow, wmState, utf8, netWmName, netWmIcon, netWmPid,
        netWmState, netWmStateModal, netWmStateMaxVert, netWmStateMaxHorz, netWmStateHidden,
        netWmWindowType, typeNormal, typeDialog, typePopupMenu, typeDropdownMenu, typeTooltip,
        netWmMoveResize, netActiveWindow, netSupportingWmCheck, netSupported, motifWmHints,
        clipboard, targets, clipboardProperty;
};

struct Connection {
    Display* display = nullptr;
    int screen = 0;
    Window root = 0;
    Visual* visual = nullptr;
    int depth = 0;
    Atoms atoms{};
    // Surface pixels (0x00RRGGBB) are the visual's pixels as they are.
    bool directPixels = false;
    // The time of the last event from the server (for focus and grabs).
    Time lastTime = CurrentTime;

    explicit Connection(Display* d);
    // A window manager that follows the desktop conventions runs, and which
    // of their requests it understands.
    bool windowManager() const;
    bool supports(Atom request) const;
    // Reads the manager's presence again (it may start or stop at any time).
    void lookForWindowManager();

    // Properties of the conventions: 32-bit items, UTF-8 text.
    void setAtoms(Window w, Atom property, const std::vector<Atom>& values) const;
    void setCardinals(Window w, Atom property, const std::vector<long>& values) const;
    void setText(Window w, Atom property, const std::string& utf8) const;
    std::vector<Atom> atomsOf(Window w, Atom property) const;
    // Sends a message of the conventions about `w` to the root window.
    void tellRoot(Window w, Atom type, long a, long b = 0, long c = 0, long d = 0,
                  long e = 0) const;

  private:
    bool manager_ = false;
    std::vector<Atom> supported_;
};

}  // namespace win::x11
