#include "util/dialog_wrappers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "toolkit/core/text_args.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/grid_public.h"
#include "toolkit/dialogs/value_text.h"
#include "util/message_boxes.h"

namespace util {

namespace {

bool missing(float v) {
    return v > kMissingAbove;
}

int cut(std::size_t available, int n) {
    return std::min(n, static_cast<int>(available));
}

// Row by row: missing values leave their cells empty.
template <typename Put>
void putRows(int grid, int column, std::span<const float> v, int n, Put put) {
    n = cut(v.size(), n);
    for (int row = 1; row <= n; ++row) {
        const float x = v[static_cast<std::size_t>(row - 1)];
        if (missing(x))
            tk::GrdClearCell(grid, column, row);
        else
            put(row, x);
    }
}

bool anyMissing(std::span<const float> v, int n) {
    n = cut(v.size(), n);
    return std::any_of(v.begin(), v.begin() + std::max(n, 0), missing);
}

}  // namespace

std::string_view cellRealFormat(float v) {
    const float a = std::fabs(v);
    if (a > 10000.0f || v == 0.0f) return "(F8.0)";
    if (a > 1000.0f) return "(F8.1)";
    if (a > 100.0f) return "(F8.2)";
    if (a > 10.0f) return "(F8.3)";
    if (a > 1.0f) return "(F8.4)";
    if (a > 0.1f) return "(F8.5)";
    return "(1PE8.1)";
}

std::string_view fieldRealFormat(float v) {
    const float a = std::fabs(v);
    if (a >= 100000.0f || v == 0.0f) return "(F9.0)";
    if (a >= 10000.0f) return "(F8.0)";
    if (a >= 1000.0f) return "(F8.1)";
    if (a >= 100.0f) return "(F8.2)";
    if (a >= 10.0f) return "(F8.3)";
    if (a >= 1.0f) return "(F8.4)";
    if (a >= 0.1f) return "(F8.5)";
    return "(1PE8.1)";
}

void VRGRIDPUTREAL(int grid, int column, std::span<const float> v, int n) {
    if (!anyMissing(v, n)) {
        tk::GrdPutReal(grid, column, v, n);
        return;
    }
    putRows(grid, column, v, n,
            [&](int row, float x) { tk::GrdPutCellReal(grid, column, row, x); });
}

void VRGRIDPUTREALF(int grid, int column, std::span<const float> v, int n,
                    std::string_view format) {
    if (!anyMissing(v, n)) {
        tk::GrdPutReal(grid, column, v, n, format);
        return;
    }
    putRows(grid, column, v, n,
            [&](int row, float x) { tk::GrdPutCellReal(grid, column, row, x, format); });
}

void VRGRIDPUTREALG(int grid, int column, std::span<const float> v, int n) {
    putRows(grid, column, v, n, [&](int row, float x) { VRGRIDPUTCELLREAL(grid, column, row, x); });
}

void VRGRIDPUTCELLREAL(int grid, int column, int row, float v) {
    tk::GrdPutCellReal(grid, column, row, v, cellRealFormat(v));
}

void VRPUTREAL(int field, float v) {
    if (missing(v))
        tk::DlgPutString(field, "Unknown");
    else
        tk::DlgPutReal(field, v, fieldRealFormat(v));
}

void VRGRIDGETREAL(int grid, int column, std::span<float> v, int n) {
    n = cut(v.size(), n);
    for (int row = 1; row <= n; ++row)
        VRGRIDGETCELLREAL(grid, column, row, v[static_cast<std::size_t>(row - 1)]);
}

void VRGRIDGETCELLREAL(int grid, int column, int row, float& v) {
    if (tk::InfoGridCell(grid, column, row, 1) > 0)
        tk::GrdGetCellReal(grid, column, row, v);
    else
        v = kMissingValue;
}

int VRINFOGRIDCELLS(int grid, int column, int nrows, bool fromBottom) {
    if (fromBottom) {
        for (int row = nrows; row >= 1; --row)
            if (tk::InfoGridCell(grid, column, row, 1) > 0) return row;
        return 0;
    }
    int last = 0;
    while (last < nrows && tk::InfoGridCell(grid, column, last + 1, 1) > 0)
        ++last;
    return last;
}

void PUTDLGSTRING(int field, std::string_view text, int n, const FieldPut& put) {
    const std::string_view shown =
        n < 1 ? std::string_view(" ") : text.substr(0, static_cast<std::size_t>(n));
    if (put)
        put(field, shown);
    else
        tk::DlgPutString(field, shown);
}

namespace {

// The text of a field, without its surrounding blanks.
std::string fieldText(int field) {
    std::array<char, 256> text{};
    tk::DlgGetString(field, text);
    return std::string(tk::trimBoth(std::string_view(text.data(), text.size())));
}

bool isNumber(const std::string& text) {
    double value = 0.0;
    int ok = 0;
    tk::TextToDoubleChecked(value, ok, text);
    return ok != 0;
}

}  // namespace

bool readFieldNumber(int field, float& value) {
    const std::string text = fieldText(field);
    if (text.empty() || !isNumber(text)) return false;
    tk::DlgGetReal(field, value);
    return true;
}

bool fieldsHoldNumbers(std::initializer_list<int> fields) {
    for (int f : fields) {
        const std::string text = fieldText(f);
        if (text.empty() || isNumber(text)) continue;
        WINMSG("Please enter a valid number instead of \"" + text + "\"");
        tk::DlgSetField(f);
        return false;
    }
    return true;
}

void DLGPUTCHECKBOXL(int field, bool checked) {
    tk::DlgPutCheckBox(field, checked ? 1 : 0);
}

bool DLGGETCHECKBOXL(int field, bool& checked) {
    int state = 0;
    tk::DlgGetCheckBox(field, state);
    checked = state > 0;
    return checked;
}

void SAVEFILEDLG(std::string_view text, bool& lsave, bool& lcancel) {
    constexpr int kName = 1002, kYes = 6, kNo = 7;
    tk::DlgLoad(kSaveChangesDialog);
    tk::DlgSelect(kSaveChangesDialog);
    tk::DlgPutString(kName, text);
    tk::DlgShow(-1, -1, 0, 1);
    const int button = tk::DialogInfoQuery(1);
    if (button == kYes || button == kNo) {
        lsave = button == kYes;
        lcancel = false;
    } else {
        lcancel = true;
    }
}

}  // namespace util
