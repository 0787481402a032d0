// The sample page of the page set-up dialog.

#include "platform/common_dialogs/page_sample.h"

#include <algorithm>

#include "platform/controls/control_support.h"
#include "platform/gdi/gdi.h"

namespace win::commdlg {
namespace {

// The high word of WM_PSD_PAGESETUPDLG's wParam for a page printer.
constexpr WORD kPortraitPage = 0x0007, kLandscapePage = 0x0003;

RECT inset(const RECT& page, const RECT& margins, double scale) {
    return {page.left + static_cast<LONG>(margins.left * scale),
            page.top + static_cast<LONG>(margins.top * scale),
            page.right - static_cast<LONG>(margins.right * scale),
            page.bottom - static_cast<LONG>(margins.bottom * scale)};
}

void drawPaper(HDC dc, const RECT& page) {
    const RECT shadow{page.left + 3, page.top + 3, page.right + 3, page.bottom + 3};
    controls::fillSolid(dc, shadow, GetSysColor(COLOR_BTNSHADOW));
    controls::fillSolid(dc, page, RGB(255, 255, 255));
    FrameRect(dc, &page, controls::sysBrush(COLOR_WINDOWTEXT));
}

void drawMargins(HDC dc, const RECT& r) {
    HPEN pen = CreatePen(PS_DOT, 1, RGB(128, 128, 128));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// Grey bars of varying length, one every third pixel, for lines of text.
void drawGreekText(HDC dc, const RECT& r) {
    const int lengths[] = {100, 92, 97, 60, 0, 95, 88, 100, 74};
    int i = 0;
    for (int y = r.top + 1; y + 1 < r.bottom; y += 3, ++i) {
        const int percent = lengths[i % 9];
        const RECT bar{r.left + 1, y, r.left + 1 + (r.right - r.left - 2) * percent / 100, y + 1};
        if (bar.right > bar.left) controls::fillSolid(dc, bar, RGB(160, 160, 160));
    }
}

}  // namespace

void drawPageSample(HDC dc, const RECT& area, const SamplePage& page, HWND dialog,
                    PAGESETUPDLGA* psd) {
    controls::fillSolid(dc, area, GetSysColor(COLOR_BTNFACE));
    if (page.width <= 0 || page.height <= 0) return;
    const auto hook = (psd->Flags & PSD_ENABLEPAGEPAINTHOOK) ? psd->lpfnPagePaintHook : nullptr;
    auto hookDraws = [&](UINT msg, RECT r) {
        return hook &&
               hook(dialog, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(&r)) != 0;
    };
    const WORD kind = page.landscape ? kLandscapePage : kPortraitPage;
    if (hook && hook(dialog, WM_PSD_PAGESETUPDLG, MAKEWPARAM(static_cast<WORD>(page.paper), kind),
                     reinterpret_cast<LPARAM>(psd)) != 0)
        return;
    // The paper to scale, centred, with room for its shadow.
    const int availW = area.right - area.left - 8, availH = area.bottom - area.top - 8;
    const double scale = std::min(static_cast<double>(availW) / page.width,
                                  static_cast<double>(availH) / page.height);
    const int w = static_cast<int>(page.width * scale), h = static_cast<int>(page.height * scale);
    const int x = area.left + (area.right - area.left - w) / 2 - 1;
    const int y = area.top + (area.bottom - area.top - h) / 2 - 1;
    const RECT paper{x, y, x + w, y + h};
    if (!hookDraws(WM_PSD_FULLPAGERECT, paper)) drawPaper(dc, paper);
    hookDraws(WM_PSD_MINMARGINRECT, inset(paper, page.minMargins, scale));
    const bool contents = !(psd->Flags & PSD_DISABLEPAGEPAINTING);
    const RECT text = inset(paper, page.margins, scale);
    if (!hookDraws(WM_PSD_MARGINRECT, text) && contents) drawMargins(dc, text);
    if (!hookDraws(WM_PSD_GREEKTEXTRECT, text) && contents) drawGreekText(dc, text);
}

}  // namespace win::commdlg
