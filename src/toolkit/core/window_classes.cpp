#include "toolkit/core/window_classes.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/message_box.h"
#include "platform/resources/resource_api.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/image_api.h"
#include "platform/window/menu_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/frame_procs.h"
#include "toolkit/core/menu_resources.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/status_bar_codes.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

constexpr int kMaxDialogs = 100;

[[noreturn]] void fatalWindowFailure(const char* text) {
    win::MessageBoxA(nullptr, text, "Veraziderad Window", win::MB_ICONSTOP);
    Win32ProcessExit(FatalExitCode);
}

bool classRegistered(const char* name) {
    win::WNDCLASSA wc;
    return win::GetClassInfoA(nullptr, name, &wc) != win::FALSE;
}

void registerClass(const char* name, win::WNDPROC proc, win::UINT style, win::LPCSTR cursor,
                   bool icon, win::HBRUSH background) {
    win::WNDCLASSA wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hCursor = win::LoadCursorA(nullptr, cursor);
    wc.hIcon = icon ? win::LoadIconA(nullptr, "icon1") : nullptr;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    win::RegisterClassA(&wc);
}

win::LPCSTR systemCursor(win::WORD id) {
    return win::MAKEINTRESOURCEA(id);
}

win::DWORD flagStyle(int flags) {
    win::DWORD style = win::WS_CAPTION | win::WS_CLIPCHILDREN;
    if (flags & kFlagSystemMenu) style |= win::WS_SYSMENU;
    if (flags & kFlagMinimiseBox) style |= win::WS_MINIMIZEBOX;
    if (flags & kFlagMaximiseBox) style |= win::WS_MAXIMIZEBOX;
    if (!(flags & kFlagFixedFrame)) style |= win::WS_THICKFRAME;
    return style;
}

win::DWORD childExStyle(int flags) {
    win::DWORD ex = (flags & kFlagToolWindow) ? win::WS_EX_TOOLWINDOW : win::WS_EX_APPWINDOW;
    if (flags & kFlagTopmost) ex |= win::WS_EX_TOPMOST;
    return ex;
}

win::HMENU loadMenu(int id) {
    return id != 0 ? win::LoadMenuA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(id)))
                   : nullptr;
}


bool dialogResourceExists(int id) {
    return win::FindResourceA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(id)),
                              win::RT_DIALOG) != nullptr;
}

// What a combined dialog makes of the creation: 0 none wanted, else the
// code the dialog id takes when it cannot be combined (or 1 when it can).
// A combinable dialog gives the window its size; without a stretchable
// field the window gets a fixed frame and is neither maximised nor
// maximisable.
int combinedDialogCheck(WindowCreateArgs& args, win::HWND owner) {
    if (args.dialogId == 0) return 0;
    if (!dialogResourceExists(args.dialogId)) return -1;
    const WindowDialogHooks& d = windowDialogHooks();
    if (!d.createCombined || !d.probeCombined) return -4;
    int width = 0, height = 0;
    bool stretches = false;
    const int result = d.probeCombined(args.dialogId, owner, width, height, stretches);
    if (result < 0) return result;
    windowSystem().CombinedDialogFlag = true;
    args.width = width;
    args.height = height;
    if (!stretches) {
        args.flags |= kFlagFixedFrame;
        args.flags &= ~(kFlagMaximiseBox | kFlagMaximised);
    }
    return 1;
}

void attachMenu(WindowSlot& slot, int menuId) {
    slot.menu = win::GetMenu(slot.frame);
    if (!slot.menu) return;
    if (windowBarHooks().menuApplyItemIds) windowBarHooks().menuApplyItemIds(slot.menu, menuId);
    slot.accelerators =
        win::LoadAcceleratorsA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(menuId)));
    slot.menuHelp = MenuHelpResourceLoad(menuId);
}

int windowHeight(win::HWND h) {
    win::RECT r{};
    win::GetWindowRect(h, &r);
    return r.bottom - r.top;
}

struct FrameGeometry {
    int x, y, width, height;
    bool centredX, centredY, maximised;
};

