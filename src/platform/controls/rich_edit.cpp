// RichEdit20A: multi-line text whose characters carry formats (face, size,
// bold, italic, underline, strike-out, colour), wrapped at the window's
// width; selection, the clipboard, one step of undo, find, streaming as plain
// text or RTF, and drawing a range of it on a printer page.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/control_classes.h"
#include "platform/controls/control_support.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/controls/rtf_text.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/scroll_api.h"

namespace win::controls {
namespace {

struct Rich {
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
    int top = 0;  // pixels scrolled
    std::string undoText;
    std::vector<int> undoFmt;
    std::vector<BYTE> undoPara;
    bool canUndo = false;
    COLORREF background = GetSysColor(COLOR_WINDOW);
    bool modified = false;
    bool scrollBar = false;  // created with WS_VSCROLL: the bar comes and goes with the need
};

Records<Rich>& records() {
    static Records<Rich> r;
    return r;
}

std::size_t selMin(const Rich& r) {
    return std::min(r.anchor, r.caret);
}
std::size_t selMax(const Rich& r) {
    return std::max(r.anchor, r.caret);
}
bool readOnly(HWND h) {
    return (styleOf(h) & ES_READONLY) != 0;
}

int formatIndex(Rich& r, const RichFormat& f) {
    for (std::size_t i = 0; i < r.formats.size(); ++i)
        if (r.formats[i] == f) return static_cast<int>(i);
    r.formats.push_back(f);
    return static_cast<int>(r.formats.size()) - 1;
}

// Fonts of the formats for one device resolution, made when first needed.
class Fonts {
  public:
    Fonts(const Rich& r, int dpi) : rich_(r), dpi_(dpi) {}
    ~Fonts() {
        for (auto& [k, f] : fonts_)
            DeleteObject(f);
    }
    HFONT of(int index) {
        auto it = fonts_.find(index);
        if (it != fonts_.end()) return it->second;
        const RichFormat& f = rich_.formats[static_cast<std::size_t>(index)];
        const int px = -std::max(1, static_cast<int>((f.height * dpi_ + 720) / 1440));
        HFONT font =
            CreateFontA(px, 0, 0, 0, (f.effects & CFE_BOLD) ? FW_BOLD : FW_NORMAL,
                        (f.effects & CFE_ITALIC) ? 1 : 0, (f.effects & CFE_UNDERLINE) ? 1 : 0,
                        (f.effects & CFE_STRIKEOUT) ? 1 : 0, 0, 0, 0, 0, 0, f.face.c_str());
        fonts_[index] = font;
        return font;
    }

