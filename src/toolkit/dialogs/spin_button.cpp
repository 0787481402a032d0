// The up-down control of a spin field: made with the field, kept as its
// buddy, and subclassed so that pressing an arrow puts the focus in the
// field. Its own position never carries the field's value; the dialog
// procedure steps the field's number when the arrows report a change.

#include <array>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/controls/common_controls_api.h"
#include "platform/controls/controls_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/dialogs/field_record.h"
#include "toolkit/dialogs/control_atoms.h"
#include "toolkit/dialogs/numeric_edit.h"
#include "toolkit/dialogs/value_text.h"

namespace tk {

void SpinButtonCreate(win::HWND field, int classIndex, win::DWORD fieldStyle,
                      std::string_view initialText) {
    win::DWORD style = win::WS_CHILD | win::WS_BORDER | win::UDS_ALIGNRIGHT | win::UDS_ARROWKEYS;
    if (numberKindOf(classIndex) != NumberKind::Integer) style |= win::UDS_NOTHOUSANDS;
    if (fieldStyle & win::WS_VISIBLE) style |= win::WS_VISIBLE;
    if (fieldStyle & win::ES_READONLY) style |= win::WS_DISABLED;
    // The arrows get a scroll bar's width; aligning them on the buddy's right
    // edge takes that room from the buddy.
    const int width = win::GetSystemMetrics(win::SM_CXVSCROLL);
    win::HWND upDown = win::CreateWindowExA(
        0, win::UPDOWN_CLASSA, " ", style, 0, 0, width, 1, win::GetParent(field),
        reinterpret_cast<win::HMENU>(static_cast<win::INT_PTR>(-1)), nullptr, nullptr);
    if (!upDown) return;
    if (FieldRecord* rec = fieldRecordOf(field)) rec->buddy = upDown;
    win::SendMessageA(upDown, win::UDM_SETBUDDY, reinterpret_cast<win::WPARAM>(field), 0);
    win::SendMessageA(upDown, win::UDM_SETRANGE, 0,
                      win::MAKELONG(100, static_cast<win::WORD>(-100)));
    win::UDACCEL accel[2];
    accel[0].nSec = 0;
    accel[0].nInc = 1;
    accel[1].nSec = 2;
    accel[1].nInc = 5;
    win::SendMessageA(upDown, win::UDM_SETACCEL, 2, reinterpret_cast<win::LPARAM>(accel));
    if (numberKindOf(classIndex) == NumberKind::Integer) {
        const std::string text(initialText);
        const int start = ParseDecimalInteger(text.c_str());
        win::SendMessageA(upDown, win::UDM_SETPOS, 0, static_cast<win::LPARAM>(start & 0xFFFF));
    }
    const std::string text(initialText);
    win::SetWindowTextA(field, text.c_str());
    const auto previous = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtrA(
        upDown, win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(SpinButtonProcedure)));
    NumericEditClasses& classes = numericEditClasses();
    if (!classes.upDownProcedure) classes.upDownProcedure = previous;
}

win::LRESULT SpinButtonProcedure(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == win::WM_LBUTTONDOWN)
        if (auto buddy = reinterpret_cast<win::HWND>(win::SendMessageA(h, win::UDM_GETBUDDY, 0, 0)))
            win::SetFocus(buddy);
    return win::CallWindowProcA(numericEditClasses().upDownProcedure, h, msg, wp, lp);
}


void SpinFieldStep(win::HWND buddy, win::NMUPDOWN& step) {
    FieldRecord* r = fieldRecordOf(buddy);
    if (!r) return;
    if (win::SendMessageA(buddy, win::EM_GETMODIFY, 0, 0)) {
        std::array<char, 256> text{};
        win::GetWindowTextA(buddy, text.data(), 256);
        std::string_view t(text.data());
        if (t.find_first_not_of(' ') == std::string_view::npos)
            r->value = 0.0;
        else
            TextToDoubleQuiet(r->value, t);
    }
    double by = 0.0;
    switch (step.iDelta) {
        case 1:
            by = r->smallStep;
            break;
        case 5:
            by = r->largeStep;
            break;
        case -5:
            by = -r->largeStep;
            break;
        case -1:
            by = -r->smallStep;
            break;
        default:
            break;
    }
    r->value += by;
    bool clamped = false;
    if (r->hasRange()) {
        if (r->value < r->minimum) r->value = r->minimum, clamped = true;
        if (r->value > r->maximum) r->value = r->maximum, clamped = true;
    }
    std::array<char, 101> out{};
    if (numericFieldType(buddy) == 5) {
        // A number typed beyond the integers stops at their end, as the range
        // end stops it, instead of wrapping round.
        clamped = clamped || r->value >= 2147483647.0 || r->value <= -2147483648.0;
        int v = TruncateToInteger(r->value);
        const long long istep = std::llabs(static_cast<long long>(TruncateToInteger(by)));
        if (!clamped && istep != 0) {
            const long long base = r->spinBase;
            v = static_cast<int>(base + ((static_cast<long long>(v) - base) / istep) * istep);
        }
        r->value = v;
        yyint2st(v, std::span<char>(out.data(), 100));
    } else {
        yydbl2st(r->value, std::span<char>(out.data(), 100),
                 r->formatText.empty() ? kDefaultRealFormat : std::string_view(r->formatText));
    }
    win::SetWindowTextA(buddy, out.data());
    win::SendMessageA(buddy, win::EM_SETMODIFY, win::FALSE, 0);
    r->valueSet = 1;
    step.iDelta = 0;
}

}  // namespace tk
