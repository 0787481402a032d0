#pragma once
// The page set-up's sample page: the paper in its orientation, its margins
// and lines standing for text, drawn to scale; a caller's page-paint hook
// may draw each part itself.

#include "platform/common_dialogs/common_dialogs_api.h"

namespace win::commdlg {

struct SamplePage {
    int width = 0, height = 0;  // of the paper as it lies, in the caller's units
    RECT margins{};
    RECT minMargins{};
    short paper = 0;  // DMPAPER_... code
    bool landscape = false;
};

// Draws into `area` of `dc`; `dialog` and `psd` are what the hook is given.
void drawPageSample(HDC dc, const RECT& area, const SamplePage& page, HWND dialog,
                    PAGESETUPDLGA* psd);

}  // namespace win::commdlg
