#pragma once
// Where the hover and click read-outs of the views go: the status-bar parts
// and the cursor shape of the window under the mouse. The shell binds it to
// the toolkit; tests record what was written.

#include <array>
#include <string_view>

namespace views {

class HoverOutput {
  public:
    virtual ~HoverOutput() = default;
    virtual void statusText(int part, std::string_view text) = 0;
    virtual void cursorShape(int shape) = 0;
};

// Writes to the current window's status bar and the toolkit's cursor shape.
HoverOutput& toolkitHoverOutput();

// A status text of 30 characters, built without allocation.
class StatusText {
  public:
    StatusText() { buf_.fill(' '); }
    StatusText& add(std::string_view s);
    // Right-aligned integer in width characters (stars when it does not fit).
    StatusText& addInt(long value, int width);
    // Fixed point, width characters wide with decimals digits, right-aligned.
    StatusText& addFixed(float value, int width, int decimals);
    // Runs of blanks reduced to one.
    StatusText& collapse();
    // Every `from` that starts within the first `limit` characters replaced
    // by `to` (which must not be longer).
    StatusText& replaceWithin(int limit, std::string_view from, std::string_view to);
    // Leading blanks removed.
    StatusText& leftJustify();
    std::string_view view() const;

  private:
    StatusText& addStars(int width);
    std::array<char, 30> buf_;
    int len_ = 0;
};

// A real as the read-outs show it: written into 12 characters by FMTFN, its
// trailing zeros blanked, cut at the last non-blank. `keepLeading` keeps the
// leading blanks of the 12-character rendering.
std::string_view valueText(float value, std::array<char, 12>& buf, bool keepLeading = false);

// A real in three significant digits for a part with little room: fixed
// point from 0.01 to 99999 (trailing zeros dropped, the point kept, as in
// valueText), else a two-digit mantissa and a short exponent ("3.3E-4").
std::string_view shortValueText(float value, std::array<char, 12>& buf);

// Text cut at its last non-blank character.
std::string_view trimRight(std::string_view s);

}  // namespace views
