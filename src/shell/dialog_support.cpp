#include "shell/dialog_support.h"

#include <array>
#include <string>

#include "toolkit/core/event_wait.h"
#include "toolkit/core/text_args.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/value_text.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr int kModal = 1;
constexpr int kSemiModeless = 3;

}  // namespace

void loadDialog(int id) {
    tk::DlgLoad(id);
    tk::DlgSelect(id);
}

int showModal(DialogPosition& where) {
    tk::DlgShow(where.x, where.y, 0, kModal);
    const int button = tk::DialogInfoQuery(1);
    rememberPosition(where);
    return button;
}

int showModalForNumbers(DialogPosition& where, std::initializer_list<int> numericFields) {
    for (;;) {
        const int button = showModal(where);
        if (button != kOkButton || fieldsHoldNumbers(numericFields)) return button;
    }
}

void showSemiModeless(DialogPosition& where) {
    tk::DlgShow(where.x, where.y, 0, kSemiModeless);
    tk::EventTypeEnable(tk::FieldChanged, 1);
    tk::EventTypeEnable(tk::PushButton, 1);
}

void rememberPosition(DialogPosition& where) {
    where.x = tk::DialogInfoQuery(6);
    where.y = tk::DialogInfoQuery(7);
}

void closeDialog(int id) {
    tk::DlgSelect(id);
    tk::DlgHide();
    tk::DlgUnload();
}

int waitForDialogEvent(int dialog, tk::EventRecord& event) {
    for (;;) {
        int type = 0;
        tk::EventWait(type, event);
        if (event[0] == dialog && (type == tk::PushButton || type == tk::FieldChanged)) return type;
    }
}

void readRealIfGiven(int field, float& value) {
    std::array<char, 64> text{};
    tk::DlgGetString(field, text);
    if (!tk::isBlankText(std::string_view(text.data(), text.size()))) tk::DlgGetReal(field, value);
}

bool fieldsHoldNumbers(std::initializer_list<int> fields) {
    for (int f : fields) {
        std::array<char, 256> text{};
        tk::DlgGetString(f, text);
        const std::string_view typed = tk::trimBoth(std::string_view(text.data(), text.size()));
        if (typed.empty()) continue;
        double value = 0.0;
        int ok = 0;
        tk::TextToDoubleChecked(value, ok, typed);
        if (ok) continue;
        util::WINMSG("Please enter a valid number instead of \"" + std::string(typed) + "\"");
        tk::DlgSetField(f);
        return false;
    }
    return true;
}

}  // namespace shell
