#pragma once
// The table of toolkit windows: the root window (number 0) and up to 50 child
// windows (1-50), each a frame around a client window, with the drawing state
// that follows the current window. Menus, toolbars, the status bar and the
// dialog manager keep their per-window handles here as well.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/window/menu_api.h"
#include "platform/window/user_api.h"

namespace tk {

inline constexpr int kWindowSlots = 51;
inline constexpr int kNoRememberedRect = -999;
inline constexpr int kCentred = -999999;

// WindowOpenFlags.
inline constexpr int kFlagSystemMenu = 0x1;
inline constexpr int kFlagMinimiseBox = 0x2;
inline constexpr int kFlagMaximiseBox = 0x4;
inline constexpr int kFlagMaximised = 0x8;
inline constexpr int kFlagInsideParent = 0x10;
inline constexpr int kFlagStatusBar = 0x20;
inline constexpr int kFlagFixedFrame = 0x40;
inline constexpr int kFlagHidden = 0x80;
inline constexpr int kFlagOwned = 0x100;
inline constexpr int kFlagTopmost = 0x200;
inline constexpr int kFlagToolWindow = 0x10000;
inline constexpr int kDefaultWindowFlags = 7;

// WindowShowState.
enum WindowShowState { ShowMinimised = 0, ShowNormal = 1, ShowMaximised = 2, ShowHidden = 3 };

// WindowKind of a frame's user record.
enum WindowKind {
    KindPlain = 0,
    KindTextEditor = 1,
    KindBitmapViewer = 2,
    KindCombinedDialog = 3,
    KindGridEditor = 4,
    KindSplit = 5
};

// The record a converted frame carries in its user data. Words hold window
// handles where the kind says so, hence the pointer-sized words.
struct FrameUserRecord {
    std::array<std::intptr_t, 20> words{};
    int kind() const { return static_cast<int>(words[0]); }
    win::HWND handle(int word) const { return reinterpret_cast<win::HWND>(words[word]); }
};
// The record of a frame, or null for a plain window.
FrameUserRecord* frameRecord(win::HWND frame);
// Gives window n's frame a record (null removes it); the slot owns it.
void setFrameRecord(int window, std::unique_ptr<FrameUserRecord> record);

struct StatusBarPart {
    int width = 0;
    int style = 0;  // 0 no border, 2 raised, else sunken
};

struct ToolTipEntry {
    int command = 0;
    std::string text;
};

struct WindowSlot {
    win::HWND frame = nullptr;
    win::HWND client = nullptr;
    win::HWND statusBar = nullptr;
    win::HMENU menu = nullptr;
    win::HACCEL accelerators = nullptr;
    std::span<const std::uint8_t> menuHelp;  // the menu's help-text resource, or empty
    int menuItemHelpCount = 0;
    std::array<win::HWND, 4> toolbars{};  // 0 top, 1 left, 2 right, 3 bottom
    std::array<int, 4> toolbarExtents{};
    std::vector<ToolTipEntry> toolTips;
    win::HBRUSH backgroundBrush = nullptr;
    int backgroundColour = -1;
    win::HCURSOR cursor = nullptr;
    int cursorShape = 0;
    win::HWND returnFocus = nullptr;
    std::array<int, 4> rememberedRect{kNoRememberedRect, 0, 0, 0};
    std::array<StatusBarPart, 255> statusParts{};
    int statusPartCount = 0;  // parts set by StatusBarParts (0: the one part made with the bar)
    win::HBITMAP frozenBitmap = nullptr;
    int frozenUseCount = 0;
    int soundDevice = 0;
    win::HICON icon = nullptr;  // the big icon a title call gave the frame
    std::unique_ptr<FrameUserRecord> record;
};

struct WindowSystem {
    std::array<WindowSlot, kWindowSlots> slots{};

    // The operating-system side.
    int CurrentSlot = 0;
    win::HDC ClientDC = nullptr;
    win::HDC DrawingDC = nullptr;
    win::HWND DrawingWindow = nullptr;
    bool DialogFieldSurface = false;
    bool MemoryBitmapSurface = false;
    bool MetafileSurface = false;
    win::HGDIOBJ ReplacedPen = nullptr;
    win::HGDIOBJ ReplacedBrush = nullptr;
    win::HPEN CurrentPen = nullptr;
    win::HBRUSH CurrentBrush = nullptr;
    win::HBITMAP PatternBitmap = nullptr;
    int RasterOp = 0;
    win::HPALETTE Palette = nullptr;
    win::HWND ActiveFrame = nullptr;
    win::HWND SemiModalLock = nullptr;
    bool RootHidden = false;
    bool CombinedDialogFlag = false;
    int RichEditLevel = 0;
    win::UINT FindReplaceMessage = 0;
    win::UINT CgmClipboardFormat = 0;
    bool GradientFillFound = false;
    bool MapiFound = false;
    std::array<win::COLORREF, 18> ColourPairs{};
    int ForegroundIndex = 0;
    int BackgroundIndex = 15;
    win::HCURSOR GlobalCursor = nullptr;
    int GlobalCursorShape = 0;
    win::HWND FocusWindow = nullptr;
    win::HWND ActiveModelessDialog = nullptr;
    win::HWND NonClientButtonWindow = nullptr;
    bool ContentsFrozen = false;
    bool MenuLoopPopup = false;
    // The help texts of the floating menu being shown, empty otherwise.
    std::span<const std::uint8_t> SharedMenuHelp;
    bool PauseRunning = false;
    bool DecimalInputLocale = false;  // numeric fields take the locale's separator
    int LastResizeWidth = 0;
    int LastResizeHeight = 0;

    // The toolkit side.
    int CurrentWindow = 0;
    int CurrentWidth = 0;
    int CurrentHeight = 0;
    std::array<int, kWindowSlots> WindowFlags{};
    int TextPositionX = 0;
    int TextPositionY = 0;
};

WindowSystem& windowSystem();
// Forgets every record and entry without touching the window layer (tests
// reset the window layer themselves).
void resetWindowSystem();

// Whether a window has the child style (lies inside a parent).
bool hasChildStyle(win::HWND h);
// The client-area size of a window in pixels.
void clientSizeOf(win::HWND h, int& width, int& height);

// 1 when the number is 0-50 and the slot has a frame, else 0.
void WindowIsOpen(int window, int& open);
bool windowIsOpen(int window);
// The window number whose frame or client is the handle (or whose
// bitmap-viewer record holds it); -1 when none.
int WindowSlotOfHandle(win::HWND handle);
// The lowest free number 1-50, or -1.
int FreeChildSlot();
// For a window inside a parent, the parent's number; -1 otherwise.
void ParentWindowSlot(int& parent);
// Gives the focus to a toolkit window and makes the title bars show which
// window is active (null: none).
void FocusWindowActivate(win::HWND handle);

}  // namespace tk
