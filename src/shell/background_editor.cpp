#include "shell/editor_memory.h"
#include "shell/profile_editors.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

void BKGREDIT(model::PolygonModel& model, bool gravity, int& status) {
    const int dialog = gravity ? IDD_BACKGROUNDGRAV : IDD_BACKGROUNDMAG;
    loadDialog(dialog);
    tk::DlgPutReal(IDC_PROPERTY, model.DBKG);
    if (!gravity) {
        tk::DlgPutReal(IDC_KRATIO, model.BKRAT);
        tk::DlgPutReal(IDC_INCLINATION, model.BKINC);
        tk::DlgPutReal(IDC_DECLINATION, model.BKDEC);
    }
    showSemiModeless(editorMemory().background);
    for (;;) {
        tk::EventRecord e{};
        if (waitForDialogEvent(dialog, e) != tk::PushButton) continue;
        if (e[1] == kOkButton) {
            const bool numbers = gravity
                                     ? util::fieldsHoldNumbers({IDC_PROPERTY})
                                     : util::fieldsHoldNumbers({IDC_PROPERTY, IDC_KRATIO,
                                                                IDC_INCLINATION, IDC_DECLINATION});
            if (!numbers) continue;
            util::readFieldNumber(IDC_PROPERTY, model.DBKG);
            if (!gravity) {
                util::readFieldNumber(IDC_KRATIO, model.BKRAT);
                util::readFieldNumber(IDC_INCLINATION, model.BKINC);
                util::readFieldNumber(IDC_DECLINATION, model.BKDEC);
            }
        } else if (e[1] != kCancelButton) {
            continue;
        }
        status = e[1] == kOkButton ? 0 : -1;
        rememberPosition(editorMemory().background);
        closeDialog(dialog);
        return;
    }
}

}  // namespace shell