// Toolbars and the status bar enlarge the frame; a centred frame moves by
// half of what it grew.
void addBars(int window, const WindowCreateArgs& args, FrameGeometry& g) {
    WindowSlot& slot = windowSystem().slots[window];
    bool made = false;
    for (int side = 0; side < 4; ++side) {
        if (args.toolbarIds[side] == 0 || !windowBarHooks().toolbarCreate) continue;
        int extent = 0;
        slot.toolbars[side] =
            windowBarHooks().toolbarCreate(window, side, args.toolbarIds[side], extent);
        if (!slot.toolbars[side]) continue;
        made = true;
        slot.toolbarExtents[side] = extent;
        if (side == 1 || side == 2) {
            g.width += extent;
            if (g.centredX && !g.maximised) g.x -= extent / 2;
        } else {
            g.height += extent;
            if (g.centredY && !g.maximised) g.y -= extent / 2;
        }
    }
    slot.statusParts.fill(StatusBarPart{});
    if (args.flags & kFlagStatusBar) {
        win::DWORD style = win::WS_CHILD | win::WS_VISIBLE;
        if (window == 0) style |= win::WS_CLIPSIBLINGS | win::WS_CLIPCHILDREN;
        if (!(args.flags & kFlagFixedFrame)) style |= kSbarsSizeGrip;
        slot.statusBar = win::CreateWindowExA(
            0, "msctls_statusbar32", "", style, 0, 0, args.width, 10, slot.frame,
            reinterpret_cast<win::HMENU>(static_cast<std::intptr_t>(kStatusBarId)), nullptr,
            nullptr);
        if (slot.statusBar) {
            int whole = -1;
            win::SendMessageA(slot.statusBar, kSbSetParts, 1,
                              reinterpret_cast<win::LPARAM>(&whole));
            slot.statusParts[0].width = -1;
            int barHeight = windowHeight(slot.statusBar);
            g.height += barHeight;
            if (g.centredY && !g.maximised) g.y -= barHeight / 2;
            made = true;
        }
    }
    if (!made) return;
    win::SetWindowPos(slot.frame, nullptr, g.x, g.y, g.width, g.height,
                      win::SWP_NOACTIVATE | win::SWP_NOREDRAW | win::SWP_NOZORDER);
    if (slot.statusBar) win::SendMessageA(slot.statusBar, win::WM_SIZE, 0, 0);
}

win::RECT clientArea(const WindowSlot& slot) {
    win::RECT r{};
    win::GetClientRect(slot.frame, &r);
    r.top += slot.toolbarExtents[0];
    r.left += slot.toolbarExtents[1];
    r.right -= slot.toolbarExtents[2];
    r.bottom -= slot.toolbarExtents[3];
    if (slot.statusBar) r.bottom -= windowHeight(slot.statusBar);
    return r;
}

win::HWND createClient(WindowSlot& slot) {
    win::RECT r = clientArea(slot);
    return win::CreateWindowExA(
        0, kClientClass, "",
        win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS | win::WS_CLIPCHILDREN, r.left,
        r.top, std::max(0, static_cast<int>(r.right - r.left)),
        std::max(0, static_cast<int>(r.bottom - r.top)), slot.frame,
        reinterpret_cast<win::HMENU>(static_cast<std::intptr_t>(-1)), nullptr, nullptr);
}

win::SIZE screenArea() {
    return {win::GetSystemMetrics(win::SM_CXSCREEN), win::GetSystemMetrics(win::SM_CYSCREEN)};
}

// The frame around a client area of the asked size, centred in the area
// where a position says so.
FrameGeometry frameGeometry(const WindowCreateArgs& args, win::DWORD style, win::DWORD ex,
                            bool menu, win::SIZE area) {
    win::RECT r{0, 0, args.width, args.height};
    win::AdjustWindowRectEx(&r, style, menu, ex);
    FrameGeometry g{args.x,
                    args.y,
                    r.right - r.left,
                    r.bottom - r.top,
                    args.x == kCentred,
                    args.y == kCentred,
                    (args.flags & kFlagMaximised) != 0};
    if (g.centredX) g.x = (area.cx - g.width) / 2;
    if (g.centredY) g.y = (area.cy - g.height) / 2;
    return g;
}

