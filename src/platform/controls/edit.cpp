// EDIT: single-line and multi-line text fields with a selection, a caret,
// the clipboard, a text limit and an undo of one step.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/window/clipboard_api.h"

namespace win::controls {
namespace {

constexpr std::size_t kDefaultLimit = 30000;
constexpr int kMargin = 2;

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
    int scrollX = 0;    // single line: pixels scrolled off to the left
    int firstLine = 0;  // multi-line: the top visible line
    char password = 0;
    std::vector<int> tabStops;  // dialog units
};

Records<Edit>& records() {
    static Records<Edit> r;
    return r;
}

bool multiLine(HWND h) {
    return (styleOf(h) & ES_MULTILINE) != 0;
}
std::size_t selMin(const Edit& e) {
    return std::min(e.anchor, e.caret);
}
std::size_t selMax(const Edit& e) {
    return std::max(e.anchor, e.caret);
}

// Line starts of the text (multi-line); lines end at CR LF or LF.
std::vector<std::size_t> lineStarts(const std::string& t) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i] == '\n') starts.push_back(i + 1);
    return starts;
}
std::size_t lineEnd(const std::string& t, std::size_t start) {
    std::size_t e = t.find('\n', start);
    if (e == std::string::npos) return t.size();
    if (e > start && t[e - 1] == '\r') --e;
    return e;
}
int lineOf(const std::string& t, std::size_t pos) {
    const auto starts = lineStarts(t);
    int line = 0;
    for (std::size_t i = 0; i < starts.size(); ++i)
        if (starts[i] <= pos) line = static_cast<int>(i);
    return line;
}

struct Dc {
    explicit Dc(HWND h, const Edit& e) : hwnd(h), dc(GetDC(h)) {
        old = SelectObject(dc, fontOrDefault(e.font));
    }
    ~Dc() {
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
    }
    HWND hwnd;
    HDC dc;
    HGDIOBJ old;
};

std::string shown(const Edit& e, const std::string& s) {
    return e.password ? std::string(s.size(), e.password) : s;
}

// The next tab stop after x: the stops set (dialog units, four to an
// average character), one set value repeating, or every 32 units.
int nextTabStop(const Edit& e, int x, int averageWidth) {
    const int unit = std::max(1, averageWidth);
    for (int stop : e.tabStops)
        if (e.tabStops.size() > 1 && stop * unit / 4 > x) return stop * unit / 4;
    const int step = std::max(1, (e.tabStops.size() == 1 ? e.tabStops[0] : 32) * unit / 4);
    return (x / step + 1) * step;
}

int widthOf(HDC dc, const Edit& e, const std::string& s) {
    std::string t = shown(e, s);
    if (t.find('\t') == std::string::npos) return textWidth(dc, t);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    int x = 0;
    std::string run;
    for (char c : t) {
        if (c == '\t') {
            x = nextTabStop(e, x + textWidth(dc, run), tm.tmAveCharWidth);
            run.clear();
        } else {
            run += c;
        }
    }
    return x + textWidth(dc, run);
}

RECT formatRect(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    return {rc.left + kMargin, rc.top + (multiLine(h) ? 0 : 1), rc.right - kMargin, rc.bottom};
}

int lineX(HWND h, HDC dc, const Edit& e, const std::string& line) {
    const RECT fr = formatRect(h);
    const DWORD align = styleOf(h) & 3;
    const int w = widthOf(dc, e, line);
    if (align == ES_CENTER) return fr.left + (fr.right - fr.left - w) / 2;
    if (align == ES_RIGHT) return fr.right - w - 1;
    return fr.left - e.scrollX;
}

POINT posFromChar(HWND h, const Edit& e, std::size_t pos) {
    Dc d(h, e);
    const int lh = lineHeight(e.font);
    const RECT fr = formatRect(h);
    if (!multiLine(h)) {
        const int x = lineX(h, d.dc, e, e.text) + widthOf(d.dc, e, e.text.substr(0, pos));
        return {x, fr.top};
    }
    const auto starts = lineStarts(e.text);
    const int line = lineOf(e.text, pos);
    const std::size_t s = starts[static_cast<std::size_t>(line)];
    const std::string whole = e.text.substr(s, lineEnd(e.text, s) - s);
    const int x = lineX(h, d.dc, e, whole) + widthOf(d.dc, e, e.text.substr(s, pos - s));
    return {x, fr.top + (line - e.firstLine) * lh};
}

