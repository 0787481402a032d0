#include "toolkit/dialogs/grid_print_defaults.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "platform/window/clipboard_api.h"
#include "toolkit/core/seams.h"

namespace tk {

namespace {

// Asks the system for the default printer's page set-up without a dialog.
void requestDefaults(PageSetupRecord& r) {
    r.pageSetup = win::PAGESETUPDLGA{};
    r.pageSetup.lStructSize = 84;
    r.pageSetup.hwndOwner = seams().modalFrame ? seams().modalFrame->owner() : nullptr;
    r.pageSetup.Flags = win::PSD_RETURNDEFAULT;
    win::PageSetupDlgA(&r.pageSetup);
    r.marginUnits = static_cast<int>(r.pageSetup.Flags & 12);
    r.scalePercent = 100;
    r.printSwitches = {1, 1, 1, 1, 1};
}

// The colour count of the printer named in the DEVNAMES block; 0 without one.
int printerColours(PageSetupRecord& r) {
    if (!r.pageSetup.hDevNames) return 0;
    auto* names = static_cast<const win::DEVNAMES*>(win::GlobalLock(r.pageSetup.hDevNames));
    const win::DEVMODEA* mode =
        r.pageSetup.hDevMode
            ? static_cast<const win::DEVMODEA*>(win::GlobalLock(r.pageSetup.hDevMode))
            : nullptr;
    r.devNamesView = const_cast<win::DEVNAMES*>(names);
    r.devModeView = const_cast<win::DEVMODEA*>(mode);
    int colours = 0;
    if (names) {
        const char* base = reinterpret_cast<const char*>(names);
        win::HDC ic =
            win::CreateICA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        if (ic) {
            colours = win::GetDeviceCaps(ic, win::NUMCOLORS);
            win::DeleteDC(ic);
        }
    }
    if (mode) win::GlobalUnlock(r.pageSetup.hDevMode);
    if (names) win::GlobalUnlock(r.pageSetup.hDevNames);
    return colours;
}

}  // namespace

std::array<PageSetupRecord, 2>& gridPageSetupRecords() {
    static std::array<PageSetupRecord, 2> records;
    return records;
}

int& gridPrintDefaultsRead() {
    static int read = 0;
    return read;
}

void GridPrintDefaults() {
    if (gridPrintDefaultsRead() == 1) return;
    auto& records = gridPageSetupRecords();
    requestDefaults(records[0]);
    const bool mono = printerColours(records[0]) == 2;
    records[0].printSwitches[3] = records[0].printSwitches[4] = mono ? 0 : 1;
    requestDefaults(records[1]);
    records[1].printSwitches[3] = records[0].printSwitches[3];
    records[1].printSwitches[4] = records[0].printSwitches[4];
    gridPrintDefaultsRead() = 1;
}

}  // namespace tk