// The frame with its menu, bars and client window.
void createFrame(int window, const WindowCreateArgs& args, const char* className, win::DWORD style,
                 win::DWORD ex, win::HWND parent, win::HMENU menu, FrameGeometry& g) {
    WindowSlot& slot = windowSystem().slots[window];
    slot.frame = win::CreateWindowExA(ex, className, args.title.c_str(), style, g.x, g.y, g.width,
                                      g.height, parent, menu, nullptr, nullptr);
    if (!slot.frame) return;
    attachMenu(slot, args.menuId);
    addBars(window, args, g);
    slot.client = createClient(slot);
}

void setBackground(WindowSlot& slot, int colour) {
    slot.backgroundColour = colour;
    slot.backgroundBrush =
        colour == -1 ? nullptr : win::CreateSolidBrush(static_cast<win::COLORREF>(colour));
}

void fillColourPairs() {
    static constexpr win::COLORREF kPairs[16] = {
        win::RGB(0, 0, 0),     win::RGB(191, 0, 0), win::RGB(191, 191, 0), win::RGB(0, 191, 0),
        win::RGB(0, 191, 191), win::RGB(0, 0, 191), win::RGB(191, 0, 191), win::RGB(191, 191, 191),
        win::RGB(64, 64, 64),  win::RGB(255, 0, 0), win::RGB(255, 255, 0), win::RGB(0, 255, 0),
        win::RGB(0, 255, 255), win::RGB(0, 0, 255), win::RGB(255, 0, 255), win::RGB(255, 255, 255)};
    WindowSystem& w = windowSystem();
    std::copy(std::begin(kPairs), std::end(kPairs), w.ColourPairs.begin());
    w.ColourPairs[16] = win::GetSysColor(win::COLOR_WINDOWTEXT);
    w.ColourPairs[17] = win::GetSysColor(win::COLOR_WINDOW);
    w.ForegroundIndex = 0;
    w.BackgroundIndex = 15;
}

// Takes the client's context for drawing, as window selection does.
void takeClientContext(int window) {
    WindowSystem& w = windowSystem();
    win::HWND client = w.slots[window].client;
    w.CurrentSlot = window;
    w.ClientDC = win::GetDC(client);
    win::SetBkMode(w.ClientDC, win::TRANSPARENT);
    win::SetTextAlign(w.ClientDC, win::TA_BASELINE);
    if (w.DialogFieldSurface || w.MemoryBitmapSurface || w.MetafileSurface) return;
    w.DrawingDC = w.ClientDC;
    w.DrawingWindow = client;
    if (w.PatternBitmap) win::DeleteObject(w.PatternBitmap);
    w.PatternBitmap = win::CreateCompatibleBitmap(w.DrawingDC, 8, 8);
    win::SetROP2(w.DrawingDC, w.RasterOp);
}

void releaseClientContext() {
    WindowSystem& w = windowSystem();
    if (!w.ClientDC) return;
    if (w.DrawingDC == w.ClientDC) {
        if (w.ReplacedPen) win::SelectObject(w.DrawingDC, w.ReplacedPen);
        if (w.ReplacedBrush) win::SelectObject(w.DrawingDC, w.ReplacedBrush);
        w.ReplacedPen = w.ReplacedBrush = nullptr;
        w.DrawingDC = nullptr;
        w.DrawingWindow = nullptr;
    }
    win::ReleaseDC(w.slots[w.CurrentSlot].client, w.ClientDC);
    w.ClientDC = nullptr;
}

void showFrame(WindowSlot& slot, int flags) {
    if (flags & kFlagMaximised)
        win::ShowWindow(slot.frame, win::SW_SHOWMAXIMIZED);
    else
        win::ShowWindow(slot.frame, win::SW_SHOWNORMAL);
    win::ValidateRect(slot.client, nullptr);
}

void sendMaximisedSize(const WindowSlot& slot) {
    int cw = 0, ch = 0;
    clientSizeOf(slot.frame, cw, ch);
    win::SendMessageA(slot.frame, win::WM_SIZE, win::SIZE_MAXIMIZED, win::MAKELPARAM(cw, ch));
}