std::size_t charFromPos(HWND h, const Edit& e, POINT p) {
    Dc d(h, e);
    const int lh = lineHeight(e.font);
    const RECT fr = formatRect(h);
    std::size_t s = 0, end = e.text.size();
    if (multiLine(h)) {
        const auto starts = lineStarts(e.text);
        int line = e.firstLine + (p.y - fr.top) / std::max(1, lh);
        line = std::clamp(line, 0, static_cast<int>(starts.size()) - 1);
        s = starts[static_cast<std::size_t>(line)];
        end = lineEnd(e.text, s);
    }
    const std::string whole = e.text.substr(s, end - s);
    const int x0 = lineX(h, d.dc, e, whole);
    for (std::size_t i = s; i < end; ++i) {
        const int a = widthOf(d.dc, e, e.text.substr(s, i - s));
        const int b = widthOf(d.dc, e, e.text.substr(s, i + 1 - s));
        if (p.x < x0 + (a + b) / 2) return i;
    }
    return end;
}

void scrollCaretIntoView(HWND h, Edit& e) {
    const RECT fr = formatRect(h);
    if (multiLine(h)) {
        const int lh = std::max(1, lineHeight(e.font));
        const int visible = std::max(1, static_cast<int>((fr.bottom - fr.top) / lh));
        const int line = lineOf(e.text, e.caret);
        if (line < e.firstLine) e.firstLine = line;
        if (line >= e.firstLine + visible) e.firstLine = line - visible + 1;
    }
    if ((styleOf(h) & 3) != ES_LEFT) return;
    Dc d(h, e);
    std::size_t s = 0;
    if (multiLine(h)) s = lineStarts(e.text)[static_cast<std::size_t>(lineOf(e.text, e.caret))];
    const int x = widthOf(d.dc, e, e.text.substr(s, e.caret - s));
    const int width = fr.right - fr.left;
    if (x - e.scrollX > width - 1) e.scrollX = x - width + width / 4;
    if (x - e.scrollX < 0) e.scrollX = std::max(0, x - width / 4);
}

void redraw(HWND h) {
    InvalidateRect(h, nullptr, TRUE);
}

void setSelection(HWND h, Edit& e, std::size_t anchor, std::size_t caret) {
    e.anchor = std::min(anchor, e.text.size());
    e.caret = std::min(caret, e.text.size());
    // Never inside a CR LF pair.
    auto fix = [&](std::size_t& p) {
        if (p > 0 && p < e.text.size() && e.text[p - 1] == '\r' && e.text[p] == '\n') --p;
    };
    fix(e.anchor);
    fix(e.caret);
    scrollCaretIntoView(h, e);
    redraw(h);
}

std::string filtered(HWND h, std::string s) {
    const DWORD style = styleOf(h);
    if (!multiLine(h)) {
        // A single line stops at the first line break.
        const auto br = s.find_first_of("\r\n");
        if (br != std::string::npos) s.resize(br);
    }
    for (char& c : s) {
        if (style & ES_UPPERCASE)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (style & ES_LOWERCASE)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// Puts `insert` in place of the selection. Answers false when nothing changed.
bool replaceSelection(HWND h, Edit& e, std::string insert, bool undoable, bool notify) {
    insert = filtered(h, std::move(insert));
    if (styleOf(h) & ES_NUMBER) {
        for (char c : insert)
            if (!std::isdigit(static_cast<unsigned char>(c))) {
                MessageBeep(0);
                return false;
            }
    }
    const std::size_t a = selMin(e), b = selMax(e);
    const std::size_t room = e.limit - std::min(e.limit, e.text.size() - (b - a));
    bool truncated = false;
    if (insert.size() > room) {
        insert.resize(room);
        truncated = true;
    }
    if (insert.empty() && a == b) {
        if (truncated && notify) notifyCommand(h, EN_MAXTEXT);
        return false;
    }
    if (undoable) {
        e.undoText = e.text;
        e.undoAnchor = e.anchor;
        e.undoCaret = e.caret;
        e.canUndo = true;
    }
    e.text.replace(a, b - a, insert);
    e.modified = true;
    setSelection(h, e, a + insert.size(), a + insert.size());
    if (notify) {
        notifyCommand(h, EN_UPDATE);
        notifyCommand(h, EN_CHANGE);
        if (truncated) notifyCommand(h, EN_MAXTEXT);
    }
    return true;
}

void copy(HWND h, const Edit& e) {
    if (selMin(e) == selMax(e) || e.password) return;
    const std::string s = e.text.substr(selMin(e), selMax(e) - selMin(e));
    if (!OpenClipboard(h)) return;
    EmptyClipboard();
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    auto* p = static_cast<char*>(GlobalLock(g));
    std::memcpy(p, s.c_str(), s.size() + 1);
    GlobalUnlock(g);
    SetClipboardData(CF_TEXT, g);
    CloseClipboard();
}

bool readOnly(HWND h) {
    return (styleOf(h) & ES_READONLY) != 0;
}

void paste(HWND h, Edit& e) {
    if (readOnly(h) || !OpenClipboard(h)) return;
    std::string s;
    if (HANDLE g = GetClipboardData(CF_TEXT)) {
        if (const auto* p = static_cast<const char*>(GlobalLock(g))) s = p;
        GlobalUnlock(g);
    }
    CloseClipboard();
    // Lines that end in LF alone become CR LF.
    std::string t;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) t += '\r';
        t += s[i];
    }
    replaceSelection(h, e, t, true, true);
}

