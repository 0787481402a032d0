#include "files/session_state.h"
#include "shell/event_loop.h"
#include "shell/interaction.h"
#include "shell/map_interaction.h"
#include "shell/model_drag.h"
#include "shell/pointer_state.h"
#include "shell/resources/editing_ids.h"
#include "shell/resources/resource_ids.h"
#include "shell/rubber_bands.h"
#include "shell/view_properties_check.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"

namespace shell {

namespace {

void snapChoiceChanged() {
    EditState& e = editState();
    tk::DlgSelect(IDD_INSERTION);
    tk::DlgGetRadioButton(IDC_NOSNAP, e.SnapLockChoice);
    switch (e.SnapLockChoice) {
        case 1:
            e.SnapToNearest = e.LockToNearest = false;
            break;
        case 2:
            e.SnapToNearest = true;
            break;
        case 3:
            e.SnapToNearest = e.LockToNearest = true;
            break;
        default:
            break;
    }
}

void illegalRuleChanged() {
    tk::DlgSelect(IDD_INSERTION);
    tk::DlgGetRadioButton(IDC_SKIPILLEGAL, files::sessionState().Illegal);
}

void freeFlagsChanged() {
    EditState& e = editState();
    int x = 0, z = 0;
    tk::DlgSelect(IDD_INSERTION);
    tk::DlgGetCheckBox(IDC_FREEX, x);
    tk::DlgGetCheckBox(IDC_FREEZ, z);
    e.NewVertexFreeX = x == 1;
    e.NewVertexFreeZ = z == 1;
}

}  // namespace

void handleFieldChanged(const tk::EventRecord& event) {
    eraseRubberBands();
    hideHint();
    abandonItemDrag();
    checkViewProperties(tk::FieldChanged, event);
    const int dialog = event[0], field = event[2];
    if (dialog == IDD_INSERTION) {
        switch (field) {
            case IDC_NOSNAP:
            case IDC_SNAP:
            case IDC_SNAPLOCK:
                snapChoiceChanged();
                break;
            case IDC_SKIPILLEGAL:
            case IDC_SHORTENEDGE:
                illegalRuleChanged();
                break;
            case IDC_FREEX:
            case IDC_FREEZ:
                freeFlagsChanged();
                break;
            default:
                break;
        }
    } else if (dialog == IDD_PROFILELIST && field == IDC_PROFILELIST) {
        profileListSelected();
    }
}

}  // namespace shell
