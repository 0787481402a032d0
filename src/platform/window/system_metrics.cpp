// Screen metrics and the system colours, from the virtual screen and the
// classic Windows scheme.

#include "platform/window/presenter.h"
#include "platform/window/screen.h"
#include "platform/window/user_api.h"

namespace win {

int GetSystemMetrics(int index) {
    const ScreenConfig& sc = screenConfig();
    switch (index) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
            return sc.width;
        case SM_CYSCREEN:
            return sc.height;
        case SM_CYFULLSCREEN:
            return sc.height - 19;
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
        case SM_CXSMICON:
        case SM_CYSMICON:
        case SM_CYSMCAPTION:
            return 16;
        case SM_CYCAPTION:
        case SM_CYMENU:
            return 19;
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 3;
        case SM_CXFRAME:
        case SM_CYFRAME:
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return 32;
        case SM_CXMIN:
        case SM_CXMINTRACK:
            return 112;
        case SM_CYMIN:
        case SM_CYMINTRACK:
            return 27;
        case SM_CXSIZE:
        case SM_CYSIZE:
            return 18;
        case SM_CXMAXIMIZED:
            return sc.width + 8;
        case SM_CYMAXIMIZED:
            return sc.height + 8;
        case SM_CXMENUCHECK:
        case SM_CYMENUCHECK:
            return 13;
        case SM_CMOUSEBUTTONS:
            return 3;
        case SM_MOUSEWHEELPRESENT:
            return 1;
        default:
            return 0;
    }
}

DWORD GetSysColor(int index) {
    static const COLORREF scheme[] = {
        RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
        RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
        RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
        RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
        RGB(192, 192, 192), RGB(10, 36, 106),   RGB(212, 208, 200)};
    if (index < 0 || index >= static_cast<int>(sizeof scheme / sizeof scheme[0])) return 0;
    return scheme[index];
}

}  // namespace win