void undo(HWND h, Edit& e) {
    if (!e.canUndo) return;
    std::swap(e.text, e.undoText);
    const std::size_t a = e.undoAnchor, c = e.undoCaret;
    e.undoAnchor = e.anchor;
    e.undoCaret = e.caret;
    e.modified = true;
    setSelection(h, e, a, c);
    notifyCommand(h, EN_UPDATE);
    notifyCommand(h, EN_CHANGE);
}

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) > 127;
}

std::size_t wordLeft(const std::string& t, std::size_t p) {
    while (p > 0 && !isWordChar(t[p - 1]))
        --p;
    while (p > 0 && isWordChar(t[p - 1]))
        --p;
    return p;
}
std::size_t wordRight(const std::string& t, std::size_t p) {
    while (p < t.size() && isWordChar(t[p]))
        ++p;
    while (p < t.size() && !isWordChar(t[p]))
        ++p;
    return p;
}

std::size_t stepLeft(const std::string& t, std::size_t p) {
    if (p == 0) return 0;
    if (p >= 2 && t[p - 1] == '\n' && t[p - 2] == '\r') return p - 2;
    return p - 1;
}
std::size_t stepRight(const std::string& t, std::size_t p) {
    if (p >= t.size()) return t.size();
    if (t[p] == '\r' && p + 1 < t.size() && t[p + 1] == '\n') return p + 2;
    return p + 1;
}

void keyDown(HWND h, Edit& e, WPARAM vk) {
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    std::size_t c = e.caret;
    const bool ml = multiLine(h);
    switch (vk) {
        case VK_LEFT:
            if (!shift && selMin(e) != selMax(e))
                c = selMin(e);
            else
                c = ctrl ? wordLeft(e.text, c) : stepLeft(e.text, c);
            break;
        case VK_RIGHT:
            if (!shift && selMin(e) != selMax(e))
                c = selMax(e);
            else
                c = ctrl ? wordRight(e.text, c) : stepRight(e.text, c);
            break;
        case VK_HOME:
            c = (ml && !ctrl) ? lineStarts(e.text)[static_cast<std::size_t>(lineOf(e.text, c))] : 0;
            break;
        case VK_END:
            c = (ml && !ctrl)
                    ? lineEnd(e.text,
                              lineStarts(e.text)[static_cast<std::size_t>(lineOf(e.text, c))])
                    : e.text.size();
            break;
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT: {
            if (!ml) return;
            POINT p = posFromChar(h, e, c);
            const int lh = std::max(1, lineHeight(e.font));
            const RECT fr = formatRect(h);
            const int page = std::max(1, static_cast<int>((fr.bottom - fr.top) / lh));
            const int lines = (vk == VK_UP || vk == VK_DOWN) ? 1 : page;
            const int dir = (vk == VK_UP || vk == VK_PRIOR) ? -1 : 1;
            const int last = static_cast<int>(lineStarts(e.text).size()) - 1;
            const int target = std::clamp(lineOf(e.text, c) + dir * lines, 0, last);
            // Measured against the unscrolled layout; the column stays where it was.
            const int savedFirst = e.firstLine;
            e.firstLine = 0;
            p.y = fr.top + target * lh;
            c = charFromPos(h, e, p);
            e.firstLine = savedFirst;
            break;
        }
        case VK_DELETE: {
            if (readOnly(h)) return;
            if (shift) {
                copy(h, e);
                replaceSelection(h, e, "", true, true);
                return;
            }
            if (selMin(e) == selMax(e)) e.caret = stepRight(e.text, e.caret);
            replaceSelection(h, e, "", true, true);
            return;
        }
        case VK_INSERT:
            if (ctrl)
                copy(h, e);
            else if (shift)
                paste(h, e);
            return;
        default:
            return;
    }
    setSelection(h, e, shift ? e.anchor : c, c);
}

