#include "toolkit/core/event_wait.h"

#include "platform/window/user_api.h"
#include "toolkit/core/frame_procs.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_units.h"
#include "toolkit/graphics/drawing_targets.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {
namespace {

constexpr win::UINT kSystemMenuTimerMessage = 0x0118;
constexpr win::UINT kTimerPauseId = 999;

// Clears the inside-wait flag however the wait ends (a test's robot may
// throw out of the message wait).
struct InsideWait {
    InsideWait() {
        eventQueue().insideWait = true;
        eventQueue().current = StoredEvent{};
    }
    ~InsideWait() {
        eventQueue().insideWait = false;
        eventQueue().current.type = 0;
    }
};

void fillRecord(const StoredEvent& e, EventRecord& record) {
    record[0] = e.window;
    for (int i = 0; i < 4; ++i)
        record[1 + i] = e.values[i];
    record[5] = e.x;
    record[6] = e.y;
    record[11] = e.time;
}

void windowClientSize(int window, int& width, int& height) {
    width = height = 0;
    if (windowIsOpen(window)) clientSizeOf(windowSystem().slots[window].client, width, height);
}

// A deferred event of a window, or the deferred FieldChanged.
bool takeDeferred(int& type, EventRecord& record) {
    EventQueueState& s = eventQueue();
    for (int n = 0; n < kWindowSlots; ++n) {
        StoredEvent& d = s.deferred[n];
        if (d.type <= 0 || !windowIsOpen(n) || !windowSystem().slots[n].client) continue;
        StoredEvent e = d;
        e.window = n;
        if (d.type == Expose) {
            windowClientSize(n, e.values[0], e.values[1]);
            e.values[2] = 0;
            e.x = e.y = 0;
        }
        type = d.type;
        fillRecord(e, record);
        d = StoredEvent{};
        return true;
    }
    StoredEvent& f = s.deferred[kDeferredFieldChangedSlot];
    if (f.type >= 1) {
        type = f.type;
        fillRecord(f, record);
        f = StoredEvent{};
        return true;
    }
    return false;
}

// The window whose accelerators serve a message: from the message's window
// up through containing windows to the first one with a menu.
int menuWindowOf(int window) {
    const WindowSystem& w = windowSystem();
    for (int n = window; windowIsOpen(n);) {
        if (w.slots[n].menu) return n;
        win::HWND frame = w.slots[n].frame;
        if (!hasChildStyle(frame)) return -1;
        n = WindowSlotOfHandle(win::GetParent(frame));
    }
    return -1;
}

// The window of a control inside a text or grid editor, whose keys the
// editor's accelerators serve; -1 for other windows.
int editorSlotOf(win::HWND h) {
    for (win::HWND p = h ? win::GetParent(h) : nullptr; p; p = win::GetParent(p)) {
        const FrameUserRecord* r = frameRecord(p);
        if (r && (r->kind() == KindTextEditor || r->kind() == KindGridEditor))
            return WindowSlotOfHandle(p);
    }
    return -1;
}

void pumpOne(win::MSG& m) {
    EventQueueState& s = eventQueue();
    const WindowDialogHooks& d = windowDialogHooks();
    if (windowSystem().ActiveModelessDialog && d.translateMessage && d.translateMessage(m)) return;
    int n = WindowSlotOfHandle(m.hwnd);
    if (n < 0) n = editorSlotOf(m.hwnd);
    if (n >= 0) {
        if (WindowAcceleratorTranslate(n, menuWindowOf(n), m)) return;
    }
    win::TranslateMessage(&m);
    if (m.message == kSystemMenuTimerMessage && win::LOWORD(m.wParam) == 0xFFF6) return;
    const bool paintOrSize = m.message == win::WM_PAINT || m.message == win::WM_SIZE;
    if (paintOrSize) s.paintDispatch = true;
    win::DispatchMessageA(&m);
    if (paintOrSize) s.paintDispatch = false;
}

void finishLoop(int& type, EventRecord& record) {
    EventQueueState& s = eventQueue();
    const StoredEvent e = s.current;
    type = e.type;
    fillRecord(e, record);
    if ((type == Expose || type == Resize) && e.values[2] == 0 && windowIsOpen(e.window)) {
        StoredEvent& d = s.deferred[e.window];
        const bool heldExpose = d.type == Expose;
        d = StoredEvent{};
        if (heldExpose && type == Expose) {
            windowClientSize(e.window, record[1], record[2]);
            record[5] = record[6] = 0;
        }
    }
}

void runLoop(bool blocking, int& type, EventRecord& record) {
    EventQueueState& s = eventQueue();
    InsideWait guard;
    if (takeDeferred(type, record)) return;
    s.firstFieldChanged = true;
    s.waitState = 1;
    while (s.waitState == 1) {
        win::MSG m;
        if (blocking) {
            win::GetMessageA(&m, nullptr, 0, 0);
        } else if (!win::PeekMessageA(&m, nullptr, 0, 0, win::PM_REMOVE)) {
            type = -1;
            return;
        }
        pumpOne(m);
    }
    finishLoop(type, record);
}

// The graphics-unit position of a pixel: through the scroll offsets of the
// bitmap viewer WINDOW when one is given, else of the current target.
void toWorld(float px, float py, int width, int height, float& x, float& y, int window = -1) {
    auto& viewer = windowGraphicsHooks().viewerPixelsToWorld;
    if (window >= 0 && viewer && viewer(px, py, window, x, y)) return;
    if (windowGraphicsHooks().deviceToWorld) {
        windowGraphicsHooks().deviceToWorld(px, py, x, y);
        return;
    }
    // Without a graphics area the units span 0..1 over the whole target.
    x = width > 0 ? px / (static_cast<float>(width) - 0.01f) : 0.0f;
    y = height > 0 ? py / (static_cast<float>(height) - 0.01f) : 0.0f;
}

bool takesPositions(int type) {
    return type == KeyDown || type == MouseButtonDown || type == MouseButtonUp ||
           type == MouseMove || type == MouseDoubleClick;
}

}  // namespace