// The frame's record names the dialog (word 5), whose window the client
// procedure sizes, focuses and keeps above its minimum frame size (words 6
// and 7: the frame's size, the restored one when maximised).
void attachCombinedDialog(int window, int& dialogId, int flags) {
    if (dialogId <= 0) return;
    const WindowDialogHooks& d = windowDialogHooks();
    int result = d.createCombined(dialogId, window);
    if (result <= 0) {
        dialogId = result;
        return;
    }
    WindowSlot& slot = windowSystem().slots[window];
    auto record = std::make_unique<FrameUserRecord>();
    record->words[0] = KindCombinedDialog;
    win::HWND dialog = d.windowOf ? d.windowOf(dialogId) : nullptr;
    record->words[5] = reinterpret_cast<std::intptr_t>(dialog);
    win::WINDOWPLACEMENT wp;
    win::RECT r{};
    if ((flags & kFlagMaximised) && win::GetWindowPlacement(slot.frame, &wp))
        r = wp.rcNormalPosition;
    else
        win::GetWindowRect(slot.frame, &r);
    record->words[6] = r.right - r.left;
    record->words[7] = r.bottom - r.top;
    setFrameRecord(window, std::move(record));
    if (!(flags & kFlagHidden) && d.showModeless) d.showModeless(dialogId);
    if ((flags & kFlagMaximised) && dialog && d.hasStretchField && d.hasStretchField(dialog)) {
        int cw = 0, ch = 0;
        clientSizeOf(slot.client, cw, ch);
        win::SendMessageA(slot.client, win::WM_SIZE, win::SIZE_MAXIMIZED, win::MAKELPARAM(cw, ch));
    }
}

// After the window is shown the combined dialog paints at once.
void updateCombinedDialog(int window) {
    const FrameUserRecord* r = frameRecord(windowSystem().slots[window].frame);
    if (r && r->kind() == KindCombinedDialog && r->handle(5)) win::UpdateWindow(r->handle(5));
}

void clearSlot(int window) {
    WindowSystem& w = windowSystem();
    WindowSlot& slot = w.slots[window];
    if (slot.backgroundBrush) win::DeleteObject(slot.backgroundBrush);
    if (slot.frozenBitmap) win::DeleteObject(slot.frozenBitmap);
    if (w.ActiveFrame == slot.frame) w.ActiveFrame = w.slots[0].frame;
    if (w.SemiModalLock == slot.frame) w.SemiModalLock = nullptr;
    slot = WindowSlot{};
    // A held Expose or Resize belongs to the closed window, not to the next
    // window opened in its slot.
    eventQueue().deferred[static_cast<std::size_t>(window)] = StoredEvent{};
}

}  // namespace

bool WindowClassesRegister() {
    win::UnregisterClassA(kRootFrameClass, nullptr);
    registerClass(kRootFrameClass, FrameWindowProcedure, 0, systemCursor(win::IDC_ARROW_ID), true,
                  nullptr);
    if (!classRegistered(kChildFrameClass))
        registerClass(kChildFrameClass, FrameWindowProcedure, 0, systemCursor(win::IDC_ARROW_ID),
                      true, nullptr);
    if (!classRegistered(kClientClass))
        registerClass(kClientClass, ClientWindowProcedure,
                      win::CS_HREDRAW | win::CS_VREDRAW | win::CS_DBLCLKS,
                      systemCursor(win::IDC_ARROW_ID), false,
                      static_cast<win::HBRUSH>(win::GetStockObject(win::WHITE_BRUSH)));
    const win::UINT splitStyle = win::CS_HREDRAW | win::CS_VREDRAW | win::CS_PARENTDC;
    auto face = reinterpret_cast<win::HBRUSH>(static_cast<std::intptr_t>(win::COLOR_BTNFACE + 1));
    if (!classRegistered(kSplitterRowsClass))
        registerClass(kSplitterRowsClass, SplitterProcedure, splitStyle,
                      systemCursor(win::IDC_SIZENS_ID), false, face);
    if (!classRegistered(kSplitterColumnsClass))
        registerClass(kSplitterColumnsClass, SplitterProcedure, splitStyle,
                      systemCursor(win::IDC_SIZEWE_ID), false, face);
    for (const char* name : {kRootFrameClass, kChildFrameClass, kClientClass, kSplitterRowsClass,
                             kSplitterColumnsClass})
        if (!classRegistered(name)) return false;
    return true;
}

