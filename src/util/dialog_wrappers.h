#pragma once
// Dialog fields and grid columns of the current dialog as the edit dialogs
// use them: a real above 1.0E10 is missing and shows as an empty cell (or
// "Unknown" in a field), an empty cell reads back as 1.0E20, and logical
// values go in and out of check boxes.

#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>

namespace util {

inline constexpr float kMissingValue = 1.0E20f;
// Values above this show as missing.
inline constexpr float kMissingAbove = 1.0E10f;

// The edit format for a value by its magnitude: in a grid cell, in a field.
std::string_view cellRealFormat(float v);
std::string_view fieldRealFormat(float v);

// Puts v(1..n) into rows 1..n of a grid column; a missing value leaves its
// cell empty. Without missing values the column is put at once and the rows
// after n are emptied; otherwise row by row. n is cut to the values given.
void VRGRIDPUTREAL(int grid, int column, std::span<const float> v, int n);
// The same with the edit format `format` for every value.
void VRGRIDPUTREALF(int grid, int column, std::span<const float> v, int n, std::string_view format);
// Always row by row, each value in the format of its magnitude.
void VRGRIDPUTREALG(int grid, int column, std::span<const float> v, int n);
void VRGRIDPUTCELLREAL(int grid, int column, int row, float v);
// "Unknown" for a missing value, else the number in the format of its magnitude.
void VRPUTREAL(int field, float v);

// Rows 1..n of a column; an empty cell gives 1.0E20 without an error report.
void VRGRIDGETREAL(int grid, int column, std::span<float> v, int n);
void VRGRIDGETCELLREAL(int grid, int column, int row, float& v);
// The last row holding a value: from the top, the end of the unbroken run
// from row 1; from the bottom, the lowest filled row of rows 1..nrows.
int VRINFOGRIDCELLS(int grid, int column, int nrows, bool fromBottom);

// Puts text(1:n) into a field, a single blank when n is below 1, through the
// given put routine (the toolkit's DlgPutString unless another is bound).
using FieldPut = std::function<void(int field, std::string_view text)>;
void PUTDLGSTRING(int field, std::string_view text, int n, const FieldPut& put = {});

// Reads a number field of the current dialog into value when the field holds
// a number; a blank field or other text leaves value and answers false.
bool readFieldNumber(int field, float& value);
// True when every field holds a number or nothing; the first that holds
// other text is reported in a message, gets the focus and answers false.
bool fieldsHoldNumbers(std::initializer_list<int> fields);

void DLGPUTCHECKBOXL(int field, bool checked);
// Reads a check box into `checked` and answers the same value.
bool DLGGETCHECKBOXL(int field, bool& checked);

// The library's save-changes question on the program's dialog with the name
// field 1002 and the buttons Yes (6), No (7) and Cancel (2): Yes and No give
// lsave and lcancel false; Cancel sets lcancel and leaves lsave.
void SAVEFILEDLG(std::string_view text, bool& lsave, bool& lcancel);
// The dialog SAVEFILEDLG shows: the program's "Save Changes Dialog".
inline constexpr int kSaveChangesDialog = 127;

}  // namespace util
