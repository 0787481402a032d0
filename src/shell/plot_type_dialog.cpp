#include "shell/plot_type_dialog.h"

#include <string>

#include "files/session_state.h"
#include "shell/dialog_support.h"
#include "shell/resources/resource_ids.h"
#include "toolkit/core/event_queue.h"
#include "toolkit/dialogs/field_values.h"
#include "util/message_boxes.h"

namespace shell {

namespace {

constexpr int kSurface = 6;

struct Captions {
    const char* first;
    const char* second;
};

// The two component buttons' captions by data type; nothing for the loop
// sources of transient data.
const Captions* componentCaptions(std::string_view type) {
    static constexpr Captions kEm{"In-Phase", "Quadrature"};
    static constexpr Captions kConductivity{"HMD data", "VMD Data"};
    static constexpr Captions kMt{"Apparent Resistivity", "Impedance Phase"};
    static constexpr Captions kOther{"Apparent Resistivity", "IP Response"};
    if (type == "Vertical Coaxial" || type == "Horizontal Coplanar" || type == "Vertical Coplanar")
        return &kEm;
    if (type == "EM Conductivity Data") return &kConductivity;
    if (type == "Magnetotelluric Data") return &kMt;
    if (type == "Fixed Loop TEM" || type == "Central Loop TEM" || type == "Coincident Loop TEM")
        return nullptr;
    return &kOther;
}

int checkedPlace(int firstButton) {
    int place = 0;
    tk::DlgGetRadioButton(firstButton, place);
    return place;
}

// Waits for OK or Cancel; STEP runs after every event of the dialog.
template <typename Step>
int buttonPressed(int dialog, Step step) {
    for (;;) {
        tk::EventRecord event{};
        const int type = waitForDialogEvent(dialog, event);
        step();
        if (type == tk::PushButton && (event[1] == kOkButton || event[1] == kCancelButton))
            return event[1];
    }
}

bool chooseComponent(const model::ProfileLine& p, int& component) {
    loadDialog(IDD_COMPONENTS);
    if (component < 1 || component > 3) component = 3;
    const Captions* captions = componentCaptions(p.DTYPE.trimmed());
    if (!captions) {
        util::WINMSG("TEM data do not have two components!");
        closeDialog(IDD_COMPONENTS);
        return false;
    }
    tk::DlgPutString(IDC_FIRSTCOMPONENT, captions->first);
    tk::DlgPutString(IDC_SECONDCOMPONENT, captions->second);
    tk::DlgPutRadioButton(IDC_FIRSTCOMPONENT + component - 1);
    DialogPosition centred;
    showSemiModeless(centred);
    const int button = buttonPressed(IDD_COMPONENTS, [] {});
    if (button == kOkButton) component = checkedPlace(IDC_FIRSTCOMPONENT);
    tk::EventTypeEnable(tk::PushButton, 0);
    closeDialog(IDD_COMPONENTS);
    return button == kOkButton;
}

void enableSurfaceAngles(bool on) {
    tk::DlgFieldState(IDC_SURFACEELEVATION, on ? 1 : 0);
    tk::DlgFieldState(IDC_SURFACEROTATION, on ? 1 : 0);
}

bool chooseDisplayType(int& displayType) {
    static DialogPosition where;
    loadDialog(IDD_SECTIONDISPLAY);
    if (displayType < 1 || displayType > kSurface) displayType = 4;
    if (displayType < kSurface) tk::DlgPutRadioButton(IDC_CONTOURSONLY + displayType - 1);
    tk::DlgPutCheckBox(IDC_REVERSEFILL, files::sessionState().LREDTOBLUE ? 1 : 0);
    enableSurfaceAngles(displayType == kSurface);
    showSemiModeless(where);
    int seen = displayType;
    const int button = buttonPressed(IDD_SECTIONDISPLAY, [&seen] {
        int reverse = 0;
        tk::DlgGetCheckBox(IDC_REVERSEFILL, reverse);
        files::sessionState().LREDTOBLUE = reverse == 1;
        const int now = checkedPlace(IDC_CONTOURSONLY);
        if (now != seen) enableSurfaceAngles(now == kSurface);
        seen = now;
    });
    if (button == kOkButton) displayType = seen;
    tk::EventTypeEnable(tk::PushButton, 0);
    rememberPosition(where);
    closeDialog(IDD_SECTIONDISPLAY);
    return button == kOkButton;
}

}  // namespace

void GETPLOTTYPE(const model::ProfileLine& profile, int& displayType, int& component,
                 int components, int& status) {
    status = -1;
    if (components > 1) {
        if (!chooseComponent(profile, component)) return;
    } else {
        component = 1;
    }
    if (chooseDisplayType(displayType)) status = 0;
}

}  // namespace shell
