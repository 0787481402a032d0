#pragma once
// What the dialog journeys share beside the program fixture: a database
// whose first profile carries gravity data with a model of two bodies and a
// layer and whose second carries total-field data, the profile window's
// menus, the cells of a dialog's grid and the screenshots of the dialogs.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/body_area.h"
#include "model/body_finish.h"
#include "model/body_nesting.h"
#include "program_test_support.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_window.h"

namespace shell::test {

struct Outline {
    std::vector<float> x, z;
    bool layer = false;
    float property = 0.0f;
};

inline void addBody(model::PolygonModel& m, const Outline& b) {
    const int n = static_cast<int>(b.x.size());
    const std::unique_ptr<bool[]> fixed(new bool[static_cast<std::size_t>(n)]());
    const std::span<const bool> flags(fixed.get(), static_cast<std::size_t>(n));
    std::vector<int> leaders;
    for (int i = 1; i <= n; ++i)
        leaders.push_back(m.vertexCount() + i);
    ASSERT_TRUE(model::BODYFINISH(m, b.x, b.z, n, flags, flags, b.property, leaders, b.layer));
}

// Five stations 0..400 m along an east-west line; gravity data and a model
// of two separate bodies and a layer below them, or total-field data and
// one body.
inline void fillProfile(model::ProfileLine& p, bool gravity) {
    p.PNAME.assign(gravity ? "Gravity Line" : "Magnetic Line");
    p.DTYPE.assign(gravity ? "Gravity Data" : "Magnetics Total Fld");
    p.DUNIT[0].assign(gravity ? "mgal" : "nT");
    p.XUNIT.assign("M");
    p.ZUNIT.assign("M");
    p.IELEV = 1;
    p.IDENUN = 1;
    p.ISUSUN = 1;
    p.FIELD = 50000.0f;
    p.FINCL = 60.0f;
    p.NSTA = 5;
    p.NCOMP = 1;
    p.NDGRAF = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    ASSERT_EQ(status, 0);
    for (int k = 1; k <= 5; ++k) {
        p.EAST(k) = 1000.0f + 100.0f * static_cast<float>(k - 1);
        p.NORT(k) = gravity ? 5000.0f : 6000.0f;
        p.STAT(k) = 100.0f * static_cast<float>(k - 1);
        p.ELEV(k) = 0.0f;
        p.DAT(k, 1) = static_cast<float>(k);
        p.MASK(k, 1) = false;
    }
    p.EFIRST = p.EAST(1);
    p.NFIRST = p.NORT(1);
    p.ELAST = p.EAST(5);
    p.NLAST = p.NORT(5);
    model::PolygonModel& m = p.MODEL;
    ASSERT_TRUE(model::ALLOCPG(m, 0, 0));
    m.DBKG = gravity ? 2.67f : 0.0f;
    addBody(m, {{50, 150, 150, 50}, {-20, -20, -80, -80}, false, 0.3f});
    if (gravity) {
        addBody(m, {{250, 350, 350, 250}, {-20, -20, -80, -80}, false, -0.2f});
        addBody(m, {{0, 400}, {-120, -120}, true, 0.1f});
    }
    model::FDAREA(m);
    bool changed = false;
    model::BOLEVL(m, changed);
}

// SITE.TQM: profile 1 gravity, profile 2 magnetics, profile 1 current.
inline void writeModelDatabase(const std::string& name = "SITE") {
    model::ProfileDatabase db;
    ASSERT_TRUE(model::allocateDatabase(db));
    fillProfile(db.profile(1), true);
    fillProfile(db.profile(2), false);
    for (int i = 1; i <= 2; ++i)
        db.name(i) = model::listName(db.profile(i).PNAME);
    db.NPROF = 2;
    saveDatabase(db, name);
}

inline win::HWND field(const std::string& dialogTitle, int id) {
    return win::GetDlgItem(dialogTitled(dialogTitle), id);
}

inline void clickField(Script& s, const std::string& dialogTitle, int id) {
    s.clickOn([=] { return field(dialogTitle, id); });
}

// Replaces the text of a field by typing, as a user selecting all first.
inline void typeInto(Script& s, const std::string& dialogTitle, int id, const std::string& text) {
    clickField(s, dialogTitle, id);
    s.chord({win::VK_CONTROL, 'A'}).text(text);
}

// The screen point of a cell (columns and rows from 1) of a dialog's grid;
// the row must be in view.
inline win::POINT gridCell(win::HWND dialog, int gridField, int column, int row) {
    tk::GridRecord* g = tk::gridRecordOfWindow(win::GetDlgItem(dialog, gridField));
    if (!g || !g->cellArea) throw std::runtime_error("no grid " + std::to_string(gridField));
    int x = 0;
    for (int c = g->firstColumn; c < column - 1; ++c)
        x += g->columns[static_cast<std::size_t>(c)].width - 1;
    const int width = g->columns[static_cast<std::size_t>(column - 1)].width;
    win::POINT p{x + width / 2, (row - 1 - g->firstRow) * (g->rowHeight - 1) + g->rowHeight / 2};
    win::ClientToScreen(g->cellArea, &p);
    return p;
}

// Types a value into a grid cell: a click on it, then the text and Tab.
inline void typeIntoCell(Script& s, const std::string& dialogTitle, int gridField, int column,
                         int row, const std::string& text) {
    s.clickAt([=] { return gridCell(dialogTitled(dialogTitle), gridField, column, row); });
    s.chord({win::VK_CONTROL, 'A'}).text(text).key(win::VK_TAB);
}

// Add To or Multiply By on a cell of a grid editor: the cell, the button,
// then the number typed into the question and OK.
inline void columnMathOnCell(Script& s, const std::string& dialogTitle, int grid, int column,
                             int row, int button, const std::string& number) {
    static constexpr const char* kNumber = "Get Floating Point Number";
    s.clickAt([=] { return gridCell(dialogTitled(dialogTitle), grid, column, row); });
    clickField(s, dialogTitle, button);
    s.check([] { ASSERT_TRUE(dialogTitled(kNumber)); });
    typeInto(s, kNumber, IDC_NUMBERVALUE, number);
    clickField(s, kNumber, win::IDOK);
}

inline tk::GridRecord* gridOf(const std::string& dialogTitle, int gridField) {
    return tk::gridRecordOfWindow(field(dialogTitle, gridField));
}

// Saves the dialog as dialog_<name>.png and answers whether it was written.
inline bool shootDialog(win::HWND dialog, const std::string& name) {
    fs::create_directories(PELK_SCREENSHOT_DIR);
    return win::robot::saveWindowPng(dialog, PELK_SCREENSHOT_DIR "/dialog_" + name + ".png");
}

// How many pixels of the window are of the colour (red in the low byte).
inline int pixelsOfColour(win::HWND window, win::COLORREF colour) {
    win::RECT r{};
    win::GetWindowRect(window, &r);
    win::HDC dc = win::GetWindowDC(window);
    int n = 0;
    for (int y = 0; y < r.bottom - r.top; ++y)
        for (int x = 0; x < r.right - r.left; ++x)
            if (win::GetPixel(dc, x, y) == colour) ++n;
    win::ReleaseDC(window, dc);
    return n;
}

}  // namespace shell::test
