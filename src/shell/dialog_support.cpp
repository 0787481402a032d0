#include "shell/dialog_support.h"

#include "toolkit/core/event_wait.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"

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
        if (button != kOkButton || util::fieldsHoldNumbers(numericFields)) return button;
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

}  // namespace shell
