#include "toolkit/core/window_api.h"

#include <algorithm>

#include "platform/window/screen.h"
#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_classes.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_units.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {
namespace {

constexpr int kInsideDefaultUnits = 8000;
constexpr int kEditorFilesPerWindow = 20;

int screenWidth() {
    int w = toolkitState().ScreenWidth;
    return w > 0 ? w : win::GetSystemMetrics(win::SM_CXSCREEN);
}

int screenHeight() {
    int h = toolkitState().ScreenHeight;
    return h > 0 ? h : win::GetSystemMetrics(win::SM_CYSCREEN);
}

int paletteSizeOf(std::optional<int> size) {
    int s = size.value_or(16);
    return s == 16 || s == 32 || s == 64 || s == 128 ? s : 16;
}

void reportDialogCode(int code, const char* routine) {
    switch (code) {
        case -1:
            ReportLibraryError(1007, routine);
            break;
        case -2:
            ReportLibraryError(1045, routine);
            break;
        case -3:
            ReportLibraryError(1087, routine);
            break;
        case -4:
            ReportLibraryError(1088, routine);
            break;
        case -5:
            ReportLibraryError(1091, routine);
            break;
        default:
            break;
    }
}

void graphicsTargetResized(int window, int width, int height) {
    if (windowGraphicsHooks().targetResized)
        windowGraphicsHooks().targetResized(1, window, width, height);
}

void windowTextSizeUpdate() {
    if (windowGraphicsHooks().windowTextSizeUpdate) windowGraphicsHooks().windowTextSizeUpdate();
}

win::HWND currentFrame() {
    const WindowSystem& w = windowSystem();
    return w.slots[w.CurrentSlot].frame;
}

win::HWND currentDialogWindow() {
    int id = toolkitState().CurrentDialogNumber;
    if (id == 0 || !windowDialogHooks().windowOf) return nullptr;
    return windowDialogHooks().windowOf(id);
}

// The offset of the workspace against the screen (a task bar at the top or
// left), measured with a probe window; none where no probe can be made.
win::POINT workspaceOffset() {
    win::HWND probe =
        win::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    if (!probe) return {0, 0};
    win::WINDOWPLACEMENT wp;
    win::GetWindowPlacement(probe, &wp);
    win::RECT r{};
    win::GetWindowRect(probe, &r);
    win::DestroyWindow(probe);
    return {r.left - wp.rcNormalPosition.left, r.top - wp.rcNormalPosition.top};
}

win::RECT restoredRect(win::HWND h) {
    win::WINDOWPLACEMENT wp;
    win::GetWindowPlacement(h, &wp);
    win::RECT r = wp.rcNormalPosition;
    if (!hasChildStyle(h)) {
        win::POINT off = workspaceOffset();
        r.left -= off.x, r.right -= off.x, r.top -= off.y, r.bottom -= off.y;
    }
    return r;
}

// Converts two pixel values of the parent's client area into its units.
void toParentUnits(int parent, int& a, int& b) {
    WindowSystem& w = windowSystem();
    int remembered = w.CurrentWindow;
    YYWINSEL(parent, 1);
    PixelsToWindowUnits(a, b, a, b);
    YYWINSEL(remembered, 1);
}

}  // namespace

void WorkspaceOffsetGet(int& dx, int& dy) {
    win::POINT p = workspaceOffset();
    dx = p.x;
    dy = p.y;
}

