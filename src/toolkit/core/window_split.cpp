#include "toolkit/core/window_split.h"

#include <algorithm>

#include "toolkit/core/menus.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_classes.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_units.h"

namespace tk {
namespace {

constexpr int kPaneFlags = kFlagInsideParent | kFlagFixedFrame;

bool stacked(const FrameUserRecord& r) {
    return (r.words[SplitFlags] & kSplitStacked) != 0;
}

int word(const FrameUserRecord& r, int index) {
    return static_cast<int>(r.words[index]);
}

// The length of the container's client area along the split and across it.
void clientLengths(const FrameUserRecord& r, int& along, int& across) {
    int width = 0, height = 0;
    const int own = word(r, SplitOwnWindow);
    if (windowIsOpen(own)) clientSizeOf(windowSystem().slots[own].client, width, height);
    along = stacked(r) ? height : width;
    across = stacked(r) ? width : height;
}

// Places the panes and the bar with the first pane `first` pixels long.
void placePanes(const FrameUserRecord& r, int first, int second) {
    int along = 0, across = 0;
    clientLengths(r, along, across);
    const WindowSystem& w = windowSystem();
    auto place = [&](win::HWND h, int at, int length) {
        if (!h) return;
        length = std::max(length, 0);
        if (stacked(r))
            win::MoveWindow(h, 0, at, across, length, win::TRUE);
        else
            win::MoveWindow(h, at, 0, length, across, win::TRUE);
    };
    const int a = word(r, SplitFirstPane), b = word(r, SplitSecondPane);
    place(windowIsOpen(a) ? w.slots[a].frame : nullptr, 0, first);
    place(r.handle(SplitBar), first, kSplitBarThickness);
    place(windowIsOpen(b) ? w.slots[b].frame : nullptr, first + kSplitBarThickness, second);
}

bool hasInsideChildren(int window) {
    const WindowSystem& w = windowSystem();
    win::HWND client = w.slots[window].client;
    for (int n = 1; n < kWindowSlots; ++n)
        if (w.slots[n].frame && hasChildStyle(w.slots[n].frame) &&
            win::GetParent(w.slots[n].frame) == client)
            return true;
    return false;
}

int freeChildSlots() {
    int count = 0;
    for (int n = 1; n < kWindowSlots; ++n)
        if (!windowSystem().slots[n].frame) ++count;
    return count;
}

// One pane: a child window inside the container's client area.
int createPane(int container, const SplitPaneArgs& a, int length, int& dialogCode) {
    WindowCreateArgs c;
    c.flags = kPaneFlags;
    c.x = 0;
    c.y = 0;
    int width = 0, height = 0;
    clientSizeOf(windowSystem().slots[container].client, width, height);
    c.width = std::max(1, length);
    c.height = std::max(1, height);
    c.toolbarIds = a.toolbarIds;
    c.dialogId = a.dialogId;
    c.parent = container;
    c.title = a.title;
    int pane = -1;
    WindowCreateChild(c, pane);
    if (pane > 0) windowSystem().WindowFlags[pane] = c.flags;
    if (c.dialogId < 0) dialogCode = c.dialogId;
    return pane;
}

win::HWND createBar(int container, bool rows, FrameUserRecord* record) {
    win::HWND bar =
        win::CreateWindowExA(win::WS_EX_TOPMOST, rows ? kSplitterRowsClass : kSplitterColumnsClass,
                             "", win::WS_CHILD | win::WS_VISIBLE | win::WS_CLIPSIBLINGS, 0, 0, 0, 0,
                             windowSystem().slots[container].client, nullptr, nullptr, nullptr);
    if (bar)
        win::SetWindowLongPtrA(bar, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(record));
    return bar;
}

void closePanes(int container) {
    WindowSystem& w = windowSystem();
    FrameUserRecord* r = frameRecord(w.slots[container].frame);
    if (!r || r->kind() != KindSplit) return;
    const int first = word(*r, SplitFirstPane), second = word(*r, SplitSecondPane);
    win::HWND bar = r->handle(SplitBar);
    setFrameRecord(container, nullptr);
    win::SetMenu(w.slots[container].frame, w.slots[container].menu);
    int currentDialog = toolkitState().CurrentDialogNumber;
    PaneTreeClose(first, currentDialog);
    PaneTreeClose(second, currentDialog);
    toolkitState().CurrentDialogNumber = currentDialog;
    if (bar) win::DestroyWindow(bar);
}

}  // namespace

bool SplitContainerFixed(const FrameUserRecord& r, int direction) {
    const bool alongSplit = (stacked(r) ? 1 : 0) == direction;
    const bool a = SplitPaneFixed(r, 0, direction), b = SplitPaneFixed(r, 1, direction);
    if (alongSplit) return !(r.words[SplitFlags] & kSplitProportional) && a && b;
    return a || b;
}

bool SplitPaneFixed(const FrameUserRecord& r, int pane, int direction) {
    if ((stacked(r) ? 1 : 0) == direction &&
        (r.words[SplitFirstPaneFlags + pane] & kPaneFixed) != 0)
        return true;
    const int n = word(r, pane == 0 ? SplitFirstPane : SplitSecondPane);
    if (!windowIsOpen(n)) return false;
    const FrameUserRecord* inner = frameRecord(windowSystem().slots[n].frame);
    return inner && inner->kind() == KindSplit && SplitContainerFixed(*inner, direction);
}

FrameUserRecord* SplitContainerOfPane(win::HWND paneFrame) {
    if (!paneFrame || !hasChildStyle(paneFrame)) return nullptr;
    win::HWND container = win::GetParent(win::GetParent(paneFrame));
    FrameUserRecord* r = frameRecord(container);
    if (!r || r->kind() != KindSplit) return nullptr;
    const WindowSystem& w = windowSystem();
    for (int index : {SplitFirstPane, SplitSecondPane}) {
        const int pane = word(*r, index);
        if (windowIsOpen(pane) && w.slots[pane].frame == paneFrame) return r;
    }
    return nullptr;
}

void SplitPanesLayout(int container) {
    if (!windowIsOpen(container)) return;
    FrameUserRecord* r = frameRecord(windowSystem().slots[container].frame);
    if (!r || r->kind() != KindSplit) return;
    int along = 0, across = 0;
    clientLengths(*r, along, across);
    const int space = std::max(0, along - kSplitBarThickness);
    const int size1 = word(*r, SplitFirstSize), size2 = word(*r, SplitSecondSize);
    int first = size1;
    if ((r->words[SplitFlags] & kSplitProportional) && size1 + size2 > 0)
        first = space * size1 / (size1 + size2);
    else if ((r->words[SplitFlags] & kSplitKeepSecond) || SplitPaneFixed(*r, 1, stacked(*r)))
        first = space - size2;
    first = std::clamp(first, 0, space);
    placePanes(*r, first, space - first);
}

void SplitBarMoved(FrameUserRecord& r) {
    win::HWND bar = r.handle(SplitBar);
    win::RECT rect{};
    win::GetWindowRect(bar, &rect);
    win::POINT p{rect.left, rect.top};
    win::ScreenToClient(win::GetParent(bar), &p);
    int along = 0, across = 0;
    clientLengths(r, along, across);
    const int first = std::clamp(stacked(r) ? static_cast<int>(p.y) : static_cast<int>(p.x), 0,
                                 std::max(0, along - kSplitBarThickness));
    const int second = std::max(0, along - kSplitBarThickness - first);
    r.words[SplitFirstSize] = first;
    r.words[SplitSecondSize] = second;
    placePanes(r, first, second);
}

void SplitPaneFocused(int pane) {
    WindowSystem& w = windowSystem();
    if (!windowIsOpen(pane)) return;
    win::HWND frame = w.slots[pane].frame;
    if (!SplitContainerOfPane(frame)) return;
    for (FrameUserRecord* r = SplitContainerOfPane(frame); r; r = SplitContainerOfPane(frame)) {
        r->words[SplitFocusedPane] = reinterpret_cast<std::intptr_t>(frame);
        const int own = word(*r, SplitOwnWindow);
        if (!windowIsOpen(own)) break;
        frame = w.slots[own].frame;
    }
    // The top frame shows the focused pane's menu.
    win::HMENU menu = w.slots[pane].menu;
    FrameUserRecord* top = frameRecord(frame);
    if (!menu || hasChildStyle(frame) || win::GetMenu(frame) == menu) return;
    win::SetMenu(frame, menu);
    win::DrawMenuBar(frame);
    if (top && top->kind() == KindSplit) top->words[SplitMenuPane] = pane;
}

bool SplitPaneCloseCheck(win::HWND frame) {
    // Only editor panes can refuse: they ask their save questions.
    const FrameUserRecord* r = frameRecord(frame);
    if (r && (r->kind() == KindTextEditor || r->kind() == KindGridEditor)) {
        const auto& check = windowEditorHooks().closeCheck;
        return !check || check(frame);
    }
    if (!r || r->kind() != KindSplit) return true;
    const WindowSystem& w = windowSystem();
    for (int index : {SplitFirstPane, SplitSecondPane}) {
        const int pane = word(*r, index);
        if (windowIsOpen(pane) && !SplitPaneCloseCheck(w.slots[pane].frame)) return false;
    }
    return true;
}

int WindowSplitCreate(int splitFlags, const std::array<SplitPaneArgs, 2>& panes, int& first,
                      int& second) {
    first = second = -1;
    WindowSystem& w = windowSystem();
    const int n = w.CurrentWindow;
    if (!windowIsOpen(n)) return -1;
    if (const FrameUserRecord* r = frameRecord(w.slots[n].frame))
        return r->kind() == KindCombinedDialog ? -3 : -4;
    if (hasInsideChildren(n)) return -6;
    if (freeChildSlots() < 2) return -1;

    auto record = std::make_unique<FrameUserRecord>();
    FrameUserRecord& r = *record;
    r.words[0] = KindSplit;
    r.words[SplitOwnWindow] = n;
    r.words[SplitFlags] = splitFlags;
    r.words[SplitDragPosition] = kNoRememberedRect;
    int along = 0, across = 0;
    clientSizeOf(w.slots[n].client, along, across);
    if (splitFlags & kSplitStacked) std::swap(along, across);
    const int space = std::max(0, along - kSplitBarThickness);
    int sizes[2];
    for (int i = 0; i < 2; ++i) {
        const int units = panes[i].size.value_or(kWindowUnitsMax / 2);
        sizes[i] = std::clamp(pixelsFromUnits(units, space + 1), 0, space);
        r.words[SplitFirstPaneFlags + i] = panes[i].paneFlags;
    }
    if (!panes[1].size) sizes[1] = space - sizes[0];
    r.words[SplitFirstSize] = sizes[0];
    r.words[SplitSecondSize] = sizes[1];

    int dialogCode = 0;
    first = createPane(n, panes[0], sizes[0], dialogCode);
    second = first > 0 ? createPane(n, panes[1], sizes[1], dialogCode) : -1;
    if (first <= 0 || second <= 0) {
        int currentDialog = toolkitState().CurrentDialogNumber;
        if (first > 0) WindowSlotClose(first, currentDialog);
        toolkitState().CurrentDialogNumber = currentDialog;
        first = second = -1;
        return -1;
    }
    r.words[SplitFirstPane] = first;
    r.words[SplitSecondPane] = second;
    r.words[SplitFocusedPane] = reinterpret_cast<std::intptr_t>(w.slots[first].frame);
    r.words[SplitBar] =
        reinterpret_cast<std::intptr_t>(createBar(n, (splitFlags & kSplitStacked) != 0, &r));
    win::RECT frameRect{};
    win::GetWindowRect(w.slots[n].frame, &frameRect);
    r.words[SplitWidth] = frameRect.right - frameRect.left;
    r.words[SplitHeight] = frameRect.bottom - frameRect.top;
    setFrameRecord(n, std::move(record));
    for (int i = 0; i < 2; ++i)
        if (panes[i].menuId != 0) MenuSetForWindow(panes[i].menuId, i == 0 ? first : second);
    SplitPanesLayout(n);
    // The first pane starts with the focus, as the record says.
    if (win::IsWindowVisible(w.slots[n].frame)) win::SetFocus(w.slots[first].client);
    return dialogCode;
}

int WindowConversionRevert() {
    WindowSystem& w = windowSystem();
    const int n = w.CurrentWindow;
    if (!windowIsOpen(n)) return 1;
    WindowSlot& slot = w.slots[n];
    const FrameUserRecord* r = frameRecord(slot.frame);
    if (!r) return 2;
    switch (r->kind()) {
        case KindSplit:
            closePanes(n);
            break;
        case KindCombinedDialog: {
            win::HWND dialog = r->handle(5);
            const WindowDialogHooks& d = windowDialogHooks();
            if (d.recordOf && dialog)
                if (std::int32_t* rec = d.recordOf(dialog);
                    rec && rec[0] == toolkitState().CurrentDialogNumber)
                    toolkitState().CurrentDialogNumber = 0;
            if (d.hideAndUnload && dialog) d.hideAndUnload(dialog);
            setFrameRecord(n, nullptr);
            const int flags = w.WindowFlags[n];
            auto style = static_cast<win::DWORD>(win::GetWindowLongA(slot.frame, win::GWL_STYLE));
            if (!(flags & kFlagFixedFrame)) style |= win::WS_THICKFRAME;
            if (flags & kFlagMaximiseBox) style |= win::WS_MAXIMIZEBOX;
            win::SetWindowLongA(slot.frame, win::GWL_STYLE, static_cast<win::LONG>(style));
            win::SetWindowPos(
                slot.frame, nullptr, 0, 0, 0, 0,
                win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_FRAMECHANGED);
            break;
        }
        default:
            // Editor and viewer records belong to their own windows, which
            // this program never makes; the window becomes plain again.
            setFrameRecord(n, nullptr);
            win::ShowWindow(slot.client, win::SW_SHOW);
            break;
    }
    return 0;
}

}  // namespace tk
