#include "toolkit/editors/editor_format.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/gdi/gdi.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/user_api.h"
#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/editor_title.h"

namespace tk {
namespace {

win::LRESULT send(const EditorWindowRecord& r, win::UINT msg, win::WPARAM wp = 0,
                  win::LPARAM lp = 0) {
    return win::SendMessageA(r.editControl, msg, wp, lp);
}

bool mayFormat(const EditorWindowRecord& r) {
    return r.formatting && r.editControl;
}

win::CHARRANGE selection(const EditorWindowRecord& r) {
    win::CHARRANGE sel;
    send(r, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
    return sel;
}

bool wordCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The word around the caret, as a control range; empty when the caret
// touches no word.
win::CHARRANGE wordAt(const EditorWindowRecord& r, win::LONG caret) {
    const auto line = send(r, win::EM_EXLINEFROMCHAR, 0, caret);
    const auto start = static_cast<win::LONG>(
        send(r, win::EM_LINEINDEX, static_cast<win::WPARAM>(line)));
    const auto length = static_cast<win::LONG>(
        send(r, win::EM_LINELENGTH, static_cast<win::WPARAM>(start)));
    const std::string text = editorControlRange(r, start, start + length);
    std::size_t a = static_cast<std::size_t>(std::max<win::LONG>(0, caret - start));
    a = std::min(a, text.size());
    std::size_t b = a;
    while (a > 0 && wordCharacter(text[a - 1]))
        --a;
    while (b < text.size() && wordCharacter(text[b]))
        ++b;
    return {start + static_cast<win::LONG>(a), start + static_cast<win::LONG>(b)};
}

// Applies a character format to the selection, or to the word at the caret
// when nothing is selected.
void applyToSelectionOrWord(const EditorWindowRecord& r, const win::CHARFORMATA& cf) {
    const win::CHARRANGE sel = selection(r);
    if (sel.cpMax > sel.cpMin) {
        send(r, win::EM_SETCHARFORMAT, win::SCF_SELECTION, reinterpret_cast<win::LPARAM>(&cf));
        return;
    }
    const win::CHARRANGE word = wordAt(r, sel.cpMin);
    if (word.cpMax > word.cpMin) {
        send(r, win::EM_HIDESELECTION, win::TRUE, 0);
        send(r, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&word));
        send(r, win::EM_SETCHARFORMAT, win::SCF_SELECTION, reinterpret_cast<win::LPARAM>(&cf));
        send(r, win::EM_EXSETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        send(r, win::EM_HIDESELECTION, win::FALSE, 0);
    } else {
        send(r, win::EM_SETCHARFORMAT, win::SCF_SELECTION, reinterpret_cast<win::LPARAM>(&cf));
    }
}

// A format change moves no text, so the position conversion stays valid.
template <typename Change>
void keepingCache(EditorWindowRecord& r, Change change) {
    const int control = r.cacheControl, program = r.cacheProgram;
    change();
    r.cacheControl = control;
    r.cacheProgram = program;
    editorSyncFormatButtons(r);
}

void styleOf(int command, win::DWORD& mask, win::DWORD& effect) {
    switch (command) {
        case kCmdBold:
            mask = win::CFM_BOLD, effect = win::CFE_BOLD;
            return;
        case kCmdItalic:
            mask = win::CFM_ITALIC, effect = win::CFE_ITALIC;
            return;
        default:
            mask = win::CFM_UNDERLINE, effect = win::CFE_UNDERLINE;
            return;
    }
}

int screenPixelsPerInchY() {
    win::HDC dc = win::GetDC(nullptr);
    const int dpi = dc ? win::GetDeviceCaps(dc, win::LOGPIXELSY) : 96;
    if (dc) win::ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

win::HFONT namedFont(int points, const char* face, win::BYTE family, win::BYTE charset,
                     win::BYTE pitch, win::BYTE precision) {
    const int height = -(points * screenPixelsPerInchY() / 72);
    return win::CreateFontA(height, 0, 0, 0, win::FW_NORMAL, 0, 0, 0, charset, precision, 0, 0,
                            static_cast<win::BYTE>(pitch | family), face);
}

bool stockFont(win::HFONT font) {
    return font == win::GetStockObject(win::SYSTEM_FIXED_FONT) ||
           font == win::GetStockObject(win::SYSTEM_FONT);
}

}  // namespace

void EditorToggleCharStyle(EditorWindowRecord& r, int command) {
    if (!mayFormat(r)) return;
    keepingCache(r, [&] {
        win::CHARFORMATA now;
        send(r, win::EM_GETCHARFORMAT, win::SCF_SELECTION, reinterpret_cast<win::LPARAM>(&now));
        win::DWORD mask = 0, effect = 0;
        styleOf(command, mask, effect);
        const bool shared = (now.dwMask & mask) != 0;
        win::CHARFORMATA cf;
        cf.dwMask = mask;
        cf.dwEffects = shared && (now.dwEffects & effect) ? 0 : effect;
        applyToSelectionOrWord(r, cf);
    });
}

void EditorSetAlignment(EditorWindowRecord& r, int command) {
    if (!mayFormat(r)) return;
    keepingCache(r, [&] {
        win::PARAFORMAT pf;
        pf.dwMask = win::PFM_ALIGNMENT;
        pf.wAlignment = command == kCmdAlignCentre  ? win::PFA_CENTER
                        : command == kCmdAlignRight ? win::PFA_RIGHT
                                                    : win::PFA_LEFT;
        send(r, win::EM_SETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&pf));
    });
}

void EditorToggleBullet(EditorWindowRecord& r) {
    if (!mayFormat(r)) return;
    keepingCache(r, [&] {
        win::PARAFORMAT now;
        send(r, win::EM_GETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&now));
        const bool all = (now.dwMask & win::PFM_NUMBERING) && now.wNumbering == win::PFN_BULLET;
        win::PARAFORMAT pf;
        pf.dwMask = win::PFM_NUMBERING;
        pf.wNumbering = all ? 0 : win::PFN_BULLET;
        send(r, win::EM_SETPARAFORMAT, 0, reinterpret_cast<win::LPARAM>(&pf));
    });
}

win::UINT_PTR EditorFontDialogHook(win::HWND dialog, win::UINT msg, win::WPARAM, win::LPARAM lp) {
    if (msg != win::WM_INITDIALOG) return 0;
    // Underlining is reserved: the user may only take it away.
    const auto* cf = reinterpret_cast<const win::CHOOSEFONTA*>(lp);
    const bool underlined = cf && cf->lpLogFont && cf->lpLogFont->lfUnderline;
    if (win::HWND box = win::GetDlgItem(dialog, win::kUnderlineCheck))
        win::EnableWindow(box, underlined ? win::TRUE : win::FALSE);
    return 1;
}

void EditorChooseFont(win::HWND frame, EditorWindowRecord& r) {
    if (!mayFormat(r)) return;
    win::CHARFORMATA now;
    send(r, win::EM_GETCHARFORMAT, win::SCF_SELECTION, reinterpret_cast<win::LPARAM>(&now));
    win::LOGFONTA lf;
    std::strncpy(lf.lfFaceName, now.szFaceName, sizeof lf.lfFaceName - 1);
    lf.lfHeight = -(now.yHeight / 20 * screenPixelsPerInchY() / 72);
    lf.lfWeight = !(now.dwMask & win::CFM_BOLD) ? 0 : (now.dwEffects & win::CFE_BOLD) ? 700 : 400;
    lf.lfItalic = (now.dwEffects & win::CFE_ITALIC) ? 1 : 0;
    lf.lfUnderline = (now.dwEffects & win::CFE_UNDERLINE) ? 1 : 0;
    lf.lfStrikeOut = (now.dwEffects & win::CFE_STRIKEOUT) ? 1 : 0;
    lf.lfCharSet = now.bCharSet;
    lf.lfPitchAndFamily = now.bPitchAndFamily;
    win::CHOOSEFONTA c;
    c.hwndOwner = frame;
    c.lpLogFont = &lf;
    c.Flags = win::CF_SCREENFONTS | win::CF_TTONLY | win::CF_EFFECTS | win::CF_FORCEFONTEXIST |
              win::CF_INITTOLOGFONTSTRUCT;
    const bool automatic = !(now.dwMask & win::CFM_COLOR) || (now.dwEffects & win::CFE_AUTOCOLOR);
    c.rgbColors = automatic ? win::GetSysColor(win::COLOR_WINDOWTEXT) : now.crTextColor;
    if (!(now.dwMask & (win::CFM_BOLD | win::CFM_ITALIC))) c.Flags |= win::CF_NOSTYLESEL;
    if (!(now.dwMask & win::CFM_FACE)) c.Flags |= win::CF_NOFACESEL;
    if (!(now.dwMask & win::CFM_SIZE)) c.Flags |= win::CF_NOSIZESEL;
    if (r.underlineReserved) {
        c.Flags |= win::CF_ENABLEHOOK;
        c.lpfnHook = EditorFontDialogHook;
    }
    if (!win::ChooseFontA(&c)) return;
    keepingCache(r, [&] {
        win::CHARFORMATA cf;
        cf.dwMask = win::CFM_FACE | win::CFM_SIZE | win::CFM_BOLD | win::CFM_ITALIC |
                    win::CFM_UNDERLINE | win::CFM_STRIKEOUT | win::CFM_COLOR;
        std::strncpy(cf.szFaceName, lf.lfFaceName, sizeof cf.szFaceName - 1);
        cf.yHeight = c.iPointSize * 2;  // tenths of a point to twips
        cf.dwEffects = (lf.lfWeight == 700 ? win::CFE_BOLD : 0) |
                       (lf.lfItalic ? win::CFE_ITALIC : 0) |
                       (lf.lfUnderline ? win::CFE_UNDERLINE : 0) |
                       (lf.lfStrikeOut ? win::CFE_STRIKEOUT : 0);
        cf.crTextColor = c.rgbColors;
        applyToSelectionOrWord(r, cf);
    });
}

void EditorPaste(EditorWindowRecord& r) {
    if (!r.editControl || r.readOnly) return;
    if (r.richText) {
        send(r, win::WM_PASTE);
        return;
    }
    if (!win::OpenClipboard(r.editControl)) return;
    std::string text;
    if (win::HANDLE data = win::GetClipboardData(win::CF_TEXT)) {
        if (const auto* p = static_cast<const char*>(win::GlobalLock(data))) text = p;
        win::GlobalUnlock(data);
    }
    win::CloseClipboard();
    if (!text.empty())
        send(r, win::EM_REPLACESEL, win::TRUE, reinterpret_cast<win::LPARAM>(text.c_str()));
}

void EditorCreateFont(EditorWindowRecord& r, int number, int size) {
    const int points = size > 0 ? size : 12;
    win::HFONT font = nullptr;
    switch (number) {
        case 1:
            font = static_cast<win::HFONT>(win::GetStockObject(win::SYSTEM_FIXED_FONT));
            break;
        case 2:
            font = namedFont(points, "Times New Roman", win::FF_ROMAN, win::DEFAULT_CHARSET,
                             win::VARIABLE_PITCH, win::OUT_TT_PRECIS);
            break;
        case 3:
            font = namedFont(points, "Arial", win::FF_SWISS, win::DEFAULT_CHARSET,
                             win::VARIABLE_PITCH, win::OUT_TT_PRECIS);
            break;
        case 4:
            font = namedFont(points, "Courier New", win::FF_MODERN, win::DEFAULT_CHARSET,
                             win::VARIABLE_PITCH, win::OUT_TT_PRECIS);
            break;
        case 7:
        case 8:
        case 9:
        case 10: {
            static constexpr int lucida[] = {10, 11, 13, 14};
            font = namedFont(lucida[number - 7], "Lucida Console", win::FF_MODERN,
                             win::OEM_CHARSET, win::FIXED_PITCH, 0);
            break;
        }
        default:
            font = static_cast<win::HFONT>(win::GetStockObject(win::SYSTEM_FONT));
            break;
    }
    r.font = font;
    r.fontNumber = number;
    r.fontSize = size;
    win::HDC dc = win::GetDC(nullptr);
    win::HGDIOBJ old = win::SelectObject(dc, font);
    win::TEXTMETRICA tm;
    win::GetTextMetricsA(dc, &tm);
    win::SelectObject(dc, old);
    win::ReleaseDC(nullptr, dc);
    r.lineHeight = tm.tmHeight;
    r.characterHeight = tm.tmHeight - tm.tmInternalLeading;
}

void EditorSetFont(int& status, int number, int size) {
    const WindowSystem& w = windowSystem();
    EditorWindowRecord* r = editorRecordOf(w.slots[static_cast<std::size_t>(w.CurrentSlot)].frame);
    if (!r) {
        status = 1;
        return;
    }
    const win::HFONT previous = r->font;
    const bool wasModified = editorIsModified(*r);
    EditorCreateFont(*r, number == -1 ? r->fontNumber : number, size == -1 ? r->fontSize : size);
    if (r->editControl) send(*r, win::WM_SETFONT, reinterpret_cast<win::WPARAM>(r->font), 1);
    if (!r->richText && !wasModified) {
        editorSetModified(*r, false);
        if (r->modifiedMark) EditorUpdateTitle(w.slots[static_cast<std::size_t>(r->window)].frame);
    }
    if (previous && previous != r->font && !stockFont(previous)) win::DeleteObject(previous);
    status = 0;
}

}  // namespace tk
