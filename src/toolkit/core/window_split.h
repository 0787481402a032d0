#pragma once
// Windows divided into two panes by a splitter bar. The container keeps a
// split record (WindowKind 5) in its frame's user data, shared with the bar;
// each pane is a toolkit child window inside the container's client area.
// Also turning a converted window back into a plain one.

#include <array>
#include <optional>
#include <string>

#include "platform/window/user_api.h"
#include "toolkit/core/window_table.h"

namespace tk {

// Words of the split record.
enum SplitWord {
    SplitFocusedPane = 1,  // frame of the pane that has the focus
    SplitCommandPane = 2,  // pane window taking menu commands, 0 none
    SplitBar = 5,
    SplitOwnWindow = 6,
    SplitFirstPane = 7,
    SplitSecondPane = 8,
    SplitFlags = 9,
    SplitFirstPaneFlags = 10,
    SplitSecondPaneFlags = 11,
    SplitFirstSize = 12,
    SplitSecondSize = 13,
    SplitDragPosition = 14,  // -999 when no drag runs
    SplitWidth = 15,
    SplitHeight = 16,
    SplitMenuPane = 18,  // pane whose menu the container's frame shows
    SplitPlacing = 19,   // suspends the fixed-size rule while set
};

// Split flags.
inline constexpr int kSplitStacked = 0x1;       // panes top and bottom, horizontal bar
inline constexpr int kSplitProportional = 0x2;  // keep the panes' proportions on resize
inline constexpr int kSplitKeepSecond = 0x4;    // the second pane keeps its size
// Pane flag: the pane is fixed in the split direction.
inline constexpr int kPaneFixed = 0x40;
inline constexpr int kSplitBarThickness = 4;

// One pane: its size along the split in window units of the container's
// client area (absent: half), pane flags, and what a child window takes.
struct SplitPaneArgs {
    std::optional<int> size;
    int paneFlags = 0;
    int menuId = 0;
    std::array<int, 4> toolbarIds{};
    int dialogId = 0;
    std::string title;
};

// Divides the current window into two panes. Result 0 with the two pane
// numbers, or -3 the window is combined with a dialog, -4 it is converted
// otherwise, -6 it has inside-parent child windows, -1 two free slots are
// lacking; a pane's dialog failure gives that dialog's code as in child
// creation (the panes exist then).
int WindowSplitCreate(int splitFlags, const std::array<SplitPaneArgs, 2>& panes, int& first,
                      int& second);
// Direction 0 widths, 1 heights.
bool SplitPaneFixed(const FrameUserRecord& record, int pane, int direction);
// Whether a split container's width (direction 0) or height is fixed.
bool SplitContainerFixed(const FrameUserRecord& record, int direction);
// Lays the panes and the bar out over the container's client area.
void SplitPanesLayout(int container);
// A drag of the bar moved it: the first pane ends at the bar, the second
// starts after it.
void SplitBarMoved(FrameUserRecord& record);
// The split record of the container that holds a pane frame, or null.
FrameUserRecord* SplitContainerOfPane(win::HWND paneFrame);
// A pane got the focus: the containers record it up through nested ones and
// the top frame shows that pane's menu.
void SplitPaneFocused(int pane);
// Whether a frame may close: true unless an editor pane refuses (no
// editors exist in this program, so panes always agree).
bool SplitPaneCloseCheck(win::HWND frame);
// 0 done, 1 no window, 2 the current window is not converted.
int WindowConversionRevert();

}  // namespace tk