  private:
    const Rich& rich_;
    int dpi_;
    std::map<int, HFONT> fonts_;
};

struct Line {
    std::size_t start = 0, end = 0;  // end excludes the paragraph mark
    int y = 0, height = 0, ascent = 0;
    int offset = 0;       // left edge of the text: indent and alignment
    bool bullet = false;  // the first line of a bulleted paragraph
    std::vector<int> x;   // left edge of each character, and one past the last
};

int formatAt(const Rich& r, std::size_t i) {
    if (i < r.fmt.size()) return r.fmt[i];
    return r.insertFormat;
}

std::size_t paragraphStart(const Rich& r, std::size_t i) {
    while (i > 0 && r.text[i - 1] != '\r')
        --i;
    return i;
}

BYTE paraAt(const Rich& r, std::size_t i) {
    const std::size_t start = paragraphStart(r, std::min(i, r.text.size()));
    return start < r.para.size() ? r.para[start] : r.insertPara;
}

constexpr int kBulletIndent = 18;

// Lines of the text from `from`, wrapped at `width` pixels.
std::vector<Line> layout(const Rich& r, HDC dc, Fonts& fonts, int width, std::size_t from,
                         std::size_t to) {
    std::vector<Line> lines;
    int y = 0;
    std::size_t i = from;
    to = std::min(to, r.text.size());
    auto metrics = [&](int f, int& h, int& a) {
        SelectObject(dc, fonts.of(f));
        TEXTMETRICA tm;
        GetTextMetricsA(dc, &tm);
        h = tm.tmHeight;
        a = tm.tmAscent;
    };
    do {
        Line line;
        line.start = i;
        line.y = y;
        const BYTE para = paraAt(r, i);
        const int indent = (para & kBullet) ? kBulletIndent : 0;
        line.bullet = (para & kBullet) && (i == 0 || r.text[i - 1] == '\r');
        const int usable = std::max(1, width - indent);
        int x = 0;
        std::size_t lastSpace = std::string::npos;
        std::vector<int> xs;
        while (i < to && r.text[i] != '\r') {
            SelectObject(dc, fonts.of(formatAt(r, i)));
            SIZE s{0, 0};
            if (r.text[i] == '\t')
                s.cx = 48 - x % 48;
            else
                GetTextExtentPoint32A(dc, &r.text[i], 1, &s);
            if (x + s.cx > usable && i > line.start) {
                if (lastSpace != std::string::npos && lastSpace > line.start) {
                    xs.resize(lastSpace + 1 - line.start);
                    i = lastSpace + 1;
                }
                break;
            }
            if (r.text[i] == ' ') lastSpace = i;
            xs.push_back(x);
            x += s.cx;
            ++i;
        }
        line.end = i;
        xs.push_back(xs.empty() ? 0 : x);
        // The right edge after a break at a space is where the space ended.
        if (line.end > line.start && xs.size() == line.end - line.start + 1 && line.end < to &&
            r.text[line.end] != '\r') {
            SelectObject(dc, fonts.of(formatAt(r, line.end - 1)));
            SIZE s;
            GetTextExtentPoint32A(dc, &r.text[line.end - 1], 1, &s);
            xs.back() = xs[xs.size() - 2] + s.cx;
        }
        line.x = xs;
        const int used = line.x.back();
        line.offset = indent;
        if ((para & kAlignMask) == PFA_CENTER) line.offset = indent + (usable - used) / 2;
        if ((para & kAlignMask) == PFA_RIGHT) line.offset = indent + usable - used;
        line.offset = std::max(indent, line.offset);
        int h = 0, a = 0;
        metrics(
            formatAt(r, line.start < line.end ? line.start : (line.start > 0 ? line.start - 1 : 0)),
            h, a);
        for (std::size_t k = line.start; k < line.end; ++k) {
            int hk = 0, ak = 0;
            metrics(formatAt(r, k), hk, ak);
            h = std::max(h, hk);
            a = std::max(a, ak);
        }
        line.height = h;
        line.ascent = a;
        y += h;
        lines.push_back(line);
        if (i < to && r.text[i] == '\r') {
            ++i;
            if (i == to && to == r.text.size()) {
                // An empty last line after the final paragraph mark.
                Line last;
                last.start = last.end = i;
                last.y = y;
                last.x = {0};
                last.height = h;
                last.ascent = a;
                lines.push_back(last);
                break;
            }
        }
    } while (i < to);
    return lines;
}

struct Screen {
    explicit Screen(HWND h) : hwnd(h), dc(GetDC(h)) {}
    ~Screen() { ReleaseDC(hwnd, dc); }
    HWND hwnd;
    HDC dc;
};

int clientWidth(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    return std::max(1, static_cast<int>(rc.right) - 4);
}

std::vector<Line> screenLines(HWND h, const Rich& r, Fonts& fonts, HDC dc) {
    return layout(r, dc, fonts, clientWidth(h), 0, r.text.size());
}

std::size_t lineIndexOf(const std::vector<Line>& lines, std::size_t pos) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (pos >= lines[i].start && (pos <= lines[i].end)) {
            if (pos == lines[i].end && i + 1 < lines.size() && lines[i + 1].start == pos)
                return i + 1;
            return i;
        }
    return lines.empty() ? 0 : lines.size() - 1;
}

POINT pointOf(const std::vector<Line>& lines, std::size_t pos, int top) {
    if (lines.empty()) return {2, -top};
    const Line& l = lines[lineIndexOf(lines, pos)];
    const std::size_t k = std::min(pos - l.start, l.x.size() - 1);
    return {2 + l.offset + l.x[k], l.y - top};
}

std::size_t charAt(const std::vector<Line>& lines, POINT p, int top) {
    if (lines.empty()) return 0;
    std::size_t li = lines.size() - 1;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (p.y + top < lines[i].y + lines[i].height) {
            li = i;
            break;
        }
    const Line& l = lines[li];
    for (std::size_t k = 0; k + 1 < l.x.size(); ++k)
        if (p.x - 2 - l.offset < (l.x[k] + l.x[k + 1]) / 2) return l.start + k;
    return l.end;
}

void notifySelection(HWND h, Rich& r) {
    if (!(r.eventMask & ENM_SELCHANGE)) return;
    SELCHANGE sc;
    sc.chrg = {static_cast<LONG>(selMin(r)), static_cast<LONG>(selMax(r))};
    sc.seltyp = selMin(r) == selMax(r) ? SEL_EMPTY : SEL_TEXT;
    notifyParent(h, EN_SELCHANGE, &sc);
}

// The vertical scroll bar follows the text's height and the part shown.
void updateScroll(HWND h, Rich& r, const std::vector<Line>& lines) {
    RECT rc;
    GetClientRect(h, &rc);
    const int total = lines.empty() ? 0 : lines.back().y + lines.back().height;
    r.top = std::clamp(r.top, 0, std::max(0, total - static_cast<int>(rc.bottom)));
    if (!r.scrollBar) return;
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, total - 1);
    si.nPage = static_cast<UINT>(std::max(0, static_cast<int>(rc.bottom)));
    si.nPos = r.top;
    SetScrollInfo(h, SB_VERT, &si, TRUE);
}

void scrollToCaret(HWND h, Rich& r) {
    Screen s(h);
    Fonts fonts(r, GetDeviceCaps(s.dc, LOGPIXELSY));
    const auto lines = screenLines(h, r, fonts, s.dc);
    const Line& l = lines[lineIndexOf(lines, r.caret)];
    RECT rc;
    GetClientRect(h, &rc);
    if (l.y < r.top) r.top = l.y;
    if (l.y + l.height > r.top + rc.bottom) r.top = l.y + l.height - rc.bottom;
    updateScroll(h, r, lines);
}