void WindowCreateRoot(WindowCreateArgs& args) {
    WindowSystem& w = windowSystem();
    EventEnableDefaults();
    if (!WindowClassesRegister()) fatalWindowFailure("Failed to register class - aborting.");
    win::HWND probe = win::CreateWindowExA(0, kRootFrameClass, "", win::WS_POPUP, 0, 0, 10, 10,
                                           nullptr, nullptr, nullptr, nullptr);
    if (!probe) fatalWindowFailure("Failed to create window - aborting.");
    w.FindReplaceMessage = win::RegisterWindowMessageA("commdlg_FindReplace");
    w.RichEditLevel = classRegistered("RichEdit20A") ? 2 : 1;
    w.CombinedDialogFlag = false;
    int dialogCheck = combinedDialogCheck(args, probe);
    if (dialogCheck < 0) args.dialogId = dialogCheck;
    win::DestroyWindow(probe);

    WindowSlot& slot = w.slots[0];
    win::HMENU menu = loadMenu(args.menuId);
    win::DWORD style = flagStyle(args.flags);
    win::DWORD ex = (args.flags & kFlagTopmost) ? win::WS_EX_TOPMOST : 0;
    setBackground(slot, args.background);
    FrameGeometry g = frameGeometry(args, style, ex, menu != nullptr, screenArea());
    createFrame(0, args, kRootFrameClass, style, ex, nullptr, menu, g);
    if (!slot.frame || !slot.client) fatalWindowFailure("Failed to create window - aborting.");
    if (dialogCheck > 0) attachCombinedDialog(0, args.dialogId, args.flags);
    if (args.flags & kFlagHidden) {
        w.RootHidden = true;
        if (args.flags & kFlagMaximised) sendMaximisedSize(slot);
    } else {
        w.RootHidden = false;
        showFrame(slot, args.flags);
        if (dialogCheck > 0) {
            win::ValidateRect(slot.client, nullptr);
            updateCombinedDialog(0);
        }
    }
    takeClientContext(0);
    clientSizeOf(slot.client, args.width, args.height);
    w.CurrentWidth = args.width;
    w.CurrentHeight = args.height;
    fillColourPairs();
    w.RasterOp = win::R2_COPYPEN;
    win::SetROP2(w.DrawingDC, w.RasterOp);
    if (windowGraphicsHooks().scaleDashTables) windowGraphicsHooks().scaleDashTables();
    // The drawing layer always offers gradient fills; there is no mail system.
    w.GradientFillFound = true;
    w.MapiFound = false;
    if (w.CgmClipboardFormat == 0)
        w.CgmClipboardFormat = win::RegisterClipboardFormatA("Veraziderad CGM");
    w.DialogFieldSurface = w.MemoryBitmapSurface = w.MetafileSurface = false;
    clearDeferredEvents();
    if (!(args.flags & kFlagHidden)) win::SetFocus(slot.client);
    w.ActiveFrame = slot.frame;
}

namespace {

int parentCheck(int parent) {
    if (!windowIsOpen(parent)) return -5;
    win::HWND frame = windowSystem().slots[parent].frame;
    if (!win::IsWindowVisible(frame)) return -2;
    if (const FrameUserRecord* r = frameRecord(frame))
        return r->kind() == KindCombinedDialog ? -3 : -4;
    return 0;
}

int childDialogCheck(WindowCreateArgs& args) {
    const int id = args.dialogId;
    if (id == 0) return 0;
    const WindowDialogHooks& d = windowDialogHooks();
    if (d.slotFind && d.slotFind(id) >= 0) return -5;
    if (d.loadedCount && d.loadedCount() >= kMaxDialogs) return -3;
    return combinedDialogCheck(args, windowSystem().slots[0].frame);
}

win::HWND returnFocusWindow() {
    const WindowSystem& w = windowSystem();
    if (w.ActiveModelessDialog && win::IsWindowVisible(w.ActiveModelessDialog))
        return w.ActiveModelessDialog;
    return w.ActiveFrame;
}

}  // namespace

