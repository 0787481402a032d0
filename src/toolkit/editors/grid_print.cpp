#include "toolkit/editors/grid_print.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "platform/window/clipboard_api.h"
#include "platform/window/user_api.h"
#include "toolkit/core/text_args.h"
#include "toolkit/dialogs/grid_cells.h"
#include "toolkit/dialogs/grid_print_defaults.h"
#include "toolkit/dialogs/grid_record.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/editors/grid_editor_record.h"
#include "toolkit/editors/page_setup_units.h"

namespace tk {
namespace {

PageSetupRecord& recordOf(int record) {
    GridPrintDefaults();
    return gridPageSetupRecords()[record == 1 ? 0 : 1];
}

GridRecord* gridOf(int field) {
    if (field != 0) return gridOfField(field);
    const WindowSystem& w = windowSystem();
    const GridEditorRecord* r = gridEditorRecordOfWindow(w.CurrentWindow);
    return r ? gridRecordOfWindow(r->grid) : nullptr;
}

int textWidth(win::HDC dc, const std::string& text) {
    win::SIZE size{};
    win::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void rule(win::HDC dc, int x0, int y0, int x1, int y1) {
    win::MoveToEx(dc, x0, y0, nullptr);
    win::LineTo(dc, x1, y1);
}

win::COLORREF rgbOf(const std::uint8_t c[3]) {
    return win::RGB(c[0], c[1], c[2]);
}

// One column of a row block: its width and the cells drawn at x.
struct ColumnPrint {
    const GridRecord& g;
    const GridPrintPage& page;
    const PageSetupRecord& rec;
    win::HFONT textFont, checkFont;

    int width(int column) const {
        const GridColumnRecord& c = g.columns[static_cast<std::size_t>(column)];
        int w = static_cast<int>(c.width * page.scale);
        for (int row = page.firstRow; row <= page.lastRow; ++row)
            w = std::max(w, textWidth(page.printer, GridCellText(g, column, row, 1)) + page.charWidth);
        return w;
    }

    void colours(int column, int row, win::COLORREF& fg, int& bg) const {
        const GridColumnRecord& c = g.columns[static_cast<std::size_t>(column)];
        fg = win::RGB(0, 0, 0);
        bg = -1;
        const GridCellColour* cell =
            c.colours.empty() ? nullptr : &c.colours[static_cast<std::size_t>(row)];
        if (rec.printSwitches[3]) {
            if (cell && (cell->set & 1))
                fg = rgbOf(cell->fg);
            else if (c.colours.empty() && c.settings.textColour >= 0)
                fg = static_cast<win::COLORREF>(c.settings.textColour);
            else if (g.textColour >= 0)
                fg = static_cast<win::COLORREF>(g.textColour);
        }
        if (rec.printSwitches[4]) {
            if (cell && (cell->set & 2))
                bg = static_cast<int>(rgbOf(cell->bg));
            else if (c.colours.empty() && c.settings.backgroundColour >= 0)
                bg = c.settings.backgroundColour;
            else if (g.backgroundColour >= 0)
                bg = g.backgroundColour;
        }
    }

    void cells(int column, int x, int w, int y) const {
        const GridColumnRecord& c = g.columns[static_cast<std::size_t>(column)];
        const int cw = page.charWidth;
        int tx = x + cw / 2;
        win::UINT align = win::TA_LEFT;
        if (c.kind == KindCheckBox || (c.kind <= KindDouble && c.settings.alignment == 1))
            tx = x + w / 2, align = win::TA_CENTER;
        else if (c.kind <= KindDouble && c.settings.alignment == 2)
            tx = x + w - cw / 2, align = win::TA_RIGHT;
        win::SetTextAlign(page.printer, align | win::TA_TOP);
        win::SelectObject(page.printer, c.kind == KindCheckBox ? checkFont : textFont);
        const bool rules = rec.printSwitches[0] != 0;
        for (int row = page.firstRow; row <= page.lastRow; ++row) {
            win::COLORREF fg = 0;
            int bg = -1;
            colours(column, row, fg, bg);
            win::SetTextColor(page.printer, fg);
            win::RECT box{x + 1, y - (rules ? page.textHeight / 4 : 0), x + w + 1, 0};
            box.bottom = box.top + page.pitch;
            if (!rules && row == page.firstRow) box.top -= page.textHeight / 4;
            if (!rules && row == page.lastRow) box.bottom += page.textHeight / 4;
            win::UINT options = win::ETO_CLIPPED;
            if (bg >= 0) {
                win::SetBkColor(page.printer, static_cast<win::COLORREF>(bg));
                options |= win::ETO_OPAQUE;
            }
            const std::string text = GridCellText(g, column, row, 1);
            win::ExtTextOutA(page.printer, tx, y, options, &box, text.c_str(),
                             static_cast<win::UINT>(text.size()), nullptr);
            y += page.pitch;
        }
        win::SelectObject(page.printer, textFont);
    }
};

// The end of the rows of a page (the vertical rules reach down to it).
int rowsEnd(const GridPrintPage& p, bool rules) {
    const int rowsTop = p.top + (p.headers ? p.headerHeight : 0);
    return rowsTop + (p.lastRow - p.firstRow + 1) * p.pitch + (rules ? 0 : p.textHeight / 2);
}

void pageRules(const GridRecord& g, const GridPrintPage& p, bool rules, int left, int rulesStart,
               int x) {
    const int rowsTop = p.top + (p.headers ? p.headerHeight : 0);
    if (p.headers && !g.headerLabels.empty() && !trimBoth(g.headerLabels[0]).empty())
        rule(p.printer, left, p.top, rulesStart, p.top);
    if (p.headers) rule(p.printer, left, rowsTop, x, rowsTop);
    rule(p.printer, rulesStart, p.top, x, p.top);
    if (rules) {
        for (int row = p.firstRow; row <= p.lastRow; ++row) {
            const int y = rowsTop + (row - p.firstRow + 1) * p.pitch;
            rule(p.printer, left, y, x, y);
        }
    } else {
        rule(p.printer, left, rowsEnd(p, false), x, rowsEnd(p, false));
    }
}

struct Job {
    const GridRecord& g;
    PageSetupRecord& rec;
    GridPrintPage page;
    int left = 0, right = 0;
    win::HFONT textFont = nullptr, checkFont = nullptr;
    int firstColumn = 0, lastColumn = 0;

    void startPage(int& x, bool labels) {
        win::StartPage(page.printer);
        win::SelectObject(page.printer, textFont);
        win::SetTextAlign(page.printer, win::TA_LEFT | win::TA_TOP);
        win::SetTextColor(page.printer, win::RGB(0, 0, 0));
        win::SetBkMode(page.printer, win::TRANSPARENT);
        x = left;
        if (labels) {
            GridPrintCells(g, page, x);
        } else {
            rule(page.printer, left, page.top, left, rowsEnd(page, rec.printSwitches[0] != 0));
        }
    }

    void header(int column, int x, int w) {
        if (!page.headers) return;
        const std::size_t item = static_cast<std::size_t>(column + 1);
        const std::string text = item < g.headerLabels.size() ? g.headerLabels[item] : "";
        win::SetTextAlign(page.printer, win::TA_CENTER | win::TA_TOP);
        win::SetTextColor(page.printer, win::RGB(0, 0, 0));
        win::SetBkMode(page.printer, win::TRANSPARENT);
        win::ExtTextOutA(page.printer, x + w / 2, page.top + page.textHeight / 4, 0, nullptr,
                         text.c_str(), static_cast<win::UINT>(text.size()), nullptr);
    }

    void block(bool everyPage) {
        const bool rules = rec.printSwitches[0] != 0, columnRules = rec.printSwitches[1] != 0;
        int x = 0;
        startPage(x, true);
        int rulesStart = everyPage ? x : left;
        bool firstOfPage = true;
        ColumnPrint cp{g, page, rec, textFont, checkFont};
        for (int c = firstColumn; c <= lastColumn; ++c) {
            int w = cp.width(c);
            if (firstOfPage && x + w > right) w = std::max(1, right - x);
            if (!firstOfPage && x + w > right) {
                if (!columnRules) rule(page.printer, x, page.top, x, rowsEnd(page, rules));
                pageRules(g, page, rules, left, rulesStart, x);
                win::EndPage(page.printer);
                startPage(x, everyPage);
                rulesStart = x;
                if (x + w > right) w = std::max(1, right - x);
            }
            firstOfPage = false;
            header(c, x, w);
            const int firstLine = page.top + page.textHeight / 4 + (page.headers ? page.headerHeight : 0);
            cp.cells(c, x, w, firstLine);
            x += w;
            if (columnRules || c == lastColumn) rule(page.printer, x, page.top, x, rowsEnd(page, rules));
        }
        pageRules(g, page, rules, left, rulesStart, x);
        win::EndPage(page.printer);
    }
};

win::HFONT printerFont(const GridRecord& g, win::HDC screen, win::HDC printer, int scale,
                       bool wingdings) {
    win::HFONT gridFont = g.font ? g.font : static_cast<win::HFONT>(win::GetStockObject(win::DEFAULT_GUI_FONT));
    win::HGDIOBJ old = win::SelectObject(screen, gridFont);
    win::TEXTMETRICA tm;
    win::GetTextMetricsA(screen, &tm);
    win::SelectObject(screen, old);
    win::LOGFONTA lf;
    win::GetObjectA(gridFont, sizeof lf, &lf);
    const int screenDpi = std::max(1, win::GetDeviceCaps(screen, win::LOGPIXELSY));
    lf.lfHeight = (tm.tmHeight - tm.tmInternalLeading) * win::GetDeviceCaps(printer, win::LOGPIXELSY) *
                  scale / (screenDpi * 100);
    lf.lfWidth = 0;
    lf.lfOutPrecision = win::OUT_TT_PRECIS;
    if (wingdings) {
        lf.lfCharSet = win::SYMBOL_CHARSET;
        lf.lfPitchAndFamily = 0;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", "Wingdings");
    }
    return win::CreateFontIndirectA(&lf);
}

}  // namespace

void GridPrintCells(const GridRecord& g, const GridPrintPage& p, int& x) {
    if (!g.hasRowLabels()) return;
    win::SetTextColor(p.printer, win::RGB(0, 0, 0));
    win::SetBkMode(p.printer, win::TRANSPARENT);
    win::SetTextAlign(p.printer, win::TA_LEFT | win::TA_TOP);
    int w = static_cast<int>(g.rowLabelWidth * p.scale);
    for (int row = p.firstRow; row <= p.lastRow; ++row)
        if (static_cast<std::size_t>(row) < g.rowLabels.size())
            w = std::max(w, textWidth(p.printer, g.rowLabels[static_cast<std::size_t>(row)]) + p.charWidth);
    int y = p.top + p.textHeight / 4;
    const std::string corner = g.headerLabels.empty() ? "" : std::string(trimBoth(g.headerLabels[0]));
    if (p.headers) {
        w = std::max(w, textWidth(p.printer, corner) + p.charWidth);
        win::TextOutA(p.printer, x + p.charWidth / 2, y, corner.c_str(), static_cast<int>(corner.size()));
        y += p.headerHeight;
    }
    for (int row = p.firstRow; row <= p.lastRow; ++row) {
        const std::string label =
            static_cast<std::size_t>(row) < g.rowLabels.size() ? g.rowLabels[static_cast<std::size_t>(row)] : "";
        win::TextOutA(p.printer, x + p.charWidth / 2, y, label.c_str(), static_cast<int>(label.size()));
        y += p.pitch;
    }
    const bool rules = p.rowRules;
    const int end = p.top + (p.headers ? p.headerHeight : 0) + (p.lastRow - p.firstRow + 1) * p.pitch +
                    (rules ? 0 : p.textHeight / 2);
    const int leftTop = p.headers && corner.empty() ? p.top + p.headerHeight : p.top;
    rule(p.printer, x, leftTop, x, end);
    rule(p.printer, x + w, p.top, x + w, end);
    x += w;
}

void GridPrint(int field, int& status, int firstRow, int lastRow, int firstColumn, int lastColumn,
               int record, const std::string& title) {
    status = 0;
    GridRecord* g = gridOf(field);
    if (!g) return;
    PageSetupRecord& rec = recordOf(record);
    win::HDC printer = pagePrinterDC(rec.pageSetup);
    if (!printer) return;
    win::HDC screen = win::GetDC(g->window);
    Job job{*g, rec};
    job.textFont = printerFont(*g, screen, printer, rec.scalePercent, false);
    job.checkFont = printerFont(*g, screen, printer, rec.scalePercent, true);
    const win::PAGESETUPDLGA& s = rec.pageSetup;
    const long u = pageUnitsPerInch(s.Flags);
    const long dx = win::GetDeviceCaps(printer, win::LOGPIXELSX), dy = win::GetDeviceCaps(printer, win::LOGPIXELSY);
    job.left = static_cast<int>(s.rtMargin.left * dx / u);
    job.right = static_cast<int>((s.ptPaperSize.x - s.rtMargin.right) * dx / u);
    job.page.top = static_cast<int>(s.rtMargin.top * dy / u);
    job.page.bottom = static_cast<int>((s.ptPaperSize.y - s.rtMargin.bottom) * dy / u);
    std::string name = title;
    if (record != 1) {
        const GridEditorRecord* r = field == 0 ? gridEditorRecordOfWindow(windowSystem().CurrentWindow) : nullptr;
        name = r ? r->fileName : "";
    }
    if (name.empty()) name = "Untitled Grid";
    win::DOCINFOA doc;
    doc.lpszDocName = name.c_str();
    win::StartDocA(printer, &doc);
    win::SelectObject(printer, job.textFont);
    win::TEXTMETRICA tm;
    win::GetTextMetricsA(printer, &tm);
    GridPrintPage& p = job.page;
    p.printer = printer;
    p.screen = screen;
    p.textHeight = tm.tmHeight;
    p.charWidth = tm.tmAveCharWidth;
    p.headerHeight = 3 * tm.tmHeight / 2;
    p.pitch = rec.printSwitches[0] ? p.headerHeight : tm.tmHeight;
    p.rowRules = rec.printSwitches[0] != 0;
    p.scale = static_cast<double>(dx) * rec.scalePercent /
              (std::max(1, win::GetDeviceCaps(screen, win::LOGPIXELSX)) * 100.0);
    const bool everyPage = rec.printSwitches[2] != 0;
    int perPage = std::max(1, (p.bottom - p.top) / std::max(1, p.pitch) - (g->hasHeader() ? 1 : 0));
    job.firstColumn = std::max(0, firstColumn);
    job.lastColumn = std::min(lastColumn, g->columnCount - 1);
    for (int row = std::max(0, firstRow); row <= lastRow && job.lastColumn >= job.firstColumn;) {
        p.firstRow = row;
        p.lastRow = std::min(lastRow, row + perPage - 1);
        p.headers = g->hasHeader() && (everyPage || row == std::max(0, firstRow));
        job.block(everyPage || row == std::max(0, firstRow));
        if (!everyPage && row == std::max(0, firstRow) && g->hasHeader()) perPage += 1;
        row = p.lastRow + 1;
    }
    win::EndDoc(printer);
    win::DeleteObject(job.textFont);
    win::DeleteObject(job.checkFont);
    win::DeleteDC(printer);
    win::ReleaseDC(g->window, screen);
    status = 1;
}

void resetGridPrintRecords() {
    for (PageSetupRecord& r : gridPageSetupRecords()) {
        pageSetupRelease(r.pageSetup);
        r = PageSetupRecord{};
    }
    gridPrintDefaultsRead() = 0;
}

void GridPageSetup(int units, int record) {
    PageSetupRecord& rec = recordOf(record);
    win::PAGESETUPDLGA& s = rec.pageSetup;
    const win::DWORD unit = pageUnitFlag(units);
    s.Flags = unit;
    if (static_cast<win::DWORD>(rec.marginUnits) != unit) {
        pageConvertUnits(s, static_cast<win::DWORD>(rec.marginUnits), unit);
        rec.marginUnits = static_cast<int>(unit);
    }
    s.hwndOwner = windowSystem().FocusWindow;
    s.Flags |= win::PSD_MARGINS;
    if (!pageSetupDialog(s)) return;
    if (win::HDC dc = pagePrinterDC(s)) {
        pageStoreUnprintable(s, dc);
        win::DeleteDC(dc);
    }
}

void GridPrintOptionsGet(int& o1, int& o2, int& o3, int& o4, int& o5, int& scale, int record) {
    const PageSetupRecord& rec = recordOf(record);
    o1 = rec.printSwitches[0] ? 1 : 0;
    o2 = rec.printSwitches[1] ? 1 : 0;
    o3 = rec.printSwitches[2] ? 1 : 0;
    o4 = rec.printSwitches[3] ? 1 : 0;
    o5 = rec.printSwitches[4] ? 1 : 0;
    scale = rec.scalePercent;
}

void GridPrintOptionsSet(int o1, int o2, int o3, int o4, int o5, int scale, int record) {
    PageSetupRecord& rec = recordOf(record);
    rec.printSwitches = {o1 == 1, o2 == 1, o3 == 1, o4 == 1, o5 == 1};
    if (scale > 0) rec.scalePercent = scale;
}

void GridPageSetupGet(int item, int& value, int record) {
    const win::PAGESETUPDLGA& s = recordOf(record).pageSetup;
    switch (item) {
        case 1: value = pageToPoints(s.rtMargin.right - s.rtMargin.left, s.Flags); return;
        case 2: value = pageToPoints(s.rtMargin.bottom - s.rtMargin.top, s.Flags); return;
        case 3: value = pageToPoints(s.rtMargin.left, s.Flags); return;
        case 4: value = pageToPoints(s.rtMargin.top, s.Flags); return;
        case 5: value = pageOrientation(s); return;
        default: return;
    }
}

void GridPageSetupSet(int item, int value, int record) {
    win::PAGESETUPDLGA& s = recordOf(record).pageSetup;
    const int v = pageFromPoints(value, s.Flags);
    switch (item) {
        case 1: s.rtMargin.right = s.rtMargin.left + v; return;
        case 2: s.rtMargin.bottom = s.rtMargin.top + v; return;
        case 3: s.rtMargin.left = v; return;
        case 4: s.rtMargin.top = v; return;
        case 5:
            if (value >= 0 && value <= 3) pageSetOrientation(s, value);
            return;
        default: return;
    }
}

}  // namespace tk