void scrollBy(HWND h, Rich& r, WORD code, int thumb) {
    RECT rc;
    GetClientRect(h, &rc);
    switch (code) {
        case SB_LINEUP:
            r.top -= 16;
            break;
        case SB_LINEDOWN:
            r.top += 16;
            break;
        case SB_PAGEUP:
            r.top -= rc.bottom;
            break;
        case SB_PAGEDOWN:
            r.top += rc.bottom;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            r.top = thumb;
            break;
        case SB_TOP:
            r.top = 0;
            break;
        case SB_BOTTOM:
            r.top = 1 << 28;
            break;
        default:
            return;
    }
    Screen s(h);
    Fonts fonts(r, GetDeviceCaps(s.dc, LOGPIXELSY));
    updateScroll(h, r, screenLines(h, r, fonts, s.dc));
    InvalidateRect(h, nullptr, TRUE);
}

// New text takes the format of the first character it replaces, else the
// format at the caret.
int typingFormat(const Rich& r) {
    const std::size_t a = std::min(r.anchor, r.caret);
    return (a != std::max(r.anchor, r.caret) && a < r.fmt.size()) ? r.fmt[a] : r.insertFormat;
}

void setSelection(HWND h, Rich& r, std::size_t anchor, std::size_t caret) {
    const std::size_t oldA = selMin(r), oldB = selMax(r);
    r.anchor = std::min(anchor, r.text.size());
    r.caret = std::min(caret, r.text.size());
    if (r.anchor == r.caret && r.caret < r.fmt.size() + 1)
        r.insertFormat =
            r.caret > 0 ? r.fmt[r.caret - 1] : (r.fmt.empty() ? r.insertFormat : r.fmt[0]);
    scrollToCaret(h, r);
    InvalidateRect(h, nullptr, TRUE);
    if (oldA != selMin(r) || oldB != selMax(r)) notifySelection(h, r);
}

void changed(HWND h, Rich& r) {
    r.modified = true;
    if (r.eventMask & ENM_CHANGE) notifyCommand(h, EN_CHANGE);
}

// Puts text (one format for all of it) in place of the selection.
bool replace(HWND h, Rich& r, const std::string& insert, int format, bool undoable) {
    const std::size_t a = selMin(r), b = selMax(r);
    std::string add = insert;
    const std::size_t room = r.limit - std::min(r.limit, r.text.size() - (b - a));
    if (add.size() > room) add.resize(room);
    if (add.empty() && a == b) return false;
    if (undoable) {
        r.undoText = r.text;
        r.undoFmt = r.fmt;
        r.undoPara = r.para;
        r.canUndo = true;
    }
    const BYTE para = paraAt(r, a);
    r.para.erase(r.para.begin() + static_cast<long>(a), r.para.begin() + static_cast<long>(b));
    r.para.insert(r.para.begin() + static_cast<long>(a), add.size(), para);
    r.text.replace(a, b - a, add);
    r.fmt.erase(r.fmt.begin() + static_cast<long>(a), r.fmt.begin() + static_cast<long>(b));
    r.fmt.insert(r.fmt.begin() + static_cast<long>(a), add.size(), format);
    r.anchor = r.caret = a;
    setSelection(h, r, a + add.size(), a + add.size());
    changed(h, r);
    return true;
}

// Line ends of other text become paragraph marks.
std::string fromOutside(const std::string& s) {
    std::string t;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        t += s[i] == '\n' ? '\r' : s[i];
    }
    return t;
}
std::string toOutside(const std::string& s) {
    std::string t;
    for (char c : s) {
        if (c == '\r')
            t += "\r\n";
        else
            t += c;
    }
    return t;
}

void copy(HWND h, const Rich& r) {
    if (selMin(r) == selMax(r) || !OpenClipboard(h)) return;
    const std::string s = toOutside(r.text.substr(selMin(r), selMax(r) - selMin(r)));
    EmptyClipboard();
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, s.size() + 1);
    std::memcpy(GlobalLock(g), s.c_str(), s.size() + 1);
    GlobalUnlock(g);
    SetClipboardData(CF_TEXT, g);
    CloseClipboard();
}

void paste(HWND h, Rich& r) {
    if (readOnly(h) || !OpenClipboard(h)) return;
    std::string s;
    if (HANDLE g = GetClipboardData(CF_TEXT)) {
        if (const auto* p = static_cast<const char*>(GlobalLock(g))) s = p;
        GlobalUnlock(g);
    }
    CloseClipboard();
    replace(h, r, fromOutside(s), typingFormat(r), true);
}

void undo(HWND h, Rich& r) {
    if (!r.canUndo) return;
    std::swap(r.text, r.undoText);
    std::swap(r.fmt, r.undoFmt);
    std::swap(r.para, r.undoPara);
    setSelection(h, r, std::min(r.caret, r.text.size()), std::min(r.caret, r.text.size()));
    changed(h, r);
}