void WindowCreateChild(WindowCreateArgs& args, int& window) {
    WindowSystem& w = windowSystem();
    window = FreeChildSlot();
    if (window == -1) return;
    const bool inside = (args.flags & kFlagInsideParent) != 0;
    if (inside) {
        if (int code = parentCheck(args.parent); code != 0) {
            window = code;
            return;
        }
    }
    int dialogCheck = childDialogCheck(args);
    if (dialogCheck < 0) args.dialogId = dialogCheck;

    const int n = window;
    WindowSlot& slot = w.slots[n];
    const WindowSlot& parent = w.slots[windowIsOpen(args.parent) ? args.parent : 0];
    win::DWORD style = flagStyle(args.flags) & ~win::WS_CLIPCHILDREN;
    style |= win::WS_CLIPCHILDREN | (inside ? win::WS_CHILD | win::WS_CLIPSIBLINGS : win::WS_POPUP);
    if (w.SemiModalLock) style |= win::WS_DISABLED;
    win::DWORD ex = childExStyle(args.flags);
    win::HMENU menu = inside ? nullptr : loadMenu(args.menuId);
    win::HWND parentWindow = inside                           ? parent.client
                             : (args.flags & kFlagOwned) != 0 ? parent.frame
                                                              : nullptr;
    setBackground(slot, args.background);
    win::SIZE area = screenArea();
    if (inside) clientSizeOf(parent.client, area.cx, area.cy);
    FrameGeometry g = frameGeometry(args, style, ex, menu != nullptr, area);
    slot.returnFocus = returnFocusWindow();
    createFrame(n, args, kChildFrameClass, style, ex, parentWindow, menu, g);
    if (!slot.frame || !slot.client) {
        if (slot.frame) win::DestroyWindow(slot.frame);
        if (slot.backgroundBrush) win::DeleteObject(slot.backgroundBrush);
        slot = WindowSlot{};
        window = -1;
        return;
    }
    if (dialogCheck > 0) attachCombinedDialog(n, args.dialogId, args.flags);
    if (!(args.flags & kFlagHidden)) {
        showFrame(slot, args.flags);
        win::BringWindowToTop(slot.frame);
        win::ValidateRect(slot.client, nullptr);
        updateCombinedDialog(n);
        win::SetFocus(slot.client);
        FocusWindowActivate(slot.frame);
    } else if (args.flags & kFlagMaximised) {
        sendMaximisedSize(slot);
    }
    slot.rememberedRect[0] = kNoRememberedRect;
    clientSizeOf(slot.client, args.width, args.height);
}

void WindowSelectSurface(int& width, int& height, int& window) {
    if (!windowIsOpen(window)) {
        window = -1;
        return;
    }
    releaseClientContext();
    takeClientContext(window);
    clientSizeOf(windowSystem().slots[window].client, width, height);
}

void WindowSoundStop(int window) {
    windowSystem().slots[window].soundDevice = 0;
}

void ChildWindowClose(int& window, int& currentDialog) {
    if (window < 1 || window >= kWindowSlots || !windowIsOpen(window)) {
        window = -1;
        return;
    }
    WindowSystem& w = windowSystem();
    win::HWND frame = w.slots[window].frame;
    if (hasChildStyle(frame)) {
        win::HWND container = win::GetParent(win::GetParent(frame));
        int c = WindowSlotOfHandle(container);
        if (c >= 0) {
            FrameUserRecord* r = frameRecord(container);
            if (r && r->kind() == KindSplit) {
                int first = static_cast<int>(r->words[7]);
                int second = static_cast<int>(r->words[8]);
                win::HWND bar = r->handle(5);
                setFrameRecord(c, nullptr);
                win::SetMenu(container, w.slots[c].menu);
                PaneTreeClose(first, currentDialog);
                PaneTreeClose(second, currentDialog);
                if (bar) win::DestroyWindow(bar);
                return;
            }
        }
    }
    PaneTreeClose(window, currentDialog);
}

