#include "toolkit/editors/editor_print.h"

#include "platform/controls/controls_api.h"
#include "platform/controls/rich_edit_api.h"
#include "platform/gdi/printing.h"
#include "platform/message_box.h"
#include "platform/window/user_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/editors/editor_operations.h"
#include "toolkit/editors/editor_text.h"
#include "toolkit/editors/page_setup_units.h"

namespace tk {
namespace {

bool& defaultsRead() {
    static bool read = false;
    return read;
}

win::PAGESETUPDLGA& record(int k) {
    return editorPageSetupRecords()[k == 1 ? 1 : 0];
}

win::HWND rootFrame() {
    return windowSystem().slots[0].frame;
}

// The text rectangle in twips for the printer: the margins less the
// printer's unprintable edges.
win::FORMATRANGE pageRange(const win::PAGESETUPDLGA& s, win::HDC dc) {
    const long u = pageUnitsPerInch(s.Flags);
    const auto twips = [u](long v) { return static_cast<win::LONG>(v * 1440 / u); };
    win::FORMATRANGE fr;
    fr.hdc = fr.hdcTarget = dc;
    fr.rc = {twips(s.rtMargin.left - s.rtMinMargin.left), twips(s.rtMargin.top - s.rtMinMargin.top),
             twips(s.ptPaperSize.x - s.rtMargin.right - s.rtMinMargin.right),
             twips(s.ptPaperSize.y - s.rtMargin.bottom - s.rtMinMargin.bottom)};
    fr.rcPage = {0, 0, twips(s.ptPaperSize.x), twips(s.ptPaperSize.y)};
    return fr;
}

void printPages(const EditorWindowRecord& r, win::HDC dc, win::FORMATRANGE fr, win::LONG from,
                win::LONG to, const std::string& name) {
    win::DOCINFOA doc;
    doc.lpszDocName = name.c_str();
    win::StartDocA(dc, &doc);
    while (from < to) {
        win::StartPage(dc);
        fr.chrg = {from, to};
        const auto next = static_cast<win::LONG>(
            win::SendMessageA(r.editControl, win::EM_FORMATRANGE, win::TRUE,
                              reinterpret_cast<win::LPARAM>(&fr)));
        win::EndPage(dc);
        if (next <= from) break;  // nothing fitted: no endless run of empty pages
        from = next;
    }
    win::SendMessageA(r.editControl, win::EM_FORMATRANGE, win::FALSE, 0);
    win::EndDoc(dc);
}

}  // namespace

std::array<win::PAGESETUPDLGA, 2>& editorPageSetupRecords() {
    static std::array<win::PAGESETUPDLGA, 2> records;
    return records;
}

void resetEditorPrintDefaults() {
    for (win::PAGESETUPDLGA& s : editorPageSetupRecords())
        pageSetupRelease(s);
    editorPageSetupRecords() = {};
    defaultsRead() = false;
}

void EditorPrintDefaults() {
    if (defaultsRead()) return;
    for (win::PAGESETUPDLGA& s : editorPageSetupRecords()) {
        s = win::PAGESETUPDLGA{};
        s.hwndOwner = rootFrame();
        s.Flags = win::PSD_RETURNDEFAULT;
        win::PageSetupDlgA(&s);
        s.Flags &= ~win::PSD_RETURNDEFAULT;
    }
    defaultsRead() = true;
}

int EditorPrint(win::HWND frame, EditorWindowRecord& r, int selectionOnly, int k, int start,
                int end, const std::string& documentName) {
    if (!r.editControl) return 0;
    EditorPrintDefaults();
    win::PAGESETUPDLGA& s = record(k);
    s.hwndOwner = frame;
    s.Flags = (s.Flags & ~win::PSD_RETURNDEFAULT) | win::PSD_MARGINS;
    if (k == 1 && !pageSetupDialog(s)) return 0;
    win::HDC dc = pagePrinterDC(s);
    if (!dc) {
        if (k == 1) {
            win::MessageBoxA(frame, "Unable to print text", "Print Error",
                             win::MB_OK | win::MB_ICONWARNING);
            if (hasChildStyle(frame)) FocusWindowActivate(frame);
        }
        return 0;
    }
    pageStoreUnprintable(s, dc);
    win::LONG from = 0, to = 0;
    if (!selectionOnly) {
        to = static_cast<win::LONG>(editorControlEnd(r));
    } else if (k == 1) {
        win::CHARRANGE sel;
        win::SendMessageA(r.editControl, win::EM_EXGETSEL, 0, reinterpret_cast<win::LPARAM>(&sel));
        from = sel.cpMin, to = sel.cpMax;
    } else {
        from = start, to = end;
    }
    std::string name = k == 1 ? r.fileName : documentName;
    if (name.empty()) name = "Untitled Text";
    printPages(r, dc, pageRange(s, dc), from, to, name);
    win::DeleteDC(dc);
    return 1;
}

void EditorPageSetup(int units, int k, int& ok) {
    EditorPrintDefaults();
    win::PAGESETUPDLGA& s = record(k);
    const win::DWORD old = s.Flags & 12;
    const win::DWORD unit = pageUnitFlag(units);
    s.Flags = unit;
    win::HWND owner = windowSystem().FocusWindow;
    while (owner && hasChildStyle(owner))
        owner = win::GetParent(owner);
    s.hwndOwner = owner;
    pageConvertUnits(s, old, unit);
    s.Flags |= win::PSD_MARGINS;
    ok = 0;
    if (!pageSetupDialog(s)) return;
    ok = 1;
    if (win::HDC dc = pagePrinterDC(s)) {
        pageStoreUnprintable(s, dc);
        win::DeleteDC(dc);
    }
}

void EditorPrintText(int& ok, int start, int end, const std::string& documentName) {
    ok = 0;
    const WindowSystem& w = windowSystem();
    win::HWND frame = w.slots[static_cast<std::size_t>(w.CurrentSlot)].frame;
    EditorWindowRecord* r = editorRecordOf(frame);
    if (!r) return;
    const bool range = start >= 0 && start < end;
    int a = start, b = end;
    if (range) EditorToControlPositions(start, end, a, b);
    ok = EditorPrint(frame, *r, range ? 1 : 0, 0, a, b, documentName);
}

void EditorPageInfo(int selector, int& value, int k) {
    EditorPrintDefaults();
    const win::PAGESETUPDLGA& s = record(k);
    switch (selector) {
        case 1:
            value = pageToPoints(s.rtMargin.right - s.rtMargin.left, s.Flags);
            return;
        case 2:
            value = pageToPoints(s.rtMargin.bottom - s.rtMargin.top, s.Flags);
            return;
        case 3:
            value = pageToPoints(s.rtMargin.left, s.Flags);
            return;
        case 4:
            value = pageToPoints(s.rtMargin.top, s.Flags);
            return;
        case 5:
            value = pageOrientation(s);
            return;
        default:
            return;
    }
}

void EditorPageSet(int selector, int value, int k) {
    EditorPrintDefaults();
    win::PAGESETUPDLGA& s = record(k);
    const int v = pageFromPoints(value, s.Flags);
    switch (selector) {
        case 1:
            s.rtMargin.right = s.rtMargin.left + v;
            return;
        case 2:
            s.rtMargin.bottom = s.rtMargin.top + v;
            return;
        case 3:
            s.rtMargin.left = v;
            return;
        case 4:
            s.rtMargin.top = v;
            return;
        case 5:
            if (value >= 0 && value <= 3) pageSetOrientation(s, value);
            return;
        default:
            return;
    }
}

}  // namespace tk