void paint(HWND h, Rich& r) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT rc;
    GetClientRect(h, &rc);
    fillSolid(dc, rc, r.background);
    Fonts fonts(r, GetDeviceCaps(dc, LOGPIXELSY));
    const auto lines = screenLines(h, r, fonts, dc);
    SetBkMode(dc, TRANSPARENT);
    const bool showSel = r.focus || (styleOf(h) & ES_NOHIDESEL);
    for (const Line& l : lines) {
        const int y = l.y - r.top;
        if (y + l.height < 0) continue;
        if (y > rc.bottom) break;
        if (l.bullet) {
            SelectObject(dc, fonts.of(formatAt(r, l.start)));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            TextOutA(dc, 2 + l.offset - kBulletIndent + 4, y, "\x95", 1);
        }
        for (std::size_t i = l.start; i < l.end; ++i) {
            const bool sel = showSel && i >= selMin(r) && i < selMax(r);
            const int x0 = 2 + l.offset + l.x[i - l.start],
                      x1 = 2 + l.offset + l.x[i - l.start + 1];
            if (sel) fillSolid(dc, {x0, y, x1, y + l.height}, GetSysColor(COLOR_HIGHLIGHT));
            if (r.text[i] == '\t') continue;
            const RichFormat& f = r.formats[static_cast<std::size_t>(r.fmt[i])];
            SelectObject(dc, fonts.of(r.fmt[i]));
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            SetTextColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                 : (f.autoColour ? GetSysColor(COLOR_WINDOWTEXT) : f.colour));
            TextOutA(dc, x0, y + l.ascent - tm.tmAscent, &r.text[i], 1);
        }
    }
    if (r.focus && selMin(r) == selMax(r)) {
        const POINT p = pointOf(lines, r.caret, r.top);
        const Line& l = lines[lineIndexOf(lines, r.caret)];
        drawLine(dc, p.x, p.y, p.x, p.y + l.height, GetSysColor(COLOR_WINDOWTEXT));
    }
    EndPaint(h, &ps);
}

void key(HWND h, Rich& r, WPARAM vk) {
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    std::size_t c = r.caret;
    Screen s(h);
    Fonts fonts(r, GetDeviceCaps(s.dc, LOGPIXELSY));
    const auto lines = screenLines(h, r, fonts, s.dc);
    const std::size_t li = lineIndexOf(lines, c);
    switch (vk) {
        case VK_LEFT:
            c = (!shift && selMin(r) != selMax(r)) ? selMin(r) : (c > 0 ? c - 1 : 0);
            break;
        case VK_RIGHT:
            c = (!shift && selMin(r) != selMax(r)) ? selMax(r) : std::min(c + 1, r.text.size());
            break;
        case VK_HOME:
            c = ctrl ? 0 : lines[li].start;
            break;
        case VK_END:
            c = ctrl ? r.text.size() : lines[li].end;
            break;
        case VK_UP:
        case VK_DOWN: {
            if ((vk == VK_UP && li == 0) || (vk == VK_DOWN && li + 1 >= lines.size())) break;
            const POINT p = pointOf(lines, c, 0);
            const Line& target = lines[vk == VK_UP ? li - 1 : li + 1];
            c = charAt(lines, {p.x, target.y}, 0);
            break;
        }
        case VK_DELETE:
            if (readOnly(h)) return;
            if (selMin(r) == selMax(r)) r.caret = std::min(r.caret + 1, r.text.size());
            replace(h, r, "", r.insertFormat, true);
            return;
        default:
            return;
    }
    setSelection(h, r, shift ? r.anchor : c, c);
}

void character(HWND h, Rich& r, WPARAM ch) {
    switch (ch) {
        case 3:
            copy(h, r);
            return;
        case 22:
            paste(h, r);
            return;
        case 24:
            if (readOnly(h)) return;
            copy(h, r);
            replace(h, r, "", r.insertFormat, true);
            return;
        case 26:
            undo(h, r);
            return;
        case 1:
            setSelection(h, r, 0, r.text.size());
            return;
        default:
            break;
    }
    if (readOnly(h)) return;
    if (ch == '\b') {
        if (selMin(r) == selMax(r) && r.caret > 0) r.anchor = r.caret - 1;
        replace(h, r, "", r.insertFormat, true);
        return;
    }
    if (ch == '\r' || ch == '\n') {
        replace(h, r, "\r", typingFormat(r), true);
        return;
    }
    if (ch < 32 && ch != '\t') return;
    replace(h, r, std::string(1, static_cast<char>(ch)), typingFormat(r), true);
}

// The paragraphs the selection touches take the masked parts of a layout.
LRESULT setParaFormat(HWND h, Rich& r, const PARAFORMAT* pf) {
    if (!pf) return FALSE;
    auto change = [&](BYTE p) {
        if (pf->dwMask & PFM_ALIGNMENT)
            p = static_cast<BYTE>((p & ~kAlignMask) | (pf->wAlignment & kAlignMask));
        if (pf->dwMask & PFM_NUMBERING)
            p = static_cast<BYTE>((p & ~kBullet) | (pf->wNumbering == PFN_BULLET ? kBullet : 0));
        return p;
    };
    std::size_t i = paragraphStart(r, selMin(r));
    const std::size_t end = selMax(r);
    do {
        std::size_t e = i;
        while (e < r.text.size() && r.text[e] != '\r')
            ++e;
        const BYTE p = change(paraAt(r, i));
        for (std::size_t k = i; k <= e && k < r.para.size(); ++k)
            r.para[k] = p;
        if (e >= r.text.size()) r.insertPara = p;
        i = e + 1;
    } while (i <= end && i <= r.text.size());
    InvalidateRect(h, nullptr, TRUE);
    changed(h, r);
    return TRUE;
}

