#include "toolkit/output/hardcopy_options_dialogs.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/core/common_dialogs.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/modal_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"

namespace tk {

namespace {

constexpr const char* kName = "HardcopyOptionsShow";

int chosenUnits(std::optional<int> units, bool& sign) {
    sign = units && *units < 0;
    const int value = units ? std::abs(*units) : 4;
    if (value <= 3) return value;
    int measure = 0;
    LocaleMeasureSystem(measure);
    return measure == 1 ? 1 : 2;
}

int toPoints(int value, float f) {
    return static_cast<int>(static_cast<float>(value) / f + 0.5f);
}

void printerPageSetup(int units) {
    HardcopyOptions& o = hardcopyOptions();
    HardcopyDeviceState& d = hardcopyDeviceState();
    // Without a printer nothing was confirmed: a result left from an
    // earlier set-up must not let a print go on.
    if (o.printerAvailable == 0) {
        hardcopyDialogResult() = 0;
        ReportLibraryError(63, kName);
        return;
    }
    const float f = units >= 2 ? 35.2778f : 13.8889f;
    const auto scaled = [f](int points) {
        return static_cast<int>(static_cast<float>(points) * f);
    };
    int sheetWidth = 0, sheetHeight = 0;
    int width = scaled(o[hc::PageWidth]), height = scaled(o[hc::PageHeight]);
    int left = scaled(o[hc::PageOffsetX]), top = scaled(o[hc::PageOffsetY]);
    int orientation = o[hc::Orientation], copies = o[hc::Copies];
    int colours = d.colourCount, result = 0;
    // The dialog answers the sheet first and the printable page second.
    PageSetupDialogRun(sheetWidth, sheetHeight, width, height, left, top, orientation, copies,
                       units < 2 ? 1 : 2, colours, result);
    if (result != 1) {
        hardcopyDialogResult() = 0;
        return;
    }
    HardcopyOptionSet(hc::PageWidth, toPoints(width, f));
    HardcopyOptionSet(hc::PageHeight, toPoints(height, f));
    HardcopyOptionSet(hc::PageOffsetX, toPoints(left, f));
    HardcopyOptionSet(hc::PageOffsetY, toPoints(top, f));
    HardcopyOptionSet(hc::Orientation, orientation);
    HardcopyOptionSet(hc::Copies, copies);
    if (d.colourCount > 2 && colours <= 2) HardcopyOptionSet(hc::BlackLines, 1);
    if (d.colourCount <= 2 && colours > 2) HardcopyOptionSet(hc::BlackLines, 0);
    d.colourCount = colours;
    const int a = toPoints(sheetWidth, f), b = toPoints(sheetHeight, f);
    o.sheetWidth = orientation == 0 ? std::min(a, b) : std::max(a, b);
    o.sheetHeight = orientation == 0 ? std::max(a, b) : std::min(a, b);
    hardcopyDialogResult() = 1;
}

void otherDriver(int driver, int units, bool sign, std::optional<TextOut> fileName) {
    HardcopyOptions& o = hardcopyOptions();
    base::FixedString<260> work = o.defaultFileName;
    if (fileName) work.assign(std::string_view(fileName->data(), fileName->size()));
    TextOut text(work.data(), work.size());
    if (driver == 1 || driver == 2 || driver == 4 || driver == 12)
        HardcopyOptionsDialog(units, text, driver, 0, sign);
    else
        HardcopyFileOptionsDialog(units, text, 32000 + driver, 3, sign);
    if (hardcopyDialogResult() != 1) return;
    if (fileName)
        putText(*fileName, work.view());
    else
        o.defaultFileName = work;
}

}  // namespace

int& hardcopyDialogResult() {
    static int result = 0;
    return result;
}

void HardcopyOptionsShow(std::optional<int> units, std::optional<TextOut> fileName) {
    const int driver = hardcopyDeviceState().activeDriver;
    if (driver == 0) {
        ReportLibraryError(46, kName);
        return;
    }
    int status = 0;
    FreezeWindowContents(1, 0, status);
    if (status != 0) ReportLibraryError(status, kName);
    bool sign = false;
    const int chosen = chosenUnits(units, sign);
    if (driver == hc::PrinterDriverNumber)
        printerPageSetup(chosen);
    else
        otherDriver(driver, chosen, sign, fileName);
    FreezeWindowContents(0, 0, status);
}

}  // namespace tk