void PaneTreeClose(int window, int& currentDialog) {
    if (!windowIsOpen(window)) return;
    const FrameUserRecord* r = frameRecord(windowSystem().slots[window].frame);
    if (r && r->kind() == KindSplit) {
        int first = static_cast<int>(r->words[7]);
        int second = static_cast<int>(r->words[8]);
        PaneTreeClose(first, currentDialog);
        PaneTreeClose(second, currentDialog);
    }
    WindowSlotClose(window, currentDialog);
}

namespace {

// True when h lies inside the frame or is owned by it through its owners.
bool insideOrOwned(win::HWND h, win::HWND frame) {
    if (!h || h == frame) return false;
    if (win::IsChild(frame, h)) return true;
    for (win::HWND o = win::GetWindow(h, win::GW_OWNER); o; o = win::GetWindow(o, win::GW_OWNER))
        if (o == frame || win::IsChild(frame, o)) return true;
    return false;
}

void unloadCombinedDialog(win::HWND frame, int& currentDialog) {
    const FrameUserRecord* r = frameRecord(frame);
    if (!r || r->kind() != KindCombinedDialog) return;
    win::HWND dialog = r->handle(5);
    const WindowDialogHooks& d = windowDialogHooks();
    if (d.recordOf && dialog)
        if (std::int32_t* rec = d.recordOf(dialog); rec && rec[0] == currentDialog)
            currentDialog = 0;
    if (d.hideAndUnload && dialog) d.hideAndUnload(dialog);
}

void destroyMenuOf(WindowSlot& slot) {
    if (!slot.menu) return;
    if (win::IsWindow(slot.frame)) win::SetMenu(slot.frame, nullptr);
    win::DestroyMenu(slot.menu);
    slot.menu = nullptr;
}

}  // namespace

void WindowSlotClose(int window, int& currentDialog) {
    WindowSystem& w = windowSystem();
    WindowSoundStop(window);
    if (window == w.CurrentSlot) releaseClientContext();
    WindowSlot& slot = w.slots[window];
    const win::HWND frame = slot.frame;
    unloadCombinedDialog(frame, currentDialog);
    for (int m = 0; m < kWindowSlots; ++m) {
        if (m == window || !insideOrOwned(w.slots[m].frame, frame)) continue;
        unloadCombinedDialog(w.slots[m].frame, currentDialog);
        destroyMenuOf(w.slots[m]);
        if (m == w.CurrentSlot) releaseClientContext();
        win::HWND inner = w.slots[m].frame;
        clearSlot(m);
        if (win::IsWindow(inner)) win::DestroyWindow(inner);
    }
    const WindowDialogHooks& d = windowDialogHooks();
    if (d.loadedDialogs && d.hideAndUnload) {
        std::vector<win::HWND> dialogs = d.loadedDialogs();
        for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
            win::HWND owner = d.ownerOf ? d.ownerOf(*it) : nullptr;
            if (insideOrOwned(*it, frame) || owner == frame || insideOrOwned(owner, frame))
                d.hideAndUnload(*it);
        }
    }
    for (WindowSlot& other : w.slots)
        if (other.frame && other.returnFocus == frame) other.returnFocus = slot.returnFocus;
    destroyMenuOf(slot);
    win::HWND client = slot.client;
    clearSlot(window);
    if (win::IsWindow(client)) win::DestroyWindow(client);
    if (win::IsWindow(frame)) win::DestroyWindow(frame);
}

