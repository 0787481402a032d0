// Keys and the mouse of the rich-edit control: moving the caret, typing and
// deleting, the control-key commands, and the offer of input to the parent
// (EN_MSGFILTER) when it asked for it.

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/controls/rich_edit_internal.h"
#include "platform/controls/text_words.h"
#include "platform/window/scroll_api.h"

namespace win::controls::rich {

namespace {

// Deletes from the caret to `other` (one character either way); a refused
// deletion leaves the caret where it was.
void deleteOne(HWND h, Rich& r, std::size_t other) {
    const std::size_t caret = r.caret;
    r.anchor = other;
    if (!replace(h, r, "", r.insertFormat, true)) r.anchor = r.caret = caret;
}

void cut(HWND h, Rich& r) {
    if (readOnly(h)) return;
    copy(h, r);
    replace(h, r, "", r.insertFormat, true);
}

// The caret a page up or down, the view moving with it.
std::size_t pageMove(HWND h, Rich& r, const std::vector<Line>& lines, std::size_t c, int dir) {
    RECT rc;
    GetClientRect(h, &rc);
    const POINT p = pointOf(r, lines, c);
    const int before = r.top;
    scrollVertically(h, r, dir < 0 ? SB_PAGEUP : SB_PAGEDOWN, 0);
    const int moved = r.top - before;
    const int y = moved != 0 ? p.y : p.y + dir * static_cast<int>(rc.bottom);
    return charAt(r, screenLines(h, r), {p.x, y});
}

}  // namespace

void selectWord(HWND h, Rich& r, std::size_t at) {
    const auto [a, b] = wordAround(r.text, at);
    setSelection(h, r, a, b);
}

void key(HWND h, Rich& r, WPARAM vk) {
    const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    std::size_t c = r.caret;
    const auto lines = screenLines(h, r);
    const std::size_t li = lineIndexOf(lines, c);
    switch (vk) {
        case VK_LEFT:
            if (!shift && selMin(r) != selMax(r))
                c = selMin(r);
            else
                c = ctrl ? wordLeft(r.text, c) : (c > 0 ? c - 1 : 0);
            break;
        case VK_RIGHT:
            if (!shift && selMin(r) != selMax(r))
                c = selMax(r);
            else
                c = ctrl ? wordRight(r.text, c) : std::min(c + 1, r.text.size());
            break;
        case VK_PRIOR:
        case VK_NEXT:
            c = pageMove(h, r, lines, c, vk == VK_PRIOR ? -1 : 1);
            break;
        case VK_INSERT:
            // Shift pastes, Ctrl copies; alone it switches overwriting.
            if (shift)
                paste(h, r);
            else if (ctrl)
                copy(h, r);
            else
                r.overwrite = !r.overwrite;
            return;
        case VK_HOME:
            c = ctrl ? 0 : lines[li].start;
            break;
        case VK_END:
            c = ctrl ? r.text.size() : lines[li].end;
            break;
        case VK_UP:
        case VK_DOWN: {
            if ((vk == VK_UP && li == 0) || (vk == VK_DOWN && li + 1 >= lines.size())) break;
            const POINT p = pointOf(r, lines, c);
            const Line& target = lines[vk == VK_UP ? li - 1 : li + 1];
            c = charAt(r, lines, {p.x, target.y - r.top});
            break;
        }
        case VK_DELETE:
            if (readOnly(h)) return;
            if (shift) {
                cut(h, r);
                return;
            }
            if (selMin(r) == selMax(r))
                deleteOne(h, r, std::min(r.caret + 1, r.text.size()));
            else
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
            cut(h, r);
            return;
        case 26:
            undo(h, r);
            return;
        case 25:
            if (r.version >= 2) redo(h, r);
            return;
        case 1:
            setSelection(h, r, 0, r.text.size());
            return;
        default:
            break;
    }
    if (readOnly(h)) return;
    if (ch == '\b') {
        if (selMin(r) == selMax(r))
            deleteOne(h, r, r.caret > 0 ? r.caret - 1 : 0);
        else
            replace(h, r, "", r.insertFormat, true);
        return;
    }
    if (ch == '\r' || ch == '\n') {
        replace(h, r, "\r", typingFormat(r), true, true);
        return;
    }
    if (ch < 32 && ch != '\t') return;
    // Overwriting replaces the character after the caret, but never a
    // paragraph mark.
    if (r.overwrite && selMin(r) == selMax(r) && r.caret < r.text.size() &&
        r.text[r.caret] != '\r') {
        const bool grouping = r.grouping;
        setSelection(h, r, r.caret, r.caret + 1);
        r.grouping = grouping;
    }
    replace(h, r, std::string(1, static_cast<char>(ch)), typingFormat(r), true, true);
}

namespace {

bool keyMessage(UINT m) {
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_SYSKEYDOWN ||
           m == WM_SYSKEYUP || m == WM_SYSCHAR;
}
bool mouseMessage(UINT m) {
    return m >= WM_MOUSEMOVE && m <= WM_MBUTTONDBLCLK;
}

}  // namespace

// Offers input to the parent when it asked for it (EN_MSGFILTER): a non-zero
// answer swallows the message; the parent may also change it.
bool swallowed(HWND h, const Rich& r, UINT& msg, WPARAM& wp, LPARAM& lp) {
    const bool asked = (keyMessage(msg) && (r.eventMask & ENM_KEYEVENTS)) ||
                       (mouseMessage(msg) && (r.eventMask & ENM_MOUSEEVENTS)) ||
                       (msg == WM_MOUSEWHEEL && (r.eventMask & ENM_SCROLLEVENTS));
    if (!asked) return false;
    MSGFILTER mf;
    mf.msg = msg;
    mf.wParam = wp;
    mf.lParam = lp;
    if (notifyParent(h, EN_MSGFILTER, &mf)) return true;
    msg = mf.msg;
    wp = mf.wParam;
    lp = mf.lParam;
    return false;
}

}  // namespace win::controls::rich