void EventLoopWait(int& type, EventRecord& record) {
    runLoop(true, type, record);
}
void EventLoopPoll(int& type, EventRecord& record) {
    runLoop(false, type, record);
}

void EventTargetClientSize(int kind, int identifier, int& width, int& height) {
    width = height = 0;
    if (kind == 1) windowClientSize(identifier, width, height);
}

void EventCoordinates(int type, EventRecord& rec) {
    WindowSystem& w = windowSystem();
    if (type == BitmapScrolled) {
        float x = 0, y = 0;
        toWorld(rec[5] + 0.5f, w.CurrentHeight - rec[6] - 1 + 0.5f, w.CurrentWidth, w.CurrentHeight,
                x, y, rec[0]);
        setEventReal(rec, 9, x);
        setEventReal(rec, 10, y);
        return;
    }
    if (!takesPositions(type) && type != Expose && type != Resize) return;
    const bool fieldTarget = rec[3] == 1;
    int width = w.CurrentWidth, height = w.CurrentHeight;
    if (!fieldTarget && windowIsOpen(rec[0])) EventTargetClientSize(1, rec[0], width, height);
    const int savedW = w.CurrentWidth, savedH = w.CurrentHeight;
    w.CurrentWidth = width;
    w.CurrentHeight = height;
    float x = 0, y = 0;
    if (takesPositions(type) || type == Expose) {
        // Value 3 is 2 for a bitmap viewer's events.
        toWorld(rec[5] + 0.5f, height - rec[6] - 1 + 0.5f, width, height, x, y,
                takesPositions(type) && rec[3] == 2 ? rec[0] : -1);
        setEventReal(rec, 9, x);
        setEventReal(rec, 10, y);
    }
    if (takesPositions(type) && !fieldTarget) {
        rec[5] = unitsFromPixels(rec[5], width);
        rec[6] = unitsFromPixels(rec[6], height);
    } else if (type == Expose && !fieldTarget) {
        toWorld(rec[1] + 0.5f, rec[2] + 0.5f, width, height, x, y);
        setEventReal(rec, 7, x);
        setEventReal(rec, 8, y);
        int farX = unitsFromPixels(rec[5] + rec[1] - 1, width);
        int farY = unitsFromPixels(rec[6] + rec[2] - 1, height);
        rec[5] = unitsFromPixels(rec[5], width);
        rec[6] = unitsFromPixels(rec[6], height);
        rec[1] = farX - rec[5];
        rec[2] = farY - rec[6];
    }
    w.CurrentWidth = savedW;
    w.CurrentHeight = savedH;
    if (type == Resize && !fieldTarget) {
        if (rec[0] == w.CurrentWindow) {
            w.CurrentWidth = rec[1];
            w.CurrentHeight = rec[2];
        }
        if (graphicsState().targetType == WindowTarget && rec[0] == graphicsState().targetId &&
            windowGraphicsHooks().targetResized)
            windowGraphicsHooks().targetResized(1, rec[0], rec[1], rec[2]);
    }
}

