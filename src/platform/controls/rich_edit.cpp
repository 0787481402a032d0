// The rich-edit control's messages: "RichEdit20A" and the version-1
// "RICHEDIT", which counts a line break as two positions and has no redo;
// keys and the mouse (offered to the parent first when it asks for them),
// and the registration of the classes.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/controls/control_classes.h"
#include "platform/controls/rich_edit_internal.h"
#include "platform/window/scroll_api.h"

namespace win {

int richEditNewestVersion() {
    const char* v = std::getenv("PELK_RICHEDIT_VERSION");
    return (v && std::strcmp(v, "1") == 0) ? 1 : 2;
}

bool richEditVersionPresent(int version) {
    return version >= 1 && version <= richEditNewestVersion();
}

}  // namespace win

namespace win::controls {
namespace {

using namespace rich;

Records<Rich>& records() {
    static Records<Rich> r;
    return r;
}

void setText(HWND h, Rich& r, const char* text) {
    r.text = fromOutside(text ? text : "");
    r.fmt.assign(r.text.size(), 0);
    r.para.assign(r.text.size(), PFA_LEFT);
    r.insertFormat = 0;
    forgetUndo(r);
    r.top = r.left = 0;
    setSelection(h, r, 0, 0);
}

// The line a control position is on, and the position a line starts at.
LRESULT lineMessage(HWND h, Rich& r, UINT msg, WPARAM wp, LPARAM lp) {
    const auto lines = screenLines(h, r);
    switch (msg) {
        case EM_GETLINECOUNT:
            return static_cast<LRESULT>(lines.size());
        case EM_LINEINDEX: {
            const std::size_t li =
                static_cast<std::intptr_t>(wp) < 0 ? lineIndexOf(lines, r.caret) : wp;
            return li < lines.size() ? toCp(r, lines[li].start) : -1;
        }
        case EM_LINELENGTH: {
            const auto pos = static_cast<LONG>(static_cast<std::intptr_t>(wp));
            const Line& l = lines[lineIndexOf(lines, pos < 0 ? r.caret : fromCp(r, pos))];
            return toCp(r, l.end) - toCp(r, l.start);
        }
        default: {
            const auto cp = static_cast<LONG>(
                msg == EM_EXLINEFROMCHAR ? lp
                                         : static_cast<LPARAM>(static_cast<std::intptr_t>(wp)));
            return static_cast<LRESULT>(lineIndexOf(lines, cp < 0 ? r.caret : fromCp(r, cp)));
        }
    }
}

// Version 1 answers through a point (wParam) for a position (lParam); later
// versions take the position in wParam and answer packed coordinates, unless
// wParam holds a point's address.
LRESULT positionFromChar(HWND h, Rich& r, WPARAM wp, LPARAM lp) {
    const bool throughPoint = r.version < 2 || wp >= 0x10000;
    const LONG cp = static_cast<LONG>(throughPoint ? lp : static_cast<LPARAM>(wp));
    const POINT p = pointOf(r, screenLines(h, r), fromCp(r, cp));
    if (throughPoint) {
        if (auto* pt = reinterpret_cast<POINTL*>(wp)) *pt = {p.x, p.y};
        return 0;
    }
    return MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

void selectRange(HWND h, Rich& r, LONG a, LONG b) {
    if (a < 0) {
        setSelection(h, r, r.caret, r.caret);  // -1 removes the selection
        return;
    }
    setSelection(h, r, fromCp(r, a), b < 0 ? r.text.size() : fromCp(r, b));
}

LRESULT textRange(const Rich& r, TEXTRANGEA* tr) {
    if (!tr || !tr->lpstrText) return 0;
    const std::size_t a = fromCp(r, tr->chrg.cpMin);
    const std::size_t b =
        tr->chrg.cpMax < 0 ? r.text.size() : std::max(a, fromCp(r, tr->chrg.cpMax));
    const std::string s = shownText(r, r.text.substr(a, b - a));
    std::memcpy(tr->lpstrText, s.c_str(), s.size() + 1);
    return static_cast<LRESULT>(s.size());
}

LRESULT findMessage(const Rich& r, WPARAM flags, CHARRANGE range, const char* what,
                    CHARRANGE* found) {
    const auto edge = [&](LONG cp) {
        return cp < 0 ? static_cast<LONG>(r.text.size()) : static_cast<LONG>(fromCp(r, cp));
    };
    CHARRANGE inner;
    const LRESULT at = find(r, flags, edge(range.cpMin), edge(range.cpMax), what, &inner);
    if (at < 0) return -1;
    if (found)
        *found = {toCp(r, static_cast<std::size_t>(inner.cpMin)),
                  toCp(r, static_cast<std::size_t>(inner.cpMax))};
    return toCp(r, static_cast<std::size_t>(at));
}

LRESULT printRange(const Rich& r, bool render, FORMATRANGE* fr) {
    if (!fr) return 0;
    FORMATRANGE inner = *fr;
    inner.chrg = {static_cast<LONG>(fromCp(r, fr->chrg.cpMin)),
                  fr->chrg.cpMax < 0 ? -1 : static_cast<LONG>(fromCp(r, fr->chrg.cpMax))};
    return toCp(r, static_cast<std::size_t>(formatRange(r, render, &inner)));
}

LRESULT handle(HWND h, Rich& r, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName) && *cs->lpszName)
                setText(h, r, cs->lpszName);
            if (r.version < 2) r.undoLimit = 1;  // one step, and no redo
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
            setText(h, r, reinterpret_cast<const char*>(lp));
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
            const std::size_t c =
                charAt(r, screenLines(h, r), {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            setSelection(h, r, (msg == WM_MOUSEMOVE || (wp & MK_SHIFT)) ? r.anchor : c, c);
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            selectWord(h, r, charAt(r, screenLines(h, r), {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}));
            return 0;
        case WM_LBUTTONUP:
            if (r.tracking) {
                r.tracking = false;
                ReleaseCapture();
            }
            return 0;
        case WM_KEYDOWN:
            // F1 is the window's help key, not the control's.
            if (wp == VK_F1) return DefWindowProcA(h, msg, wp, lp);
            key(h, r, wp);
            return 0;
        case WM_CHAR:
            character(h, r, wp);
            return 0;
        case WM_VSCROLL:
            scrollVertically(h, r, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_HSCROLL:
            scrollHorizontally(h, r, LOWORD(wp), static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_MOUSEWHEEL:
            scrollWheel(h, r, static_cast<SHORT>(HIWORD(wp)));
            return 0;
        case WM_SIZE:
            updateScroll(h, r);
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
            return undo(h, r) ? TRUE : FALSE;
        case EM_CANUNDO:
            return r.undo.empty() ? FALSE : TRUE;
        case EM_EMPTYUNDOBUFFER:
            forgetUndo(r);
            return 0;
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
            selectRange(h, r, static_cast<LONG>(static_cast<std::intptr_t>(wp)),
                        static_cast<LONG>(lp));
            return toCp(r, selMax(r));
        case EM_EXSETSEL:
            if (const auto* cr = reinterpret_cast<const CHARRANGE*>(lp))
                selectRange(h, r, cr->cpMin, cr->cpMax);
            return toCp(r, selMax(r));
        case EM_GETSEL: {
            const LONG a = toCp(r, selMin(r)), b = toCp(r, selMax(r));
            if (wp) *reinterpret_cast<DWORD*>(wp) = static_cast<DWORD>(a);
            if (lp) *reinterpret_cast<DWORD*>(lp) = static_cast<DWORD>(b);
            return MAKELONG(static_cast<WORD>(a), static_cast<WORD>(b));
        }
        case EM_EXGETSEL:
            if (lp) *reinterpret_cast<CHARRANGE*>(lp) = {toCp(r, selMin(r)), toCp(r, selMax(r))};
            return 0;
        case EM_REPLACESEL:
            replace(h, r, fromOutside(lp ? reinterpret_cast<const char*>(lp) : ""), r.insertFormat,
                    wp != 0);
            return 0;
        case EM_GETSELTEXT: {
            const std::string s = shownText(r, r.text.substr(selMin(r), selMax(r) - selMin(r)));
            if (lp) std::memcpy(reinterpret_cast<char*>(lp), s.c_str(), s.size() + 1);
            return static_cast<LRESULT>(s.size());
        }
        case EM_GETTEXTRANGE:
            return textRange(r, reinterpret_cast<TEXTRANGEA*>(lp));
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
            return ft ? findMessage(r, wp, ft->chrg, ft->lpstrText, nullptr) : -1;
        }
        case EM_FINDTEXTEX: {
            auto* ft = reinterpret_cast<FINDTEXTEXA*>(lp);
            return ft ? findMessage(r, wp, ft->chrg, ft->lpstrText, &ft->chrgText) : -1;
        }
        case EM_STREAMIN:
            return streamIn(h, r, wp, reinterpret_cast<EDITSTREAM*>(lp));
        case EM_STREAMOUT:
            return streamOut(r, wp, reinterpret_cast<EDITSTREAM*>(lp));
        case EM_FORMATRANGE:
            return printRange(r, wp != 0, reinterpret_cast<FORMATRANGE*>(lp));
        case EM_SETTARGETDEVICE:
            return TRUE;
        case EM_HIDESELECTION:
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case EM_GETLINECOUNT:
        case EM_EXLINEFROMCHAR:
        case EM_LINEFROMCHAR:
        case EM_LINEINDEX:
        case EM_LINELENGTH:
            return lineMessage(h, r, msg, wp, lp);
        case EM_GETFIRSTVISIBLELINE:
            return firstVisibleLine(h, r);
        case EM_LINESCROLL:
            scrollLines(h, r, static_cast<int>(lp));
            return TRUE;
        case EM_SCROLLCARET:
            scrollToCaret(h, r);
            InvalidateRect(h, nullptr, TRUE);
            return 0;
        case EM_POSFROMCHAR:
            return positionFromChar(h, r, wp, lp);
        case EM_CHARFROMPOS: {
            const auto* pt = reinterpret_cast<const POINTL*>(lp);
            if (!pt) return 0;
            return toCp(r, charAt(r, screenLines(h, r), {pt->x, pt->y}));
        }
        default:
            break;
    }
    if (r.version >= 2) {
        switch (msg) {
            case EM_REDO:
                return redo(h, r) ? TRUE : FALSE;
            case EM_CANREDO:
                return r.redo.empty() ? FALSE : TRUE;
            case EM_SETUNDOLIMIT:
                setUndoLimit(r, static_cast<std::size_t>(wp));
                return static_cast<LRESULT>(r.undoLimit);
            case EM_STOPGROUPTYPING:
                r.grouping = false;
                return 0;
            default:
                break;
        }
    }
    return DefWindowProcA(h, msg, wp, lp);
}

LRESULT richProc(int version, HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Rich* rp = records().forMessage(h, msg);
    if (!rp) return DefWindowProcA(h, msg, wp, lp);
    if (msg == WM_NCCREATE) {
        rp->version = version;
        if (const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lp))
            rp->createStyle = cs->style;
    }
    if (swallowed(h, *rp, msg, wp, lp)) return 0;
    const UINT outerMsg = rp->msg;
    const WPARAM outerW = rp->wParam;
    const LPARAM outerL = rp->lParam;
    rp->msg = msg;
    rp->wParam = wp;
    rp->lParam = lp;
    const LRESULT result = handle(h, *rp, msg, wp, lp);
    if (records().get(h) == rp) {  // the window may be gone
        rp->msg = outerMsg;
        rp->wParam = outerW;
        rp->lParam = outerL;
    }
    return result;
}

LRESULT richProc1(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return richProc(1, h, msg, wp, lp);
}
LRESULT richProc2(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return richProc(2, h, msg, wp, lp);
}

}  // namespace

void registerRichEditClass() {
    registerClass(RICHEDIT_CLASS10A, richProc1, CS_DBLCLKS, LoadCursorA(nullptr, IDC_IBEAM), -1);
    if (richEditVersionPresent(2))
        registerClass(RICHEDIT_CLASSA, richProc2, CS_DBLCLKS, LoadCursorA(nullptr, IDC_IBEAM), -1);
}

}  // namespace win::controls
