// The font dialog: the faces the layer can draw, their styles and sizes,
// underline and strike-out, and a sample of the choice.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/common_dialogs/dialog_items.h"
#include "platform/gdi/gdi.h"

namespace win {
namespace {

const char* const kFaces[] = {"Arial",  "Courier New",     "MS Sans Serif",
                              "Symbol", "Times New Roman", "Wingdings"};
const char* const kStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
const int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

struct FontDialog {
    CHOOSEFONTA* cf = nullptr;
    HFONT sample = nullptr;
};

int pixelsPerInch() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

LOGFONTA chosenFont(HWND h) {
    LOGFONTA lf{};
    char face[LF_FACESIZE] = {};
    GetDlgItemTextA(h, kFontFaceList, face, sizeof face);
    std::memcpy(lf.lfFaceName, face, sizeof face);
    const auto style = SendDlgItemMessageA(h, kFontStyleList, CB_GETCURSEL, 0, 0);
    lf.lfWeight = (style == 2 || style == 3) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style == 1 || style == 3) ? 1 : 0;
    char size[16];
    GetDlgItemTextA(h, kFontSizeList, size, sizeof size);
    const int points = std::max(1, std::atoi(size));
    lf.lfHeight = -(points * pixelsPerInch() + 36) / 72;
    lf.lfUnderline = IsDlgButtonChecked(h, kUnderlineCheck) ? 1 : 0;
    lf.lfStrikeOut = IsDlgButtonChecked(h, kStrikeoutCheck) ? 1 : 0;
    lf.lfCharSet = std::strcmp(face, "Symbol") == 0 ? SYMBOL_CHARSET : ANSI_CHARSET;
    return lf;
}

void updateSample(HWND h, FontDialog& d) {
    const LOGFONTA lf = chosenFont(h);
    HFONT f = CreateFontIndirectA(&lf);
    SendDlgItemMessageA(h, kFontSample, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    if (d.sample) DeleteObject(d.sample);
    d.sample = f;
}

int pointsOf(const CHOOSEFONTA& cf) {
    if (!(cf.Flags & CF_INITTOLOGFONTSTRUCT) || !cf.lpLogFont) return 10;
    const int height = std::abs(cf.lpLogFont->lfHeight);
    return height ? std::max(1, (height * 72 + pixelsPerInch() / 2) / pixelsPerInch()) : 10;
}

INT_PTR fontProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* d = reinterpret_cast<FontDialog*>(GetWindowLongPtrA(h, DWLP_USER));
    switch (msg) {
        case WM_INITDIALOG: {
            SetWindowLongPtrA(h, DWLP_USER, lp);
            d = reinterpret_cast<FontDialog*>(lp);
            const CHOOSEFONTA& cf = *d->cf;
            for (const char* f : kFaces)
                SendDlgItemMessageA(h, kFontFaceList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f));
            for (const char* s : kStyles)
                SendDlgItemMessageA(h, kFontStyleList, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(s));
            for (int s : kSizes) {
                if ((cf.Flags & CF_LIMITSIZE) && (s < cf.nSizeMin || s > cf.nSizeMax)) continue;
                char buf[8];
                std::snprintf(buf, sizeof buf, "%d", s);
                SendDlgItemMessageA(h, kFontSizeList, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(buf));
            }
            const LOGFONTA* lf = (cf.Flags & CF_INITTOLOGFONTSTRUCT) ? cf.lpLogFont : nullptr;
            const char* face = lf && lf->lfFaceName[0] ? lf->lfFaceName : "Arial";
            if (SendDlgItemMessageA(h, kFontFaceList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(face)) < 0)
                SendDlgItemMessageA(h, kFontFaceList, CB_SETCURSEL, 0, 0);
            const int style = lf ? (lf->lfWeight >= FW_BOLD ? 2 : 0) + (lf->lfItalic ? 1 : 0) : 0;
            SendDlgItemMessageA(h, kFontStyleList, CB_SETCURSEL, static_cast<WPARAM>(style), 0);
            char size[8];
            std::snprintf(size, sizeof size, "%d", pointsOf(cf));
            SetDlgItemTextA(h, kFontSizeList, size);
            if (cf.Flags & CF_EFFECTS) {
                CheckDlgButton(h, kUnderlineCheck,
                               lf && lf->lfUnderline ? BST_CHECKED : BST_UNCHECKED);
                CheckDlgButton(h, kStrikeoutCheck,
                               lf && lf->lfStrikeOut ? BST_CHECKED : BST_UNCHECKED);
            }
            updateSample(h, *d);
            return TRUE;
        }
        case WM_COMMAND: {
            if (!d) return FALSE;
            const int id = LOWORD(wp);
            const WORD code = HIWORD(wp);
            if ((id == kFontFaceList || id == kFontStyleList || id == kFontSizeList) &&
                (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
                if (id == kFontSizeList && code == CBN_SELCHANGE) {
                    char buf[8];
                    const auto i = SendDlgItemMessageA(h, id, CB_GETCURSEL, 0, 0);
                    SendDlgItemMessageA(h, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                        reinterpret_cast<LPARAM>(buf));
                    SetDlgItemTextA(h, id, buf);
                }
                updateSample(h, *d);
            } else if (id == kUnderlineCheck || id == kStrikeoutCheck) {
                updateSample(h, *d);
            } else if (id == IDOK) {
                char size[16];
                GetDlgItemTextA(h, kFontSizeList, size, sizeof size);
                const int points = std::atoi(size);
                CHOOSEFONTA& cf = *d->cf;
                if (points <= 0 ||
                    ((cf.Flags & CF_LIMITSIZE) && (points < cf.nSizeMin || points > cf.nSizeMax))) {
                    MessageBoxA(h, "Size must be a number in the range offered.", "Font",
                                MB_OK | MB_ICONEXCLAMATION);
                    return TRUE;
                }
                const LOGFONTA lf = chosenFont(h);
                if (cf.lpLogFont) *cf.lpLogFont = lf;
                cf.iPointSize = points * 10;
                cf.nFontType = static_cast<WORD>(
                    SCREEN_FONTTYPE | (lf.lfWeight >= FW_BOLD ? BOLD_FONTTYPE : REGULAR_FONTTYPE) |
                    (lf.lfItalic ? ITALIC_FONTTYPE : 0));
                EndDialog(h, IDOK);
            } else if (id == IDCANCEL) {
                EndDialog(h, IDCANCEL);
            } else {
                return FALSE;
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

BOOL ChooseFontA(CHOOSEFONTA* cf) {
    if (!cf || cf->lStructSize != sizeof(CHOOSEFONTA)) return FALSE;
    FontDialog d;
    d.cf = cf;
    using commdlg::item;
    dialogs::DialogTemplate t = commdlg::frame("Font", 260, 150);
    t.items = {
        item("Static", "&Font:", -1, SS_LEFT, 6, 4, 90, 9),
        item("ComboBox", "", kFontFaceList, CBS_SIMPLE | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 6, 14,
             94, 76),
        item("Static", "Font st&yle:", -1, SS_LEFT, 106, 4, 60, 9),
        item("ComboBox", "", kFontStyleList, CBS_SIMPLE | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 106,
             14, 64, 76),
        item("Static", "&Size:", -1, SS_LEFT, 176, 4, 30, 9),
        item("ComboBox", "", kFontSizeList, CBS_SIMPLE | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 176,
             14, 32, 76),
        item("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 214, 14, 40, 14),
        item("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 214, 32, 40, 14),
        item("Static", "AaBbYyZz", kFontSample, SS_CENTER | SS_SUNKEN | SS_NOPREFIX, 106, 96, 148,
             48),
    };
    if (cf->Flags & CF_EFFECTS) {
        t.items.push_back(item("Button", "Effects", -1, BS_GROUPBOX, 6, 94, 94, 50));
        t.items.push_back(item("Button", "Stri&keout", kStrikeoutCheck,
                               BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 12, 106, 80, 12));
        t.items.push_back(item("Button", "&Underline", kUnderlineCheck,
                               BS_AUTOCHECKBOX | WS_TABSTOP, 12, 122, 80, 12));
    }
    const auto bytes = dialogs::buildTemplate(t);
    const INT_PTR r = DialogBoxIndirectParamA(nullptr, bytes.data(), cf->hwndOwner, fontProc,
                                              reinterpret_cast<LPARAM>(&d));
    if (d.sample) DeleteObject(d.sample);
    return r == IDOK ? TRUE : FALSE;
}

}  // namespace win
