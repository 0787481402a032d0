#pragma once
// The rich-edit control's record and what its files share: the text with
// its formats and its undo steps (rich_edit_text.cpp), the layout into lines
// (rich_edit_layout.cpp), what is shown and scrolled (rich_edit_view.cpp),
// character and paragraph formats (rich_edit_format.cpp), the clipboard,
// find and streams (rich_edit_transfer.cpp), printing a range
// (rich_edit_print.cpp), keys and the mouse (rich_edit_input.cpp) and the
// messages (rich_edit.cpp).

#include <algorithm>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/controls/rtf_text.h"

namespace win::controls::rich {

// Characters with their formats and paragraph layouts.
struct Piece {
    std::string text;
    std::vector<int> fmt;
    std::vector<BYTE> para;
};

// One undoable change: what [at, at + before.size) held and what took its
// place, and the selection before it.
struct UndoStep {
    std::size_t at = 0;
    Piece before, after;
    std::size_t anchor = 0, caret = 0;
    bool typing = false;
};

constexpr std::size_t kDefaultUndoLimit = 100;

struct Line {
    std::size_t start = 0, end = 0;  // end excludes the paragraph mark
    int y = 0, height = 0, ascent = 0;
    int offset = 0;       // left edge of the text: indent and alignment
    bool bullet = false;  // the first line of a bulleted paragraph
    std::vector<int> x;   // left edge of each character, and one past the last
};

// The last layout on the screen and everything it was made from: most
// messages need the lines, and measuring the text again for each is slow.
struct LayoutCache {
    bool valid = false;
    std::string text;
    std::vector<int> fmt;
    std::vector<BYTE> para;
    std::vector<RichFormat> formats;
    int insertFormat = 0;
    BYTE insertPara = 0;
    int width = 0, alignWidth = 0, dpi = 0;
    std::vector<Line> lines;
};

struct Rich {
    int version = 2;  // 1 for the "RICHEDIT" class
    DWORD createStyle = 0;
    std::string text;  // paragraphs end with '\r'
    std::vector<int> fmt;
    std::vector<BYTE> para;  // each character's paragraph layout
    BYTE insertPara = PFA_LEFT;
    std::vector<RichFormat> formats{RichFormat{}};
    int insertFormat = 0;
    std::size_t anchor = 0, caret = 0;
    DWORD eventMask = 0;
    std::size_t limit = 32767;
    bool focus = false, tracking = false;
    int top = 0;   // pixels scrolled down
    int left = 0;  // pixels scrolled sideways (no word wrap)
    int wheel = 0;
    std::vector<UndoStep> undo, redo;
    std::size_t undoLimit = kDefaultUndoLimit;
    bool grouping = false;   // typing may still join the last undo step
    bool overwrite = false;  // typing replaces the character after the caret
    COLORREF background = GetSysColor(COLOR_WINDOW);
    bool modified = false;
    mutable LayoutCache cache;
    // The message being handled: EN_PROTECTED names it.
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

inline std::size_t selMin(const Rich& r) {
    return std::min(r.anchor, r.caret);
}
inline std::size_t selMax(const Rich& r) {
    return std::max(r.anchor, r.caret);
}
inline bool readOnly(HWND h) {
    return (styleOf(h) & ES_READONLY) != 0;
}
// A horizontal scroll bar or automatic horizontal scrolling turns word wrap
// off. Taken from the style at creation: a bar that hides itself takes its
// style bit with it.
inline bool wraps(const Rich& r) {
    return !(r.createStyle & (WS_HSCROLL | ES_AUTOHSCROLL));
}

// --- text, positions and undo (rich_edit_text.cpp)
int formatIndex(Rich& r, const RichFormat& f);
int formatAt(const Rich& r, std::size_t i);
std::size_t paragraphStart(const Rich& r, std::size_t i);
BYTE paraAt(const Rich& r, std::size_t i);
// Version 1 counts a paragraph mark as two positions (CR LF), later
// versions as one; inside, a mark is one character.
LONG toCp(const Rich& r, std::size_t pos);
std::size_t fromCp(const Rich& r, LONG cp);
// Text as the version shows it through its messages.
std::string shownText(const Rich& r, const std::string& inner);
std::string fromOutside(const std::string& s);
std::string toOutside(const std::string& s);
int typingFormat(const Rich& r);
void changed(HWND h, Rich& r);
// When the parent asks to hear of it, an edit of protected characters in
// [a, b) (or typing inside a protected run) needs its consent.
bool mayChange(HWND h, Rich& r, std::size_t a, std::size_t b);
// Puts text (one format for all of it) in place of the selection.
bool replace(HWND h, Rich& r, const std::string& insert, int format, bool undoable,
             bool typing = false);
// Records a change of formats over [a, b) whose old state is `before`.
void recordFormatChange(Rich& r, std::size_t a, const Piece& before);
Piece pieceOf(const Rich& r, std::size_t a, std::size_t b);
void forgetUndo(Rich& r);
bool undo(HWND h, Rich& r);
bool redo(HWND h, Rich& r);
void setUndoLimit(Rich& r, std::size_t limit);

// --- layout (rich_edit_layout.cpp)
// Fonts of the formats for one device resolution, made when first needed.
class Fonts {
  public:
    Fonts(const Rich& r, int dpi) : rich_(r), dpi_(dpi) {}
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;
    HFONT of(int index);
    // A character's advance and a format's height and ascent, measured once
    // for each format.
    int width(HDC dc, int index, char c);
    void metrics(HDC dc, int index, int& height, int& ascent);

