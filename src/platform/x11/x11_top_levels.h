#pragma once
// The program's top-level windows as windows of the user's desktop: one X
// window each, created, named, placed, stacked, shown and hidden as the
// program's own windows are, and the window manager's moves, sizes, state
// changes, close requests and focus passed back to the program.
//
// The program draws its own frames and captions; managed X windows ask the
// window manager for no decorations of its own, so each window has one
// title bar. Menus, drop-down lists and tool tips are override-redirect.

#include <memory>
#include <vector>

#include "platform/win_types.h"
#include "platform/x11/shown_pixels.h"
#include "platform/x11/x11_connection.h"

namespace win::x11 {

class TopLevels {
  public:
    explicit TopLevels(Connection& c);
    ~TopLevels();

    // Brings the X windows in line with the program's top-level windows and
    // sends the changed pixels of each.
    void present();
    // Reacts to an event about one of the X windows; false when it was not
    // about them.
    bool handle(XEvent& e);
    // The program's window shown in an X window (null for none).
    HWND windowOf(Window xw) const;
    // The screen point of a position inside that X window, as the window
    // stood when the server sent the event of that serial.
    POINT screenPoint(Window xw, int x, int y, unsigned long serial);
    // The X window of a program window (0 for none).
    Window xWindowOf(HWND h) const;
    // Hands a move or a size with the mouse held to the window manager.
    bool moveOrSizeByManager(HWND h, int edge, POINT rootPt);
    // The release of the button that a move was handed over with reached
    // the program: the manager missed it and is told to stop. True when a
    // move was waiting for it (the release then belongs to the manager).
    bool releaseAfterHandOver();
    // A new press: the move handed over last is over.
    void pressed() { handedOver_ = 0; }
    // Some X window lost pixels that the desktop showed (an exposure).
    bool exposed() const { return exposed_; }
    // The root window changed size.
    void screenChanged();
    // The mouse cursor over every X window of the program.
    void setCursor(Cursor cursor);

    struct Shown;

  private:
    Shown* find(HWND h) const;
    Shown* findX(Window xw) const;
    Shown& create(HWND h);
    void destroy(Shown& s);
    void syncProperties(Shown& s);
    void syncGeometry(Shown& s);
    void syncState(Shown& s);
    void setNetState(Shown& s, Atom state, bool on);
    void map(Shown& s);
    void hide(Shown& s);
    void paint(Shown& s);
    void putPixels(const Surface& from, Window xw, const RECT& r);
    GC gc();
    void restack();
    void followActivation();
    void followPointerGrab();
    void configured(Shown& s, const XConfigureEvent& e);
    void propertyChanged(Shown& s, Atom property);
    void focusIn(Shown& s);
    void closeRequested(Shown& s);

    Connection& c_;
    std::vector<std::unique_ptr<Shown>> shown_;
    std::vector<Window> stacked_;  // front first, as last asked of the server
    HWND active_ = nullptr;        // the active window as the desktop knows it
    Window grab_ = 0;
    Window handedOver_ = 0;  // the window whose move the manager was asked to take
    bool exposed_ = false;
    Cursor cursor_ = None;
    GC gc_ = nullptr;
};

}  // namespace win::x11