void character(HWND h, Edit& e, WPARAM ch) {
    switch (ch) {
        case 3:
            copy(h, e);
            return;
        case 22:
            paste(h, e);
            return;
        case 24:
            if (!readOnly(h)) {
                copy(h, e);
                replaceSelection(h, e, "", true, true);
            }
            return;
        case 26:
            undo(h, e);
            return;
        case 1:
            setSelection(h, e, 0, e.text.size());
            return;
        default:
            break;
    }
    if (readOnly(h)) return;
    if (ch == '\b') {
        if (selMin(e) == selMax(e)) e.anchor = stepLeft(e.text, e.caret);
        replaceSelection(h, e, "", true, true);
        return;
    }
    if (ch == '\r' || ch == '\n') {
        if (multiLine(h)) replaceSelection(h, e, "\r\n", true, true);
        return;
    }
    if (ch == '\t') {
        if (multiLine(h)) replaceSelection(h, e, "\t", true, true);
        return;
    }
    if (ch < 32 || ch == 127) return;
    replaceSelection(h, e, std::string(1, static_cast<char>(ch)), true, true);
}

void paint(HWND h, Edit& e) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    const bool enabled = IsWindowEnabled(h);
    HBRUSH bg =
        controlColour(h, dc, (readOnly(h) || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    const COLORREF textColour = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    FillRect(dc, &rc, bg);
    HGDIOBJ oldFont = SelectObject(dc, fontOrDefault(e.font));
    SetBkMode(dc, TRANSPARENT);
    const int lh = lineHeight(e.font);
    const RECT fr = formatRect(h);
    HRGN clip = CreateRectRgn(fr.left, fr.top, fr.right, fr.bottom);
    SelectClipRgn(dc, clip);
    const bool showSel = e.focus || (styleOf(h) & ES_NOHIDESEL);
    const auto starts = multiLine(h) ? lineStarts(e.text) : std::vector<std::size_t>{0};
    for (std::size_t li = static_cast<std::size_t>(e.firstLine); li < starts.size(); ++li) {
        const int y = fr.top + static_cast<int>(li - static_cast<std::size_t>(e.firstLine)) * lh;
        if (y > fr.bottom) break;
        const std::size_t s = starts[li];
        const std::size_t end = multiLine(h) ? lineEnd(e.text, s) : e.text.size();
        const std::string line = e.text.substr(s, end - s);
        const int x0 = lineX(h, dc, e, line);
        const std::size_t a = std::clamp(selMin(e), s, end), b = std::clamp(selMax(e), s, end);
        auto run = [&](std::size_t from, std::size_t to, bool selected) {
            if (from >= to) return;
            const int xa = x0 + widthOf(dc, e, e.text.substr(s, from - s));
            const int xb = x0 + widthOf(dc, e, e.text.substr(s, to - s));
            if (selected) fillSolid(dc, {xa, y, xb, y + lh}, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour);
            const std::string piece = shown(e, e.text.substr(from, to - from));
            if (piece.find('\t') == std::string::npos) {
                TextOutA(dc, xa, y, piece.data(), static_cast<int>(piece.size()));
            } else {
                std::size_t k = 0;
                while (k < piece.size()) {
                    const std::size_t t = piece.find('\t', k);
                    const std::size_t stop = t == std::string::npos ? piece.size() : t;
                    const int xs = x0 + widthOf(dc, e, e.text.substr(s, from - s + k));
                    TextOutA(dc, xs, y, piece.data() + k, static_cast<int>(stop - k));
                    k = stop + 1;
                }
            }
        };
        if (showSel && a < b) {
            run(s, a, false);
            run(a, b, true);
            run(b, end, false);
        } else {
            run(s, end, false);
        }
    }
    if (e.focus && selMin(e) == selMax(e)) {
        const POINT p = posFromChar(h, e, e.caret);
        drawLine(dc, p.x, p.y, p.x, p.y + lh, GetSysColor(COLOR_WINDOWTEXT));
    }
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    SelectObject(dc, oldFont);
    EndPaint(h, &ps);
}

LRESULT getDlgCode(HWND h, LPARAM lp) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!multiLine(h)) return code;
    code |= DLGC_WANTALLKEYS;
    if (const auto* m = reinterpret_cast<const MSG*>(lp); m && m->message == WM_KEYDOWN) {
        if (m->wParam == VK_ESCAPE || m->wParam == VK_TAB) code &= ~DLGC_WANTALLKEYS;
        if (m->wParam == VK_RETURN && !(styleOf(h) & ES_WANTRETURN)) code &= ~DLGC_WANTALLKEYS;
    }
    return code;
}