LRESULT getParaFormat(const Rich& r, PARAFORMAT* pf) {
    if (!pf) return 0;
    const BYTE p = paraAt(r, selMin(r));
    pf->dwMask = PFM_ALIGNMENT | PFM_NUMBERING;
    pf->wAlignment = static_cast<WORD>(p & kAlignMask);
    pf->wNumbering = (p & kBullet) ? PFN_BULLET : 0;
    return static_cast<LRESULT>(pf->dwMask);
}

// Applies the masked parts of a format to a range of characters.
void applyFormat(Rich& r, std::size_t a, std::size_t b, const CHARFORMATA& cf) {
    std::map<int, int> mapped;
    for (std::size_t i = a; i < b; ++i) {
        auto it = mapped.find(r.fmt[i]);
        if (it == mapped.end()) {
            RichFormat f = r.formats[static_cast<std::size_t>(r.fmt[i])];
            f.apply(cf);
            it = mapped.emplace(r.fmt[i], formatIndex(r, f)).first;
        }
        r.fmt[i] = it->second;
    }
}

LRESULT setCharFormat(HWND h, Rich& r, WPARAM which, const CHARFORMATA* cf) {
    if (!cf) return FALSE;
    if (which & SCF_ALL) {
        applyFormat(r, 0, r.text.size(), *cf);
        RichFormat f = r.formats[static_cast<std::size_t>(r.insertFormat)];
        f.apply(*cf);
        r.insertFormat = formatIndex(r, f);
    } else if (which & SCF_SELECTION) {
        if (selMin(r) == selMax(r)) {
            RichFormat f = r.formats[static_cast<std::size_t>(r.insertFormat)];
            f.apply(*cf);
            r.insertFormat = formatIndex(r, f);
        } else {
            applyFormat(r, selMin(r), selMax(r), *cf);
        }
    } else {
        // The default format: what unformatted text and new text get.
        RichFormat& base = r.formats[0];
        base.apply(*cf);
    }
    InvalidateRect(h, nullptr, TRUE);
    if (which & (SCF_ALL | SCF_SELECTION)) changed(h, r);
    return TRUE;
}

LRESULT getCharFormat(const Rich& r, WPARAM which, CHARFORMATA* cf) {
    if (!cf) return 0;
    if (which == SCF_DEFAULT) {
        r.formats[0].fill(*cf, CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE |
                                   CFM_COLOR | CFM_FACE);
        return static_cast<LRESULT>(cf->dwMask);
    }
    // The selection's format: the parts all its characters share.
    DWORD mask =
        CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE | CFM_COLOR | CFM_FACE;
    const std::size_t a = selMin(r), b = selMax(r);
    const RichFormat& first =
        r.formats[static_cast<std::size_t>(a < b ? r.fmt[a] : r.insertFormat)];
    for (std::size_t i = a; i < b; ++i)
        mask &= first.sameAs(r.formats[static_cast<std::size_t>(r.fmt[i])]);
    first.fill(*cf, mask);
    return static_cast<LRESULT>(mask);
}

LRESULT find(const Rich& r, WPARAM flags, LONG from, LONG to, const char* what, CHARRANGE* found) {
    if (!what || !*what) return -1;
    const std::string needle = what;
    const auto n = static_cast<LONG>(r.text.size());
    if (to < 0 || to > n) to = n;
    const bool down = (flags & 0x1) != 0;  // FR_DOWN
    const bool matchCase = (flags & 0x4) != 0, wholeWord = (flags & 0x2) != 0;
    auto same = [&](char a, char b) {
        return matchCase ? a == b
                         : std::tolower(static_cast<unsigned char>(a)) ==
                               std::tolower(static_cast<unsigned char>(b));
    };
    auto wordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    auto matchAt = [&](LONG i) {
        if (i < 0 || i + static_cast<LONG>(needle.size()) > n) return false;
        for (std::size_t k = 0; k < needle.size(); ++k)
            if (!same(r.text[static_cast<std::size_t>(i) + k], needle[k])) return false;
        if (wholeWord) {
            if (i > 0 && wordChar(r.text[static_cast<std::size_t>(i) - 1])) return false;
            const std::size_t e = static_cast<std::size_t>(i) + needle.size();
            if (e < r.text.size() && wordChar(r.text[e])) return false;
        }
        return true;
    };
    const LONG lo = std::min(from, to), hi = std::max(from, to);
    if (down) {
        for (LONG i = std::max<LONG>(0, lo); i + static_cast<LONG>(needle.size()) <= hi; ++i)
            if (matchAt(i)) {
                if (found) *found = {i, i + static_cast<LONG>(needle.size())};
                return i;
            }
    } else {
        for (LONG i = hi - static_cast<LONG>(needle.size()); i >= lo; --i)
            if (matchAt(i)) {
                if (found) *found = {i, i + static_cast<LONG>(needle.size())};
                return i;
            }
    }
    return -1;
}

