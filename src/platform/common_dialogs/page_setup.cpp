// Page set-up: the paper sizes of the default printer, the orientation and
// the margins; with PSD_RETURNDEFAULT the default printer's settings are
// returned without a dialog. A caller's hook hears every message first; a
// caller's template replaces ours.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/common_dialogs/dialog_hooks.h"
#include "platform/common_dialogs/dialog_items.h"
#include "platform/common_dialogs/page_sample.h"
#include "platform/controls/control_support.h"
#include "platform/gdi/printing.h"
#include "platform/window/clipboard_api.h"

namespace win {
namespace {

struct PageSetup {
    PAGESETUPDLGA* psd = nullptr;
    std::vector<PaperSize> papers;
    DEVMODEA mode;
    bool thousandthsOfInches = false;
};

// Tenths of a millimetre in the caller's units.
int toUnits(const PageSetup& p, int tenthsMm) {
    return p.thousandthsOfInches ? (tenthsMm * 1000 + 127) / 254 : tenthsMm * 10;
}

DEVMODEA defaultMode(const PrinterDescription& printer, const std::vector<PaperSize>& papers) {
    DEVMODEA m;
    std::snprintf(reinterpret_cast<char*>(m.dmDeviceName), CCHDEVICENAME, "%s",
                  printer.device.c_str());
    m.dmSize = sizeof(DEVMODEA);
    m.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES;
    m.dmOrientation = DMORIENT_PORTRAIT;
    m.dmCopies = 1;
    if (!papers.empty()) {
        m.dmPaperSize = papers[0].code;
        m.dmPaperWidth = static_cast<short>(papers[0].widthTenthsMm);
        m.dmPaperLength = static_cast<short>(papers[0].heightTenthsMm);
    }
    return m;
}

HGLOBAL globalCopy(const void* data, std::size_t size) {
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(g), data, size);
    GlobalUnlock(g);
    return g;
}

HGLOBAL makeDevNames(const PrinterDescription& printer) {
    std::vector<char> bytes(sizeof(DEVNAMES));
    DEVNAMES names;
    auto add = [&](const std::string& s) {
        const auto at = static_cast<WORD>(bytes.size());
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back('\0');
        return at;
    };
    names.wDriverOffset = add(printer.driver);
    names.wDeviceOffset = add(printer.device);
    names.wOutputOffset = add(printer.port);
    names.wDefault = 1;
    std::memcpy(bytes.data(), &names.wDriverOffset, 2);
    std::memcpy(bytes.data() + 2, &names.wDeviceOffset, 2);
    std::memcpy(bytes.data() + 4, &names.wOutputOffset, 2);
    std::memcpy(bytes.data() + 6, &names.wDefault, 2);
    return globalCopy(bytes.data(), bytes.size());
}

const PaperSize* paperOf(const PageSetup& p, short code) {
    for (const PaperSize& s : p.papers)
        if (s.code == code) return &s;
    return p.papers.empty() ? nullptr : &p.papers[0];
}

// Writes the settings back: device mode, names, paper size and margins.
void store(PageSetup& p) {
    PAGESETUPDLGA* psd = p.psd;
    if (psd->hDevMode) GlobalFree(psd->hDevMode);
    psd->hDevMode = globalCopy(&p.mode, sizeof p.mode);
    if (!psd->hDevNames) psd->hDevNames = makeDevNames(defaultPrinter());
    int w = toUnits(p, p.mode.dmPaperWidth), h = toUnits(p, p.mode.dmPaperLength);
    if (p.mode.dmOrientation == DMORIENT_LANDSCAPE) std::swap(w, h);
    psd->ptPaperSize = {w, h};
    psd->Flags =
        (psd->Flags & ~(PSD_INTHOUSANDTHSOFINCHES | PSD_INHUNDREDTHSOFMILLIMETERS)) |
        (p.thousandthsOfInches ? PSD_INTHOUSANDTHSOFINCHES : PSD_INHUNDREDTHSOFMILLIMETERS);
}

std::string marginText(const PageSetup& p, int value) {
    char buf[32];
    if (p.thousandthsOfInches)
        std::snprintf(buf, sizeof buf, "%.2f", value / 1000.0);
    else
        std::snprintf(buf, sizeof buf, "%.1f", value / 100.0);
    return buf;
}

bool readMargin(HWND h, const PageSetup& p, int id, LONG& out) {
    char buf[32];
    GetDlgItemTextA(h, id, buf, sizeof buf);
    char* end = nullptr;
    const double v = std::strtod(buf, &end);
    // No margin is wider than ten thousand inches or millimetres, so the
    // converted value always fits; the paper's own size is checked on OK.
    if (end == buf || !std::isfinite(v) || v < 0 || v > 10000.0) return false;
    out = static_cast<LONG>(v * (p.thousandthsOfInches ? 1000.0 : 100.0) + 0.5);
    return true;
}

constexpr const char* kSampleClass = "PelkPageSample";

// The paper, orientation and margins the controls show now.
commdlg::SamplePage shownPage(HWND h, const PageSetup& p) {
    commdlg::SamplePage page;
    const auto i = SendDlgItemMessageA(h, kPaperCombo, CB_GETCURSEL, 0, 0);
    const PaperSize* paper = i >= 0 && static_cast<std::size_t>(i) < p.papers.size()
                                 ? &p.papers[static_cast<std::size_t>(i)]
                                 : paperOf(p, p.mode.dmPaperSize);
    if (paper) {
        page.paper = paper->code;
        page.width = toUnits(p, paper->widthTenthsMm);
        page.height = toUnits(p, paper->heightTenthsMm);
    }
    page.landscape = GetDlgItem(h, kLandscapeRadio)
                         ? IsDlgButtonChecked(h, kLandscapeRadio) == BST_CHECKED
                         : p.mode.dmOrientation == DMORIENT_LANDSCAPE;
    if (page.landscape) std::swap(page.width, page.height);
    page.margins = p.psd->rtMargin;
    readMargin(h, p, kMarginLeft, page.margins.left);
    readMargin(h, p, kMarginTop, page.margins.top);
    readMargin(h, p, kMarginRight, page.margins.right);
    readMargin(h, p, kMarginBottom, page.margins.bottom);
    page.minMargins = p.psd->rtMinMargin;
    return page;
}

LRESULT sampleProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) return 1;
    if (msg != WM_PAINT) return DefWindowProcA(h, msg, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT area;
    GetClientRect(h, &area);
    HWND dialog = GetParent(h);
    if (const auto* p = commdlg::stateOf<PageSetup>(dialog))
        commdlg::drawPageSample(dc, area, shownPage(dialog, *p), dialog, p->psd);
    else
        controls::fillSolid(dc, area, GetSysColor(COLOR_BTNFACE));
    EndPaint(h, &ps);
    return 0;
}

