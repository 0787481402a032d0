#pragma once
// The record the toolkit keeps with every dialog field (every control of a
// toolkit dialog, and the grid's in-place cell editor). It lives in the
// control window's user data (GWL_USERDATA) from the dialog set-up, or from
// WM_CREATE for the numeric edit classes, until the control is destroyed.

#include <string>
#include <vector>

#include "platform/win_types.h"
#include "platform/window/user_api.h"

namespace tk {

// A range whose minimum lies above its maximum means "no range"; fields start
// with this pair.
inline constexpr double kNoRangeMinimum = 1000.0;
inline constexpr double kNoRangeMaximum = -1000.0;
// EDIT fields' text limits at set-up.
inline constexpr int kEditTextLimit = 0x7FFF;
inline constexpr int kMultiLineTextLimit = 0xFFFF;

// stretchFlags bits: which edges follow the dialog's client edge on resize.
inline constexpr int kStretchLeft = 1;
inline constexpr int kStretchRight = 2;
inline constexpr int kStretchTop = 4;
inline constexpr int kStretchBottom = 8;

// flags bit 0: a double-click in a list or tree does not press the default button.
inline constexpr int kFieldFlagNoDoubleClickDefault = 1;

// FieldType codes (also the grid's cell types).
enum FieldType : int {
    FieldOther = 0,
    FieldLabel = 1,
    FieldOtherStatic = 2,
    FieldGroupBox = 3,
    FieldString = 4,
    FieldInteger = 5,
    FieldReal = 6,
    FieldDouble = 7,
    FieldPushButton = 8,
    FieldCheckBox = 9,
    FieldRadioButton = 10,
    FieldComboBox = 11,
    FieldListBox = 12,
    FieldTab = 13,
    FieldProgressBar = 14,
    FieldGrid = 15,
    FieldTrackbar = 16,
    FieldTreeView = 17,
};

// FieldState codes.
enum FieldState : int { StateDisabled = 0, StateEnabled = 1, StateReadOnly = 2, StateHidden = 3 };

struct FieldRecord {
    double value = 0.0;
    double minimum = kNoRangeMinimum;
    double maximum = kNoRangeMaximum;
    double smallStep = 0.0;
    double largeStep = 0.0;
    int spinBase = 0;
    int valueSet = 0;
    win::HWND buddy = nullptr;  // the up-down control of a spin field
    win::WNDPROC previousProcedure = nullptr;
    int isDrawingTarget = 0;
    int textColour = -1;        // COLORREF, -1 = system default
    int backgroundColour = -1;  // COLORREF, -1 = system default
    int leftByTab = 0;
    int maximumLength = 0;
    int state = StateEnabled;
    std::vector<int> tabStops;  // kept so that a modal copy can repeat them
    std::string formatText;     // empty = none
    int reportTyping = 0;
    int stretchRight = 0;
    int stretchBottom = 0;
    int stretchFlags = 0;
    int flags = 0;
    win::HCURSOR cursor = nullptr;  // the field's own cursor, none = the global one
    int cursorShape = 0;

    int tabStopCount() const { return static_cast<int>(tabStops.size()); }
    bool hasRange() const { return minimum <= maximum; }
};

// The record of a control, or null when it has none.
FieldRecord* fieldRecordOf(win::HWND control);
// Gives the control a fresh record with the initial values (replacing and
// freeing one it had) and answers it.
FieldRecord* FieldRecordCreate(win::HWND control);
// Frees the control's record and clears its user data.
void FieldRecordFree(win::HWND control);

}  // namespace tk
