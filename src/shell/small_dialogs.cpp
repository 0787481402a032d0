#include "shell/small_dialogs.h"

#include <string>
#include <vector>

#include "files/session_state.h"
#include "files/view_settings.h"
#include "model/session_state.h"
#include "shell/dialog_support.h"
#include "shell/editor_memory.h"
#include "shell/resources/resource_ids.h"
#include "shell/view_properties_check.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_values.h"
#include "util/array_routines.h"
#include "util/dialog_wrappers.h"
#include "util/message_boxes.h"
#include "util/text_clean.h"

namespace shell {

namespace {

struct Positions {
    DialogPosition number, integer, string, proceed, saveChanges, colourFill, lineName;
};

Positions& positions() {
    static Positions p;
    return p;
}

constexpr int kModeless = 2;

bool blank(std::span<const char> text) {
    return std::string_view(text.data(), text.size()).find_first_not_of(' ') ==
           std::string_view::npos;
}

}  // namespace

void NUMINDLG(std::string_view prompt, float& value, int& status) {
    loadDialog(IDD_NUMBER);
    tk::DlgPutReal(IDC_NUMBERVALUE, value, "(F)");
    tk::DlgPutString(IDC_PROMPT, prompt);
    if (showModalForNumbers(positions().number, {IDC_NUMBERVALUE}) == kOkButton) {
        tk::DlgGetReal(IDC_NUMBERVALUE, value);
        status = 0;
    } else {
        status = -1;
    }
}

void INUMINDLG(std::string_view prompt, int& value, int& status) {
    loadDialog(IDD_INTEGER);
    tk::DlgPutInteger(IDC_INTEGERVALUE, value);
    tk::DlgPutString(IDC_PROMPT, prompt);
    if (showModalForNumbers(positions().integer, {IDC_INTEGERVALUE}) == kOkButton) {
        tk::DlgGetInteger(IDC_INTEGERVALUE, value);
        status = 0;
    } else {
        status = -1;
    }
}

void STRINGINDLG(std::string_view prompt, std::span<char> text, int& status) {
    loadDialog(IDD_STRING);
    tk::DlgPutString(IDC_PROMPT, prompt);
    tk::DlgPutString(IDC_STRINGVALUE, std::string_view(text.data(), text.size()));
    if (showModal(positions().string) == kOkButton) {
        tk::DlgGetString(IDC_STRINGVALUE, text);
        status = 0;
    } else {
        status = -1;
    }
}

void PROCEEDDLG(std::string_view message, int& status) {
    loadDialog(IDD_PROCEED);
    tk::DlgPutString(IDC_PROMPT, message);
    status = showModal(positions().proceed) == kOkButton ? 0 : -1;
}

void SAVEFILEDLG2D(std::string_view name, bool& answer, int& status) {
    loadDialog(IDD_SAVECHANGES);
    tk::DlgPutString(IDC_SAVENAME, name);
    const int button = showModal(positions().saveChanges);
    answer = button == IDYESBUTTON;
    status = button == IDYESBUTTON || button == IDNOBUTTON ? 0 : -1;
}

void COLORFILLDLG(const model::PolygonModel& model, int& status) {
    files::ViewSettings& v = files::viewSettings();
    loadDialog(IDD_COLORFILL);
    tk::DlgPutReal(IDC_FILLFROM, v.FILL_MIN);
    tk::DlgPutReal(IDC_FILLTO, v.FILL_MAX);
    tk::DlgPutInteger(IDC_FILLGRIDX, v.ColorGridX);
    tk::DlgPutInteger(IDC_FILLGRIDY, v.ColorGridY);
    util::DLGPUTCHECKBOXL(IDC_REVERSEFILL, files::sessionState().LREDTOBLUE);
    for (;;) {
        const int button = showModalForNumbers(
            positions().colourFill, {IDC_FILLGRIDX, IDC_FILLGRIDY, IDC_FILLFROM, IDC_FILLTO});
        if (button == kOkButton) break;
        if (button != IDC_AUTOSCALE) {
            status = -1;
            return;
        }
        // The range offered is only shown: Cancel afterwards keeps the old one.
        float low = model.DBKG, high = model.DBKG;
        if (model.NBOD > 0) util::FINDNX(model.DENS.values(), model.NBOD, low, high);
        tk::DlgPutReal(IDC_FILLFROM, low);
        tk::DlgPutReal(IDC_FILLTO, high);
    }
    tk::DlgGetReal(IDC_FILLFROM, v.FILL_MIN);
    tk::DlgGetReal(IDC_FILLTO, v.FILL_MAX);
    tk::DlgGetInteger(IDC_FILLGRIDX, v.ColorGridX);
    tk::DlgGetInteger(IDC_FILLGRIDY, v.ColorGridY);
    util::DLGGETCHECKBOXL(IDC_REVERSEFILL, files::sessionState().LREDTOBLUE);
    status = 0;
}

void CLNAMEINDLG(std::span<char> name, const model::ProfileDatabase& db, int& status) {
    const int n = static_cast<int>(name.size());
    util::CHR_CHK(name, n);
    loadDialog(IDD_LINENAME);
    tk::DlgPutString(IDC_LINENAME, std::string_view(name.data(), name.size()));
    for (;;) {
        if (showModal(positions().lineName) != kOkButton) {
            status = -1;
            return;
        }
        tk::DlgGetString(IDC_LINENAME, name);
        util::CHR_CHK(name, n);
        const base::FixedString<20> asName(std::string_view(name.data(), name.size()));
        bool used = false;
        for (int i = 1; i <= db.NPROF && !used; ++i)
            used = db.profile(i).PNAME == asName;
        if (blank(name))
            util::WINMSG("Profile name must not be blank");
        else if (used)
            util::WINMSG("Profile name must be unique. " + std::string(name.data(), name.size()) +
                         " already used");
        else
            break;
    }
    status = 0;
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

EditorMemory& editorMemory() {
    static EditorMemory memory;
    return memory;
}

void resetSmallDialogs() {
    positions() = Positions{};
    editorMemory() = EditorMemory{};
    resetViewProperties();
}

}  // namespace shell
