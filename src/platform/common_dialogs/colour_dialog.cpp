// The colour dialog: basic and custom colour swatches, the red, green and
// blue values of the chosen colour, and its sample. A caller's hook hears
// every message first; a caller's template replaces ours.

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/common_dialogs/dialog_hooks.h"
#include "platform/common_dialogs/dialog_items.h"
#include "platform/controls/control_support.h"

namespace win {
namespace {

constexpr const char* kGridClass = "PelkColourGrid";
constexpr int kSampleId = kColourSample;

// Six rows of eight: light, pure, dark and deep shades of the hues, then greys.
const std::array<COLORREF, 48>& basicColours() {
    static const std::array<COLORREF, 48> c = {
        RGB(255, 128, 128), RGB(255, 255, 128), RGB(128, 255, 128), RGB(0, 255, 128),
        RGB(128, 255, 255), RGB(0, 128, 255),   RGB(255, 128, 192), RGB(255, 128, 255),
        RGB(255, 0, 0),     RGB(255, 255, 0),   RGB(128, 255, 0),   RGB(0, 255, 64),
        RGB(0, 255, 255),   RGB(0, 128, 192),   RGB(128, 128, 192), RGB(255, 0, 255),
        RGB(128, 64, 64),   RGB(255, 128, 64),  RGB(0, 255, 0),     RGB(0, 128, 128),
        RGB(0, 64, 128),    RGB(128, 128, 255), RGB(128, 0, 64),    RGB(255, 0, 128),
        RGB(128, 0, 0),     RGB(255, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 64),
        RGB(0, 0, 255),     RGB(0, 0, 160),     RGB(128, 0, 128),   RGB(128, 0, 255),
        RGB(64, 0, 0),      RGB(128, 64, 0),    RGB(0, 64, 0),      RGB(0, 64, 64),
        RGB(0, 0, 128),     RGB(0, 0, 64),      RGB(64, 0, 64),     RGB(64, 0, 128),
        RGB(0, 0, 0),       RGB(128, 128, 0),   RGB(128, 128, 64),  RGB(128, 128, 128),
        RGB(64, 128, 128),  RGB(192, 192, 192), RGB(64, 64, 64),    RGB(255, 255, 255)};
    return c;
}

// A grid of swatches: 8 across; a click chooses one and tells the parent.
struct Grid {
    std::vector<COLORREF> colours;
    int chosen = -1;
};
std::unordered_map<HWND, Grid>& grids() {
    static std::unordered_map<HWND, Grid> g;
    return g;
}

RECT cellRect(HWND h, const Grid& g, int i) {
    RECT rc;
    GetClientRect(h, &rc);
    const int rows = std::max(1, static_cast<int>((g.colours.size() + 7) / 8));
    const int w = rc.right / 8, ht = rc.bottom / rows;
    return {(i % 8) * w, (i / 8) * ht, (i % 8) * w + w, (i / 8) * ht + ht};
}

LRESULT gridProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_NCDESTROY:
            grids().erase(h);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            RECT rc;
            GetClientRect(h, &rc);
            controls::fillSolid(dc, rc, GetSysColor(COLOR_BTNFACE));
            const Grid& g = grids()[h];
            for (int i = 0; i < static_cast<int>(g.colours.size()); ++i) {
                const RECT c = cellRect(h, g, i);
                const RECT inner{c.left + 3, c.top + 3, c.right - 3, c.bottom - 3};
                controls::fillSolid(dc, inner, g.colours[static_cast<std::size_t>(i)]);
                controls::drawThinEdge(
                    dc, {inner.left - 1, inner.top - 1, inner.right + 1, inner.bottom + 1}, false);
                if (i == g.chosen) FrameRect(dc, &c, controls::sysBrush(COLOR_WINDOWTEXT));
            }
            EndPaint(h, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN: {
            Grid& g = grids()[h];
            SetFocus(h);
            for (int i = 0; i < static_cast<int>(g.colours.size()); ++i) {
                const RECT c = cellRect(h, g, i);
                if (GET_X_LPARAM(lp) >= c.left && GET_X_LPARAM(lp) < c.right &&
                    GET_Y_LPARAM(lp) >= c.top && GET_Y_LPARAM(lp) < c.bottom) {
                    g.chosen = i;
                    InvalidateRect(h, nullptr, TRUE);
                    controls::notifyCommand(h, BN_CLICKED);
                }
            }
            return 0;
        }
        default:
            return DefWindowProcA(h, msg, wp, lp);
    }
}

struct ColourDialog {
    CHOOSECOLORA* cc = nullptr;
    COLORREF current = 0;
    HBRUSH sample = nullptr;
    bool updating = false;
    int nextCustom = 0;
};

void showColour(HWND h, ColourDialog& d) {
    d.updating = true;
    SetDlgItemInt(h, kRedEdit, GetRValue(d.current), FALSE);
    SetDlgItemInt(h, kGreenEdit, GetGValue(d.current), FALSE);
    SetDlgItemInt(h, kBlueEdit, GetBValue(d.current), FALSE);
    d.updating = false;
    InvalidateRect(GetDlgItem(h, kSampleId), nullptr, TRUE);
}

BYTE channel(HWND h, int id) {
    return static_cast<BYTE>(std::min<UINT>(255, GetDlgItemInt(h, id, nullptr, FALSE)));
}

// A swatch grid of the dialog; null when a caller's template has none there.
Grid* gridOf(HWND dialog, int id) {
    HWND g = GetDlgItem(dialog, id);
    if (!g) return nullptr;
    char cls[32] = {};
    GetClassNameA(g, cls, sizeof cls);
    return std::string(cls) == kGridClass ? &grids()[g] : nullptr;
}

INT_PTR colourProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* d = commdlg::stateOf<ColourDialog>(h);
    switch (msg) {
        case WM_INITDIALOG: {
            d = reinterpret_cast<ColourDialog*>(lp);
            if (Grid* basic = gridOf(h, kColourGrid))
                basic->colours.assign(basicColours().begin(), basicColours().end());
            if (Grid* custom = gridOf(h, kCustomGrid)) {
                custom->colours.assign(16, RGB(255, 255, 255));
                if (d->cc->lpCustColors)
                    custom->colours.assign(d->cc->lpCustColors, d->cc->lpCustColors + 16);
            }
            for (int id : {kRedEdit, kGreenEdit, kBlueEdit})
                SendDlgItemMessageA(h, id, EM_LIMITTEXT, 3, 0);
            showColour(h, *d);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            if (d && reinterpret_cast<HWND>(lp) == GetDlgItem(h, kSampleId)) {
                if (d->sample) DeleteObject(d->sample);
                d->sample = CreateSolidBrush(d->current);
                return reinterpret_cast<INT_PTR>(d->sample);
            }
            return FALSE;
        case WM_COMMAND: {
            if (!d) return FALSE;
            const int id = LOWORD(wp);
            if ((id == kColourGrid || id == kCustomGrid) && gridOf(h, id)) {
                const Grid& g = *gridOf(h, id);
                if (g.chosen >= 0) d->current = g.colours[static_cast<std::size_t>(g.chosen)];
                showColour(h, *d);
            } else if ((id == kRedEdit || id == kGreenEdit || id == kBlueEdit) &&
                       HIWORD(wp) == EN_CHANGE && !d->updating) {
                d->current =
                    RGB(channel(h, kRedEdit), channel(h, kGreenEdit), channel(h, kBlueEdit));
                InvalidateRect(GetDlgItem(h, kSampleId), nullptr, TRUE);
            } else if (id == kAddCustomButton && gridOf(h, kCustomGrid)) {
                Grid& custom = *gridOf(h, kCustomGrid);
                const int slot = custom.chosen >= 0 ? custom.chosen : d->nextCustom;
                custom.colours[static_cast<std::size_t>(slot)] = d->current;
                d->nextCustom = (slot + 1) % 16;
                custom.chosen = -1;
                InvalidateRect(GetDlgItem(h, kCustomGrid), nullptr, TRUE);
            } else if (id == IDOK) {
                d->cc->rgbResult = d->current;
                const Grid* custom = gridOf(h, kCustomGrid);
                if (d->cc->lpCustColors && custom && custom->colours.size() == 16)
                    std::copy(custom->colours.begin(), custom->colours.end(), d->cc->lpCustColors);
                EndDialog(h, IDOK);
            } else if (id == pshHelp) {
                commdlg::sendHelp(h, d->cc->hwndOwner, d->cc);
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

void registerGrid() {
    WNDCLASSA wc;
    if (GetClassInfoA(nullptr, kGridClass, &wc)) return;
    wc = WNDCLASSA{};
    wc.lpszClassName = kGridClass;
    wc.lpfnWndProc = gridProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

std::vector<BYTE> ourTemplate(const CHOOSECOLORA& cc) {
    using commdlg::item;
    dialogs::DialogTemplate t = commdlg::frame("Color", 222, 170);
    t.items = {
        item("Static", "&Basic colors:", -1, SS_LEFT, 4, 4, 140, 9),
        item(kGridClass, "", kColourGrid, WS_TABSTOP | WS_GROUP, 4, 14, 140, 86),
        item("Static", "&Custom colors:", -1, SS_LEFT, 4, 104, 140, 9),
        item(kGridClass, "", kCustomGrid, WS_TABSTOP | WS_GROUP, 4, 114, 140, 28),
        item("Static", "", kSampleId, SS_LEFT | WS_BORDER, 152, 14, 64, 36),
        item("Static", "&Red:", -1, SS_LEFT, 152, 58, 24, 9),
        item("Edit", "", kRedEdit, WS_BORDER | WS_TABSTOP | WS_GROUP | ES_NUMBER, 180, 56, 36, 12),
        item("Static", "&Green:", -1, SS_LEFT, 152, 74, 24, 9),
        item("Edit", "", kGreenEdit, WS_BORDER | WS_TABSTOP | WS_GROUP | ES_NUMBER, 180, 72, 36,
             12),
        item("Static", "Bl&ue:", -1, SS_LEFT, 152, 90, 24, 9),
        item("Edit", "", kBlueEdit, WS_BORDER | WS_TABSTOP | WS_GROUP | ES_NUMBER, 180, 88, 36, 12),
        item("Button", "&Add to Custom Colors", kAddCustomButton,
             BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 152, 108, 64, 14),
        item("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 4, 150, 44, 14),
        item("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 52, 150, 44, 14),
    };
    if (cc.Flags & CC_SHOWHELP)
        t.items.push_back(
            item("Button", "&Help", pshHelp, BS_PUSHBUTTON | WS_TABSTOP, 100, 150, 44, 14));
    return dialogs::buildTemplate(t);
}

}  // namespace

BOOL ChooseColorA(CHOOSECOLORA* cc) {
    commdlg::setError(0);
    if (!cc || cc->lStructSize != sizeof(CHOOSECOLORA)) {
        commdlg::setError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    const bool hooked = (cc->Flags & CC_ENABLEHOOK) != 0;
    if (!commdlg::beginCall(hooked, reinterpret_cast<const void*>(cc->lpfnHook))) return FALSE;
    registerGrid();
    // The structure's instance field is typed as a window, as on Windows; it
    // holds the module (or the template's bytes) when a template is asked for.
    const void* instanceField = cc->hInstance;
    const bool byHandle = (cc->Flags & CC_ENABLETEMPLATEHANDLE) != 0;
    HINSTANCE instance =
        byHandle ? nullptr : reinterpret_cast<HINSTANCE>(const_cast<void*>(instanceField));
    const auto ours = ourTemplate(*cc);
    const void* bytes = commdlg::chooseTemplate((cc->Flags & CC_ENABLETEMPLATE) != 0, byHandle,
                                                instance, cc->lpTemplateName, instanceField, ours);
    if (!bytes) return FALSE;
    ColourDialog d;
    d.cc = cc;
    d.current = (cc->Flags & CC_RGBINIT) ? cc->rgbResult : RGB(0, 0, 0);
    commdlg::Host host{colourProc, &d, hooked ? cc->lpfnHook : nullptr,
                       reinterpret_cast<LPARAM>(cc)};
    const INT_PTR r = DialogBoxIndirectParamA(instance, bytes, cc->hwndOwner, commdlg::hostProc,
                                              reinterpret_cast<LPARAM>(&host));
    if (d.sample) DeleteObject(d.sample);
    if (r == -1) commdlg::setError(CDERR_DIALOGFAILURE);
    return r == IDOK ? TRUE : FALSE;
}

}  // namespace win