void WindowOpen(const WindowOpenArgs& a) {
    ToolkitState& s = toolkitState();
    if (s.RootWindowOpen) return;
    WindowSystem& w = windowSystem();
    WindowCreateArgs c;
    c.flags = a.flags.value_or(kDefaultWindowFlags);
    c.x = a.x.value_or(kCentred);
    c.y = a.y.value_or(kCentred);
    c.width = a.width.value_or(0) >= 1 ? *a.width : screenWidth() * 8 / 10;
    c.height = a.height.value_or(0) >= 1 ? *a.height : screenHeight() * 8 / 10;
    c.menuId = a.menuId.value_or(0);
    c.toolbarIds = a.toolbarIds;
    c.dialogId = a.dialogId.value_or(0);
    c.title = std::string(trimRight(a.title.value_or("")));
    c.paletteSize = paletteSizeOf(a.paletteSize);
    c.background = a.background.value_or(-1);
    w.CurrentWidth = c.width;
    w.CurrentHeight = c.height;
    WindowCreateRoot(c);
    if (c.dialogId > 0) s.CurrentDialogNumber = c.dialogId;
    reportDialogCode(c.dialogId, "WindowOpen");
    if (s.ScreenColours == 256) s.PaletteSize = c.paletteSize;
    w.CurrentWidth = c.width;
    w.CurrentHeight = c.height;
    w.WindowFlags[0] = c.flags;
    w.CurrentWindow = 0;
    s.RootWindowOpen = true;
    w.TextPositionX = w.TextPositionY = 0;
    windowTextSizeUpdate();
    if (windowGraphicsHooks().buildDefaultColourTable)
        windowGraphicsHooks().buildDefaultColourTable();
    if (windowGraphicsHooks().resetGraphicsState) windowGraphicsHooks().resetGraphicsState();
}

void RootWindowOpen(const WindowSettingsRecord& r, std::optional<int> paletteSize) {
    WindowOpenArgs a;
    a.flags = r.words[0];
    a.x = r.words[1] < 0 ? kCentred : r.words[1];
    a.y = r.words[2] < 0 ? kCentred : r.words[2];
    a.width = r.words[3] > 0 ? r.words[3] : -1;
    a.height = r.words[4] > 0 ? r.words[4] : -1;
    a.menuId = r.words[5];
    a.dialogId = 0;
    a.title = r.title.substr(0, std::min<std::size_t>(r.title.size(), 80));
    a.paletteSize = paletteSize.value_or(0);
    a.background = -1;
    WindowOpen(a);
}

void WindowOpenChild(int& window, const WindowOpenChildArgs& a) {
    WindowSystem& w = windowSystem();
    WindowCreateArgs c;
    c.flags = a.flags.value_or(kDefaultWindowFlags);
    c.menuId = a.menuId.value_or(0);
    c.dialogId = a.dialogId.value_or(0);
    c.parent = a.parent.value_or(0);
    c.background = a.background.value_or(-1);
    c.toolbarIds = a.toolbarIds;
    c.title = std::string(trimRight(a.title.value_or("")));
    const bool inside = (c.flags & kFlagInsideParent) != 0;
    if (inside) {
        OutputWindowSelect(c.parent);
        const int pw = w.CurrentWidth, ph = w.CurrentHeight;
        auto place = [](std::optional<int> v, int size) {
            return !v || *v == kCentred ? kCentred : (size - 1) * *v / kWindowUnitsMax;
        };
        c.x = place(a.x, pw);
        c.y = place(a.y, ph);
        c.width =
            pw * (a.width.value_or(0) >= 1 ? *a.width : kInsideDefaultUnits) / kWindowUnitsMax;
        c.height =
            ph * (a.height.value_or(0) >= 1 ? *a.height : kInsideDefaultUnits) / kWindowUnitsMax;
    } else {
        c.width = a.width.value_or(0) >= 1 ? *a.width : screenWidth() * 8 / 10;
        c.height = a.height.value_or(0) >= 1 ? *a.height : screenHeight() * 8 / 10;
        c.x = a.x.value_or(kCentred);
        c.y = a.y.value_or(kCentred);
    }
    const int rememberedW = w.CurrentWidth, rememberedH = w.CurrentHeight;
    w.CurrentWidth = c.width;
    w.CurrentHeight = c.height;
    int n = -1;
    WindowCreateChild(c, n);
    if (n >= 0) {
        OutputWindowSelect(n);
        w.WindowFlags[n] = c.flags;
        if (c.dialogId > 0) toolkitState().CurrentDialogNumber = c.dialogId;
        reportDialogCode(c.dialogId, "WindowOpenChild");
        window = n;
        return;
    }
    w.CurrentWidth = rememberedW;
    w.CurrentHeight = rememberedH;
    switch (n) {
        case -5:
            ReportLibraryError(1003, "WindowOpenChild");
            break;
        case -4:
            ReportLibraryError(1056, "WindowOpenChild");
            break;
        case -3:
            ReportLibraryError(1046, "WindowOpenChild");
            break;
        case -2:
            ReportLibraryError(1016, "WindowOpenChild");
            break;
        default:
            break;
    }
    window = -1;
}

