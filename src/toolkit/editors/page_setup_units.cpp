#include "toolkit/editors/page_setup_units.h"

#include <utility>

#include "platform/kernel/environment.h"
#include "platform/window/clipboard_api.h"

namespace tk {
namespace {

constexpr double kMillimetresPerInchUnits = 2.54065;

int convert(int v, bool toMillimetres) {
    return static_cast<int>(toMillimetres ? v * kMillimetresPerInchUnits
                                          : v / kMillimetresPerInchUnits);
}

}  // namespace

win::DWORD pageUnitFlag(int units) {
    if (units == -1) {
        char measure[4] = {};
        win::GetLocaleInfoA(win::LOCALE_USER_DEFAULT, win::LOCALE_IMEASURE, measure, sizeof measure);
        return measure[0] == '1' ? win::PSD_INTHOUSANDTHSOFINCHES
                                 : win::PSD_INHUNDREDTHSOFMILLIMETERS;
    }
    return units <= 1 ? win::PSD_INTHOUSANDTHSOFINCHES : win::PSD_INHUNDREDTHSOFMILLIMETERS;
}

int pageUnitsPerInch(win::DWORD unitFlag) {
    return (unitFlag & win::PSD_INHUNDREDTHSOFMILLIMETERS) ? 2540 : 1000;
}

void pageConvertUnits(win::PAGESETUPDLGA& s, win::DWORD from, win::DWORD to) {
    if ((from & 12) == (to & 12)) return;
    const bool mm = (to & win::PSD_INHUNDREDTHSOFMILLIMETERS) != 0;
    for (win::LONG* v : {&s.rtMargin.left, &s.rtMargin.top, &s.rtMargin.right, &s.rtMargin.bottom,
                         &s.ptPaperSize.x, &s.ptPaperSize.y})
        *v = convert(*v, mm);
}

bool pageSetupDialog(win::PAGESETUPDLGA& s) {
    return win::PageSetupDlgA(&s) != 0;
}

void pageSetupRelease(win::PAGESETUPDLGA& s) {
    if (s.hDevMode) win::GlobalFree(s.hDevMode);
    if (s.hDevNames) win::GlobalFree(s.hDevNames);
    s.hDevMode = s.hDevNames = nullptr;
}

win::HDC pagePrinterDC(const win::PAGESETUPDLGA& s) {
    if (!s.hDevNames) return nullptr;
    auto* names = static_cast<const win::DEVNAMES*>(win::GlobalLock(s.hDevNames));
    auto* mode =
        s.hDevMode ? static_cast<const win::DEVMODEA*>(win::GlobalLock(s.hDevMode)) : nullptr;
    win::HDC dc = nullptr;
    if (names) {
        const char* base = reinterpret_cast<const char*>(names);
        dc = win::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset,
                            base + names->wOutputOffset, mode);
    }
    if (mode) win::GlobalUnlock(s.hDevMode);
    if (names) win::GlobalUnlock(s.hDevNames);
    return dc;
}

void pageStoreUnprintable(win::PAGESETUPDLGA& s, win::HDC dc) {
    const long u = pageUnitsPerInch(s.Flags);
    const long dx = win::GetDeviceCaps(dc, win::LOGPIXELSX), dy = win::GetDeviceCaps(dc, win::LOGPIXELSY);
    if (dx <= 0 || dy <= 0) return;
    const long ox = win::GetDeviceCaps(dc, win::PHYSICALOFFSETX);
    const long oy = win::GetDeviceCaps(dc, win::PHYSICALOFFSETY);
    const long right = win::GetDeviceCaps(dc, win::PHYSICALWIDTH) - win::GetDeviceCaps(dc, win::HORZRES) - ox;
    const long bottom = win::GetDeviceCaps(dc, win::PHYSICALHEIGHT) - win::GetDeviceCaps(dc, win::VERTRES) - oy;
    s.rtMinMargin = {static_cast<win::LONG>(ox * u / dx), static_cast<win::LONG>(oy * u / dy),
                     static_cast<win::LONG>(right * u / dx), static_cast<win::LONG>(bottom * u / dy)};
}

int pageOrientation(const win::PAGESETUPDLGA& s) {
    if (!s.hDevMode) return 0;
    auto* mode = static_cast<const win::DEVMODEA*>(win::GlobalLock(s.hDevMode));
    const int landscape = mode && mode->dmOrientation != win::DMORIENT_PORTRAIT ? 1 : 0;
    win::GlobalUnlock(s.hDevMode);
    return landscape;
}

void pageSetOrientation(win::PAGESETUPDLGA& s, int value) {
    const short wanted = (value == 1 || value == 3) ? win::DMORIENT_LANDSCAPE : win::DMORIENT_PORTRAIT;
    if (s.hDevMode) {
        auto* mode = static_cast<win::DEVMODEA*>(win::GlobalLock(s.hDevMode));
        if (mode && mode->dmOrientation != wanted) {
            std::swap(s.ptPaperSize.x, s.ptPaperSize.y);
            mode->dmOrientation = wanted;
            mode->dmFields |= win::DM_ORIENTATION;
        }
        win::GlobalUnlock(s.hDevMode);
    }
    win::RECT& m = s.rtMargin;
    const bool wide = m.right - m.left > m.bottom - m.top;
    if ((value == 2 && wide) || (value == 3 && !wide)) {
        const win::LONG w = m.right - m.left, h = m.bottom - m.top;
        m.right = m.left + h;
        m.bottom = m.top + w;
    }
}

int pageToPoints(int value, win::DWORD unitFlag) {
    return value * 72 / pageUnitsPerInch(unitFlag);
}

int pageFromPoints(int points, win::DWORD unitFlag) {
    return points * pageUnitsPerInch(unitFlag) / 72;
}

}  // namespace tk
