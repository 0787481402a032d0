// EDIT: single-line and multi-line text fields with a selection, a caret,
// the clipboard, a text limit and an undo of one step; multi-line fields wrap
// their lines or scroll sideways and may carry scroll bars.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/control_classes.h"
#include "platform/controls/edit_internal.h"
#include "platform/controls/text_words.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/scroll_api.h"

namespace win::controls {
namespace {

using namespace edit;

Records<Edit>& records() {
    static Records<Edit> r;
    return r;
}

std::size_t selMin(const Edit& e) {
    return std::min(e.anchor, e.caret);
}
std::size_t selMax(const Edit& e) {
    return std::max(e.anchor, e.caret);
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
        case VK_END: {
            if (!ml || ctrl) {
                c = vk == VK_HOME ? 0 : e.text.size();
                break;
            }
            const auto lines = layoutLines(h, e);
            const VisualLine& l = lines[static_cast<std::size_t>(lineIndexOf(lines, c))];
            c = vk == VK_HOME ? l.start : l.end;
            break;
        }
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT: {
            if (!ml) return;
            const auto lines = layoutLines(h, e);
            const int line = lineIndexOf(lines, c);
            const int page = visibleLines(h, e);
            const int count = (vk == VK_UP || vk == VK_DOWN) ? 1 : page;
            const int dir = (vk == VK_UP || vk == VK_PRIOR) ? -1 : 1;
            const int target =
                std::clamp(line + dir * count, 0, static_cast<int>(lines.size()) - 1);
            // The column stays where it was; a page moves the view as well.
            const int x = posFromChar(h, e, c).x;
            if (vk == VK_PRIOR || vk == VK_NEXT) scrollLines(h, e, target - line);
            c = charOnLine(h, e, target, x);
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
    const RECT fr = formatRect(h, e);
    HRGN clip = CreateRectRgn(fr.left, fr.top, fr.right, fr.bottom);
    SelectClipRgn(dc, clip);
    const bool showSel = e.focus || (styleOf(h) & ES_NOHIDESEL);
    const auto lines = layoutLines(h, e, dc);
    for (std::size_t li = static_cast<std::size_t>(e.firstLine); li < lines.size(); ++li) {
        const int y = fr.top + static_cast<int>(li - static_cast<std::size_t>(e.firstLine)) * lh;
        if (y > fr.bottom) break;
        const std::size_t s = lines[li].start;
        const std::size_t end = lines[li].end;
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
            updateScrollBars(h, e);
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
            scrollCaretIntoView(h, e);
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
            const auto [a, b] = wordAround(e.text, c);
            setSelection(h, e, a, b);
            return 0;
        }
        case WM_KEYDOWN:
            // F1 is the window's help key, not the control's.
            if (wp == VK_F1) return DefWindowProcA(h, msg, wp, lp);
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
            if (lp) *reinterpret_cast<RECT*>(lp) = formatRect(h, e);
            return 0;
        case EM_SETRECT:
        case EM_SETRECTNP:
            // A null rectangle gives back the one the client area implies.
            e.rectSet = lp != 0;
            if (lp) e.rect = *reinterpret_cast<const RECT*>(lp);
            scrollCaretIntoView(h, e);
            if (msg == EM_SETRECT) redraw(h);
            return 0;
        case EM_POSFROMCHAR: {
            if (wp > e.text.size()) return -1;
            const POINT p = posFromChar(h, e, wp);
            return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        }
        case EM_CHARFROMPOS: {
            const std::size_t c = charFromPos(h, e, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return MAKELONG(static_cast<WORD>(c),
                            static_cast<WORD>(lineIndexOf(layoutLines(h, e), c)));
        }
        case EM_GETLINECOUNT:
            return static_cast<LRESULT>(layoutLines(h, e).size());
        case EM_LINEINDEX: {
            const auto lines = layoutLines(h, e);
            const auto line = static_cast<std::intptr_t>(wp) < 0 ? lineIndexOf(lines, e.caret)
                                                                 : static_cast<std::intptr_t>(wp);
            if (line >= static_cast<std::intptr_t>(lines.size())) return -1;
            return static_cast<LRESULT>(lines[static_cast<std::size_t>(line)].start);
        }
        case EM_LINEFROMCHAR:
            return lineIndexOf(layoutLines(h, e), static_cast<std::intptr_t>(wp) < 0
                                                      ? e.caret
                                                      : std::min<std::size_t>(wp, e.text.size()));
        case EM_LINELENGTH: {
            const std::size_t pos = static_cast<std::intptr_t>(wp) < 0
                                        ? e.caret
                                        : std::min<std::size_t>(wp, e.text.size());
            const auto lines = layoutLines(h, e);
            const VisualLine& l = lines[static_cast<std::size_t>(lineIndexOf(lines, pos))];
            return static_cast<LRESULT>(l.end - l.start);
        }
        case EM_GETLINE: {
            const auto lines = layoutLines(h, e);
            if (wp >= lines.size() || !lp) return 0;
            const VisualLine& l = lines[wp];
            auto* buf = reinterpret_cast<char*>(lp);
            const std::size_t room = *reinterpret_cast<const WORD*>(buf);
            const std::size_t n = std::min(room, l.end - l.start);
            std::memcpy(buf, e.text.data() + l.start, n);
            return static_cast<LRESULT>(n);
        }
        case EM_GETFIRSTVISIBLELINE:
            return multiLine(h) ? e.firstLine : 0;
        case EM_LINESCROLL:
            // Sideways in average characters, down in lines; multi-line only.
            if (!multiLine(h)) return FALSE;
            if (wp) {
                Dc d(h, e);
                TEXTMETRICA tm;
                GetTextMetricsA(d.dc, &tm);
                scrollColumns(h, e,
                              static_cast<int>(static_cast<std::intptr_t>(wp)) * tm.tmAveCharWidth);
            }
            scrollLines(h, e, static_cast<int>(lp));
            return TRUE;
        case EM_SCROLL: {
            if (!multiLine(h) || wp > SB_PAGEDOWN) return FALSE;
            const LRESULT moved = verticalScroll(h, e, static_cast<WORD>(wp), 0, false);
            return MAKELONG(static_cast<WORD>(static_cast<SHORT>(moved)), TRUE);
        }
        case WM_VSCROLL:
            verticalScroll(h, e, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)), true);
            return 0;
        case WM_HSCROLL:
            horizontalScroll(h, e, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_MOUSEWHEEL:
            wheelScroll(h, e, static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_SIZE:
            // The formatting rectangle follows the client area again.
            e.rectSet = false;
            scrollCaretIntoView(h, e);
            redraw(h);
            return 0;
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerEditClass() {
    registerClass("Edit", editProc, CS_DBLCLKS, LoadCursorA(nullptr, IDC_IBEAM), -1);
}

}  // namespace win::controls