LRESULT streamIn(HWND h, Rich& r, WPARAM format, EDITSTREAM* es) {
    if (!es || !es->pfnCallback) return 0;
    std::string data;
    BYTE buf[4096];
    for (;;) {
        LONG got = 0;
        es->dwError = es->pfnCallback(es->dwCookie, buf, sizeof buf, &got);
        if (es->dwError || got <= 0) break;
        data.append(reinterpret_cast<const char*>(buf), static_cast<std::size_t>(got));
    }
    if (!(format & SFF_SELECTION)) {
        r.anchor = 0;
        r.caret = r.text.size();
    }
    std::size_t start = selMin(r);
    if (format & SF_RTF) {
        const RichText parsed = readRtf(data, r.formats[0]);
        replace(h, r, parsed.text, 0, false);
        for (std::size_t i = 0; i < parsed.text.size() && start + i < r.fmt.size(); ++i) {
            r.fmt[start + i] =
                formatIndex(r, parsed.formats[static_cast<std::size_t>(parsed.fmt[i])]);
            r.para[start + i] = parsed.para[i];
        }
        InvalidateRect(h, nullptr, TRUE);
        return static_cast<LRESULT>(parsed.text.size());
    }
    const std::string t = fromOutside(data);
    replace(h, r, t, r.insertFormat, false);
    if (!(format & SFF_SELECTION)) {
        r.modified = false;
        r.canUndo = false;
        setSelection(h, r, 0, 0);
    }
    return static_cast<LRESULT>(t.size());
}

LRESULT streamOut(const Rich& r, WPARAM format, EDITSTREAM* es) {
    if (!es || !es->pfnCallback) return 0;
    std::size_t a = 0, b = r.text.size();
    if (format & SFF_SELECTION) {
        a = selMin(r);
        b = selMax(r);
    }
    std::string out;
    if (format & SF_RTF) {
        RichText part;
        part.text = r.text.substr(a, b - a);
        part.formats = r.formats;
        part.fmt.assign(r.fmt.begin() + static_cast<long>(a), r.fmt.begin() + static_cast<long>(b));
        part.para.assign(r.para.begin() + static_cast<long>(a),
                         r.para.begin() + static_cast<long>(b));
        out = writeRtf(part);
    } else {
        out = toOutside(r.text.substr(a, b - a));
    }
    std::size_t sent = 0;
    while (sent < out.size()) {
        LONG done = 0;
        const auto chunk = static_cast<LONG>(std::min<std::size_t>(4096, out.size() - sent));
        es->dwError =
            es->pfnCallback(es->dwCookie, reinterpret_cast<BYTE*>(&out[sent]), chunk, &done);
        if (es->dwError || done <= 0) break;
        sent += static_cast<std::size_t>(done);
    }
    return static_cast<LRESULT>(sent);
}

// Draws (or only measures) as much of a range as fits the page's rectangle;
// answers the first character that did not fit.
LRESULT formatRange(const Rich& r, bool render, FORMATRANGE* fr) {
    if (!fr) return 0;
    HDC dc = fr->hdc;
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    auto px = [](LONG twips, int dpi) {
        return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440);
    };
    const RECT area{px(fr->rc.left, dpiX), px(fr->rc.top, dpiY), px(fr->rc.right, dpiX),
                    px(fr->rc.bottom, dpiY)};
    const std::size_t from = static_cast<std::size_t>(std::max<LONG>(0, fr->chrg.cpMin));
    const std::size_t to =
        fr->chrg.cpMax < 0
            ? r.text.size()
            : std::min<std::size_t>(static_cast<std::size_t>(fr->chrg.cpMax), r.text.size());
    if (from >= to) return static_cast<LRESULT>(to);
    Fonts fonts(r, dpiY);
    const int saved = SaveDC(dc);
    const auto lines = layout(r, dc, fonts, area.right - area.left, from, to);
    std::size_t next = to;
    SetBkMode(dc, TRANSPARENT);
    for (const Line& l : lines) {
        if (area.top + l.y + l.height > area.bottom && l.y > 0) {
            next = l.start;
            break;
        }
        if (!render) continue;
        for (std::size_t i = l.start; i < l.end; ++i) {
            if (r.text[i] == '\t') continue;
            const RichFormat& f = r.formats[static_cast<std::size_t>(r.fmt[i])];
            SelectObject(dc, fonts.of(r.fmt[i]));
            TEXTMETRICA tm;
            GetTextMetricsA(dc, &tm);
            SetTextColor(dc, f.autoColour ? RGB(0, 0, 0) : f.colour);
            TextOutA(dc, area.left + l.offset + l.x[i - l.start],
                     area.top + l.y + l.ascent - tm.tmAscent, &r.text[i], 1);
        }
    }
    RestoreDC(dc, saved);
    return static_cast<LRESULT>(next);
}

