#pragma once
// Dialog fields: the set-up every control receives when its dialog window
// is created, and the routines that put and get text, numbers, check and
// radio states, field states, colours, ranges, focus and options of a field
// of the current dialog.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/win_types.h"
#include "toolkit/dialogs/field_record.h"

namespace tk {

// Public routines; errors go to ReportLibraryError under the routine's name.
void DlgPutInteger(int field, int value);
void DlgPutReal(int field, float value, std::optional<std::string_view> format = {});
void DlgPutString(int field, std::string_view text);
void DlgGetInteger(int field, int& value);
void DlgGetReal(int field, float& value);
// The field's text cut to the length of `text` and blank-padded.
void DlgGetString(int field, std::span<char> text);
void DlgGetStringLength(int field, int& length);
void DlgPutCheckBox(int field, int state);
void DlgGetCheckBox(int field, int& state);
void DlgPutRadioButton(int field);
void DlgGetRadioButton(int field, int& position);
void DlgFieldState(int field, int state);
void DlgSetField(int field, std::optional<int> caret = {});
void DlgColour(int field, std::optional<int> textColour = {},
               std::optional<int> backgroundColour = {});
void DlgRangeInteger(int field, std::optional<int> lower = {}, std::optional<int> upper = {});
void DlgFieldOptions(int field, int option, int value);

// Internal operations: a missing field answers -1 in `field` (and, where
// noted, a missing value -2).
void DialogInitFields(win::HWND dialog);
void FieldTextPut(int& field, double value, std::string_view text, std::string_view format);
// field -2: the field is blank (value undefined).
void FieldNumberGet(int& field, double& value);
void FieldTextGet(int& field, std::string& text);
void FieldTextLength(int& field, int& length);
void FieldRangeSet(win::HWND control, double minimum, double maximum);
// True when the value may be stored (no range, or inside it).
bool FieldRangeCheck(win::HWND control, double value);
void FieldStateSet(int& field, int state, bool deferPaint);
void FieldStateApply(win::HWND dialog, win::HWND control, int state, bool deferPaint);
int FieldStateQuery(win::HWND control);
int FieldTypeQuery(win::HWND control);
// which: 0 text, 1 background; red 256 = the system default.
void FieldColourStore(win::HWND control, int which, int red, int green, int blue);
void FieldColourSet(win::HWND control, std::optional<int> text, std::optional<int> background);
void FieldSelectAllText(win::HWND control);
void DialogFieldSetFocus(int& field, std::optional<int> caret);
void DialogFieldClear(int& field);
void RadioGroupBounds(win::HWND field, win::HWND& first, win::HWND& last);
void RadioButtonPut(win::HWND field);
// Position from 1, or -2 when none is selected.
int RadioGroupGet(win::HWND field);
std::string windowText(win::HWND h, std::size_t limit = 65535);

}  // namespace tk
