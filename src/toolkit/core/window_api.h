#pragma once
// The application's window routines: opening the root window once and child
// windows 1-50, closing children, selecting the current window and asking
// about it. Positions inside a parent window are window units.

#include <array>
#include <optional>
#include <string>

namespace tk {

// The optional arguments both kinds of window take.
struct WindowArgs {
    std::optional<int> flags;
    std::optional<int> x, y;
    std::optional<int> width, height;
    std::optional<int> menuId;
    std::array<int, 4> toolbarIds{};
    std::optional<int> dialogId;
    std::optional<std::string> title;
    std::optional<int> background;
};

struct WindowOpenArgs : WindowArgs {
    std::optional<int> paletteSize;
};

struct WindowOpenChildArgs : WindowArgs {
    std::optional<int> parent;
};

// The window settings record of the root window: flags, x, y, width,
// height, menu id and an 80-character title.
struct WindowSettingsRecord {
    std::array<int, 6> words{};
    std::string title;
};

void WindowOpen(const WindowOpenArgs& args = {});
void RootWindowOpen(const WindowSettingsRecord& settings, std::optional<int> paletteSize = {});
void WindowOpenChild(int& window, const WindowOpenChildArgs& args = {});
void WindowCloseChild(int window);
void OutputWindowSelect(int window);
void YYWINSEL(int window, int switchFlag);
int WindowInfoQuery(int selector);
int DialogInfoQuery(int selector);

// Operating-system side queries of the current window (or dialog).
void WindowRectangleGet(int kind, int& a, int& b, int& insideParent, int& parentWindow);
void ClientOriginGet(int& x, int& y);
void WindowShowStateGet(int& state);
void WindowRestoredPlacementGet(int& width, int& height, int& x, int& y, int& insideParent,
                                int& parentWindow);
void DialogKindGet(int& kind);
void WindowKindGet(int& kind);

// The offset of the workspace against the screen (a task bar at the top or
// left): restored rectangles of top-level windows are corrected by it.
void WorkspaceOffsetGet(int& dx, int& dy);

// Binds the toolkit core's hooks that the window half provides and empties
// the pushed-back event; toolkit start-up calls it.
void WindowSeamsBind();

}  // namespace tk