namespace {

bool takePushedBack(int& type, EventRecord& record) {
    EventQueueState& s = eventQueue();
    if (s.pushedBackType == 0) return false;
    type = s.pushedBackType;
    record = s.pushedBack;
    s.pushedBackType = 0;
    return true;
}

}  // namespace

void EventWait(int& type, EventRecord& record) {
    if (takePushedBack(type, record)) return;
    EventLoopWait(type, record);
    EventCoordinates(type, record);
}

void EventPeek(int& type, EventRecord& record) {
    if (takePushedBack(type, record)) return;
    EventLoopPoll(type, record);
    if (type == -1) {
        for (int i = 0; i <= 6; ++i)
            record[i] = -1;
        record[11] = -1;
        return;
    }
    EventCoordinates(type, record);
}

void deferWindowEvent(int window, int type) {
    EventQueueState& s = eventQueue();
    const WindowSystem& w = windowSystem();
    // Only the event this window's own message just stored is kept.
    if (s.waitState != 0 || s.current.type < 1 || s.current.window != window) return;
    if (s.paintDispatch || w.ContentsFrozen) return;
    if (!windowIsOpen(window) || !win::IsWindowVisible(w.slots[window].client)) return;
    if (const FrameUserRecord* r = frameRecord(w.slots[window].frame);
        r && (r->kind() == KindSplit || r->kind() == KindCombinedDialog))
        return;
    StoredEvent& d = s.deferred[window];
    if (d.type == Resize && type == Expose) return;
    d = s.current;
    d.type = type;
}

void WindowTimerSet(int period, int identifier, int where) {
    const WindowSlot& root = windowSystem().slots[0];
    if (period > 0) {
        win::SetTimer(where == 1 ? root.client : root.frame, static_cast<win::UINT_PTR>(identifier),
                      static_cast<win::UINT>(period), nullptr);
        return;
    }
    win::KillTimer(root.client, static_cast<win::UINT_PTR>(identifier));
    win::KillTimer(root.frame, static_cast<win::UINT_PTR>(identifier));
}

void TimerPause(int hundredths) {
    WindowSystem& w = windowSystem();
    win::HWND client = w.slots[0].client;
    if (!client ||
        !win::SetTimer(client, kTimerPauseId, static_cast<win::UINT>(hundredths * 10), nullptr))
        return;
    w.PauseRunning = true;
    while (w.PauseRunning) {
        win::MSG m;
        win::GetMessageA(&m, nullptr, 0, 0);
        win::TranslateMessage(&m);
        win::DispatchMessageA(&m);
    }
}

}  // namespace tk
