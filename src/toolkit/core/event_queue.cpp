#include "toolkit/core/event_queue.h"

#include <bit>

#include "platform/kernel/environment.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

constexpr int kDefaultEnabled[] = {1, 2, 3, 4, 7, 8, 9, 13, 14};

// The dialog record words the events read.
constexpr int kRecordIdentifier = 0;
constexpr int kRecordCurrentField = 3;
constexpr int kRecordPreviousField = 4;
constexpr int kRecordPageShown = 5;
constexpr int kRecordPageLeft = 6;
constexpr int kRecordLastParameter = 10;
constexpr int kRecordGraphicsField = 11;
constexpr int kRecordMouseButton = 13;

std::int32_t* dialogRecord(win::HWND h) {
    auto& hook = windowDialogHooks().recordOf;
    return hook ? hook(h) : nullptr;
}

// The viewer's own view window, or the frame it turned into a viewer (which
// the viewer names as the window of its events).
bool isBitmapViewer(win::HWND h) {
    char name[32] = {};
    win::GetClassNameA(h, name, sizeof name);
    if (std::string_view(name) == "ZEVEDOROR") return true;
    const int n = WindowSlotOfHandle(h);
    if (n < 0 || windowSystem().slots[n].frame != h) return false;
    const FrameUserRecord* record = frameRecord(h);
    return record && record->kind() == KindBitmapViewer;
}

// A coordinate of a mouse message: beyond the screen's extent it was a
// negative 16-bit value.
int signedCoordinate(unsigned v, int extent) {
    return static_cast<int>(v) > extent ? static_cast<int>(v) - 65536 : static_cast<int>(v);
}

void setMousePosition(StoredEvent& e, std::intptr_t q) {
    auto bits = static_cast<std::uintptr_t>(q);
    e.x = signedCoordinate(win::LOWORD(bits), win::GetSystemMetrics(win::SM_CXSCREEN));
    e.y = signedCoordinate(win::HIWORD(bits), win::GetSystemMetrics(win::SM_CYSCREEN));
}

void postKey(StoredEvent& e, int mode, std::intptr_t p, win::HWND h) {
    if (mode == 1) {
        int key = static_cast<int>(p);
        int offset = 0;
        if (key >= 8193)
            key -= 8192, offset = 40;
        else if (key >= 4097)
            key -= 4096, offset = 20;
        e.values[0] = KeyCodeTranslate(key, offset);
    } else {
        e.values[0] = static_cast<int>(p);
    }
    e.values[2] = isBitmapViewer(h) ? 2 : 0;
    win::POINT pt;
    win::GetCursorPos(&pt);
    win::ScreenToClient(h, &pt);
    e.x = pt.x;
    e.y = pt.y;
}

void postMouse(StoredEvent& e, int button, std::intptr_t p, std::intptr_t q, win::HWND h) {
    e.values[0] = button;
    e.values[1] = MouseKeyStateConvert(static_cast<std::uintptr_t>(p));
    e.values[2] = isBitmapViewer(h) ? 2 : 0;
    setMousePosition(e, q);
}

void postFieldChanged(EventQueueState& s, std::intptr_t q, win::HWND h) {
    std::int32_t* rec = dialogRecord(h);
    if (!rec) return;
    const int posted = static_cast<int>(q);
    if (s.waitState == 1 || !s.insideWait) {
        StoredEvent& e = s.current;
        e.window = rec[kRecordIdentifier];
        e.values = {rec[kRecordPreviousField], rec[kRecordCurrentField], 0, -1};
        e.x = -1;
        if (s.firstFieldChanged) {
            e.x = rec[kRecordLastParameter];
            s.firstFieldChanged = false;
        }
        e.y = posted;
        rec[kRecordLastParameter] = posted;
        s.waitState = 0;
        return;
    }
    StoredEvent& d = s.deferred[kDeferredFieldChangedSlot];
    d.type = FieldChanged;
    d.window = rec[kRecordIdentifier];
    d.values = {rec[kRecordPreviousField], rec[kRecordCurrentField], 0, -1};
    d.x = rec[kRecordLastParameter];
    d.y = posted;
    d.spare = rec[kRecordIdentifier];
    d.time = static_cast<int>(win::GetMessageTime());
    rec[kRecordLastParameter] = posted;
}

