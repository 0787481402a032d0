#pragma once
// The two page set-up records of default values that the grid printing works
// from, filled from the default printer the first time they are asked for.

#include <array>

#include "platform/common_dialogs/common_dialogs_api.h"

namespace tk {

struct PageSetupRecord {
    void* devModeView = nullptr;   // record 1 only: the DEVMODE as last locked
    void* devNamesView = nullptr;  // record 1 only: the DEVNAMES as last locked
    win::PAGESETUPDLGA pageSetup;
    int marginUnits = 0;  // PSD_INTHOUSANDTHSOFINCHES or PSD_INHUNDREDTHSOFMILLIMETERS
    int scalePercent = 100;
    std::array<int, 5> printSwitches{};
};

std::array<PageSetupRecord, 2>& gridPageSetupRecords();
int& gridPrintDefaultsRead();
// Fills both records once; later calls do nothing until the grid classes are
// registered again.
void GridPrintDefaults();

}  // namespace tk
