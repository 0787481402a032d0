#pragma once
// What the window half of the toolkit needs of the dialog manager and of the
// graphics layer, which are built on top of it. Each hook is bound by the
// part that provides it; unbound hooks answer as if no dialog is loaded and
// graphics keep their defaults.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/window/user_api.h"

namespace tk {

struct WindowDialogHooks {
    // The words of a dialog window's record (identifier in word 0, previous
    // field in word 3 ...), or null when the window is no toolkit dialog.
    std::function<std::int32_t*(win::HWND dialog)> recordOf;
    // Slot of a loaded dialog by identifier, -1 when none.
    std::function<int(int identifier)> slotFind;
    std::function<int()> loadedCount;
    // The window of a loaded dialog by identifier, null when none.
    std::function<win::HWND(int identifier)> windowOf;
    std::function<std::vector<win::HWND>()> loadedDialogs;
    // Creates a dialog combined with a window: its identifier (positive) or
    // a negative failure code.
    std::function<int(int identifier, int window)> createCombined;
    // Whether a dialog may be combined with a window: 1 when it may, with
    // its size in pixels and whether it has a stretchable field; otherwise
    // -1 not in the resources, -2 wrong style (a caption, a system menu, or
    // not a control child), -4 not created. OWNER holds the trial copy.
    std::function<int(int identifier, win::HWND owner, int& width, int& height, bool& stretches)>
        probeCombined;
    std::function<void(int identifier)> showModeless;
    // Hides and unloads a loaded dialog by its window.
    std::function<void(win::HWND dialog)> hideAndUnload;
    std::function<bool(win::HWND dialog)> hasStretchField;
    std::function<void(win::HWND window)> detachChildren;
    std::function<void()> destroyAll;
    // Offers a message to the active modeless dialog (its accelerators and
    // keyboard navigation); true when taken.
    std::function<bool(win::MSG& msg)> translateMessage;
    // A field of a loaded dialog by identifiers (field 0: the dialog), null
    // when none.
    std::function<win::HWND(int dialog, int field)> fieldWindow;
    // The own cursor of a field with a toolkit record: stores it (false when
    // the field has no record), reads its shape (-1 without own cursor), and
    // clears it in every field of every loaded dialog.
    std::function<bool(win::HWND field, win::HCURSOR cursor, int shape)> fieldCursorSet;
    std::function<int(win::HWND field)> fieldCursorShape;
    std::function<void()> fieldCursorsClear;
    // The window a dialog lies in or is owned by (for closing a window with
    // everything inside it).
    std::function<win::HWND(win::HWND dialog)> ownerOf;
};

// The menu and toolbar routines, which attach to a window after creation.
struct WindowBarHooks {
    std::function<void(win::HMENU menu, int resourceId)> menuApplyItemIds;
    // Creates the toolbar of one side (0 top, 1 left, 2 right, 3 bottom);
    // answers its handle and its extent (height, or width for sides 1 and 2).
    std::function<win::HWND(int window, int side, int resourceId, int& extent)> toolbarCreate;
    std::function<void(int window)> menuFreeItemData;
};

struct WindowGraphicsHooks {
    // Pixel (counted from the bottom edge) to graphics units of the current
    // target; unbound: the unit square over the target's pixel size.
    std::function<void(float px, float py, float& x, float& y)> deviceToWorld;
    std::function<void(int kind, int number, int width, int height)> targetResized;
    std::function<void(win::HWND window, int width, int height)> windowTargetResized;
    // A hidden dialog field's new size (no event is delivered for it).
    std::function<void(int dialog, int field, int width, int height)> dialogFieldTargetResized;
    std::function<void()> buildDefaultColourTable;
    std::function<void()> resetGraphicsState;
    std::function<void()> scaleDashTables;
    std::function<void()> windowTextSizeUpdate;
    // A window became the output window: its client window, the context
    // drawn on and the client size (called before targetResized).
    std::function<void(int window, win::HWND client, win::HDC dc, int width, int height)>
        outputWindowSelected;
};

// The text and grid editors, which make frames of kinds 1 and 4.
struct WindowEditorHooks {
    // Offers a message to the accelerator tables of the editor in the frame,
    // or in the command pane of a split container; true when taken.
    std::function<bool(win::HWND frame, win::MSG& msg)> translateAccelerator;
    // The save questions of an editor pane before its split window closes;
    // false keeps the window open.
    std::function<bool(win::HWND paneFrame)> closeCheck;
    // Lets the editor in a frame show its own menu help in the status bar;
    // true when it did.
    std::function<bool(win::HWND frame, win::HWND statusBar, win::WPARAM wp, win::LPARAM lp)>
        menuHelp;
    // The height of the bar a text editor adds above its text, 0 without.
    std::function<int(win::HWND frame)> extraBarHeight;
};

WindowDialogHooks& windowDialogHooks();
WindowEditorHooks& windowEditorHooks();
WindowGraphicsHooks& windowGraphicsHooks();
WindowBarHooks& windowBarHooks();

}  // namespace tk
