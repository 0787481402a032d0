#pragma once
// The X11 presenter: every top-level window of the program a window of the
// user's desktop (x11_top_levels.h), X input turned into the window
// system's device input, cursor shapes, the bell, and text on the
// desktop's CLIPBOARD selection. The program's screen is the X screen.

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
    bool moveOrSizeByDesktop(HWND hwnd, int edge) override;

    struct State;

  private:
    explicit X11Presenter(std::unique_ptr<State> state);
    std::unique_ptr<State> s_;
};

}  // namespace win::x11
