#include "shell/print_dialog.h"

#include "files/view_settings.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

namespace {

constexpr int kModal = 1;
constexpr int kOk = 1;

void put(int field, bool on) {
    tk::DlgPutCheckBox(field, on ? 1 : 0);
}

bool get(int field) {
    int state = 0;
    tk::DlgGetCheckBox(field, state);
    return state == 1;
}

}  // namespace

void PRINTDLG(bool& tables, bool exportSelection, bool& nothing) {
    files::ViewSettings& v = files::viewSettings();
    const int id = exportSelection ? IDD_EXPORTSELECTION : IDD_PRINTSELECTION;
    tk::DlgLoad(id);
    tk::DlgSelect(id);
    if (!exportSelection) put(IDC_PRINTGRAPH, v.LPGRAPH);
    put(IDC_PRINTDATA, v.LPDATA);
    put(IDC_PRINTREGIONAL, v.LPREG);
    put(IDC_PRINTBODIES, v.LPBODS);
    tk::DlgShow(-1, -1, 0, kModal);
    if (tk::DialogInfoQuery(1) != kOk) {
        nothing = true;
        return;
    }
    tables = false;
    if (!exportSelection) v.LPGRAPH = get(IDC_PRINTGRAPH);
    v.LPDATA = get(IDC_PRINTDATA);
    v.LPREG = get(IDC_PRINTREGIONAL);
    v.LPBODS = get(IDC_PRINTBODIES);
    tables = v.LPDATA || v.LPREG || v.LPBODS;
    nothing = !(tables || v.LPGRAPH);
}

}  // namespace shell