void registerSample() {
    WNDCLASSA wc;
    if (GetClassInfoA(nullptr, kSampleClass, &wc)) return;
    wc = WNDCLASSA{};
    wc.lpszClassName = kSampleClass;
    wc.lpfnWndProc = sampleProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
}

bool changesTheSample(WPARAM wp) {
    const int id = LOWORD(wp);
    const WORD code = HIWORD(wp);
    return (id == kPaperCombo && code == CBN_SELCHANGE) ||
           ((id == kPortraitRadio || id == kLandscapeRadio) && code == BN_CLICKED) ||
           ((id == kMarginLeft || id == kMarginTop || id == kMarginRight || id == kMarginBottom) &&
            code == EN_CHANGE);
}

INT_PTR setupProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* p = commdlg::stateOf<PageSetup>(h);
    switch (msg) {
        case WM_INITDIALOG: {
            p = reinterpret_cast<PageSetup*>(lp);
            int selected = 0;
            for (std::size_t i = 0; i < p->papers.size(); ++i) {
                SendDlgItemMessageA(h, kPaperCombo, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(p->papers[i].name));
                if (p->papers[i].code == p->mode.dmPaperSize) selected = static_cast<int>(i);
            }
            SendDlgItemMessageA(h, kPaperCombo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
            CheckRadioButton(
                h, kPortraitRadio, kLandscapeRadio,
                p->mode.dmOrientation == DMORIENT_LANDSCAPE ? kLandscapeRadio : kPortraitRadio);
            const RECT& m = p->psd->rtMargin;
            SetDlgItemTextA(h, kMarginLeft, marginText(*p, m.left).c_str());
            SetDlgItemTextA(h, kMarginTop, marginText(*p, m.top).c_str());
            SetDlgItemTextA(h, kMarginRight, marginText(*p, m.right).c_str());
            SetDlgItemTextA(h, kMarginBottom, marginText(*p, m.bottom).c_str());
            const DWORD f = p->psd->Flags;
            if (f & PSD_DISABLEPAPER) EnableWindow(GetDlgItem(h, kPaperCombo), FALSE);
            if (f & PSD_DISABLEORIENTATION)
                for (int id : {kPortraitRadio, kLandscapeRadio})
                    EnableWindow(GetDlgItem(h, id), FALSE);
            if (f & PSD_DISABLEMARGINS)
                for (int id : {kMarginLeft, kMarginTop, kMarginRight, kMarginBottom})
                    EnableWindow(GetDlgItem(h, id), FALSE);
            return TRUE;
        }
        case WM_COMMAND:
            if (!p) return FALSE;
            if (changesTheSample(wp)) {
                InvalidateRect(GetDlgItem(h, kPageSample), nullptr, TRUE);
                return TRUE;
            }
            if (LOWORD(wp) == IDOK) {
                RECT m;
                if (!readMargin(h, *p, kMarginLeft, m.left) ||
                    !readMargin(h, *p, kMarginTop, m.top) ||
                    !readMargin(h, *p, kMarginRight, m.right) ||
                    !readMargin(h, *p, kMarginBottom, m.bottom)) {
                    MessageBoxA(h, "Enter the margins as numbers.", "Page Setup",
                                MB_OK | MB_ICONEXCLAMATION);
                    return TRUE;
                }
                // Margins that meet or pass each other leave nothing to print on.
                const commdlg::SamplePage shown = shownPage(h, *p);
                if (shown.width > 0 && shown.height > 0 &&
                    (m.left + m.right >= shown.width || m.top + m.bottom >= shown.height)) {
                    MessageBoxA(h, "The margins overlap or are off the paper. Enter new margins.",
                                "Page Setup", MB_OK | MB_ICONEXCLAMATION);
                    return TRUE;
                }
                const auto i = SendDlgItemMessageA(h, kPaperCombo, CB_GETCURSEL, 0, 0);
                if (i >= 0 && static_cast<std::size_t>(i) < p->papers.size()) {
                    const PaperSize& s = p->papers[static_cast<std::size_t>(i)];
                    p->mode.dmPaperSize = s.code;
                    p->mode.dmPaperWidth = static_cast<short>(s.widthTenthsMm);
                    p->mode.dmPaperLength = static_cast<short>(s.heightTenthsMm);
                }
                p->mode.dmOrientation =
                    IsDlgButtonChecked(h, kLandscapeRadio) ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
                p->psd->rtMargin = m;
                EndDialog(h, IDOK);
                return TRUE;
            }
            if (LOWORD(wp) == pshHelp) {
                commdlg::sendHelp(h, p->psd->hwndOwner, p->psd);
                return TRUE;
            }
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(h, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

std::vector<BYTE> ourTemplate(const PageSetup& p) {
    using commdlg::item;
    dialogs::DialogTemplate t = commdlg::frame("Page Setup", 300, 128);
    t.items = {
        item(kSampleClass, "", kPageSample, 0, 222, 6, 72, 96),
        item("Button", "Paper", grp2, BS_GROUPBOX, 6, 4, 208, 30),
        item("Static", "Si&ze:", stc2, SS_LEFT, 12, 17, 30, 9),
        item("ComboBox", "", kPaperCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 46,
             15, 160, 80),
        item("Button", "Orientation", grp1, BS_GROUPBOX, 6, 38, 70, 46),
        item("Button", "P&ortrait", kPortraitRadio, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 12,
             50, 60, 12),
        item("Button", "L&andscape", kLandscapeRadio, BS_AUTORADIOBUTTON, 12, 66, 60, 12),
        item("Button", p.thousandthsOfInches ? "Margins (inches)" : "Margins (millimeters)", grp4,
             BS_GROUPBOX, 82, 38, 132, 46),
        item("Static", "&Left:", stc15, SS_LEFT, 88, 51, 20, 9),
        item("Edit", "", kMarginLeft, WS_BORDER | WS_TABSTOP | WS_GROUP, 110, 49, 36, 12),
        item("Static", "&Right:", stc16, SS_LEFT, 150, 51, 22, 9),
        item("Edit", "", kMarginRight, WS_BORDER | WS_TABSTOP | WS_GROUP, 174, 49, 36, 12),
        item("Static", "&Top:", stc17, SS_LEFT, 88, 67, 20, 9),
        item("Edit", "", kMarginTop, WS_BORDER | WS_TABSTOP | WS_GROUP, 110, 65, 36, 12),
        item("Static", "&Bottom:", stc18, SS_LEFT, 150, 67, 24, 9),
        item("Edit", "", kMarginBottom, WS_BORDER | WS_TABSTOP | WS_GROUP, 174, 65, 36, 12),
        item("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 188, 108, 50, 14),
        item("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 244, 108, 50, 14),
    };
    if (p.psd->Flags & PSD_SHOWHELP)
        t.items.push_back(
            item("Button", "&Help", pshHelp, BS_PUSHBUTTON | WS_TABSTOP, 132, 108, 50, 14));
    return dialogs::buildTemplate(t);
}

}  // namespace

BOOL PageSetupDlgA(PAGESETUPDLGA* psd) {
    commdlg::setError(0);
    if (!psd ||
        (psd->lStructSize != sizeof(PAGESETUPDLGA) && psd->lStructSize != PAGESETUPDLGA_SIZE_32)) {
        commdlg::setError(CDERR_STRUCTSIZE);
        return FALSE;
    }
    PageSetup p;
    p.psd = psd;
    const PrinterDescription printer = defaultPrinter();
    p.papers = printerPaperSizes(printer.device);
    p.thousandthsOfInches = (psd->Flags & PSD_INTHOUSANDTHSOFINCHES) != 0;
    p.mode = defaultMode(printer, p.papers);
    if (psd->Flags & PSD_RETURNDEFAULT) {
        if (psd->hDevMode || psd->hDevNames)
            return FALSE;  // Windows refuses settings passed in here
        store(p);
        return TRUE;
    }
    if (psd->hDevMode && GlobalSize(psd->hDevMode) >= sizeof(DEVMODEA)) {
        std::memcpy(&p.mode, GlobalLock(psd->hDevMode), sizeof(DEVMODEA));
        GlobalUnlock(psd->hDevMode);
        if (const PaperSize* s = paperOf(p, p.mode.dmPaperSize); s && !p.mode.dmPaperWidth) {
            p.mode.dmPaperWidth = static_cast<short>(s->widthTenthsMm);
            p.mode.dmPaperLength = static_cast<short>(s->heightTenthsMm);
        }
    }
    if (!(psd->Flags & PSD_MARGINS)) {
        const int inch = p.thousandthsOfInches ? 1000 : 2540;
        psd->rtMargin = {inch, inch, inch, inch};
    }
    const bool hooked = (psd->Flags & PSD_ENABLEPAGESETUPHOOK) != 0;
    if (!commdlg::beginCall(hooked, reinterpret_cast<const void*>(psd->lpfnPageSetupHook)))
        return FALSE;
    const bool byHandle = (psd->Flags & PSD_ENABLEPAGESETUPTEMPLATEHANDLE) != 0;
    registerSample();
    const auto ours = ourTemplate(p);
    const void* bytes = commdlg::chooseTemplate(
        (psd->Flags & PSD_ENABLEPAGESETUPTEMPLATE) != 0, byHandle, psd->hInstance,
        psd->lpPageSetupTemplateName, psd->hPageSetupTemplate, ours);
    if (!bytes) return FALSE;
    commdlg::Host host{setupProc, &p, hooked ? psd->lpfnPageSetupHook : nullptr,
                       reinterpret_cast<LPARAM>(psd)};
    const INT_PTR r =
        DialogBoxIndirectParamA(byHandle ? nullptr : psd->hInstance, bytes, psd->hwndOwner,
                                commdlg::hostProc, reinterpret_cast<LPARAM>(&host));
    if (r == -1) commdlg::setError(CDERR_DIALOGFAILURE);
    if (r != IDOK) return FALSE;
    store(p);
    psd->Flags |= PSD_MARGINS;
    return TRUE;
}

}  // namespace win
