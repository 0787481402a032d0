#include "toolkit/core/window_text.h"

#include <algorithm>
#include <string>

#include "toolkit/core/text_args.h"
#include "toolkit/core/window_hooks.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_units.h"

namespace tk {
namespace {

constexpr int kBoldWeight = 700;
constexpr int kNormalWeight = 400;
constexpr int kDefaultGuiFontNumber = -99;

struct FontFace {
    const char* name;
    int pitchAndFamily;
};

// Fonts 2-6 by name; others are stock fonts.
const FontFace* faceOf(int fontNumber) {
    static constexpr FontFace kFaces[] = {{"Times New Roman", 18},
                                          {"Arial", 34},
                                          {"Courier New", 50},
                                          {"Symbol", 2},
                                          {"Wingdings", 2}};
    return fontNumber >= 2 && fontNumber <= 6 ? &kFaces[fontNumber - 2] : nullptr;
}

win::HFONT stockFont(int fontNumber) {
    const int stock = fontNumber == 1                       ? win::SYSTEM_FIXED_FONT
                      : fontNumber == kDefaultGuiFontNumber ? win::DEFAULT_GUI_FONT
                                                            : win::SYSTEM_FONT;
    return static_cast<win::HFONT>(win::GetStockObject(stock));
}

win::COLORREF colourOf(int index) {
    const WindowSystem& w = windowSystem();
    return w.ColourPairs[static_cast<std::size_t>(std::clamp(index, 0, 17))];
}

// Text runs of the attribute output, drawn one after another.
class AttributedWriter {
  public:
    AttributedWriter(int x, int y) : x_(x), y_(y) {}
    void add(char c) { run_.push_back(c); }
    void flush() {
        if (run_.empty()) return;
        WindowTextFontApply();
        WindowTextOut(x_, y_, run_, static_cast<int>(run_.size()) + 1);
        run_.clear();
    }
    int x() const { return x_; }
    int y() const { return y_; }

  private:
    int x_, y_;
    std::string run_;
};

// Applies one code after the attribute character; false when it is the
// attribute character itself (to be drawn).
bool applyCode(char code, const WindowTextState& saved, int savedText, int savedBackground) {
    WindowTextState& s = windowTextState();
    WindowSystem& w = windowSystem();
    if (code == '1') {
        s.bold = 1;
    } else if (code == '3') {
        s.italic = 1;
    } else if (code == '5') {
        s.underline = 1;
    } else if (code == '0') {
        s.bold = saved.bold;
        s.italic = saved.italic;
        s.underline = saved.underline;
        w.ForegroundIndex = savedText;
        w.BackgroundIndex = savedBackground;
    } else if (code >= 'a' && code <= 'q') {
        w.ForegroundIndex = code - 'a';
    } else if (code >= 'A' && code <= 'Q') {
        w.BackgroundIndex = code == 'Q' ? 17 : code - 'A';
    } else if (code == s.attributeChar) {
        return false;
    }
    return true;
}

void writeAttributed(int x, int y, std::string_view text) {
    WindowTextState& s = windowTextState();
    WindowSystem& w = windowSystem();
    const WindowTextState saved = s;
    const int savedText = w.ForegroundIndex;
    const int savedBackground = w.BackgroundIndex;
    int px = 0, py = 0;
    WindowUnitsToPixels(x, y, px, py);
    AttributedWriter out(px, py);
    text = trimRight(text);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != s.attributeChar) {
            out.add(text[i]);
            continue;
        }
        out.flush();
        if (++i >= text.size()) break;
        if (!applyCode(text[i], saved, savedText, savedBackground)) out.add(text[i]);
    }
    out.flush();
    s.bold = saved.bold;
    s.italic = saved.italic;
    s.underline = saved.underline;
    w.ForegroundIndex = savedText;
    w.BackgroundIndex = savedBackground;
    PixelsToWindowUnits(out.x(), out.y(), w.TextPositionX, w.TextPositionY);
}

}  // namespace