void postDialogField(EventQueueState& s, int t, std::intptr_t p, std::intptr_t q, win::HWND h,
                     const StoredEvent& saved) {
    std::int32_t* rec = dialogRecord(h);
    if (!rec) {
        s.current = saved;
        return;
    }
    StoredEvent& e = s.current;
    e.window = rec[kRecordIdentifier];
    e.values[2] = 1;
    e.values[3] = rec[kRecordGraphicsField];
    if (t == 107) {
        e.type = Expose;
        s.waitState = 0;
        return;
    }
    if (t == 108) {
        e.type = Resize;
        auto bits = static_cast<std::uintptr_t>(q);
        e.values[0] = win::LOWORD(bits);
        e.values[1] = win::HIWORD(bits);
        if (win::IsWindowVisible(h)) {
            s.waitState = 0;
            return;
        }
        // Nobody sees a hidden dialog's field resized: no event is stored,
        // but the graphics layer learns the size it draws to.
        const StoredEvent hidden = e;
        s.current = saved;
        if (auto& resized = windowGraphicsHooks().dialogFieldTargetResized)
            resized(hidden.window, hidden.values[3], hidden.values[0], hidden.values[1]);
        return;
    }
    e.type = t - 100;
    e.values[0] = t == 106 ? -1 : rec[kRecordMouseButton];
    e.values[1] = MouseKeyStateConvert(static_cast<std::uintptr_t>(p));
    setMousePosition(e, q);
    s.waitState = 0;
}

}  // namespace

float eventReal(const EventRecord& record, int word) {
    return std::bit_cast<float>(record[word]);
}

void setEventReal(EventRecord& record, int word, float value) {
    record[word] = std::bit_cast<std::int32_t>(value);
}

EventQueueState& eventQueue() {
    static EventQueueState s;
    return s;
}

void resetEventQueue() {
    eventQueue() = EventQueueState{};
    EventEnableDefaults();
}

void EventEnableDefaults() {
    auto& enable = eventQueue().enable;
    enable.fill(0);
    for (int t : kDefaultEnabled)
        enable[t - 1] = 1;
}

void clearDeferredEvents() {
    for (StoredEvent& d : eventQueue().deferred)
        d = StoredEvent{};
}

void EventTypeEnable(int type, int value) {
    if (type >= 1 && type <= 16) eventQueue().enable[type - 1] = value;
}

void EventTypeSetting(int type, int& value) {
    value = type >= 1 && type <= 16 ? eventQueue().enable[type - 1] : 0;
}

