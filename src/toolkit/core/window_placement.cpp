#include "toolkit/core/window_placement.h"

#include <cstring>

#include "platform/gdi/gdi.h"
#include "platform/kernel/environment.h"
#include "platform/window/image_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_split.h"
#include "toolkit/core/window_table.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {
namespace {

constexpr int kKeep = -999999;

WindowSlot& currentSlot() {
    WindowSystem& w = windowSystem();
    return w.slots[w.CurrentSlot];
}

int presentState(win::HWND frame) {
    if (win::IsIconic(frame)) return 0;
    if (win::IsZoomed(frame)) return 2;
    return win::IsWindowVisible(frame) ? 1 : 3;
}

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

Rect toRect(const win::RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// The frame size that holds a client area of the given size with the
// window's bars.
void frameSizeFor(const WindowSlot& slot, int clientW, int clientH, int& frameW, int& frameH) {
    win::RECT r{0, 0, clientW, clientH};
    win::AdjustWindowRectEx(
        &r, static_cast<win::DWORD>(win::GetWindowLongA(slot.frame, win::GWL_STYLE)),
        win::GetMenu(slot.frame) != nullptr,
        static_cast<win::DWORD>(win::GetWindowLongA(slot.frame, win::GWL_EXSTYLE)));
    frameW = r.right - r.left + slot.toolbarExtents[1] + slot.toolbarExtents[2];
    frameH = r.bottom - r.top + slot.toolbarExtents[0] + slot.toolbarExtents[3];
    const FrameUserRecord* record = frameRecord(slot.frame);
    if (const auto& extra = windowEditorHooks().extraBarHeight;
        extra && record && record->kind() == KindTextEditor)
        frameH += extra(slot.frame);
    if (slot.statusBar) {
        win::RECT sb{};
        win::GetWindowRect(slot.statusBar, &sb);
        frameH += sb.bottom - sb.top;
    }
}

int showCommandOf(int state, int present) {
    switch (state) {
        case 0:
            return win::SW_SHOWMINNOACTIVE;
        case 1:
            return win::SW_SHOWNOACTIVATE;
        case 2:
            return win::SW_SHOWMAXIMIZED;
        case 3:
            return win::SW_HIDE;
        default:
            return present;
    }
}

// A combined dialog without stretchable fields keeps the window's size; with
// them, a smaller request lowers the smallest size the user may drag to.
void combinedDialogRule(const WindowSlot& slot, int& width, int& height, int presentW,
                        int presentH) {
    FrameUserRecord* r = frameRecord(slot.frame);
    if (!r || r->kind() != KindCombinedDialog) return;
    win::HWND dialog = r->handle(5);
    const auto& stretch = windowDialogHooks().hasStretchField;
    if (!(stretch && dialog && stretch(dialog))) {
        width = presentW;
        height = presentH;
        return;
    }
    if (width != kKeep && width < r->words[6]) r->words[6] = width;
    if (height != kKeep && height < r->words[7]) r->words[7] = height;
}

// A pane of a split window is not moved itself: the bar between the panes
// moves (without sizing), and the bar's move lays the panes out anew.
void moveSplitBar(FrameUserRecord& split, win::HWND paneFrame, int frameW, int frameH) {
    win::HWND bar = split.handle(SplitBar);
    if (!bar) return;
    const bool stacked = (split.words[SplitFlags] & kSplitStacked) != 0;
    win::RECT r{};
    win::GetWindowRect(bar, &r);
    win::HWND container = win::GetParent(bar);
    win::MapWindowPoints(nullptr, container, reinterpret_cast<win::POINT*>(&r), 2);
    int x = r.left, y = r.top;
    const int extent = stacked ? frameH : frameW;
    const int first = static_cast<int>(split.words[SplitFirstPane]);
    if (first >= 0 && first < kWindowSlots && windowSystem().slots[first].frame == paneFrame) {
        (stacked ? y : x) = extent;
    } else {
        int cw = 0, ch = 0;
        clientSizeOf(container, cw, ch);
        const int farEdge = stacked ? r.bottom : r.right;
        (stacked ? y : x) += (stacked ? ch : cw) - extent - farEdge;
    }
    split.words[SplitDragPosition] = 0;
    win::SetWindowPos(bar, nullptr, x, y, 0, 0,
                      win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    split.words[SplitDragPosition] = kNoRememberedRect;
}

// A combined dialog shown again with its window, made current meanwhile.
void showCombinedDialog(const WindowSlot& slot) {
    const FrameUserRecord* r = frameRecord(slot.frame);
    const WindowDialogHooks& d = windowDialogHooks();
    if (!r || r->kind() != KindCombinedDialog || !r->handle(5) || !d.recordOf || !d.showModeless)
        return;
    if (const std::int32_t* rec = d.recordOf(r->handle(5))) d.showModeless(rec[0]);
}

// While set, the split frame's fixed-size rule does not hold its panes.
class SplitPlacingScope {
  public:
    explicit SplitPlacingScope(win::HWND frame) : record_(frameRecord(frame)) {
        if (record_ && record_->kind() == KindSplit)
            record_->words[SplitPlacing] = 1;
        else
            record_ = nullptr;
    }
    ~SplitPlacingScope() {
        if (record_) record_->words[SplitPlacing] = 0;
    }

  private:
    FrameUserRecord* record_;
};

}  // namespace

void WindowPlacementSet(const WindowPlacement& p) {
    WindowSystem& w = windowSystem();
    int width = p.width.value_or(kKeep), height = p.height.value_or(kKeep);
    int x = p.x.value_or(kKeep), y = p.y.value_or(kKeep);
    int parent = -1;
    ParentWindowSlot(parent);
    if (parent >= 0) {
        const int remembered = w.CurrentWindow;
        YYWINSEL(parent, 1);
        const int pw = w.CurrentWidth, ph = w.CurrentHeight;
        if (p.width) width = *p.width * pw / 9999;
        if (p.height) height = *p.height * ph / 9999;
        if (p.x) x = *p.x * (pw - 1) / 9999;
        if (p.y) y = *p.y * (ph - 1) / 9999;
        YYWINSEL(remembered, 1);
    }
    int newW = 0, newH = 0;
    WindowPlacementApply(x, y, width, height, p.state.value_or(-1), newW, newH);
    w.CurrentWidth = newW;
    w.CurrentHeight = newH;
    const WindowGraphicsHooks& g = windowGraphicsHooks();
    if (g.windowTextSizeUpdate) g.windowTextSizeUpdate();
    if (g.targetResized) g.targetResized(1, w.CurrentWindow, newW, newH);
}

void WindowPlacementApply(int x, int y, int width, int height, int state, int& newWidth,
                          int& newHeight) {
    WindowSystem& w = windowSystem();
    WindowSlot& slot = currentSlot();
    win::HWND frame = slot.frame;
    const int present = presentState(frame);
    if (state == -1) state = present;
    const bool topLevel = !hasChildStyle(frame);
    const bool special = present == 0 || present == 2;
    int dx = 0, dy = 0;
    if (topLevel && (special || state == 0 || state == 2)) WorkspaceOffsetGet(dx, dy);

    Rect frameRect;
    int clientW = 0, clientH = 0;
    clientSizeOf(slot.client, clientW, clientH);
    if (special) {
        win::WINDOWPLACEMENT wp;
        win::GetWindowPlacement(frame, &wp);
        frameRect = toRect(wp.rcNormalPosition);
        if (topLevel) frameRect.left -= dx, frameRect.top -= dy;
        if (present == 2) {
            win::RECT fr{};
            win::GetWindowRect(frame, &fr);
            clientW = frameRect.width - ((fr.right - fr.left) - clientW);
            clientH = frameRect.height - ((fr.bottom - fr.top) - clientH);
        }
    } else {
        win::RECT r{};
        win::GetWindowRect(frame, &r);
        if (!topLevel)
            win::MapWindowPoints(nullptr, win::GetParent(frame), reinterpret_cast<win::POINT*>(&r),
                                 2);
        frameRect = toRect(r);
    }
    combinedDialogRule(slot, width, height, clientW, clientH);
    if (x == kKeep) x = frameRect.left;
    if (y == kKeep) y = frameRect.top;
    if (width == kKeep) width = clientW;
    if (height == kKeep) height = clientH;
    SplitPlacingScope placing(frame);
    int frameW = 0, frameH = 0;
    frameSizeFor(slot, width, height, frameW, frameH);

    if (FrameUserRecord* split = hasChildStyle(frame) ? SplitContainerOfPane(frame) : nullptr) {
        moveSplitBar(*split, frame, frameW, frameH);
    } else if (special || state == 0 || state == 2) {
        win::WINDOWPLACEMENT wp;
        win::GetWindowPlacement(frame, &wp);
        const int left = topLevel ? x + dx : x, top = topLevel ? y + dy : y;
        wp.rcNormalPosition = {left, top, left + frameW, top + frameH};
        if (!topLevel && state == 2) slot.rememberedRect = {left, top, left + frameW, top + frameH};
        wp.showCmd = static_cast<win::UINT>(showCommandOf(state, static_cast<int>(wp.showCmd)));
        win::SetWindowPlacement(frame, &wp);
    } else {
        win::UINT flags = win::SWP_NOACTIVATE | win::SWP_NOZORDER;
        flags |= state == 3 ? win::SWP_HIDEWINDOW : win::SWP_SHOWWINDOW;
        win::SetWindowPos(frame, nullptr, x, y, frameW, frameH, flags);
        if (w.CurrentSlot == 0) w.RootHidden = state == 3;
        if (state != 3) showCombinedDialog(slot);
    }
    clientSizeOf(slot.client, newWidth, newHeight);
}

void WindowTitle(std::optional<std::string> title, std::optional<int> icon) {
    win::HWND frame = currentSlot().frame;
    if (!frame) return;
    if (title) win::SetWindowTextA(frame, std::string(trimRight(*title)).c_str());
    WindowTitleApply(icon.value_or(-1));
}

void WindowTitleApply(int icon) {
    if (icon == -1) return;
    WindowSlot& slot = currentSlot();
    win::HICON loaded =
        icon == 0 ? win::LoadIconA(nullptr, "icon1")
                  : win::LoadIconA(nullptr, win::MAKEINTRESOURCEA(static_cast<win::WORD>(icon)));
    if (!loaded) {
        ReportLibraryError(1015, "WindowTitle");
        return;
    }
    win::SendMessageA(slot.frame, win::WM_SETICON, win::ICON_BIG,
                      reinterpret_cast<win::LPARAM>(loaded));
    if (slot.icon) win::DestroyIcon(slot.icon);
    slot.icon = loaded;
}

void WindowFillRectangle(std::optional<int> x1, std::optional<int> y1, std::optional<int> x2,
                         std::optional<int> y2, std::optional<int> colour) {
    const WindowSystem& w = windowSystem();
    WindowRectangleFill(x1.value_or(0), y1.value_or(0), x2.value_or(w.CurrentWidth - 1),
                        y2.value_or(w.CurrentHeight - 1), colour.value_or(-1));
}

void WindowRectangleFill(int x1, int y1, int x2, int y2, int colour) {
    WindowSystem& w = windowSystem();
    win::HDC dc = w.ClientDC;
    if (!dc) return;
    win::COLORREF c =
        colour == -1 ? w.ColourPairs[w.BackgroundIndex] : static_cast<win::COLORREF>(colour);
    if (toolkitState().ScreenColours == 256) c = win::GetNearestColor(dc, c);
    win::HBRUSH brush = win::CreateSolidBrush(c);
    win::HGDIOBJ oldPen = win::SelectObject(dc, win::GetStockObject(win::NULL_PEN));
    win::HGDIOBJ oldBrush = win::SelectObject(dc, brush);
    int oldRop = win::SetROP2(dc, win::R2_COPYPEN);
    // A rectangle without pen leaves out its last row and column.
    win::Rectangle(dc, x1, y1, x2 + 2, y2 + 2);
    win::SetROP2(dc, oldRop);
    win::SelectObject(dc, oldBrush);
    win::SelectObject(dc, oldPen);
    win::DeleteObject(brush);
}

namespace {

win::HCURSOR loadCursorShape(int shape) {
    static constexpr win::WORD kSystem[12] = {
        win::IDC_ARROW_ID,  win::IDC_WAIT_ID,     win::IDC_APPSTARTING_ID, win::IDC_CROSS_ID,
        win::IDC_IBEAM_ID,  win::IDC_NO_ID,       win::IDC_SIZEALL_ID,     win::IDC_SIZENS_ID,
        win::IDC_SIZEWE_ID, win::IDC_SIZENESW_ID, win::IDC_SIZENWSE_ID,    win::IDC_UPARROW_ID};
    win::WORD id = shape < 12 ? kSystem[shape] : static_cast<win::WORD>(shape & 0xFFFF);
    return win::LoadCursorA(nullptr, win::MAKEINTRESOURCEA(id));
}

bool pointerOver(win::HWND h) {
    win::POINT p;
    win::GetCursorPos(&p);
    return h && win::WindowFromPoint(p) == h;
}

}  // namespace

namespace {

// The drawable dialog field the graphics draw on, null when none.
win::HWND drawableField() {
    const GraphicsState& g = graphicsState();
    const auto& fieldWindow = windowDialogHooks().fieldWindow;
    if (g.targetType != DialogFieldTarget || g.targetId == 0 || !fieldWindow) return nullptr;
    return fieldWindow(g.targetDialog, g.targetId);
}

// Mode 1: the cursor of the drawing target only, shown at once while the
// pointer is over it.
void targetCursorSet(win::HCURSOR cursor, int shape) {
    WindowSystem& w = windowSystem();
    const GraphicsState& g = graphicsState();
    if (g.targetType == WindowTarget) {
        if (!windowIsOpen(g.targetId)) return;
        WindowSlot& slot = w.slots[g.targetId];
        slot.cursor = cursor;
        slot.cursorShape = shape;
        if (pointerOver(slot.client)) win::SetCursor(cursor);
        return;
    }
    win::HWND field = drawableField();
    const auto& store = windowDialogHooks().fieldCursorSet;
    if (field && store && store(field, cursor, shape) && pointerOver(field)) win::SetCursor(cursor);
}

}  // namespace

void CursorShapeSet(int shape, std::optional<int> modeArg) {
    WindowSystem& w = windowSystem();
    const int mode = modeArg.value_or(0);
    const GraphicsState& g = graphicsState();
    const bool windowTarget = g.targetType == WindowTarget;
    const bool fieldTarget = g.targetType == DialogFieldTarget && g.targetId != 0;
    if (mode == 1 && !windowTarget && !fieldTarget) {
        ReportLibraryError(1097, "CursorShapeSet");
        return;
    }
    if (shape < 0) return;
    win::HCURSOR cursor = loadCursorShape(shape);
    if (mode == 1) {
        targetCursorSet(cursor, shape);
        return;
    }
    if (mode != 2) {
        for (WindowSlot& slot : w.slots) {
            slot.cursor = nullptr;
            slot.cursorShape = 0;
        }
        if (const auto& clear = windowDialogHooks().fieldCursorsClear) clear();
    }
    w.GlobalCursor = cursor;
    w.GlobalCursorShape = shape;
    win::SetCursor(cursor);
}

void CursorShapeQuery(int& shape, int mode, int number) {
    const WindowSystem& w = windowSystem();
    const WindowDialogHooks& d = windowDialogHooks();
    if (mode == 3 && number != 0 && d.fieldWindow && d.fieldCursorShape) {
        const int own =
            d.fieldCursorShape(d.fieldWindow(toolkitState().CurrentDialogNumber, number));
        if (own >= 0) {
            shape = own;
            return;
        }
    }
    const WindowSlot& slot = w.slots[w.CurrentSlot];
    shape = mode == 1 && slot.cursor ? slot.cursorShape : w.GlobalCursorShape;
}

void CursorPositionSet(int x, int y, int mode) {
    win::HWND over = mode == 1 ? currentSlot().client : drawableField();
    if (!over) return;
    win::POINT p{x, y};
    win::ClientToScreen(over, &p);
    win::SetCursorPos(p.x, p.y);
}

void CursorPositionGet(int& x, int& y) {
    win::POINT p{0, 0};
    win::GetCursorPos(&p);
    x = p.x;
    y = p.y;
}

void BeepIfEnabled() {
    if (toolkitState().BeepEnabled) win::MessageBeep(0);
}

void WarningBeep() {
    BeepIfEnabled();
}

void ReleaseDrawingDC() {
    WindowSystem& w = windowSystem();
    if (!w.DrawingDC) return;
    if (w.ReplacedPen) win::SelectObject(w.DrawingDC, w.ReplacedPen);
    if (w.ReplacedBrush) win::SelectObject(w.DrawingDC, w.ReplacedBrush);
    w.ReplacedPen = w.ReplacedBrush = nullptr;
    if (w.DialogFieldSurface) {
        win::ReleaseDC(w.DrawingWindow, w.DrawingDC);
        w.DialogFieldSurface = false;
        w.DrawingDC = nullptr;
        w.DrawingWindow = nullptr;
    } else if (w.MemoryBitmapSurface) {
        win::DeleteDC(w.DrawingDC);
        w.MemoryBitmapSurface = false;
        w.DrawingDC = nullptr;
    } else {
        w.MetafileSurface = false;
    }
}

int ParseDecimalInteger(const char* text) {
    const char* p = text;
    bool negative = false;
    if (*p == '-') negative = true, ++p;
    std::uint32_t value = 0;
    while (*p >= '0' && *p <= '9')
        value = value * 10u + static_cast<std::uint32_t>(*p++ - '0');
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

int CStringTrimLength(const char* text) {
    int last = 0;
    for (int i = 0; text[i] != '\0'; ++i)
        if (text[i] != ' ') last = i + 1;
    return last;
}

int CStringTokenLength(const char* text) {
    int n = 0;
    while (text[n] != '\0' && text[n] != ' ')
        ++n;
    return n;
}

void CStringToField(const char* text, char* field, int fieldLength) {
    int n = 0;
    for (; n < fieldLength && text[n] != '\0'; ++n)
        field[n] = text[n];
    for (; n < fieldLength; ++n)
        field[n] = ' ';
}

void GradientFillSupport(int& support) {
    support = windowSystem().GradientFillFound ? 2 : 1;
}

void SystemWindowColour(int selector, int& colour) {
    colour = static_cast<int>(
        win::GetSysColor(selector == 45 ? win::COLOR_WINDOWTEXT : win::COLOR_WINDOW));
}

void MouseButtonCount(int& count) {
    count = win::GetSystemMetrics(win::SM_CMOUSEBUTTONS);
}

void LocaleDecimalSeparator(char& separator) {
    char text[8] = {};
    const int n =
        win::GetLocaleInfoA(win::LOCALE_USER_DEFAULT, win::LOCALE_SDECIMAL, text, sizeof text);
    separator = n > 0 && text[0] ? text[0] : '.';
}

void LocaleDecimalInputSet(char code) {
    windowSystem().DecimalInputLocale = code == 1;
}

}  // namespace tk
