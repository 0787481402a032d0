#include "shell/shell_state.h"

#include "files/session_state.h"
#include "model/model_check.h"
#include "model/session_state.h"
#include "shell/click_modes.h"
#include "shell/pointer_state.h"
#include "views/view_state.h"

namespace shell {

MainLoopState& mainLoop() {
    static MainLoopState s;
    return s;
}

ShellSession& shellSession() {
    static ShellSession s;
    return s;
}

model::ProfileDatabase& database() {
    static model::ProfileDatabase db;
    return db;
}

model::ProfileLine& workingProfile() {
    static model::ProfileLine p;
    return p;
}

int& currentProfile() {
    return model::sessionState().CurrentProfile;
}

int& profileWindow() {
    return model::sessionState().ProfileWindow;
}

bool profileWindowOpen() {
    return profileWindow() > 0;
}

base::FixedString<6> propertyLabelFor(const model::ProfileLine& profile) {
    return profile.DTYPE.view().find("Mag") != std::string_view::npos ? "susc: " : "dens: ";
}

void loadWorkingProfile(int index) {
    // Nothing started on the profile shown before may act on this one.
    leaveWorkingProfile();
    model::ProfileLine& w = workingProfile();
    model::COPYPFLINE(w, database().profile(index));
    // The bad-model flag speaks of the model that is there now.
    model::sessionState().BadModel = model::LBADMODEL(w.MODEL);
    w.LSAVED = true;
    model::sessionState().ViewXUnit = w.XUNIT.view();
    model::sessionState().ViewZUnit = w.ZUNIT.view();
    mainLoop().PropertyLabel = propertyLabelFor(w);
    // The last zoom of the profile window belongs to the profile it was made on.
    mainLoop().ProfileAxisBackup = {};
}

void resetShellState() {
    mainLoop() = MainLoopState{};
    shellSession() = ShellSession{};
    database() = model::ProfileDatabase{};
    workingProfile() = model::ProfileLine{};
    model::resetSessionState();
    files::sessionState().reset();
    resetPointerState();
    views::viewState().reset();
    model::resetNewBodyBuffer();
}

}  // namespace shell
