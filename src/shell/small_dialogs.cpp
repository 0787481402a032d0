#include "shell/small_dialogs.h"

#include <string>
#include <vector>

#include "model/session_state.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

namespace {

struct Position {
    int x = -1, y = -1;
};

struct Positions {
    Position number, string, proceed, saveChanges;
};

Positions& positions() {
    static Positions p;
    return p;
}

constexpr int kModal = 1;
constexpr int kModeless = 2;
constexpr int kOk = 1;

void loadDialog(int id) {
    tk::DlgLoad(id);
    tk::DlgSelect(id);
}

// Shows the current dialog modally where it was last left, with the focus
// in `focus` (0 the first field), and answers the button that closed it.
int showModal(Position& where, int focus = 0) {
    tk::DlgShow(where.x, where.y, focus, kModal);
    const int button = tk::DialogInfoQuery(1);
    where.x = tk::DialogInfoQuery(6);
    where.y = tk::DialogInfoQuery(7);
    return button;
}

}  // namespace

void NUMINDLG(std::string_view prompt, float& value, int& status) {
    loadDialog(IDD_NUMBER);
    tk::DlgPutReal(IDC_NUMBERVALUE, value, "(F)");
    tk::DlgPutString(IDC_PROMPT, prompt);
    if (showModal(positions().number, IDC_NUMBERVALUE) == kOk) {
        tk::DlgGetReal(IDC_NUMBERVALUE, value);
        status = 0;
    } else {
        status = -1;
    }
}

void STRINGINDLG(std::string_view prompt, std::span<char> text, int& status) {
    loadDialog(IDD_STRING);
    tk::DlgPutString(IDC_PROMPT, prompt);
    tk::DlgPutString(IDC_STRINGVALUE, std::string_view(text.data(), text.size()));
    if (showModal(positions().string, IDC_STRINGVALUE) == kOk) {
        tk::DlgGetString(IDC_STRINGVALUE, text);
        status = 0;
    } else {
        status = -1;
    }
}

void PROCEEDDLG(std::string_view message, int& status) {
    loadDialog(IDD_PROCEED);
    tk::DlgPutString(IDC_PROMPT, message);
    status = showModal(positions().proceed) == kOk ? 0 : -1;
}

void SAVEFILEDLG2D(std::string_view name, bool& answer, int& status) {
    loadDialog(IDD_SAVECHANGES);
    tk::DlgPutString(IDC_SAVENAME, name);
    const int button = showModal(positions().saveChanges);
    answer = button == IDYESBUTTON;
    status = button == IDYESBUTTON || button == IDNOBUTTON ? 0 : -1;
}

void SHOWLISTS(const model::ProfileDatabase& db, int& listDialog) {
    // Refilling the list must raise no selection and no redraw.
    tk::OutputWindowSelect(0);
    tk::EventTypeEnable(tk::FieldChanged, 0);
    tk::EventTypeEnable(tk::Resize, 0);
    tk::EventTypeEnable(tk::Expose, 0);
    if (listDialog > 0) {
        tk::DlgSelect(listDialog);
        tk::DlgHide();
        listDialog = 0;
    }
    if (db.NPROF >= 1) {
        std::vector<std::string> entries;
        entries.emplace_back(base::FixedString<24>("no profile selected").view());
        for (int i = 1; i <= db.NPROF; ++i)
            entries.emplace_back(db.name(i).view());
        tk::DlgLoad(IDD_PROFILELIST, IDD_PROFILELIST, 0);
        tk::DlgSelect(IDD_PROFILELIST);
        tk::DlgShow(0, 0, 0, kModeless);
        tk::DlgPutMenu(IDC_PROFILELIST, entries, static_cast<int>(entries.size()),
                       model::sessionState().CurrentProfile + 1);
        listDialog = IDD_PROFILELIST;
    }
    tk::EventTypeEnable(tk::FieldChanged, 1);
    tk::EventTypeEnable(tk::Resize, 1);
    tk::EventTypeEnable(tk::Expose, 1);
}

void resetSmallDialogs() {
    positions() = Positions{};
}

}  // namespace shell
