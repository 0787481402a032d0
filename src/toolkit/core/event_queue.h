#pragma once
// The toolkit's events: window, dialog and control procedures offer what they
// see to EventPost, which keeps one current event per wait, one deferred
// Expose or Resize per window and one deferred FieldChanged. Which types are
// delivered at all is decided by the enable table.

#include <array>
#include <cstdint>

#include "platform/win_types.h"

namespace tk {

// Twelve 32-bit words; words 7 to 10 hold the bits of single-precision reals.
using EventRecord = std::array<std::int32_t, 12>;

enum EventType {
    KeyDown = 1,
    MenuSelect = 2,
    PushButton = 3,
    MouseButtonDown = 4,
    MouseButtonUp = 5,
    MouseMove = 6,
    Expose = 7,
    Resize = 8,
    CloseRequest = 9,
    FieldChanged = 10,
    TabChanged = 11,
    NonClientMouseDown = 12,
    Timer = 13,
    EditorCommandEntered = 14,
    BitmapScrolled = 15,
    MouseDoubleClick = 16,
};

float eventReal(const EventRecord& record, int word);
void setEventReal(EventRecord& record, int word, float value);

// MouseKeyState bits.
inline constexpr int kMouseCtrl = 1;
inline constexpr int kMouseShift = 2;
inline constexpr int kMouseLeft = 4;
inline constexpr int kMouseMiddle = 8;
inline constexpr int kMouseRight = 16;

// One stored event: type (0 none), window or dialog, values 1-4, x, y, a
// spare word (the dialog of the deferred FieldChanged), time.
struct StoredEvent {
    int type = 0;
    int window = -1;
    std::array<int, 4> values{-1, -1, -1, -1};
    int x = -1;
    int y = -1;
    int spare = 0;
    int time = 0;
};

inline constexpr int kDeferredFieldChangedSlot = 51;

struct EventQueueState {
    std::array<int, 16> enable{};
    StoredEvent current;
    int waitState = 0;
    bool insideWait = false;
    bool firstFieldChanged = false;
    bool paintDispatch = false;
    // 51 window slots, then the FieldChanged slot.
    std::array<StoredEvent, 52> deferred{};
    int pushedBackType = 0;
    EventRecord pushedBack{};
};

EventQueueState& eventQueue();
void resetEventQueue();
// The enable defaults: 1, 2, 3, 4, 7, 8, 9, 13, 14 on, the rest off.
void EventEnableDefaults();
void clearDeferredEvents();

void EventTypeEnable(int type, int value);
void EventTypeSetting(int type, int& value);

// Offered by the procedures: sub-code is the button or key mode, p and q the
// message parameters (or values the caller builds).
void EventPost(int type, int subCode, std::intptr_t p, std::intptr_t q, win::HWND window);

int KeyCodeTranslate(int virtualKey, int offset);
int MouseKeyStateConvert(std::uintptr_t windowsFlags);
void TickCountMs(int& result);

}  // namespace tk