void WindowCloseChild(int window) {
    ToolkitState& s = toolkitState();
    WindowSystem& w = windowSystem();
    int n = window;
    ChildWindowClose(n, s.CurrentDialogNumber);
    if (n == -1) {
        ReportLibraryError(1003, "WindowCloseChild");
        return;
    }
    if (!windowIsOpen(w.CurrentWindow)) {
        w.WindowFlags[window] = -1;
        OutputWindowSelect(0);
    }
    const std::size_t first = static_cast<std::size_t>(window) * kEditorFilesPerWindow;
    for (std::size_t i = first; i < first + kEditorFilesPerWindow && i < s.EditorBuffers.size();
         ++i)
        s.EditorBuffers[i] = EditorBufferEntry{};
}

void YYWINSEL(int window, int switchFlag) {
    WindowSystem& w = windowSystem();
    int n = window, width = 0, height = 0;
    WindowSelectSurface(width, height, n);
    if (n == -1) {
        ReportLibraryError(1003, "YYWINSEL");
        return;
    }
    w.CurrentWidth = width;
    w.CurrentHeight = height;
    w.CurrentWindow = n;
    w.TextPositionX = w.TextPositionY = 0;
    GraphicsState& g = graphicsState();
    if (g.targetType == WindowTarget) g.targetId = n;
    if (auto& selected = windowGraphicsHooks().outputWindowSelected)
        selected(n, w.slots[n].client, w.ClientDC, width, height);
    g.temporaryWindowSwitch = switchFlag;
    graphicsTargetResized(n, width, height);
    g.temporaryWindowSwitch = 0;
    windowTextSizeUpdate();
}

void OutputWindowSelect(int window) {
    YYWINSEL(window, graphicsState().temporaryWindowSwitch);
}

void WindowRectangleGet(int kind, int& a, int& b, int& insideParent, int& parentWindow) {
    win::HWND h = kind <= 1 ? currentFrame() : currentDialogWindow();
    insideParent = parentWindow = 0;
    a = b = 0;
    if (!h) return;
    const bool minimised = win::IsIconic(h);
    win::RECT r{};
    if (minimised)
        r = restoredRect(h);
    else
        win::GetWindowRect(h, &r);
    if (hasChildStyle(h)) {
        win::HWND parent = win::GetParent(h);
        if (!minimised) win::MapWindowPoints(nullptr, parent, reinterpret_cast<win::POINT*>(&r), 2);
        insideParent = 1;
        parentWindow = WindowSlotOfHandle(parent);
    }
    if (kind == 1 || kind == 3) {
        a = r.right - r.left;
        b = r.bottom - r.top;
    } else {
        a = r.left;
        b = r.top;
    }
}

void ClientOriginGet(int& x, int& y) {
    const WindowSystem& w = windowSystem();
    win::POINT p{0, 0};
    win::ClientToScreen(w.slots[w.CurrentSlot].client, &p);
    x = p.x;
    y = p.y;
}

void WindowShowStateGet(int& state) {
    win::HWND frame = currentFrame();
    if (!(win::GetWindowLongA(frame, win::GWL_STYLE) & win::WS_VISIBLE))
        state = ShowHidden;
    else if (win::IsIconic(frame))
        state = ShowMinimised;
    else if (win::IsZoomed(frame))
        state = ShowMaximised;
    else
        state = ShowNormal;
}

