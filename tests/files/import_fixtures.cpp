#include "import_fixtures.h"

#include "files/dialog_calls.h"
#include "files/view_services.h"
#include "files/view_settings.h"
#include "model/session_state.h"

namespace files_test {

namespace {

// Field defaults of the dialog templates.
std::map<int, int> templateIntegers(int id) {
    if (id == 182)
        return {{1275, 1}, {1277, 2}, {1281, 3}, {1280, 4},
                {1283, 5}, {1245, 0}, {1047, 1}, {1049, 1000}};
    if (id == 147) return {{1227, 1}, {1226, 2}, {1225, 0}, {1047, 1}, {1049, 1000}};
    return {};
}

}  // namespace

FakeDialog::FakeDialog() {
    auto& d = files::dialogCalls();
    d.DlgLoad = [this](int id) {
        loaded.push_back(id);
        integers = templateIntegers(id);
        checks = {{1046, 0}, {1048, 0}};
        return true;
    };
    d.DlgPutInteger = [this](int f, int v) { integers[f] = v; };
    d.DlgPutString = [this](int f, std::string_view t) { texts[f] = std::string(t); };
    d.DlgFieldState = [this](int f, int s) { states[f] = s; };
    d.DlgPutCheckBox = [this](int f, int s) { checks[f] = s; };
    d.DlgShow = [this](int, int, int, int) {
        ++shows;
        if (user) user(*this);
    };
    d.DialogInfoQuery = [this](int selector) { return selector == 1 ? button : 0; };
    d.DlgGetInteger = [this](int f, int& v) { v = integers[f]; };
    d.DlgGetCheckBox = [this](int f, int& s) { s = checks[f]; };
    d.DlgHide = [this] { ++hides; };
}

void FakeDialog::chooseColumns(int e, int n, int z, int d, int v, int sixth) {
    user = [=](FakeDialog& dlg) {
        dlg.integers[1275] = e;
        dlg.integers[1277] = n;
        dlg.integers[1281] = z;
        dlg.integers[1280] = d;
        dlg.integers[1283] = v;
        dlg.integers[1245] = sixth;
    };
}

FakeDialog::~FakeDialog() {
    files::resetDialogCalls();
}

ViewLog::ViewLog() {
    auto& v = files::viewServices();
    v.DATARESCALEPL = [this](model::ProfileLine&) { ++rescales; };
    v.SCALE_BY = [this](util::AxisRecord&, model::PolygonModel&, model::ProfileLine&) {
        ++sectionScales;
    };
}

ViewLog::~ViewLog() {
    files::resetViewServices();
}

model::ProfileLine newSlot(int ielev) {
    model::ProfileLine p = model::profileTemplate();
    p.DTYPE = std::string_view("Gravity Data");
    p.DUNIT[0] = std::string_view("mgal");
    p.XUNIT = std::string_view("M");
    p.ZUNIT = std::string_view("M");
    p.IELEV = ielev;
    return p;
}

std::unique_ptr<model::ProfileDatabase> database(int count) {
    auto db = std::make_unique<model::ProfileDatabase>();
    model::allocateDatabase(*db);
    db->NPROF = count;
    return db;
}

SettingsGuard::SettingsGuard() {
    files::viewSettings().reset();
    model::resetSessionState();
}

SettingsGuard::~SettingsGuard() {
    files::viewSettings().reset();
    model::resetSessionState();
}

std::vector<std::string> crlfLines(const std::string& text, bool& allCrLf) {
    std::vector<std::string> lines;
    allCrLf = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            allCrLf = false;
            lines.push_back(text.substr(start));
            break;
        }
        if (end == start || text[end - 1] != '\r') {
            allCrLf = false;
            lines.push_back(text.substr(start, end - start));
        } else {
            lines.push_back(text.substr(start, end - start - 1));
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace files_test