void WindowDestroyAll() {
    WindowSystem& w = windowSystem();
    releaseClientContext();
    if (w.PatternBitmap) win::DeleteObject(w.PatternBitmap);
    if (w.Palette) win::DeleteObject(w.Palette);
    w.PatternBitmap = nullptr;
    w.Palette = nullptr;
    for (int n = 0; n < kWindowSlots; ++n) {
        int none = 0;
        unloadCombinedDialog(w.slots[n].frame, none);
    }
    if (windowDialogHooks().destroyAll) windowDialogHooks().destroyAll();
    w.SemiModalLock = nullptr;
    for (int n = kWindowSlots - 1; n >= 0; --n) {
        win::HWND frame = w.slots[n].frame;
        clearSlot(n);
        if (frame && win::IsWindow(frame)) win::DestroyWindow(frame);
    }
    w.CurrentSlot = 0;
    w.ActiveFrame = nullptr;
    EventEnableDefaults();
    w.DialogFieldSurface = w.MemoryBitmapSurface = w.MetafileSurface = false;
}

void StatusBarPartSet(int part, int width, int style) {
    if (part < 1 || part > 255) return;
    WindowSystem& w = windowSystem();
    w.slots[w.CurrentSlot].statusParts[part - 1] = {width, style};
}

void StatusBarPartEdges(int window, int parts, int* edges) {
    const WindowSlot& slot = windowSystem().slots[window];
    parts = std::clamp(parts, 0, 255);
    int stretch = -1;
    int edge = 0;
    for (int i = 0; i < parts; ++i) {
        if (slot.statusParts[i].width == -1) {
            stretch = i;
            break;
        }
        edge += slot.statusParts[i].width;
        edges[i] = edge;
    }
    if (stretch < 0) return;
    win::RECT r{};
    win::GetClientRect(slot.frame, &r);
    edge = r.right - r.left;
    for (int i = parts - 1; i >= stretch; --i) {
        edges[i] = edge;
        if (i > stretch) edge -= slot.statusParts[i].width;
    }
}

namespace {

win::WPARAM partStyle(int part, int style) {
    win::WPARAM p = static_cast<win::WPARAM>(part);
    if (style == 0) return p | kSbtNoBorders;
    if (style == 2) return p | kSbtPopOut;
    return p;
}

}  // namespace

void StatusBarPartsApply(int parts) {
    WindowSystem& w = windowSystem();
    const WindowSlot& slot = w.slots[w.CurrentSlot];
    if (!slot.statusBar) return;
    parts = std::clamp(parts, 1, 255);
    std::array<int, 255> edges{};
    StatusBarPartEdges(w.CurrentSlot, parts, edges.data());
    win::SendMessageA(slot.statusBar, kSbSetParts, static_cast<win::WPARAM>(parts),
                      reinterpret_cast<win::LPARAM>(edges.data()));
    // Each part's present text is set again with the part's style.
    for (int i = 0; i < parts; ++i) {
        const auto length = win::LOWORD(static_cast<std::uintptr_t>(
            win::SendMessageA(slot.statusBar, kSbGetTextLengthA, static_cast<win::WPARAM>(i), 0)));
        std::string text(length + 1u, '\0');
        win::SendMessageA(slot.statusBar, kSbGetTextA, static_cast<win::WPARAM>(i),
                          reinterpret_cast<win::LPARAM>(text.data()));
        win::SendMessageA(slot.statusBar, kSbSetTextA, partStyle(i, slot.statusParts[i].style),
                          reinterpret_cast<win::LPARAM>(text.c_str()));
    }
    win::InvalidateRect(slot.statusBar, nullptr, win::TRUE);
    win::UpdateWindow(slot.statusBar);
}

void StatusBarPartTextSet(int part, const std::string& text) {
    WindowSystem& w = windowSystem();
    const WindowSlot& slot = w.slots[w.CurrentSlot];
    if (!slot.statusBar || part < 1 || part > 255) return;
    const int index = part - 1;
    win::SendMessageA(slot.statusBar, kSbSetTextA, partStyle(index, slot.statusParts[index].style),
                      reinterpret_cast<win::LPARAM>(text.c_str()));
    win::RECT r{};
    win::SendMessageA(slot.statusBar, kSbGetRect, static_cast<win::WPARAM>(index),
                      reinterpret_cast<win::LPARAM>(&r));
    win::InvalidateRect(slot.statusBar, &r, win::TRUE);
    win::UpdateWindow(slot.statusBar);
}

}  // namespace tk
