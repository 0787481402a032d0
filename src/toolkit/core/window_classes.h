#pragma once
// The operating-system side of toolkit windows: the window classes, creating
// the root and child windows with their bars and client windows, switching
// the drawing context between windows, and closing windows with everything
// inside them.

#include <array>
#include <string>

#include "platform/win_types.h"

namespace tk {

inline constexpr char kRootFrameClass[] = "VERAZIDERAD";
inline constexpr char kChildFrameClass[] = "DODAVAZED";
inline constexpr char kClientClass[] = "VIRADERIZA";
inline constexpr char kSplitterRowsClass[] = "DADOVEDODI";
inline constexpr char kSplitterColumnsClass[] = "RUDOSPLITV";
inline constexpr int kStatusBarId = 999;

struct WindowCreateArgs {
    int x = -999999;
    int y = -999999;
    int width = 0;  // client size, in and out
    int height = 0;
    int flags = 7;
    int menuId = 0;
    std::array<int, 4> toolbarIds{};
    int paletteSize = 16;
    int dialogId = 0;  // in and out: negative codes report a failure
    int parent = 0;
    int background = -1;
    std::string title;
};

// Registers the classes: false when one of them has no class atom.
bool WindowClassesRegister();
// Creates window 0; failures of the frame or client end the process.
void WindowCreateRoot(WindowCreateArgs& args);
// Creates the lowest free child window: its number, or -1 (no free number
// or creation failed), -2 parent hidden, -3 parent combined with a dialog,
// -4 parent converted otherwise, -5 parent not open.
void WindowCreateChild(WindowCreateArgs& args, int& window);
// Makes window n's client context the drawing context; n becomes -1 when it
// is not open.
void WindowSelectSurface(int& width, int& height, int& window);
// n becomes -1 when it is not an open child window.
void ChildWindowClose(int& window, int& currentDialog);
void PaneTreeClose(int window, int& currentDialog);
void WindowSlotClose(int window, int& currentDialog);
void WindowSoundStop(int window);
void WindowDestroyAll();

// Status-bar parts of the current window.
void StatusBarPartSet(int part, int width, int style);
void StatusBarPartsApply(int parts);
void StatusBarPartEdges(int window, int parts, int* edges);
void StatusBarPartTextSet(int part, const std::string& text);

}  // namespace tk
