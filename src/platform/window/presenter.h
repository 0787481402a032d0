#pragma once
// What the message wait needs from whatever brings input in from outside: the
// X11 presenter, or nothing at all on the headless backend (the test robot
// feeds the wait there).

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/win_types.h"

namespace win {

class Presenter {
  public:
    virtual ~Presenter() = default;
    // Moves pending device events into the input queue without blocking.
    virtual void poll() = 0;
    // Blocks until device input arrives or the clock reaches `untilMs`.
    virtual void wait(std::optional<std::uint64_t> untilMs) = 0;
    // Shows the current virtual screen.
    virtual void present() = 0;
    virtual void setCursorShape(int cursorId) = 0;
    virtual void beep() = 0;
    // The program's clipboard now holds text that other programs may ask for.
    virtual void clipboardTextChanged() = 0;
    // Text that another program holds on the desktop's clipboard, if any.
    virtual std::optional<std::string> foreignClipboardText() = 0;
    // Hands a move (edge 0) or a size from an edge (WMSZ_LEFT ..
    // WMSZ_BOTTOMRIGHT) of a top-level window, begun with the left mouse
    // button held on its caption or border, to the desktop's window manager;
    // false when the presenter has none and the window layer moves it itself.
    virtual bool moveOrSizeByDesktop(HWND, int /*edge*/) { return false; }
};

// The presenter in use (not owned), or nullptr on the headless backend.
Presenter* currentPresenter();
void setPresenter(Presenter* presenter);

// A step source consumed by the message wait whenever the queue is empty; it
// answers false when it has nothing left to do. The test robot installs one.
using IdleStepSource = std::function<bool()>;
void setIdleStepSource(IdleStepSource source);

// Thrown by the message wait when the queue is empty and nothing can ever fill
// it: no presenter, no script step, no timer. A test fails instead of hanging.
class IdleWithoutInput : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace win
