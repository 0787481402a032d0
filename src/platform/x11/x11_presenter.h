#pragma once
// The X11 presenter: one X window showing the virtual screen, X input turned
// into the window system's device input, cursor shapes, the bell, and text
// on the desktop's CLIPBOARD selection.

#include <memory>
#include <optional>
#include <string>

#include "platform/window/presenter.h"

namespace win::x11 {

class X11Presenter : public Presenter {
  public:
    // Opens the display (nullptr: $DISPLAY); answers null when that fails.
    static std::unique_ptr<X11Presenter> open(const char* displayName = nullptr);
    ~X11Presenter() override;

    void poll() override;
    void wait(std::optional<std::uint64_t> untilMs) override;
    void present() override;
    void setCursorShape(int cursorId) override;
    void beep() override;
    void clipboardTextChanged() override;
    std::optional<std::string> foreignClipboardText() override;

    struct State;

  private:
    explicit X11Presenter(std::unique_ptr<State> state);
    std::unique_ptr<State> s_;
};

}  // namespace win::x11
