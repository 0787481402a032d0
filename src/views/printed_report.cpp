#include "views/printed_report.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/fixed_string.h"
#include "files/ascii_export.h"
#include "files/view_settings.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/text_output.h"
#include "toolkit/graphics/text_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "util/number_text.h"
#include "util/pen_plotter.h"
#include "views/profile_window.h"

namespace views {

namespace {

constexpr float kPageWidth = 7.5f, kPageHeight = 12.0f, kMiddle = 3.5f;
constexpr float kTitleScale = 1.0f, kSubtitleScale = 0.8f, kTextScale = 0.55f;
// The text's justification: left, centred, right.
constexpr int kLeft = 0, kCentred = 1, kRight = 2;

constexpr std::array<std::array<float, 9>, 5> kColumns{{
    {1.05f, 2.48f, 3.91f, 5.34f, 6.77f},
    {1.05f, 2.19f, 3.33f, 4.47f, 5.61f, 6.75f},
    {1.05f, 2.00f, 2.95f, 3.90f, 4.85f, 5.80f, 6.75f},
    {1.05f, 1.86f, 2.67f, 3.48f, 4.29f, 5.10f, 5.95f, 6.70f},
    {1.05f, 1.80f, 2.55f, 3.30f, 4.05f, 4.80f, 5.55f, 6.30f, 7.05f},
}};

void textScale(float scale) {
    const files::ViewSettings& v = files::viewSettings();
    tk::GrTextFont(v.PRINT_FONT_TYPE, v.PRINT_FONT, v.PRINT_CHAR_WIDTH * scale,
                   v.PRINT_CHAR_HEIGHT * scale);
}

float lineStep() {
    return tk::GraphicsInfoReal(4);
}

void text(float x, float y, std::string_view s, int justification) {
    tk::SetTextAttributes(justification, 0.0f);
    tk::DrawTextAt(x, y, s);
}

std::string_view trimmed20(const base::FixedString<20>& s) {
    return s.trimmed();
}

// Starts a printer output (one page) with the text page's units.
void startTextPage(util::AxisRecord& record, float scale) {
    util::PLOTXY(0.0f, 1.0f, 1, record);
    tk::GrUnits(0.0f, 0.0f, kPageWidth, kPageHeight);
    util::SETPEN(0);
    textScale(scale);
}

// A number as the table shows it: FMTFN's characters, " *" after a masked
// data value.
std::string tableNumber(float v, bool masked = false) {
    std::array<char, 15> buf{};
    buf.fill(' ');
    std::int32_t n = 0;
    util::FMTFN(buf, v, n);
    std::string s(buf.data(), static_cast<std::size_t>(std::clamp<std::int32_t>(n, 0, 15)));
    return masked ? s + " *" : s;
}

int columnCount(const model::ProfileLine& p) {
    int n = 5;
    if (p.IELEV > 2) ++n;
    if (p.LSYN) n += p.NREG > 0 ? 3 : 2;
    return n;
}

void heading(std::string_view name, ReportPage& at, float h, std::string_view title) {
    bool fresh = false;
    if (5.0f * h > at.y) at.y = 0.0f;
    PAGECHECK(name, at, h, fresh);
    text(kMiddle, at.y, title, kCentred);
    PAGECHECK(name, at, h, fresh);
}

}  // namespace

const float* reportColumns(int n) {
    return kColumns[static_cast<std::size_t>(std::clamp(n, 5, 9) - 5)].data();
}

void PAGECHECK(std::string_view name, ReportPage& at, float dy, bool& newPage) {
    newPage = false;
    at.y -= dy;
    if (at.y >= 1.5f * dy) return;
    tk::NewGraphicsPage(" ");
    tk::HardcopySwitch("S");
    util::AxisRecord record{};
    startTextPage(record, kTextScale);
    at.y = kPageHeight - dy;
    ++at.page;
    text(0.0f, at.y, base::FixedString<20>(name.substr(0, std::min<std::size_t>(20, name.size())))
                         .trimmed(),
         kLeft);
    char number[16];
    std::snprintf(number, sizeof number, "Page %2d", at.page % 100);
    text(7.2f, at.y, number, kRight);
    at.y -= 1.5f * dy;
    newPage = true;
}

void DAHEAD(model::ProfileLine& p, ReportPage& at, const float* columns) {
    const float h = lineStep();
    bool fresh = false;
    PAGECHECK(p.PNAME.view(), at, h, fresh);
    text(0.3f, at.y, "No.", kCentred);
    std::vector<std::string_view> titles{"East", "North", "Station"};
    if (p.IELEV > 2) titles.push_back("Sensor");
    titles.push_back("Elev.");
    titles.push_back("Data");
    if (p.LSYN) {
        titles.push_back("Synth.");
        if (p.NREG > 0) titles.push_back("Regnl");
        titles.push_back("Diff");
    }
    for (std::size_t k = 0; k < titles.size(); ++k) text(columns[k], at.y, titles[k], kLeft);
    PAGECHECK(p.PNAME.view(), at, 1.5f * h, fresh);
}

void DATOUT(model::ProfileLine& p, ReportPage& at) {
    const float* columns = reportColumns(columnCount(p));
    const float h = lineStep();
    bool fresh = false;
    if (7.0f * h > at.y) at.y = 0.0f;
    PAGECHECK(p.PNAME.view(), at, h, fresh);
    DAHEAD(p, at, columns);
    int masked = 0;
    // Only the stations the data arrays hold are read.
    int n = files::stationsWritten(p, false);
    if (p.LSYN) n = std::min(n, files::stationsWritten(p, true));
    for (int i = 1; i <= n; ++i) {
        if (i > 1) {
            PAGECHECK(p.PNAME.view(), at, h, fresh);
            if (fresh) DAHEAD(p, at, columns);
        }
        textScale(kTextScale);
        char row[8];
        std::snprintf(row, sizeof row, "%3d", i % 1000);
        text(0.3f, at.y, row, kCentred);
        std::vector<std::string> cells{tableNumber(p.EAST(i)), tableNumber(p.NORT(i)),
                                       tableNumber(p.STAT(i)), tableNumber(p.ELEV(i))};
        // A model whose topography has fewer points than the line has
        // stations shows 0.0 for the rest, as the exports write them.
        if (p.IELEV > 2) cells.push_back(tableNumber(files::stationTopography(p, i)));
        const bool mask = p.MASK(i, 1);
        if (mask) ++masked;
        cells.push_back(tableNumber(p.DAT(i, 1), mask));
        if (p.LSYN) {
            cells.push_back(tableNumber(p.SYN(i, 1)));
            if (p.NREG > 0) cells.push_back(tableNumber(p.REG.has(i) ? p.REG(i) : 0.0f));
            cells.push_back(tableNumber(p.SYN(i, 1) - p.DAT(i, 1)));
        }
        for (std::size_t k = 0; k < cells.size(); ++k) text(columns[k], at.y, cells[k], kLeft);
    }
    PAGECHECK(p.PNAME.view(), at, 1.5f * h, fresh);
    text(kMiddle, at.y, masked == 0 ? "NO DATA ARE MASKED" : "\"*\" INDICATES MASKED DATA POINT",
         kCentred);
    PAGECHECK(p.PNAME.view(), at, h, fresh);
}

void PRINTPROFILE(model::ProfileLine& p, bool tables) {
    const files::ViewSettings& v = files::viewSettings();
    util::AxisRecord& graph = p.AXES[0];
    if (v.LPGRAPH) {
        util::PLOTXY(0.0f, 1.0f, 1, graph);
        REFRESHPL(p);
        tk::HardcopySwitch("S");
    }
    if (!tables) return;
    // The text pages keep the orientation chosen in the page set-up, as the
    // graph's page does: they are printed in the same document.
    startTextPage(graph, kTitleScale);
    ReportPage at;
    float h = lineStep();
    at.y = kPageHeight - h;
    text(kMiddle, at.y, trimmed20(p.PNAME), kCentred);
    at.y -= h;
    textScale(kSubtitleScale);
    text(kMiddle, at.y, trimmed20(p.DTYPE), kCentred);
    at.y -= lineStep();
    textScale(kTextScale);
    h = lineStep();
    if (v.LPDATA) DATOUT(p, at);
    if (v.LPREG) heading(p.PNAME.view(), at, h, "Layered Model");
    if (v.LPBODS) heading(p.PNAME.view(), at, h, "Layered Model");
    tk::HardcopySwitch("S");
}

}  // namespace views
