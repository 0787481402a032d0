#pragma once
// The EDIT control's record and the pieces shared by its files: the layout
// of the text into lines shown (edit_layout.cpp), the scrolling of the text
// and of the window's scroll bars (edit_scroll.cpp), and the messages and
// editing (edit.cpp).

#include <cstddef>
#include <string>
#include <vector>

#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"

namespace win::controls::edit {

constexpr std::size_t kDefaultLimit = 30000;
constexpr int kMargin = 2;

// One line as shown: a line of the text, or a piece of one that word wrap
// broke off. `end` stops before the line break (CR LF or LF) or at the soft
// break; `next` is where the following line starts.
struct VisualLine {
    std::size_t start = 0, end = 0, next = 0;
};

// The last layout and what it was made from: nearly every message needs the
// lines, and measuring the text again for each is slow.
struct LayoutCache {
    bool valid = false;
    std::string text;
    int width = 0;
    bool wrap = false;
    LOGFONTA font{};  // a handle may be reused for another font
    char password = 0;
    std::vector<int> tabStops;
    std::vector<VisualLine> lines;
};

struct Edit {
    std::string text;
    std::size_t anchor = 0;  // the fixed end of the selection
    std::size_t caret = 0;   // the moving end
    std::size_t limit = kDefaultLimit;
    bool modified = false;
    std::string undoText;
    std::size_t undoAnchor = 0, undoCaret = 0;
    bool canUndo = false;
    HFONT font = nullptr;
    bool focus = false;
    bool tracking = false;
    int scrollX = 0;    // pixels scrolled off to the left
    int firstLine = 0;  // multi-line: the top visible line
    char password = 0;
    std::vector<int> tabStops;  // dialog units
    RECT rect{};                // the formatting rectangle set by EM_SETRECT
    bool rectSet = false;
    int wheel = 0;  // wheel movement not yet turned into lines
    mutable LayoutCache cache;
};

inline bool multiLine(HWND h) {
    return (styleOf(h) & ES_MULTILINE) != 0;
}
// A multi-line edit without automatic horizontal scrolling and without a
// horizontal scroll bar wraps its lines at the formatting rectangle.
inline bool wraps(HWND h) {
    const DWORD s = styleOf(h);
    return (s & ES_MULTILINE) && !(s & ES_AUTOHSCROLL) && !(s & WS_HSCROLL);
}

// A device context of the window with the edit's font selected.
struct Dc {
    Dc(HWND h, const Edit& e);
    ~Dc();
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;
    HWND hwnd;
    HDC dc;
    HGDIOBJ old;
};

std::string shown(const Edit& e, const std::string& s);
int widthOf(HDC dc, const Edit& e, const std::string& s);
RECT formatRect(HWND h, const Edit& e);
std::vector<VisualLine> layoutLines(HWND h, const Edit& e, HDC dc);
std::vector<VisualLine> layoutLines(HWND h, const Edit& e);
// The shown line holding a position (a soft break belongs to the next line).
int lineIndexOf(const std::vector<VisualLine>& lines, std::size_t pos);
int lineX(HWND h, HDC dc, const Edit& e, const std::string& line);
POINT posFromChar(HWND h, const Edit& e, std::size_t pos);
std::size_t charFromPos(HWND h, const Edit& e, POINT p);
// The character nearest to x on a shown line.
std::size_t charOnLine(HWND h, const Edit& e, int line, int x);
// Whole lines the formatting rectangle shows (at least one).
int visibleLines(HWND h, const Edit& e);
// The widest line in pixels (for the horizontal scroll bar).
int widestLine(HWND h, const Edit& e);

void redraw(HWND h);
// Scroll bars follow the text and the part shown.
void updateScrollBars(HWND h, Edit& e);
void scrollCaretIntoView(HWND h, Edit& e);
// Scrolls by whole lines and average characters; answers the lines moved.
int scrollLines(HWND h, Edit& e, int lines);
void scrollColumns(HWND h, Edit& e, int pixels);
// WM_VSCROLL, WM_HSCROLL, WM_MOUSEWHEEL and EM_SCROLL.
LRESULT verticalScroll(HWND h, Edit& e, WORD code, int thumb, bool notify);
void horizontalScroll(HWND h, Edit& e, WORD code, int thumb);
void wheelScroll(HWND h, Edit& e, int delta);

}  // namespace win::controls::edit