void setText(HWND h, Edit& e, const char* text, bool notify) {
    e.text = filtered(h, text ? text : "");
    if (e.text.size() > e.limit) e.text.resize(e.limit);
    e.canUndo = false;
    e.modified = false;
    e.scrollX = 0;
    e.firstLine = 0;
    setSelection(h, e, 0, 0);
    if (notify) {
        notifyCommand(h, EN_UPDATE);
        notifyCommand(h, EN_CHANGE);
    }
}

LRESULT editProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Edit* ep = records().forMessage(h, msg);
    if (!ep) return DefWindowProcA(h, msg, wp, lp);
    Edit& e = *ep;
    switch (msg) {
        case WM_CREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
                setText(h, e, cs->lpszName, false);
            if (styleOf(h) & ES_PASSWORD) e.password = '*';
            return 0;
        }
        case WM_GETDLGCODE:
            return getDlgCode(h, lp);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, e);
            return 0;
        case WM_SETFONT:
            e.font = reinterpret_cast<HFONT>(wp);
            if (lp) redraw(h);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(e.font);
        case WM_SETTEXT:
            setText(h, e, reinterpret_cast<const char*>(lp), true);
            return TRUE;
        case WM_GETTEXT: {
            if (!wp || !lp) return 0;
            const std::size_t n = std::min<std::size_t>(wp - 1, e.text.size());
            std::memcpy(reinterpret_cast<char*>(lp), e.text.data(), n);
            reinterpret_cast<char*>(lp)[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(e.text.size());
        case WM_ENABLE:
            redraw(h);
            return 0;
        case WM_SETFOCUS:
            e.focus = true;
            redraw(h);
            notifyCommand(h, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            e.focus = false;
            e.tracking = false;
            redraw(h);
            notifyCommand(h, EN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN: {
            if (GetFocus() != h) SetFocus(h);
            const std::size_t c = charFromPos(h, e, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            setSelection(h, e, (wp & MK_SHIFT) ? e.anchor : c, c);
            e.tracking = true;
            SetCapture(h);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (e.tracking)
                setSelection(h, e, e.anchor,
                             charFromPos(h, e, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
            return 0;
        case WM_LBUTTONUP:
            if (e.tracking) {
                e.tracking = false;
                ReleaseCapture();
            }
            return 0;
        case WM_LBUTTONDBLCLK: {
            const std::size_t c = charFromPos(h, e, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            std::size_t a = c, b = c;
            while (a > 0 && isWordChar(e.text[a - 1]))
                --a;
            while (b < e.text.size() && isWordChar(e.text[b]))
                ++b;
            setSelection(h, e, a, b);
            return 0;
        }
        case WM_KEYDOWN:
            keyDown(h, e, wp);
            return 0;
        case WM_CHAR:
            character(h, e, wp);
            return 0;
        case WM_CUT:
            if (!readOnly(h)) {
                copy(h, e);
                replaceSelection(h, e, "", true, true);
            }
            return 0;
        case WM_COPY:
            copy(h, e);
            return 0;
        case WM_PASTE:
            paste(h, e);
            return 0;
        case WM_CLEAR:
            if (!readOnly(h)) replaceSelection(h, e, "", true, true);
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            undo(h, e);
            return e.canUndo ? TRUE : FALSE;
        case EM_CANUNDO:
            return e.canUndo ? TRUE : FALSE;
        case EM_EMPTYUNDOBUFFER:
            e.canUndo = false;
            return 0;
        case EM_GETSEL: {
            const auto a = static_cast<DWORD>(selMin(e)), b = static_cast<DWORD>(selMax(e));
            if (wp) *reinterpret_cast<DWORD*>(wp) = a;
            if (lp) *reinterpret_cast<DWORD*>(lp) = b;
            return MAKELONG(static_cast<WORD>(std::min<DWORD>(a, 0xFFFF)),
                            static_cast<WORD>(std::min<DWORD>(b, 0xFFFF)));
        }
        case EM_SETSEL: {
            const auto start = static_cast<LONG>(static_cast<std::intptr_t>(wp));
            const auto end = static_cast<LONG>(lp);
            if (start < 0) {
                setSelection(h, e, e.caret, e.caret);  // -1 removes the selection
                return 0;
            }
            const std::size_t a = static_cast<std::size_t>(start);
            const std::size_t b = end < 0 ? e.text.size() : static_cast<std::size_t>(end);
            setSelection(h, e, a, b);
            return 0;
        }
        case EM_REPLACESEL:
            replaceSelection(h, e, lp ? reinterpret_cast<const char*>(lp) : "", wp != 0, true);
            return 0;
        case EM_LIMITTEXT:
            e.limit = wp ? static_cast<std::size_t>(wp) : 0x7FFFFFFE;
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(e.limit);
        case EM_GETMODIFY:
            return e.modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            e.modified = wp != 0;
            return 0;
        case EM_SETREADONLY: {
            const LONG_PTR s = GetWindowLongA(h, GWL_STYLE);
            SetWindowLongA(h, GWL_STYLE,
                           wp ? (s | ES_READONLY) : (s & ~static_cast<LONG_PTR>(ES_READONLY)));
            redraw(h);
            return TRUE;
        }
        case EM_SETPASSWORDCHAR:
            e.password = static_cast<char>(wp);
            redraw(h);
            return 0;
        case EM_GETPASSWORDCHAR:
            return static_cast<unsigned char>(e.password);
        case EM_SETTABSTOPS:
            InvalidateRect(h, nullptr, TRUE);
            e.tabStops.assign(reinterpret_cast<const int*>(lp),
                              reinterpret_cast<const int*>(lp) + (lp ? wp : 0));
            return TRUE;
        case EM_SCROLLCARET:
            scrollCaretIntoView(h, e);
            redraw(h);
            return TRUE;
        case EM_GETRECT:
            if (lp) *reinterpret_cast<RECT*>(lp) = formatRect(h);
            return 0;
        case EM_POSFROMCHAR: {
            if (wp > e.text.size()) return -1;
            const POINT p = posFromChar(h, e, wp);
            return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        }
        case EM_CHARFROMPOS: {
            const std::size_t c = charFromPos(h, e, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return MAKELONG(static_cast<WORD>(c), static_cast<WORD>(lineOf(e.text, c)));
        }
        case EM_GETLINECOUNT:
            return multiLine(h) ? static_cast<LRESULT>(lineStarts(e.text).size()) : 1;
        case EM_LINEINDEX: {
            const auto starts = lineStarts(e.text);
            const auto line =
                static_cast<std::intptr_t>(wp) < 0 ? lineOf(e.text, e.caret) : static_cast<int>(wp);
            if (line >= static_cast<int>(starts.size())) return -1;
            return static_cast<LRESULT>(starts[static_cast<std::size_t>(line)]);
        }
        case EM_LINEFROMCHAR:
            return lineOf(e.text, static_cast<std::intptr_t>(wp) < 0
                                      ? e.caret
                                      : std::min<std::size_t>(wp, e.text.size()));
        case EM_LINELENGTH: {
            const std::size_t pos = static_cast<std::intptr_t>(wp) < 0
                                        ? e.caret
                                        : std::min<std::size_t>(wp, e.text.size());
            const std::size_t s = lineStarts(e.text)[static_cast<std::size_t>(lineOf(e.text, pos))];
            return static_cast<LRESULT>(lineEnd(e.text, s) - s);
        }
        case EM_GETLINE: {
            const auto starts = lineStarts(e.text);
            if (wp >= starts.size() || !lp) return 0;
            const std::size_t s = starts[wp];
            const std::string line = e.text.substr(s, lineEnd(e.text, s) - s);
            auto* buf = reinterpret_cast<char*>(lp);
            const std::size_t room = *reinterpret_cast<const WORD*>(buf);
            const std::size_t n = std::min(room, line.size());
            std::memcpy(buf, line.data(), n);
            return static_cast<LRESULT>(n);
        }
        case EM_GETFIRSTVISIBLELINE:
            return e.firstLine;
        case EM_LINESCROLL:
            if (multiLine(h)) {
                const int last = static_cast<int>(lineStarts(e.text).size()) - 1;
                e.firstLine = std::clamp(e.firstLine + static_cast<int>(lp), 0, std::max(0, last));
                redraw(h);
            }
            return TRUE;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerEditClass() {
    registerClass("Edit", editProc, CS_DBLCLKS, LoadCursorA(nullptr, IDC_IBEAM), -1);
}

}  // namespace win::controls