void WindowRestoredPlacementGet(int& width, int& height, int& x, int& y, int& insideParent,
                                int& parentWindow) {
    const WindowSystem& w = windowSystem();
    win::HWND frame = currentFrame();
    win::HWND client = w.slots[w.CurrentSlot].client;
    int unusedA = 0, unusedB = 0;
    WindowRectangleGet(0, unusedA, unusedB, insideParent, parentWindow);
    if (win::IsZoomed(frame)) {
        win::RECT fr{}, cr{};
        win::GetWindowRect(frame, &fr);
        win::GetClientRect(client, &cr);
        int decoW = (fr.right - fr.left) - (cr.right - cr.left);
        int decoH = (fr.bottom - fr.top) - (cr.bottom - cr.top);
        win::RECT r = restoredRect(frame);
        width = (r.right - r.left) - decoW;
        height = (r.bottom - r.top) - decoH;
        x = r.left;
        y = r.top;
        return;
    }
    win::RECT cr{};
    win::GetClientRect(client, &cr);
    width = cr.right - cr.left;
    height = cr.bottom - cr.top;
    WindowRectangleGet(0, x, y, insideParent, parentWindow);
}

void DialogKindGet(int& kind) {
    win::HWND d = currentDialogWindow();
    kind = 0;
    if (!d) return;
    if (!hasChildStyle(d)) {
        kind = 1;
        return;
    }
    if (windowDialogHooks().recordOf)
        if (std::int32_t* rec = windowDialogHooks().recordOf(d); rec && rec[15] != 0) {
            kind = 4;
            return;
        }
    char own[64] = {}, parent[64] = {};
    win::GetClassNameA(d, own, sizeof own);
    win::GetClassNameA(win::GetParent(d), parent, sizeof parent);
    kind = std::string_view(own) == parent ? 3 : 2;
}

void WindowKindGet(int& kind) {
    const FrameUserRecord* r = frameRecord(currentFrame());
    kind = r ? r->kind() : KindPlain;
}

int WindowInfoQuery(int selector) {
    const WindowSystem& w = windowSystem();
    int a = 0, b = 0, inside = 0, parent = 0, width = 0, height = 0;
    switch (selector) {
        case 1:
            return w.CurrentWidth;
        case 2:
            return w.CurrentHeight;
        case 3:
            return w.WindowFlags[w.CurrentWindow];
        case 4:
            return w.CurrentWindow;
        case 5:
        case 6:
            WindowRectangleGet(0, a, b, inside, parent);
            if (inside) toParentUnits(parent, a, b);
            return selector == 5 ? a : b;
        case 7:
        case 8:
            ClientOriginGet(a, b);
            return selector == 7 ? a : b;
        case 9:
            WindowShowStateGet(a);
            return a;
        case 10:
            WindowKindGet(a);
            return a;
        case 11:
        case 12:
        case 13:
        case 14:
            WindowRestoredPlacementGet(width, height, a, b, inside, parent);
            if (selector == 11) return width;
            if (selector == 12) return height;
            if (inside) toParentUnits(parent, a, b);
            return selector == 13 ? a : b;
        default:
            return 0;
    }
}

int DialogInfoQuery(int selector) {
    const ToolkitState& s = toolkitState();
    int a = 0, b = 0, inside = 0, parent = 0;
    switch (selector) {
        case 1:
            return s.LastDialogClosingField;
        case 2:
            return s.LastDialogChangedField;
        case 3:
            return s.CurrentDialogNumber;
        case 4:
            return s.MessageBoxResult;
        case 5:
            return s.LastDialogThirdValue;
        case 6:
        case 7:
        case 8:
        case 9:
            WindowRectangleGet(selector <= 7 ? 2 : 3, a, b, inside, parent);
            if (inside && parent >= 0) toParentUnits(parent, a, b);
            return selector == 6 || selector == 8 ? a : b;
        case 10:
            DialogKindGet(a);
            return a;
        default:
            return 0;
    }
}

}  // namespace tk
