// The font dialog: the faces the layer can draw, their styles and sizes,
// underline, strike-out and colour, and a sample of the choice. A caller's
// hook hears every message first (WM_INITDIALOG after the controls are
// filled, with the CHOOSEFONTA); a caller's template replaces ours.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/common_dialogs/dialog_hooks.h"
#include "platform/common_dialogs/dialog_items.h"
#include "platform/controls/control_support.h"
#include "platform/gdi/gdi.h"

namespace win {
namespace {

struct Face {
    const char* name;
    bool trueType;  // outline faces scale to any size
    bool fixedPitch;
};
const Face kFaces[] = {{"Arial", true, false},           {"Courier New", true, true},
                       {"MS Sans Serif", false, false},  {"Symbol", true, false},
                       {"Times New Roman", true, false}, {"Wingdings", true, false}};

bool offered(const Face& f, DWORD flags) {
    if ((flags & (CF_TTONLY | CF_SCALABLEONLY)) && !f.trueType) return false;
    return !(flags & CF_FIXEDPITCHONLY) || f.fixedPitch;
}
const char* const kStyles[] = {"Regular", "Italic", "Bold", "Bold Italic"};
const int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
struct NamedColour {
    const char* name;
    COLORREF colour;
};
const NamedColour kColours[] = {
    {"Black", RGB(0, 0, 0)},       {"Maroon", RGB(128, 0, 0)},    {"Green", RGB(0, 128, 0)},
    {"Olive", RGB(128, 128, 0)},   {"Navy", RGB(0, 0, 128)},      {"Purple", RGB(128, 0, 128)},
    {"Teal", RGB(0, 128, 128)},    {"Gray", RGB(128, 128, 128)},  {"Silver", RGB(192, 192, 192)},
    {"Red", RGB(255, 0, 0)},       {"Lime", RGB(0, 255, 0)},      {"Yellow", RGB(255, 255, 0)},
    {"Blue", RGB(0, 0, 255)},      {"Fuchsia", RGB(255, 0, 255)}, {"Aqua", RGB(0, 255, 255)},
    {"White", RGB(255, 255, 255)},
};

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

// The points typed or chosen; 0 when the size field is empty.
int chosenPoints(HWND h) {
    char size[16] = {};
    GetDlgItemTextA(h, kFontSizeList, size, sizeof size);
    return std::atoi(size);
}

// What the controls show; a choice left empty (CF_NOFACESEL and the like)
// gives an empty face, a normal weight or a height of 0.
LOGFONTA chosenFont(HWND h) {
    LOGFONTA lf{};
    char face[LF_FACESIZE] = {};
    GetDlgItemTextA(h, kFontFaceList, face, sizeof face);
    std::memcpy(lf.lfFaceName, face, sizeof face);
    const auto style = SendDlgItemMessageA(h, kFontStyleList, CB_GETCURSEL, 0, 0);
    lf.lfWeight = (style == 2 || style == 3) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style == 1 || style == 3) ? 1 : 0;
    const int points = chosenPoints(h);
    lf.lfHeight = points > 0 ? -(points * pixelsPerInch() + 36) / 72 : 0;
    lf.lfUnderline = IsDlgButtonChecked(h, kUnderlineCheck) ? 1 : 0;
    lf.lfStrikeOut = IsDlgButtonChecked(h, kStrikeoutCheck) ? 1 : 0;
    lf.lfCharSet = std::strcmp(face, "Symbol") == 0 ? SYMBOL_CHARSET : ANSI_CHARSET;
    return lf;
}

void updateSample(HWND h, FontDialog& d) {
    LOGFONTA lf = chosenFont(h);
    if (!lf.lfFaceName[0]) std::strcpy(lf.lfFaceName, "Arial");
    if (!lf.lfHeight) lf.lfHeight = -(10 * pixelsPerInch() + 36) / 72;
    HFONT f = CreateFontIndirectA(&lf);
    SendDlgItemMessageA(h, kFontSample, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    if (d.sample) DeleteObject(d.sample);
    d.sample = f;
}

int pointsOfFont(const LOGFONTA& lf) {
    const int height = std::abs(lf.lfHeight);
    return height ? std::max(1, (height * 72 + pixelsPerInch() / 2) / pixelsPerInch()) : 10;
}

int pointsOf(const CHOOSEFONTA& cf) {
    if (!(cf.Flags & CF_INITTOLOGFONTSTRUCT) || !cf.lpLogFont) return 10;
    return pointsOfFont(*cf.lpLogFont);
}

COLORREF chosenColour(HWND h) {
    const auto i = SendDlgItemMessageA(h, kFontColourCombo, CB_GETCURSEL, 0, 0);
    if (i < 0) return 0;
    return static_cast<COLORREF>(
        SendDlgItemMessageA(h, kFontColourCombo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
}

void fillColours(HWND h, COLORREF current) {
    int selected = -1;
    for (const NamedColour& c : kColours) {
        const auto i = SendDlgItemMessageA(h, kFontColourCombo, CB_ADDSTRING, 0,
                                           reinterpret_cast<LPARAM>(c.name));
        SendDlgItemMessageA(h, kFontColourCombo, CB_SETITEMDATA, static_cast<WPARAM>(i),
                            static_cast<LPARAM>(c.colour));
        if (c.colour == current) selected = static_cast<int>(i);
    }
    if (selected < 0) {
        // A colour of the caller's that the list lacks keeps a place of its own.
        selected = static_cast<int>(SendDlgItemMessageA(h, kFontColourCombo, CB_ADDSTRING, 0,
                                                        reinterpret_cast<LPARAM>("Custom")));
        SendDlgItemMessageA(h, kFontColourCombo, CB_SETITEMDATA, static_cast<WPARAM>(selected),
                            static_cast<LPARAM>(current));
    }
    SendDlgItemMessageA(h, kFontColourCombo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

// Shows a logical font in the controls; `keepEmpty` leaves the choices the
// caller asked to show without a selection.
void showFont(HWND h, const LOGFONTA* lf, int points, DWORD keepEmpty) {
    const char* face = lf && lf->lfFaceName[0] ? lf->lfFaceName : "Arial";
    if (keepEmpty & CF_NOFACESEL)
        SetDlgItemTextA(h, kFontFaceList, "");
    else if (SendDlgItemMessageA(h, kFontFaceList, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(face)) < 0)
        SendDlgItemMessageA(h, kFontFaceList, CB_SETCURSEL, 0, 0);
    const int style = lf ? (lf->lfWeight >= FW_BOLD ? 2 : 0) + (lf->lfItalic ? 1 : 0) : 0;
    SendDlgItemMessageA(
        h, kFontStyleList, CB_SETCURSEL,
        (keepEmpty & CF_NOSTYLESEL) ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(style), 0);
    char size[8] = {};
    if (!(keepEmpty & CF_NOSIZESEL)) std::snprintf(size, sizeof size, "%d", points);
    SetDlgItemTextA(h, kFontSizeList, size);
    CheckDlgButton(h, kUnderlineCheck, lf && lf->lfUnderline ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(h, kStrikeoutCheck, lf && lf->lfStrikeOut ? BST_CHECKED : BST_UNCHECKED);
}

void accept(HWND h, FontDialog& d) {
    CHOOSEFONTA& cf = *d.cf;
    char face[LF_FACESIZE] = {};
    GetDlgItemTextA(h, kFontFaceList, face, sizeof face);
    if ((cf.Flags & CF_FORCEFONTEXIST) && face[0] &&
        SendDlgItemMessageA(h, kFontFaceList, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>(face)) < 0) {
        MessageBoxA(h, "There is no font with that name.\nChoose a font from the list of fonts.",
                    "Font", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const int points = chosenPoints(h);
    const bool noSize = points <= 0 && (cf.Flags & CF_NOSIZESEL) &&
                        GetWindowTextLengthA(GetDlgItem(h, kFontSizeList)) == 0;
    if (!noSize && (points <= 0 || ((cf.Flags & CF_LIMITSIZE) &&
                                    (points < cf.nSizeMin || points > cf.nSizeMax)))) {
        MessageBoxA(h, "Size must be a number in the range offered.", "Font",
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const LOGFONTA lf = chosenFont(h);
    if (cf.lpLogFont) *cf.lpLogFont = lf;
    cf.iPointSize = noSize ? 0 : points * 10;
    // A choice still empty keeps its flag, so the caller leaves that attribute alone.
    if (lf.lfFaceName[0]) cf.Flags &= ~CF_NOFACESEL;
    if (!noSize) cf.Flags &= ~CF_NOSIZESEL;
    if (SendDlgItemMessageA(h, kFontStyleList, CB_GETCURSEL, 0, 0) >= 0) cf.Flags &= ~CF_NOSTYLESEL;
    if (GetDlgItem(h, kFontColourCombo)) cf.rgbColors = chosenColour(h);
    cf.nFontType = static_cast<WORD>(SCREEN_FONTTYPE |
                                     (lf.lfWeight >= FW_BOLD ? BOLD_FONTTYPE : REGULAR_FONTTYPE) |
                                     (lf.lfItalic ? ITALIC_FONTTYPE : 0));
    EndDialog(h, IDOK);
}

INT_PTR fontProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* d = commdlg::stateOf<FontDialog>(h);
    switch (msg) {
        case WM_INITDIALOG: {
            d = reinterpret_cast<FontDialog*>(lp);
            const CHOOSEFONTA& cf = *d->cf;
            for (const Face& f : kFaces)
                if (offered(f, cf.Flags))
                    SendDlgItemMessageA(h, kFontFaceList, CB_ADDSTRING, 0,
                                        reinterpret_cast<LPARAM>(f.name));
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
            showFont(h, lf, pointsOf(cf), cf.Flags & (CF_NOFACESEL | CF_NOSTYLESEL | CF_NOSIZESEL));
            if (GetDlgItem(h, kFontColourCombo)) fillColours(h, cf.rgbColors);
            // Without effects a caller's template may still carry the boxes.
            if (!(cf.Flags & CF_EFFECTS))
                for (int id : {kUnderlineCheck, kStrikeoutCheck, kFontColourCombo})
                    if (HWND c = GetDlgItem(h, id)) ShowWindow(c, SW_HIDE);
            updateSample(h, *d);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) != GetDlgItem(h, kFontSample) ||
                !GetDlgItem(h, kFontColourCombo))
                return FALSE;
            SetTextColor(reinterpret_cast<HDC>(wp), chosenColour(h));
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(controls::sysBrush(COLOR_BTNFACE));
        case WM_CHOOSEFONT_GETLOGFONT:
            // Shares its number with DM_SETDEFID, which carries no pointer.
            if (!lp) return FALSE;
            *reinterpret_cast<LOGFONTA*>(lp) = chosenFont(h);
            SetWindowLongPtrA(h, DWLP_MSGRESULT, TRUE);
            return TRUE;
        case WM_CHOOSEFONT_SETLOGFONT:
            if (d && lp) {
                const auto& lf = *reinterpret_cast<const LOGFONTA*>(lp);
                showFont(h, &lf, pointsOfFont(lf), 0);
                updateSample(h, *d);
            }
            return TRUE;
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
            } else if (id == kFontColourCombo && code == CBN_SELCHANGE) {
                InvalidateRect(GetDlgItem(h, kFontSample), nullptr, TRUE);
            } else if (id == IDOK) {
                accept(h, *d);
            } else if (id == pshHelp) {
                commdlg::sendHelp(h, d->cf->hwndOwner, d->cf);
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

std::vector<BYTE> ourTemplate(const CHOOSEFONTA& cf) {
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
    if (cf.Flags & CF_EFFECTS) {
        t.cy = 176;
        t.items.push_back(item("Button", "Effects", kEffectsGroup, BS_GROUPBOX, 6, 94, 94, 76));
        t.items.push_back(item("Button", "Stri&keout", kStrikeoutCheck,
                               BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 12, 106, 80, 12));
        t.items.push_back(item("Button", "&Underline", kUnderlineCheck,
                               BS_AUTOCHECKBOX | WS_TABSTOP, 12, 120, 80, 12));
        t.items.push_back(item("Static", "&Color:", -1, SS_LEFT, 12, 136, 80, 9));
        t.items.push_back(item("ComboBox", "", kFontColourCombo,
                               CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 12, 146, 80,
                               100));
    }
    if (cf.Flags & CF_SHOWHELP)
        t.items.push_back(
            item("Button", "&Help", pshHelp, BS_PUSHBUTTON | WS_TABSTOP, 214, 50, 40, 14));
    return dialogs::buildTemplate(t);
}

}  // namespace

BOOL ChooseFontA(CHOOSEFONTA* cf) {
    commdlg::setError(0);
    if (!cf || cf->lStructSize != sizeof(CHOOSEFONTA)) {
        commdlg::setError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    const bool hooked = (cf->Flags & CF_ENABLEHOOK) != 0;
    if (!commdlg::beginCall(hooked, reinterpret_cast<const void*>(cf->lpfnHook))) return FALSE;
    const bool byHandle = (cf->Flags & CF_ENABLETEMPLATEHANDLE) != 0;
    const auto ours = ourTemplate(*cf);
    const void* bytes =
        commdlg::chooseTemplate((cf->Flags & CF_ENABLETEMPLATE) != 0, byHandle, cf->hInstance,
                                cf->lpTemplateName, cf->hInstance, ours);
    if (!bytes) return FALSE;
    FontDialog d;
    d.cf = cf;
    commdlg::Host host{fontProc, &d, hooked ? cf->lpfnHook : nullptr, reinterpret_cast<LPARAM>(cf)};
    const INT_PTR r =
        DialogBoxIndirectParamA(byHandle ? nullptr : cf->hInstance, bytes, cf->hwndOwner,
                                commdlg::hostProc, reinterpret_cast<LPARAM>(&host));
    if (d.sample) DeleteObject(d.sample);
    if (r == -1) commdlg::setError(CDERR_DIALOGFAILURE);
    return r == IDOK ? TRUE : FALSE;
}

}  // namespace win