WindowTextState& windowTextState() {
    static WindowTextState s;
    return s;
}

void WindowTextReset() {
    WindowTextState& s = windowTextState();
    WindowSystem& w = windowSystem();
    const win::HFONT font = s.ownFont ? s.font : nullptr;
    s = WindowTextState{};
    s.font = font;
    s.ownFont = font != nullptr;
    s.rootFrame = w.slots[0].frame;
    w.ForegroundIndex = 0;
    w.BackgroundIndex = 15;
    w.TextPositionX = w.TextPositionY = 0;
    int width = 0, height = 0;
    WindowTextFontCreate(0, 0, 0, width, height);
    s.charWidthPixels = width;
    s.charHeightPixels = height;
    s.appliedWidth = width;
    s.appliedHeight = height;
    s.appliedBold = s.appliedItalic = s.appliedFont = 0;
    PixelsToWindowUnits(width, height, s.charWidthUnits, s.charHeightUnits);
}

void WindowTextSizeUpdate() {
    WindowTextState& s = windowTextState();
    const WindowSystem& w = windowSystem();
    if (w.slots[0].frame && s.rootFrame != w.slots[0].frame) WindowTextReset();
    s.charWidthPixels = pixelsFromUnits(s.charWidthUnits, w.CurrentWidth);
    s.charHeightPixels = pixelsFromUnits(s.charHeightUnits, w.CurrentHeight);
}

void WindowTextCharSize(int width, int height) {
    WindowTextState& s = windowTextState();
    s.charWidthUnits = width;
    s.charHeightUnits = height;
    WindowTextSizeUpdate();
}

void WindowTextFontCreate(int fontNumber, int bold, int italic, int& width, int& height) {
    WindowTextState& s = windowTextState();
    if (s.ownFont && s.font) win::DeleteObject(s.font);
    s.font = nullptr;
    s.ownFont = false;
    if (const FontFace* face = faceOf(fontNumber)) {
        s.font = win::CreateFontA(height, width, 0, 0, bold ? kBoldWeight : kNormalWeight,
                                  italic ? 1 : 0, 0, 0, win::DEFAULT_CHARSET, win::OUT_TT_PRECIS, 0,
                                  0, static_cast<win::DWORD>(face->pitchAndFamily), face->name);
        s.ownFont = s.font != nullptr;
    }
    if (!s.font) s.font = stockFont(fontNumber);
    ++s.fontsCreated;
    win::HDC dc = windowSystem().ClientDC;
    if (!dc) return;
    win::HGDIOBJ old = win::SelectObject(dc, s.font);
    win::TEXTMETRICA tm;
    if (win::GetTextMetricsA(dc, &tm)) {
        width = tm.tmAveCharWidth;
        height = tm.tmHeight;
    }
    win::SelectObject(dc, old);
}

void WindowTextFontApply() {
    WindowTextState& s = windowTextState();
    if (s.font && s.appliedWidth == s.charWidthPixels && s.appliedHeight == s.charHeightPixels &&
        s.appliedBold == s.bold && s.appliedItalic == s.italic && s.appliedFont == s.fontNumber)
        return;
    int width = s.charWidthPixels, height = s.charHeightPixels;
    WindowTextFontCreate(s.fontNumber, s.bold, s.italic, width, height);
    s.appliedWidth = s.charWidthPixels;
    s.appliedHeight = s.charHeightPixels;
    s.appliedBold = s.bold;
    s.appliedItalic = s.italic;
    s.appliedFont = s.fontNumber;
}

