#pragma once
// Where the toolkit core reaches parts of the toolkit that are built on top of
// it (windows, dialogs, status bar, graphics, hardcopy). Each hook is bound by
// the part that provides it; an unbound hook means that part is absent and
// the call does nothing (or answers the stated default).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"

namespace tk {

// The frame around every modal box and common dialog: the owner window, and
// what happens to the other toolkit windows and the focus around the box.
class ModalFrame {
  public:
    virtual ~ModalFrame() = default;
    // DialogOwnerWindow: the window that owns the box (null when none).
    virtual win::HWND owner() { return nullptr; }
    // Remembers the focus window and disables the others (ModalDisableOthers).
    virtual void begin(win::HWND) {}
    // Re-enables them, activates a child owner and gives the focus back.
    virtual void end(win::HWND) {}
    // FreezeWindowContents: mode 1 keeps the windows' pictures while a box is
    // up, mode 0 repaints; answers an error number, 0 on success.
    virtual int freeze(int /*mode*/, int /*exceptWindow*/) { return 0; }
};

struct ScreenMetrics {
    int width = 1280;
    int height = 1024;
    int logPixelsX = 96;
    int planes = 1;
    int bitsPerPixel = 24;
};

struct PrinterCaps {
    int longSide = 0, shortSide = 0, usableLong = 0, usableShort = 0;
    int marginX = 0, marginY = 0, colours = 0, osError = 0;
};

struct ToolkitSeams {
    ModalFrame* modalFrame = nullptr;
    // Writes a text into part 1 of the root window's status bar, leaving the
    // current window as it was.
    std::function<void(std::string_view)> rootStatusText;
    // Screen size and depth of the desktop; unbound gives the virtual screen's
    // defaults.
    std::function<ScreenMetrics()> screenMetrics;
    std::function<void(std::string_view name, std::string_view title)> hardcopySwitch;
    std::function<bool(int slot)> metafileSlotInUse;
    std::function<void(int slot)> metafileDestroy;
    std::function<void()> windowDestroyAll;
    std::function<PrinterCaps()> printerQueryCaps;
    // Dispatches pending paint messages while a process is awaited.
    std::function<void()> dispatchPaint;
    // Opens a help document or address with the desktop's viewer, answering
    // 0 when the viewer started. Unbound starts xdg-open for real.
    std::function<int(const std::string& document)> openDocument;
};

ToolkitSeams& seams();

}  // namespace tk