LRESULT richProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Rich* rp = records().forMessage(h, msg);
    if (!rp) return DefWindowProcA(h, msg, wp, lp);
    Rich& r = *rp;
    switch (msg) {
        case WM_CREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
            r.scrollBar = (styleOf(h) & WS_VSCROLL) != 0;
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && *cs->lpszName) {
                r.text = fromOutside(cs->lpszName);
                r.fmt.assign(r.text.size(), 0);
                r.para.assign(r.text.size(), PFA_LEFT);
                r.para.assign(r.text.size(), PFA_LEFT);
            }
            return 0;
        }
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
            if (styleOf(h) & ES_MULTILINE) code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(h, r);
            return 0;
        case WM_SETFONT: {
            // The font becomes the default format (face and size).
            LOGFONTA lf{};
            if (GetObjectA(reinterpret_cast<HGDIOBJ>(wp), sizeof lf, &lf)) {
                CHARFORMATA cf;
                cf.dwMask = CFM_FACE | CFM_SIZE;
                std::memcpy(cf.szFaceName, lf.lfFaceName, sizeof cf.szFaceName);
                cf.yHeight = std::abs(lf.lfHeight) * 1440 / 96;
                setCharFormat(h, r, SCF_ALL, &cf);
                r.formats[0].apply(cf);
            }
            return 0;
        }
        case WM_SETTEXT:
            r.text = fromOutside(lp ? reinterpret_cast<const char*>(lp) : "");
            r.fmt.assign(r.text.size(), 0);
            r.para.assign(r.text.size(), PFA_LEFT);
            r.insertFormat = 0;
            r.canUndo = false;
            r.modified = false;
            r.top = 0;
            setSelection(h, r, 0, 0);
            changed(h, r);
            r.modified = false;
            return TRUE;
        case WM_GETTEXT: {
            if (!wp || !lp) return 0;
            const std::string t = toOutside(r.text);
            const std::size_t n = std::min<std::size_t>(wp - 1, t.size());
            std::memcpy(reinterpret_cast<char*>(lp), t.data(), n);
            reinterpret_cast<char*>(lp)[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(toOutside(r.text).size());
        case WM_SETFOCUS:
            r.focus = true;
            InvalidateRect(h, nullptr, TRUE);
            notifyCommand(h, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            r.focus = false;
            InvalidateRect(h, nullptr, TRUE);
            notifyCommand(h, EN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE: {
            if (msg == WM_MOUSEMOVE && !r.tracking) return 0;
            if (msg == WM_LBUTTONDOWN) {
                if (GetFocus() != h) SetFocus(h);
                r.tracking = true;
                SetCapture(h);
            }
            Screen s(h);
            Fonts fonts(r, GetDeviceCaps(s.dc, LOGPIXELSY));
            const std::size_t c =
                charAt(screenLines(h, r, fonts, s.dc), {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, r.top);
            setSelection(h, r, (msg == WM_MOUSEMOVE || (wp & MK_SHIFT)) ? r.anchor : c, c);
            return 0;
        }
        case WM_LBUTTONUP:
            if (r.tracking) {
                r.tracking = false;
                ReleaseCapture();
            }
            return 0;
        case WM_KEYDOWN:
            key(h, r, wp);
            return 0;
        case WM_CHAR:
            character(h, r, wp);
            return 0;
        case WM_VSCROLL:
            scrollBy(h, r, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_MOUSEWHEEL:
            scrollBy(h, r, static_cast<SHORT>(HIWORD(wp)) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            scrollBy(h, r, static_cast<SHORT>(HIWORD(wp)) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            scrollBy(h, r, static_cast<SHORT>(HIWORD(wp)) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            return 0;
        case WM_SIZE:
            scrollBy(h, r, SB_THUMBPOSITION, r.top);
            return 0;
        case WM_COPY:
            copy(h, r);
            return 0;
        case WM_CUT:
            if (!readOnly(h)) {
                copy(h, r);
                replace(h, r, "", r.insertFormat, true);
            }
            return 0;
        case WM_PASTE:
            paste(h, r);
            return 0;
        case WM_CLEAR:
            if (!readOnly(h)) replace(h, r, "", r.insertFormat, true);
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            undo(h, r);
            return TRUE;
        case EM_CANUNDO:
            return r.canUndo ? TRUE : FALSE;
        case EM_GETMODIFY:
            return r.modified ? TRUE : FALSE;
        case EM_SETMODIFY:
            r.modified = wp != 0;
            return 0;
        case EM_SETREADONLY: {
            const LONG_PTR s = GetWindowLongA(h, GWL_STYLE);
            SetWindowLongA(h, GWL_STYLE,
                           wp ? (s | ES_READONLY) : (s & ~static_cast<LONG_PTR>(ES_READONLY)));
            return TRUE;
        }
        case EM_SETSEL:
        case EM_EXSETSEL: {
            LONG a = 0, b = 0;
            if (msg == EM_SETSEL) {
                a = static_cast<LONG>(static_cast<std::intptr_t>(wp));
                b = static_cast<LONG>(lp);
            } else if (lp) {
                a = reinterpret_cast<const CHARRANGE*>(lp)->cpMin;
                b = reinterpret_cast<const CHARRANGE*>(lp)->cpMax;
            }
            const auto n = static_cast<LONG>(r.text.size());
            if (a < 0)
                setSelection(h, r, r.caret, r.caret);
            else
                setSelection(h, r, static_cast<std::size_t>(std::min(a, n)),
                             static_cast<std::size_t>(b < 0 ? n : std::min(b, n)));
            return static_cast<LRESULT>(selMax(r));
        }
        case EM_GETSEL: {
            if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(selMin(r));
            if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(selMax(r));
            return MAKELONG(static_cast<WORD>(selMin(r)), static_cast<WORD>(selMax(r)));
        }
        case EM_EXGETSEL:
            if (lp)
                *reinterpret_cast<CHARRANGE*>(lp) = {static_cast<LONG>(selMin(r)),
                                                     static_cast<LONG>(selMax(r))};
            return 0;
        case EM_REPLACESEL:
            replace(h, r, fromOutside(lp ? reinterpret_cast<const char*>(lp) : ""), r.insertFormat,
                    wp != 0);
            return 0;
        case EM_GETSELTEXT: {
            const std::string s = r.text.substr(selMin(r), selMax(r) - selMin(r));
            if (lp) std::memcpy(reinterpret_cast<char*>(lp), s.c_str(), s.size() + 1);
            return static_cast<LRESULT>(s.size());
        }
        case EM_GETTEXTRANGE: {
            auto* tr = reinterpret_cast<TEXTRANGEA*>(lp);
            if (!tr || !tr->lpstrText) return 0;
            const auto n = static_cast<LONG>(r.text.size());
            const LONG a = std::clamp<LONG>(tr->chrg.cpMin, 0, n);
            const LONG b = tr->chrg.cpMax < 0 ? n : std::clamp<LONG>(tr->chrg.cpMax, a, n);
            const std::string s =
                r.text.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
            std::memcpy(tr->lpstrText, s.c_str(), s.size() + 1);
            return static_cast<LRESULT>(s.size());
        }
        case EM_EXLIMITTEXT:
            r.limit = lp ? static_cast<std::size_t>(lp) : 65536;
            return 0;
        case EM_LIMITTEXT:
            r.limit = wp ? static_cast<std::size_t>(wp) : 65536;
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(r.limit);
        case EM_SETEVENTMASK: {
            const DWORD old = r.eventMask;
            r.eventMask = static_cast<DWORD>(lp);
            return old;
        }
        case EM_GETEVENTMASK:
            return r.eventMask;
        case EM_SETBKGNDCOLOR: {
            const COLORREF old = r.background;
            r.background = wp ? GetSysColor(COLOR_WINDOW) : static_cast<COLORREF>(lp);
            InvalidateRect(h, nullptr, TRUE);
            return old;
        }
        case EM_SETPARAFORMAT:
            return setParaFormat(h, r, reinterpret_cast<const PARAFORMAT*>(lp));
        case EM_GETPARAFORMAT:
            return getParaFormat(r, reinterpret_cast<PARAFORMAT*>(lp));
        case EM_SETCHARFORMAT:
            return setCharFormat(h, r, wp, reinterpret_cast<const CHARFORMATA*>(lp));
        case EM_GETCHARFORMAT:
            return getCharFormat(r, wp, reinterpret_cast<CHARFORMATA*>(lp));
        case EM_FINDTEXT: {
            const auto* ft = reinterpret_cast<const FINDTEXTA*>(lp);
            return ft ? find(r, wp, ft->chrg.cpMin, ft->chrg.cpMax, ft->lpstrText, nullptr) : -1;
        }
        case EM_FINDTEXTEX: {
            auto* ft = reinterpret_cast<FINDTEXTEXA*>(lp);
            return ft ? find(r, wp, ft->chrg.cpMin, ft->chrg.cpMax, ft->lpstrText, &ft->chrgText)
                      : -1;
        }
        case EM_STREAMIN:
            return streamIn(h, r, wp, reinterpret_cast<EDITSTREAM*>(lp));
        case EM_STREAMOUT:
            return streamOut(r, wp, reinterpret_cast<EDITSTREAM*>(lp));
        case EM_FORMATRANGE:
            return formatRange(r, wp != 0, reinterpret_cast<FORMATRANGE*>(lp));
        case EM_SETTARGETDEVICE:
            return TRUE;
        case EM_HIDESELECTION:
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case EM_GETLINECOUNT:
        case EM_EXLINEFROMCHAR:
        case EM_LINEFROMCHAR:
        case EM_LINEINDEX: {
            Screen s(h);
            Fonts fonts(r, GetDeviceCaps(s.dc, LOGPIXELSY));
            const auto lines = screenLines(h, r, fonts, s.dc);
            if (msg == EM_GETLINECOUNT) return static_cast<LRESULT>(lines.size());
            if (msg == EM_LINEINDEX) {
                const std::size_t li =
                    static_cast<std::intptr_t>(wp) < 0 ? lineIndexOf(lines, r.caret) : wp;
                return li < lines.size() ? static_cast<LRESULT>(lines[li].start) : -1;
            }
            const std::size_t pos = msg == EM_EXLINEFROMCHAR ? static_cast<std::size_t>(lp) : wp;
            return static_cast<LRESULT>(lineIndexOf(lines, std::min(pos, r.text.size())));
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

}  // namespace

void registerRichEditClass() {
    registerClass(RICHEDIT_CLASSA, richProc, CS_DBLCLKS, LoadCursorA(nullptr, IDC_IBEAM), -1);
}

}  // namespace win::controls
