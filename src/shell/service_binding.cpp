#include "shell/service_binding.h"

#include <fstream>
#include <string>

#include "calc/inversion_host.h"
#include "calc/random_deviates.h"
#include "files/dialog_calls.h"
#include "files/view_services.h"
#include "platform/kernel/user_folders.h"
#include "model/model_services.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_placement.h"
#include "toolkit/core/window_text.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "util/graph_zoom.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"
#include "views/data_graph.h"
#include "views/map_view.h"
#include "views/model_section.h"
#include "views/profile_scaling.h"

namespace shell {

namespace {

std::ofstream& debugLog() {
    static std::ofstream log;
    return log;
}

constexpr int kModal = 1;
constexpr int kHidden = 3;

// Where the model check's finding dialogs were last left, for the run.
struct FindingPlace {
    int x = -1, y = -1;
};
FindingPlace& findingPlace() {
    static FindingPlace place;
    return place;
}

void loadFindingDialogs() {
    for (int id : {IDD_BADEDGE, IDD_BADVERTICES})
        if (tk::DialogSlotFind(id) <= 0) tk::DlgLoad(id);
}

void putFindingPoint(int xField, int zField, float x, float z) {
    tk::DlgPutReal(xField, x);
    tk::DlgPutReal(zField, z);
}

void fillBadEdge(const model::ModelFinding& f) {
    tk::DlgSelect(IDD_BADEDGE);
    tk::DlgPutInteger(IDC_CHECKBODY, f.body);
    putFindingPoint(IDC_FROMX, IDC_FROMZ, f.x[0], f.z[0]);
    putFindingPoint(IDC_TOX, IDC_TOZ, f.x[1], f.z[1]);
    if (f.reason == 1) {
        tk::DlgPutString(IDC_CROSSESLABEL, "Crosses Topography");
        tk::DlgFieldState(IDC_OTHERBODY, kHidden);
    } else {
        tk::DlgPutString(IDC_CROSSESLABEL, "Crosses Edge on Body");
        tk::DlgFieldState(IDC_OTHERBODY, 0);
        tk::DlgPutInteger(IDC_OTHERBODY, f.crossedBody);
    }
    putFindingPoint(IDC_EDGEFROMX, IDC_EDGEFROMZ, f.edgeX[0], f.edgeZ[0]);
    putFindingPoint(IDC_EDGETOX, IDC_EDGETOZ, f.edgeX[1], f.edgeZ[1]);
    putFindingPoint(IDC_ATX, IDC_ATZ, f.atX, f.atZ);
}

void fillBadVertices(const model::ModelFinding& f) {
    tk::DlgSelect(IDD_BADVERTICES);
    tk::DlgPutInteger(IDC_CHECKBODY, f.body);
    tk::DlgPutInteger(IDC_OTHERBODY, f.crossedBody);
    putFindingPoint(IDC_VERTEX1X, IDC_VERTEX1Z, f.x[0], f.z[0]);
    putFindingPoint(IDC_VERTEX2X, IDC_VERTEX2Z, f.x[1], f.z[1]);
    putFindingPoint(IDC_VERTEX3X, IDC_VERTEX3Z, f.x[2], f.z[2]);
}

int showFinding(const model::ModelFinding& f) {
    loadFindingDialogs();
    if (f.reason == 3)
        fillBadVertices(f);
    else
        fillBadEdge(f);
    FindingPlace& place = findingPlace();
    tk::DlgShow(place.x, place.y, 0, kModal);
    place.x = tk::DialogInfoQuery(6);
    place.y = tk::DialogInfoQuery(7);
    return tk::DialogInfoQuery(1);
}

void hideFindings() {
    for (int id : {IDD_BADEDGE, IDD_BADVERTICES}) {
        if (tk::DialogSlotFind(id) <= 0) continue;
        tk::DlgSelect(id);
        tk::DlgHide();
    }
}

void bindModelServices() {
    model::ModelServices& m = model::modelServices();
    m.message = [](std::string_view text) { util::WINMSG(text); };
    m.closeProfileWindow = [] { closeProfileWindow(); };
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
    m.showFinding = showFinding;
    m.hideFindings = hideFindings;
}

// The progress dialog's fields are written only while it is loaded, so a
// single step without the dialog writes into no other dialog.
bool selectProgressDialog() {
    if (tk::DialogSlotFind(calc::kProgressDialog) <= 0) return false;
    tk::DlgSelect(calc::kProgressDialog);
    return true;
}

void bindInversionHost() {
    calc::InversionHost& h = calc::inversionHost();
    h.putString = [](int field, std::string_view text) {
        if (selectProgressDialog()) tk::DlgPutString(field, text);
    };
    h.putReal = [](int field, float value, std::string_view format) {
        if (selectProgressDialog()) tk::DlgPutReal(field, value, format);
    };
    h.putProgress = [](int field, int value) {
        if (selectProgressDialog()) tk::DlgPutProgressBar(field, value);
    };
    h.loadDialog = [](int id) {
        if (tk::DialogSlotFind(id) <= 0) tk::DlgLoad(id);
    };
    h.selectDialog = [](int id) { tk::DlgSelect(id); };
    h.showDialog = [](int x, int y, int focus, int type) { tk::DlgShow(x, y, focus, type); };
    h.hideDialog = [] { tk::DlgHide(); };
    h.dialogPosition = [](int& x, int& y) {
        x = tk::DialogInfoQuery(6);
        y = tk::DialogInfoQuery(7);
    };
    h.cursorShape = [](int shape) { tk::CursorShapeSet(shape); };
    h.windowTextAt = [](int x, int y, std::string_view text) {
        if (profileWindowOpen()) tk::WindowTextAt(x, y, text);
    };
    // The drawings go to the profile window, whatever a dialog made current.
    h.plotBodies = [](util::AxisRecord& axis, model::ProfileLine& p, model::PolygonModel& m,
                      int body) {
        if (!profileWindowOpen()) return;
        tk::OutputWindowSelect(profileWindow());
        views::PLOTBODIES(axis, m, p.LABELS, body, p.XUNIT.view(), p.ZUNIT.view());
    };
    h.plotProfile = [](util::AxisRecord& axis, model::ProfileLine& p) {
        if (!profileWindowOpen()) return;
        tk::OutputWindowSelect(profileWindow());
        views::PLOT_PROF(axis, p, false);
    };
    h.refreshModel = [](model::ProfileLine& p, model::PolygonModel& m, int body) {
        if (!profileWindowOpen()) return;
        tk::OutputWindowSelect(profileWindow());
        views::REFRESHMODEL(p, m, body);
    };
    h.refreshData = [](model::ProfileLine& p) {
        if (!profileWindowOpen()) return;
        tk::OutputWindowSelect(profileWindow());
        views::REFRESHDATA(p, p.AXES[0]);
    };
}

void bindViewServices() {
    files::ViewServices& v = files::viewServices();
    v.DATARESCALEPL = [](model::ProfileLine& p) { views::DATARESCALEPL(p); };
    v.SCALE_BY = [](util::AxisRecord& axis, model::PolygonModel& m, model::ProfileLine& p) {
        views::SCALE_BY(axis, m, p);
    };
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
    bindViewServices();
    bindInversionHost();
    bindViewAndOutput();
}

const views::MapHoverServices& mapHoverServices() {
    static const views::MapHoverServices services = [] {
        views::MapHoverServices s;
        s.inGraph = [](float e, float n, const util::AxisRecord& axis) {
            return util::LINGRAPH(e, n, axis);
        };
        // The highlight draws with the map's own record, which the plotter
        // takes the graph's origin into.
        s.markProfile = [](int profile, const util::AxisRecord&, int pen) {
            if (profile < 1 || profile > database().NPROF) return;
            views::MARKPFLONMAP(database().profile(profile), mainLoop().MapAxis, pen);
        };
        return s;
    }();
    return services;
}

void openDebugLog() {
    if (!debugLog().is_open()) debugLog().open(win::userStateFile("Pelk.dbg"), std::ios::app);
}

void closeDebugLog() {
    if (debugLog().is_open()) debugLog().close();
}

}  // namespace shell