  private:
    struct Measures {
        std::vector<int> widths;  // by byte value, -1 until measured
        int height = 0, ascent = 0;
    };
    Measures& measures(HDC dc, int index);

    const Rich& rich_;
    int dpi_;
    std::map<int, HFONT> fonts_;
    std::map<int, Measures> measures_;
};

constexpr int kBulletIndent = 18;
constexpr int kTextLeft = 2;  // the gap left of the text in the window

// Lines of the text from `from` to `to`, wrapped at `width` pixels and
// aligned within `alignWidth`.
std::vector<Line> layout(const Rich& r, HDC dc, Fonts& fonts, int width, int alignWidth,
                         std::size_t from, std::size_t to);

struct Screen {
    explicit Screen(HWND h) : hwnd(h), dc(GetDC(h)) {}
    ~Screen() { ReleaseDC(hwnd, dc); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    HWND hwnd;
    HDC dc;
};

int clientWidth(HWND h);
std::vector<Line> screenLines(HWND h, const Rich& r, Fonts& fonts, HDC dc);
std::vector<Line> screenLines(HWND h, const Rich& r);
std::size_t lineIndexOf(const std::vector<Line>& lines, std::size_t pos);
// Window coordinates of a character, and the character nearest a point.
POINT pointOf(const Rich& r, const std::vector<Line>& lines, std::size_t pos);
std::size_t charAt(const Rich& r, const std::vector<Line>& lines, POINT p);

// --- view (rich_edit_view.cpp)
void setSelection(HWND h, Rich& r, std::size_t anchor, std::size_t caret);
void scrollToCaret(HWND h, Rich& r);
void updateScroll(HWND h, Rich& r);
void scrollVertically(HWND h, Rich& r, WORD code, int thumb);
void scrollHorizontally(HWND h, Rich& r, WORD code, int thumb);
void scrollWheel(HWND h, Rich& r, int delta);
int firstVisibleLine(HWND h, const Rich& r);
void scrollLines(HWND h, Rich& r, int lines);
void paint(HWND h, Rich& r);

// --- formats (rich_edit_format.cpp)
LRESULT setParaFormat(HWND h, Rich& r, const PARAFORMAT* pf);
LRESULT getParaFormat(const Rich& r, PARAFORMAT* pf);
LRESULT setCharFormat(HWND h, Rich& r, WPARAM which, const CHARFORMATA* cf);
LRESULT getCharFormat(const Rich& r, WPARAM which, CHARFORMATA* cf);

// --- clipboard, find, streams (rich_edit_transfer.cpp)
void copy(HWND h, Rich& r);
void paste(HWND h, Rich& r);
LRESULT find(const Rich& r, WPARAM flags, LONG from, LONG to, const char* what, CHARRANGE* found);
LRESULT streamIn(HWND h, Rich& r, WPARAM format, EDITSTREAM* es);
LRESULT streamOut(const Rich& r, WPARAM format, EDITSTREAM* es);

// --- keys and the mouse (rich_edit_input.cpp)
void key(HWND h, Rich& r, WPARAM vk);
void selectWord(HWND h, Rich& r, std::size_t at);
void character(HWND h, Rich& r, WPARAM ch);
// Offers input to the parent when it asked for it (EN_MSGFILTER): true when
// the parent swallowed it; the parent may also have changed it.
bool swallowed(HWND h, const Rich& r, UINT& msg, WPARAM& wp, LPARAM& lp);

// --- printing (rich_edit_print.cpp)
LRESULT formatRange(const Rich& r, bool render, FORMATRANGE* fr);

}  // namespace win::controls::rich