void WindowTextOut(int& x, int& y, std::string_view text, int length) {
    const WindowSystem& w = windowSystem();
    win::HDC dc = w.ClientDC;
    if (!dc) return;
    const WindowTextState& s = windowTextState();
    const int count = std::clamp(length - 1, 0, static_cast<int>(text.size()));
    const win::COLORREF textColour = colourOf(w.ForegroundIndex);
    win::HGDIOBJ oldFont = s.font ? win::SelectObject(dc, s.font) : nullptr;
    const int oldMode = win::SetBkMode(dc, win::OPAQUE);
    const win::UINT oldAlign = win::SetTextAlign(dc, win::TA_UPDATECP | win::TA_BASELINE);
    const win::COLORREF oldText = win::SetTextColor(dc, textColour);
    const win::COLORREF oldBack = win::SetBkColor(dc, colourOf(w.BackgroundIndex));
    win::POINT oldPos{};
    win::MoveToEx(dc, x, y, &oldPos);
    win::TextOutA(dc, 0, 0, text.data(), count);
    win::POINT end{x, y};
    win::GetCurrentPositionEx(dc, &end);
    if (s.underline) {
        win::HPEN pen = win::CreatePen(win::PS_SOLID, 1, textColour);
        win::HGDIOBJ oldPen = win::SelectObject(dc, pen);
        win::MoveToEx(dc, x, y + 2, nullptr);
        win::LineTo(dc, end.x, end.y + 2);
        win::SelectObject(dc, oldPen);
        win::DeleteObject(pen);
    }
    x = end.x;
    y = end.y;
    win::MoveToEx(dc, oldPos.x, oldPos.y, nullptr);
    if (oldFont) win::SelectObject(dc, oldFont);
    win::SetTextAlign(dc, oldAlign);
    win::SetBkMode(dc, oldMode);
    win::SetTextColor(dc, oldText);
    win::SetBkColor(dc, oldBack);
}

void WindowTextAt(int x, int y, std::string_view text) {
    WindowTextState& s = windowTextState();
    if (s.attributeChar != ' ') {
        writeAttributed(x, y, text);
        return;
    }
    int px = 0, py = 0;
    WindowUnitsToPixels(x, y, px, py);
    WindowTextFontApply();
    WindowTextOut(px, py, text, static_cast<int>(text.size()) + 1);
    WindowSystem& w = windowSystem();
    PixelsToWindowUnits(px, py, w.TextPositionX, w.TextPositionY);
}

void WindowTextWidth(int& width, std::string_view text, int length) {
    width = 0;
    win::HDC dc = windowSystem().ClientDC;
    if (!dc) return;
    WindowTextFontApply();
    const int count = std::clamp(length, 0, static_cast<int>(text.size()));
    win::HGDIOBJ old = win::SelectObject(dc, windowTextState().font);
    win::SIZE size{};
    if (win::GetTextExtentPoint32A(dc, text.data(), count, &size)) width = size.cx;
    win::SelectObject(dc, old);
}

void WindowTextColours(int textColour, int backgroundColour) {
    WindowSystem& w = windowSystem();
    if (textColour >= 0 && textColour <= 16) w.ForegroundIndex = textColour;
    if (backgroundColour >= 0 && backgroundColour <= 15) w.BackgroundIndex = backgroundColour;
    if (backgroundColour == 16) w.BackgroundIndex = 17;
}

void WindowTextUnderline(int flag) {
    windowTextState().underline = flag != 0 ? 1 : 0;
}

void ColourPairEntrySet(int colour, int red, int green, int blue) {
    if (colour < 0 || colour > 17) return;
    // The screen is true colour here: no palette entry needs setting.
    windowSystem().ColourPairs[static_cast<std::size_t>(colour)] =
        static_cast<win::COLORREF>((red & 0xFF) + 256 * (green & 0xFF) + 65536 * (blue & 0xFF));
}

void WindowTextUnderlineCall(int flag) {
    WindowTextUnderline(flag);
}

void WindowTextColoursCall(int textColour, int backgroundColour) {
    WindowTextColours(textColour, backgroundColour);
}

void WindowTextBind() {
    WindowGraphicsHooks& g = windowGraphicsHooks();
    if (!g.windowTextSizeUpdate) g.windowTextSizeUpdate = WindowTextSizeUpdate;
}

}  // namespace tk
