#pragma once
// The window manager's own records: classes, window objects, the message
// queue and the input state. One process-wide object holds them all, so the
// tests can start each case from a clean desktop.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/window/user_api.h"

namespace win::detail {

struct WindowClass {
    std::string name;  // as registered; lookups ignore case
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCSTR menuName = nullptr;  // kept as given: a name or an integer resource
    std::string menuNameText;
    std::vector<BYTE> extra;
    bool system = false;
};

struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    bool enabled = true;
};

struct Window {
    HWND handle = nullptr;
    WindowClass* cls = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    Window* parent = nullptr;       // the desktop for top-level windows
    HWND owner = nullptr;           // top-level windows only
    std::vector<Window*> children;  // z-order: front first
    RECT rect;                      // window rectangle in the parent's client coordinates
    std::string text;
    LONG_PTR userData = 0;
    std::vector<BYTE> extra;
    UINT_PTR id = 0;       // child windows
    HMENU menu = nullptr;  // top-level windows
    HMENU systemMenu = nullptr;
    HINSTANCE instance = nullptr;
    RECT normalRect;  // restored rectangle while minimised or maximised
    POINT minPosition{-1, -1};
    POINT maxPosition{-1, -1};
    bool restoreToMaximized = false;
    RECT clientCache;  // client area (in the window) when geometry last settled
    RECT eraseRect;    // what WM_ERASEBKGND is to clear
    RECT update;       // bounding box of the invalid area, client coordinates
    bool updatePending = false;
    bool erasePending = false;
    bool internalPaint = false;
    bool frameDirty = true;
    bool redrawEnabled = true;
    bool destroying = false;
    bool created = false;
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;
    ScrollBarState hscroll;
    ScrollBarState vscroll;
    LRESULT ncActive = FALSE;  // caption drawn active
    HWND activatedFrom = nullptr;  // the window that was active before this one
    int ncPressed = 0;         // caption button held down (hit-test code)
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    std::uint64_t due = 0;
};

// Raw input as the devices (the robot or the presenter) report it.
enum class InputKind { MouseMove, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp, Char };
struct InputEvent {
    InputKind kind = InputKind::MouseMove;
    POINT pt;              // screen position for mouse events
    int button = 0;        // 0 left, 1 right, 2 middle
    int delta = 0;         // wheel
    int vk = 0;            // key events
    unsigned char ch = 0;  // a character the device typed without a key (Char)
    std::uint64_t time = 0;
};

struct UserState {
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    std::uintptr_t nextHandle = 0x10010;
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
    std::map<std::string, UINT> registeredMessages;  // upper-cased names
    UINT nextRegisteredMessage = 0xC000;
    Window* desktop = nullptr;

    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    std::vector<Timer> timers;
    bool quitPosted = false;
    int quitCode = 0;
    DWORD messageTime = 0;
    POINT messagePos;

    HWND focus = nullptr;
    HWND active = nullptr;
    // The window that opened one that went away while it was itself disabled
    // (by that modal box): it takes the activation back once enabled again,
    // unless the user has activated another window in between.
    HWND handBackTo = nullptr;
    HWND handBackFrom = nullptr;
    HWND capture = nullptr;
    bool appActive = false;
    BYTE keyState[256] = {};
    POINT cursorPos;
    HCURSOR cursor = nullptr;
    int cursorShowCount = 0;

    // Double-click detection.
    HWND lastClickWindow = nullptr;
    int lastClickButton = -1;
    std::uint64_t lastClickTime = 0;
    POINT lastClickPos;
    LRESULT lastClickHit = 0;
    HWND lastMouseWindow = nullptr;

    int menuLoopDepth = 0;
};

UserState& state();
// Destroys every window without sending messages and forgets all classes,
// queued messages and timers; the built-in classes are registered again.
void resetUserState();

Window* findWindow(HWND hwnd);
Window* windowOrDesktop(HWND hwnd);
WindowClass* findClass(LPCSTR nameOrAtom);
bool isTopLevel(const Window* w);
Window* topLevelOf(Window* w);
bool isVisibleOnScreen(const Window* w);  // visible itself and every ancestor
bool isEnabledChain(const Window* w);

// Geometry (all rectangles in screen coordinates unless named otherwise).
RECT windowRectOnScreen(const Window* w);
POINT clientOriginOnScreen(const Window* w);
RECT clientRectInWindow(const Window* w);  // client area relative to the window's top-left
RECT nonClientInsets(DWORD style, DWORD exStyle, bool menu, int menuHeight);

// Message delivery.
LRESULT sendMessage(Window* w, UINT msg, WPARAM wParam, LPARAM lParam);
void postMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Changes of place and size; the window messages go out as Windows sends them.
bool setWindowPos(Window* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
void invalidateWindow(Window* w, const RECT* clientRect, bool erase, bool children);
void invalidateFrame(Window* w);
void unlinkFromParent(Window* w);
void linkToParent(Window* w, Window* parent, HWND insertAfter);
void linkToParentOnly(Window* w, Window* parent, HWND insertAfter);

// Activation after the active window went away or was hidden.
void activateOtherWindow(Window* leaving);
bool activateWindow(Window* w, WORD how);
// A window enabled again takes back the activation handed back to it.
void takeHandedBackActivation(Window* enabled);

// Register the built-in classes (desktop, menu popups).
void registerSystemClasses();

inline bool isEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}
RECT unionRect(const RECT& a, const RECT& b);
RECT intersectRect(const RECT& a, const RECT& b);
bool pointIn(const RECT& r, POINT p);
RECT offsetRect(RECT r, int dx, int dy);

}  // namespace win::detail
