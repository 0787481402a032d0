#include "shell/print_dialog.h"

#include <algorithm>
#include <array>

#include "files/view_settings.h"
#include "shell/dialog_support.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

namespace {

// The font kinds and styles in the order of the dialog's buttons.
constexpr std::array<int, 3> kFontKinds{101, 102, 103};
constexpr std::array<int, 4> kFontStyles{0, 2, 1, 3};

template <std::size_t N>
int placeOf(const std::array<int, N>& values, int value) {
    for (std::size_t k = 0; k < N; ++k)
        if (values[k] == value) return static_cast<int>(k) + 1;
    return 1;
}

template <std::size_t N>
int valueAt(const std::array<int, N>& values, int firstButton) {
    int place = 0;
    tk::DlgGetRadioButton(firstButton, place);
    return values[static_cast<std::size_t>(std::clamp<int>(place, 1, N) - 1)];
}

}  // namespace

void PRINTDLG(bool& tables, bool exportSelection, bool& nothing) {
    files::ViewSettings& v = files::viewSettings();
    loadDialog(exportSelection ? IDD_EXPORTSELECTION : IDD_PRINTSELECTION);
    if (!exportSelection) util::DLGPUTCHECKBOXL(IDC_PRINTGRAPH, v.LPGRAPH);
    util::DLGPUTCHECKBOXL(IDC_PRINTDATA, v.LPDATA);
    util::DLGPUTCHECKBOXL(IDC_PRINTREGIONAL, v.LPREG);
    util::DLGPUTCHECKBOXL(IDC_PRINTBODIES, v.LPBODS);
    DialogPosition centred;
    if (showModal(centred) != kOkButton) {
        nothing = true;
        return;
    }
    if (!exportSelection) util::DLGGETCHECKBOXL(IDC_PRINTGRAPH, v.LPGRAPH);
    util::DLGGETCHECKBOXL(IDC_PRINTDATA, v.LPDATA);
    util::DLGGETCHECKBOXL(IDC_PRINTREGIONAL, v.LPREG);
    util::DLGGETCHECKBOXL(IDC_PRINTBODIES, v.LPBODS);
    tables = v.LPDATA || v.LPREG || v.LPBODS;
    nothing = !(tables || v.LPGRAPH);
}

void GETFONTTYPE(int& status) {
    static DialogPosition where;
    files::ViewSettings& v = files::viewSettings();
    loadDialog(IDD_PRINTFONT);
    tk::DlgPutRadioButton(IDC_FONTSYSTEM + placeOf(kFontKinds, v.PRINT_FONT_TYPE) - 1);
    tk::DlgPutRadioButton(IDC_STYLENORMAL + placeOf(kFontStyles, v.PRINT_FONT) - 1);
    tk::DlgPutReal(IDC_CHARWIDTH, v.PRINT_CHAR_WIDTH, "(F)");
    tk::DlgPutReal(IDC_CHARHEIGHT, v.PRINT_CHAR_HEIGHT, "(F)");
    if (showModalForNumbers(where, {IDC_CHARWIDTH, IDC_CHARHEIGHT}) != kOkButton) {
        status = -1;
        return;
    }
    v.PRINT_FONT_TYPE = valueAt(kFontKinds, IDC_FONTSYSTEM);
    v.PRINT_FONT = valueAt(kFontStyles, IDC_STYLENORMAL);
    tk::DlgGetReal(IDC_CHARWIDTH, v.PRINT_CHAR_WIDTH);
    tk::DlgGetReal(IDC_CHARHEIGHT, v.PRINT_CHAR_HEIGHT);
    status = 0;
}

}  // namespace shell