void EventPost(int t, int a, std::intptr_t p, std::intptr_t q, win::HWND h) {
    EventQueueState& s = eventQueue();
    const int base = t <= 100 ? t : t - 100;
    if (base < 1 || base > 16 || s.enable[base - 1] == 0) return;
    if ((t == 7 || t == 107) && s.current.type == Resize && s.waitState == 0 && s.insideWait)
        return;
    const bool minimisedResize = (t == 8 || t == 108) && p == win::SIZE_MINIMIZED;
    if (minimisedResize) return;
    const bool stored = s.waitState == 0 && s.insideWait && s.current.type != 0;
    if (t == FieldChanged && stored) {
        postFieldChanged(s, q, h);
        return;
    }
    const bool hiddenResize = t == Resize && !win::IsWindowVisible(h);
    StoredEvent saved = s.current;
    StoredEvent& e = s.current;
    if (!hiddenResize) {
        e = StoredEvent{};
        e.type = t;
        e.window = WindowSlotOfHandle(h);
        e.time = static_cast<int>(win::GetMessageTime());
    }
    switch (t) {
        case KeyDown:
            postKey(e, a, p, h);
            s.waitState = 0;
            break;
        case MenuSelect:
            e.values[0] = win::LOWORD(static_cast<std::uintptr_t>(p));
            s.waitState = 0;
            break;
        case PushButton: {
            std::int32_t* rec = dialogRecord(h);
            if (!rec) {
                s.current = saved;
                return;
            }
            e.window = rec[kRecordIdentifier];
            e.values[0] = win::LOWORD(static_cast<std::uintptr_t>(p));
            e.values[1] = rec[kRecordPreviousField];
            s.waitState = 0;
            break;
        }
        case MouseButtonDown:
        case MouseButtonUp:
        case MouseDoubleClick:
            postMouse(e, a, p, q, h);
            s.waitState = 0;
            break;
        case MouseMove:
            postMouse(e, -1, p, q, h);
            s.waitState = 0;
            break;
        case Expose: {
            win::RECT r{};
            win::GetUpdateRect(h, &r, win::TRUE);
            e.values = {r.right - r.left, r.bottom - r.top, 0, -1};
            e.x = r.left;
            e.y = r.top;
            s.waitState = 0;
            break;
        }
        case Resize: {
            auto bits = static_cast<std::uintptr_t>(q);
            WindowSystem& w = windowSystem();
            w.LastResizeWidth = win::LOWORD(bits);
            w.LastResizeHeight = win::HIWORD(bits);
            if (hiddenResize) {
                if (w.DrawingDC && windowGraphicsHooks().windowTargetResized)
                    windowGraphicsHooks().windowTargetResized(h, w.LastResizeWidth,
                                                              w.LastResizeHeight);
                return;
            }
            e.values = {w.LastResizeWidth, w.LastResizeHeight, 0, -1};
            s.waitState = 0;
            break;
        }
        case CloseRequest:
        case EditorCommandEntered:
            s.waitState = 0;
            break;
        case FieldChanged:
            if (!dialogRecord(h)) {
                s.current = saved;
                return;
            }
            postFieldChanged(s, q, h);
            break;
        case TabChanged: {
            std::int32_t* rec = dialogRecord(h);
            if (!rec) {
                s.current = saved;
                return;
            }
            e.window = rec[kRecordIdentifier];
            e.values[0] = rec[kRecordPageLeft];
            e.values[1] = rec[kRecordPageShown];
            s.waitState = 0;
            break;
        }
        case NonClientMouseDown:
            e.values[0] = a;
            s.waitState = 0;
            break;
        case Timer:
            e.values[0] = static_cast<int>(p);
            s.waitState = 0;
            break;
        case BitmapScrolled: {
            auto bits = static_cast<std::uintptr_t>(q);
            e.values = {win::LOWORD(bits), win::HIWORD(bits), 2, -1};
            e.x = e.y = 0;
            s.waitState = 0;
            break;
        }
        case 104:
        case 105:
        case 106:
        case 107:
        case 108:
        case 116:
            postDialogField(s, t, p, q, h, saved);
            break;
        default:
            s.current = saved;
            break;
    }
}

int KeyCodeTranslate(int vk, int offset) {
    const int arrowShift = offset == 20 ? 4 : offset == 40 ? 8 : 0;
    switch (vk) {
        case 38:
            return 258 + arrowShift;
        case 40:
            return 259 + arrowShift;
        case 39:
            return 260 + arrowShift;
        case 37:
            return 261 + arrowShift;
        case 33:
            return 262;
        case 34:
            return 263;
        case 36:
            return 270;
        case 35:
        case 41:
            return 271;
        case 45:
            return 272;
        case 46:
            return 273;
        case 9:
            return offset == 20 ? 274 : 9;
        case 12:
        case 101:
            return 285;
        case 109:
            return 290;
        case 110:
            return 291;
        case 107:
        case 108:
            return 292;
        case 111:
            return 293;
        case 106:
            return 294;
        case 44:
            return 300;
        default:
            break;
    }
    if (vk >= 96 && vk <= 100) return 280 + (vk - 96);
    if (vk >= 102 && vk <= 105) return 286 + (vk - 102);
    if (vk >= 112 && vk <= 131) return 301 + (vk - 112) + offset;
    return vk;
}

int MouseKeyStateConvert(std::uintptr_t flags) {
    int state = 0;
    if (flags & win::MK_CONTROL) state |= kMouseCtrl;
    if (flags & win::MK_SHIFT) state |= kMouseShift;
    if (flags & win::MK_LBUTTON) state |= kMouseLeft;
    if (flags & win::MK_MBUTTON) state |= kMouseMiddle;
    if (flags & win::MK_RBUTTON) state |= kMouseRight;
    return state;
}

void TickCountMs(int& result) {
    result = static_cast<int>(win::GetTickCount() & 0x7FFFFFFFu);
}

}  // namespace tk
