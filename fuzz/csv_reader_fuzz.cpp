// Feeds arbitrary bytes as a comma-separated file to the grid's reader, into
// a grid of text, integer, real and check-box columns that may grow. The
// rows in use never pass the rows allocated, and every column keeps one
// value per allocated row.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/core/error_report.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/grid_csv.h"
#include "toolkit/dialogs/grid_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tk;
    static const std::string file = "/tmp/pelk_csv_fuzz_" + std::to_string(::getpid()) + ".csv";
    if (FILE* f = std::fopen(file.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    toolkitState().ErrorReportMode = 0;
    toolkitState().CurrentDialogNumber = 1;
    GridRecord grid;
    grid.fieldId = 100;
    grid.dialogId = 1;
    grid.style = GRS_HEADER | GRS_ROWLABELS;
    std::vector<GridColumnSpec> specs(4);
    specs[0].kind = KindText;
    specs[0].settings.maxLength = 12;
    specs[1].kind = KindInteger;
    specs[2].kind = KindReal;
    specs[2].settings.minimum = 0.0;
    specs[2].settings.maximum = 100.0;
    specs[3].kind = KindCheckBox;
    GridDefineColumns(grid, specs, 20);
    grid.rowCount = 2;
    gridLookupReset();
    gridLookupRegister(1, 100, &grid);
    GrdLoad(100, file, (size & 1) ? 1 : 0, (size & 2) ? 2 : 0);
    if (grid.rowCount < 0 || grid.rowCount > grid.rowCapacity) std::abort();
    for (const GridColumnRecord& c : grid.columns)
        if (static_cast<int>(c.flags.size()) != grid.rowCapacity) std::abort();
    gridLookupReset();
    return 0;
}
