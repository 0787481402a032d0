#pragma once
// The table of loaded dialogs and the record kept with each dialog window.
// The application addresses dialogs by identifier only; the table maps the
// identifiers to windows, remembers the current dialog and the modal
// instance, and the state that showing, hiding and modal loops share.

#include <array>
#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace tk {

inline constexpr int kDialogSlots = 100;
// lastGridCell before a grid reported anything: column 1, row 1.
inline constexpr std::int32_t kFirstGridCell = 0x40001;

// The values a get routine answers for an empty field (with error 1010).
inline constexpr int kUndefinedInteger = -999;
inline constexpr float kUndefinedReal = -999.0F;
inline constexpr double kUndefinedDouble = -999.0;

// DialogShowType.
enum DialogShowType : int { ShowModal = 1, ShowModeless = 2, ShowSemiModeless = 3 };

// One per dialog window, attached as its user data (GWL_USERDATA). The event
// layer reads the numeric fields as 32-bit words (window_hooks.h): word 0 is
// the identifier and every other field sits at its own number in the list
// below; word 1 keeps the resource id of the dialog's template, which a
// modal show of a dialog loaded under another identifier needs. Fields that
// hold windows keep their handle in the
// members after the words (their words stay 0), except that word 15 tells
// whether the dialog is combined with a window (that window's number).
struct DialogRecord {
    std::array<std::int32_t, 20> words{};
    win::HWND returnWindow = nullptr;      // 8
    win::HWND enableBackWindow = nullptr;  // 9
    win::HWND combinedWindow = nullptr;    // 15: the frame
    win::HWND focusToRestore = nullptr;    // 16
    win::HWND stretchField = nullptr;      // 17

    DialogRecord() { words[10] = kFirstGridCell; }

    std::int32_t& identifier() { return words[0]; }
    std::int32_t& templateId() { return words[1]; }
    std::int32_t& shown() { return words[2]; }
    std::int32_t& changedField() { return words[3]; }
    std::int32_t& previousField() { return words[4]; }
    std::int32_t& selectedPage() { return words[5]; }
    std::int32_t& leftPage() { return words[6]; }
    std::int32_t& showType() { return words[7]; }
    std::int32_t& lastGridCell() { return words[10]; }
    std::int32_t& graphicsField() { return words[11]; }
    std::int32_t& isDrawingTarget() { return words[12]; }
    std::int32_t& mouseButton() { return words[13]; }
    std::int32_t& resizable() { return words[14]; }
    std::int32_t& combinedWindowNumber() { return words[15]; }
    std::int32_t& minimumWidth() { return words[18]; }
    std::int32_t& minimumHeight() { return words[19]; }
};

struct DialogTable {
    // Slot 0: the running modal instance (null when none); 1..count: loaded.
    std::array<win::HWND, kDialogSlots + 1> slots{};
    int count = 0;
    int currentSlot = 0;
    win::HWND activeDialog = nullptr;
    win::HWND returnWindow = nullptr;
    int semiModelessCount = 0;
    win::HWND semiModelessTop = nullptr;
    bool creating = false;
    int pendingFocusField = 0;
    int pendingX = 0;
    int pendingY = 0;
    int lastModalDialog = 0;
    // Frozen contents per dialog slot (moved with the slots when the table
    // is compacted) and whether any freeze is unmatched.
    std::array<win::HBITMAP, kDialogSlots + 1> frozenBitmap{};
    std::array<int, kDialogSlots + 1> frozenCount{};
    bool freezeActive = false;
};

DialogTable& dialogTable();

// The state the numeric edit fields' validation shares with the dialog
// procedure: the field whose content was refused when a command arrived or
// a tab change began, and the last valid content of the focused numeric field.
struct FieldValidationState {
    win::HWND invalidField = nullptr;
    win::HWND tabInvalidField = nullptr;
    int saveOnNextFocus = 0;
    std::string savedFieldText;
    double savedFieldValue = 0.0;
    int tabSelectionToRestore = 0;
};

FieldValidationState& fieldValidation();

// The record of a dialog window (loaded or modal instance), or null.
DialogRecord* dialogRecordOf(win::HWND dialog);
// The slot of the dialog with that identifier, or -1; the running modal
// instance (slot 0) is searched first.
int DialogSlotFind(int identifier);
// The window of the current dialog (null when none is current).
win::HWND currentDialog();
// The current dialog's record, null when none.
DialogRecord* currentDialogRecord();
// The window of a loaded dialog by identifier, null when not loaded.
win::HWND dialogWindowOf(int identifier);
// A control of the current dialog by field identifier; null when there is
// no current dialog or no such control.
win::HWND currentField(int field);

// Forgets every loaded dialog and resets the table (tests and shutdown).
void resetDialogTable();

}  // namespace tk
