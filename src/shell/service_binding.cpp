#include "shell/service_binding.h"

#include <fstream>
#include <string>

#include "calc/random_deviates.h"
#include "files/dialog_calls.h"
#include "files/view_services.h"
#include "model/model_services.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/view_calls.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"
#include "views/profile_scaling.h"

namespace shell {

namespace {

std::ofstream& debugLog() {
    static std::ofstream log;
    return log;
}

void bindModelServices() {
    model::ModelServices& m = model::modelServices();
    m.message = [](std::string_view text) { util::WINMSG(text); };
    m.closeProfileWindow = [] { viewCalls().CLOSEIPLWIN(); };
    m.selectMainWindow = [] { tk::OutputWindowSelect(0); };
    m.saveChangesPrompt = [](std::string_view name, bool& answer, bool& cancelled) {
        int status = 0;
        SAVEFILEDLG2D(name, answer, status);
        cancelled = status != 0;
    };
    m.debugLog = [](std::string_view line) {
        if (debugLog().is_open()) debugLog() << line << '\n' << std::flush;
    };
    m.gaussianDeviate = [](std::int16_t& seed) { return calc::GASDEV(seed); };
}

void bindDialogCalls() {
    files::DialogCalls& d = files::dialogCalls();
    d.DlgLoad = [](int id) {
        tk::DlgLoad(id);
        return tk::DialogInfoQuery(3) == id;
    };
    d.DlgPutInteger = [](int field, int value) { tk::DlgPutInteger(field, value); };
    d.DlgPutString = [](int field, std::string_view text) { tk::DlgPutString(field, text); };
    d.DlgFieldState = [](int field, int state) { tk::DlgFieldState(field, state); };
    d.DlgPutCheckBox = [](int field, int state) { tk::DlgPutCheckBox(field, state); };
    d.DlgShow = [](int x, int y, int focus, int showType) { tk::DlgShow(x, y, focus, showType); };
    d.DialogInfoQuery = [](int selector) { return tk::DialogInfoQuery(selector); };
    d.DlgGetInteger = [](int field, int& value) { tk::DlgGetInteger(field, value); };
    d.DlgGetCheckBox = [](int field, int& state) { tk::DlgGetCheckBox(field, state); };
    d.DlgHide = [] { tk::DlgHide(); };
}

// The importers fit the graphs of the profiles they make; the plotter starts
// hardcopy output on the driver the command selected.
void bindViewAndOutput() {
    files::ViewServices& v = files::viewServices();
    v.DATARESCALEPL = [](model::ProfileLine& p) { views::DATARESCALEPL(p); };
    v.SCALE_BY = [](util::AxisRecord& axis, model::PolygonModel& model, model::ProfileLine& p) {
        views::SCALE_BY(axis, model, p);
    };
    util::plotterServices().hardcopySwitch = [](std::string_view name, std::string_view title) {
        tk::HardcopySwitch(name, title);
    };
}

}  // namespace

void bindServices() {
    bindModelServices();
    bindDialogCalls();
    bindViewAndOutput();
}

void openDebugLog() {
    if (!debugLog().is_open()) debugLog().open("Pelk.dbg", std::ios::app);
}

void closeDebugLog() {
    if (debugLog().is_open()) debugLog().close();
}

}  // namespace shell
