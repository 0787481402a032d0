#include "shell/data_editor.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "files/survey_line_store.h"
#include "shell/editor_memory.h"
#include "shell/grid_editing.h"
#include "shell/resources/resource_ids.h"
#include "shell/station_geometry_file.h"
#include "shell/unit_lists.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/file_select.h"
#include "toolkit/dialogs/grid_public.h"
#include "util/array_routines.h"
#include "util/dialog_wrappers.h"
#include "util/message_boxes.h"
#include "util/text_span.h"

namespace shell {

namespace {

constexpr int kRows = 1000;
constexpr int kEast = 2, kNorth = 3, kStation = 4;
constexpr std::string_view kPositionFormat = "(F11.1)";

// The two layouts: with a sensor column (modes 3 and 4) or without.
struct Layout {
    int dialog;
    int grid;
    int sensor;  // 0 when there is none
    int surface;
    int data;
    int mask;
};

Layout layoutFor(int mode) {
    if (mode == 3 || mode == 4) return {IDD_DATAEDITSENSOR, IDC_DATASENSORGRID, 5, 6, 7, 8};
    return {IDD_DATAEDIT, IDC_DATAGRID, 0, 5, 6, 7};
}

EditorGrid editorGrid(const Layout& l) {
    EditorGrid g;
    g.field = l.grid;
    g.capacity = kRows;
    g.kinds.assign(static_cast<std::size_t>(l.mask), CellKind::Real);
    g.kinds.front() = CellKind::Number;
    g.kinds.back() = CellKind::Check;
    return g;
}

// The surface elevation under station i: the topography point of the
// station, or the sensor elevation where the model has no such point.
float surfaceAt(const model::ProfileLine& p, int i) {
    const model::PolygonModel& m = p.MODEL;
    if (i <= m.NTOPO && m.ZTOPO.has(i)) return m.ZTOPO(i);
    return p.ELEV(i);
}

std::vector<float> firstValues(const std::vector<float>& v, int n) {
    return {v.begin(), v.begin() + std::min<std::ptrdiff_t>(n, std::ssize(v))};
}

void fillGrid(const Layout& l, const model::ProfileLine& p) {
    std::vector<int> numbers(kRows);
    for (int i = 0; i < kRows; ++i)
        numbers[static_cast<std::size_t>(i)] = i + 1;
    tk::GrdRows(l.grid, kRows);
    tk::GrdPutInteger(l.grid, 1, numbers, kRows);
    const int n = p.NSTA;
    if (n <= 0) return;
    util::DLGPUTCHECKBOXL(IDC_USEMASKED, p.LMASKU);
    util::VRGRIDPUTREALF(l.grid, kEast, p.EAST.values(), n, kPositionFormat);
    util::VRGRIDPUTREALF(l.grid, kNorth, p.NORT.values(), n, kPositionFormat);
    util::VRGRIDPUTREALF(l.grid, kStation, p.STAT.values(), n, kPositionFormat);
    const std::vector<float> data = firstValues(p.DAT.values(), n);
    float low = 1.0E20f, high = -1.0E20f;
    util::FINDNX(data, n, low, high);
    if (std::max(high, -low) > 9999.0f)
        util::VRGRIDPUTREALF(l.grid, l.data, data, n, kPositionFormat);
    else
        util::VRGRIDPUTREAL(l.grid, l.data, data, n);
    std::vector<int> masked(static_cast<std::size_t>(n));
    std::vector<float> surface(static_cast<std::size_t>(n)), sensor(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        masked[static_cast<std::size_t>(i - 1)] = p.MASK(i, 1) ? 1 : 0;
        surface[static_cast<std::size_t>(i - 1)] = surfaceAt(p, i);
        sensor[static_cast<std::size_t>(i - 1)] =
            p.IELEV == 3 ? p.ELEV(i) - surfaceAt(p, i) : p.ELEV(i);
    }
    tk::GrdPutCheckBox(l.grid, l.mask, masked, n);
    if (l.sensor != 0 && p.IELEV == 3) util::VRGRIDPUTREAL(l.grid, l.sensor, sensor, n);
    if (l.sensor != 0 && p.IELEV == 4)
        util::VRGRIDPUTREALF(l.grid, l.sensor, sensor, n, kPositionFormat);
    util::VRGRIDPUTREALF(l.grid, l.surface, surface, n, kPositionFormat);
}

void open(const Layout& l, const model::ProfileLine& p) {
    loadDialog(l.dialog);
    putDistanceUnits(IDC_XUNIT, p.XUNIT);
    putDistanceUnits(IDC_ZUNIT, p.ZUNIT);
    tk::DlgPutString(IDC_DATATYPE, p.DTYPE.view());
    tk::DlgPutString(IDC_DATASETNAME, p.EAST.allocated() ? p.PNAME.view() : "New Data *");
    const std::string_view type = p.DTYPE.view();
    if (type.find("ravi") != std::string_view::npos)
        tk::GrdLabelColumn(l.grid, l.data, "Gravity");
    else if (type.find("Mag") != std::string_view::npos)
        tk::GrdLabelColumn(l.grid, l.data, "Magnetics");
    fillGrid(l, p);
    if (l.sensor == 0) {
        const int state = p.IELEV == 2 ? 1 : 3;
        tk::DlgFieldState(IDC_SENSORHEIGHTLABEL, state);
        tk::DlgFieldState(IDC_SENSORHEIGHT, state);
        if (p.IELEV == 2) tk::DlgPutReal(IDC_SENSORHEIGHT, p.SENSHT);
    }
}

std::vector<float> column(const Layout& l, int c, int n) {
    std::vector<float> v(static_cast<std::size_t>(n));
    util::VRGRIDGETREAL(l.grid, c, v, n);
    return v;
}

bool allocateStations(model::ProfileLine& p, int n) {
    model::PolygonModel& m = p.MODEL;
    return p.EAST.allocate(n) && p.NORT.allocate(n) && p.STAT.allocate(n) && p.ELEV.allocate(n) &&
           p.DAT.allocate(n, 1) && p.MASK.allocate(n, 1) && p.SYN.allocate(n, 1) &&
           p.REG.resizeKeeping(n) && m.XTOPO.allocate(n + 4) && m.ZTOPO.allocate(n + 4);
}

// The stations of rows 1..n into a copy of the profile, so that a failure
// leaves the profile as it was.
std::optional<model::ProfileLine> stationsFromGrid(const Layout& l, const model::ProfileLine& p,
                                                   int n) {
    model::ProfileLine e = p;
    e.NSTA = n;
    e.MODEL.NTOPO = n;
    e.NCOMP = 1;
    e.NDGRAF = 1;
    if (!allocateStations(e, n)) return std::nullopt;
    const std::vector<float> east = column(l, kEast, n), north = column(l, kNorth, n),
                             station = column(l, kStation, n), surface = column(l, l.surface, n),
                             data = column(l, l.data, n);
    const std::vector<float> sensor = l.sensor != 0 ? column(l, l.sensor, n) : surface;
    std::vector<int> masked(static_cast<std::size_t>(n), 0);
    int count = n;
    tk::GridColumnGetCheckBox(l.grid, l.mask, masked, count);
    util::DLGGETCHECKBOXL(IDC_USEMASKED, e.LMASKU);
    if (e.IELEV == 2) tk::DlgGetReal(IDC_SENSORHEIGHT, e.SENSHT);
    for (int i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        e.EAST(i) = east[k];
        e.NORT(i) = north[k];
        e.STAT(i) = station[k];
        e.DAT(i, 1) = data[k];
        e.MASK(i, 1) = masked[k] > 0;
        e.MODEL.XTOPO(i) = station[k];
        e.MODEL.ZTOPO(i) = surface[k];
        switch (e.IELEV) {
            case 2:
                e.ELEV(i) = surface[k] + e.SENSHT;
                break;
            case 3:
                e.ELEV(i) = surface[k] + sensor[k];
                break;
            case 4:
                e.ELEV(i) = sensor[k];
                break;
            default:
                e.ELEV(i) = surface[k];
                break;
        }
    }
    model::closeTopography(e.MODEL);
    files::setLineEnds(e);
    return e;
}

enum class Outcome { Stay, Close };

Outcome ok(const Layout& l, const EditorGrid& g, model::ProfileLine& p, int& status) {
    rememberPosition(editorMemory().dataEditor);
    std::array<char, 20> name{};
    tk::DlgGetString(IDC_DATASETNAME, name);
    if (std::string_view(name.data(), name.size()).find('*') != std::string_view::npos) {
        util::WINMSG("Please enter valid data set name");
        return Outcome::Stay;
    }
    if (p.IELEV == 2 && l.sensor == 0 && !util::fieldsHoldNumbers({IDC_SENSORHEIGHT}))
        return Outcome::Stay;
    const int n =
        std::max({g.lastFilledRow(kEast), g.lastFilledRow(kNorth), g.lastFilledRow(kStation)});
    status = -1;
    if (n == 0) return Outcome::Close;
    std::optional<model::ProfileLine> edited = stationsFromGrid(l, p, n);
    if (!edited) {
        util::WINMSG("CANNOT ALLOCATE PROFILE DATA");
        return Outcome::Close;
    }
    edited->PNAME = std::string_view(name.data(), name.size());
    edited->XUNIT = getDistanceUnit(IDC_XUNIT);
    edited->ZUNIT = getDistanceUnit(IDC_ZUNIT);
    p = std::move(*edited);
    status = 0;
    return Outcome::Close;
}

void columnMath(const Layout& l, const EditorGrid& g, bool multiply) {
    if (g.column < 1 || g.row < 1) {
        util::WINMSG("Must be inside data grid to add or multiply");
        return;
    }
    float number = 0.0f;
    if (!askColumnNumber(l.dialog, multiply, editorMemory().dataMath, number)) return;
    if (g.column < kEast || g.column > l.data) return;
    const int m = g.lastFilledRow(g.column);
    changeColumn(g, g.column, g.row, m, m, number, multiply);
}

// The geometry file to use: asked for with the file selector; nothing when
// the choice was cancelled or left blank.
std::optional<std::string> chooseGeometryFile(const Layout& l, bool save) {
    base::FixedString<256>& name = editorMemory().geometryFile;
    tk::SelectFileFront("Varendal Geometry Files|*.GEO|", save ? 47 : 42, util::chars(name),
                        "Varendal Geometry File");
    tk::DlgSelect(l.dialog);
    if (tk::DialogInfoQuery(4) != 1 || name.trimmed().empty()) return std::nullopt;
    return std::string(name.trimmed());
}

void openGeometry(const Layout& l) {
    const std::optional<std::string> path = chooseGeometryFile(l, false);
    if (!path) return;
    std::vector<StationPosition> records;
    if (!readStationGeometry(*path, kRows, records)) return;
    const int n = usableStations(records);
    for (int c = kEast; c <= kStation; ++c) {
        std::vector<float> v;
        for (int i = 0; i < n; ++i)
            v.push_back(records[static_cast<std::size_t>(i)][static_cast<std::size_t>(c - kEast)]);
        util::VRGRIDPUTREAL(l.grid, c, v, n);
    }
}

void saveGeometry(const Layout& l, const EditorGrid& g, bool askName) {
    if (askName || editorMemory().geometryFile.trimmed().empty())
        if (!chooseGeometryFile(l, true)) return;
    const int m = g.lastFilledRow(kEast);
    if (m == 0) {
        util::WINMSG("No geometry values to save!");
        return;
    }
    const std::vector<float> east = column(l, kEast, m), north = column(l, kNorth, m),
                             station = column(l, kStation, m);
    std::vector<StationPosition> records;
    for (std::size_t i = 0; i < static_cast<std::size_t>(m); ++i)
        records.push_back({east[i], north[i], station[i]});
    const std::string path(editorMemory().geometryFile.trimmed());
    if (!writeStationGeometry(path, records)) util::WINMSG("CANNOT WRITE GEOMETRY FILE " + path);
}

}  // namespace

void GRAVEDIT(model::ProfileLine& profile, int& status) {
    const Layout l = layoutFor(profile.IELEV);
    EditorGrid g = editorGrid(l);
    open(l, profile);
    showSemiModeless(editorMemory().dataEditor);
    g.startAtGridCell(profile.NSTA);
    for (;;) {
        tk::EventRecord e{};
        if (waitForDialogEvent(l.dialog, e) == tk::FieldChanged) {
            g.follow(e);
            continue;
        }
        switch (e[1]) {
            case kCancelButton:
                status = -1;
                closeDialog(l.dialog);
                return;
            case kOkButton:
                if (ok(l, g, profile, status) == Outcome::Close) {
                    closeDialog(l.dialog);
                    return;
                }
                break;
            case IDC_ADDTO:
            case IDC_MULTIPLYBY:
                columnMath(l, g, e[1] == IDC_MULTIPLYBY);
                break;
            case IDC_INSERTCELL:
                insertCell(g);
                break;
            case IDC_DELETECELL:
                deleteCell(g);
                break;
            case IDC_INSERTROW:
                insertRow(g, kEast, l.mask);
                break;
            case IDC_DELETEROW:
                deleteRow(g, kEast, l.mask);
                break;
            case IDC_OPENGEOMETRY:
                openGeometry(l);
                break;
            case IDC_SAVEGEOMETRY:
            case IDC_SAVEGEOMETRYAS:
                saveGeometry(l, g, e[1] == IDC_SAVEGEOMETRYAS);
                break;
            default:
                break;
        }
    }
}

}  // namespace shell
