// The printer page set-up. Its device mode and names are kept between calls,
// and the chosen printer's names and settings are copied out for the
// Windows printer driver.

#include <cstring>
#include <utility>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/gdi/printing.h"
#include "platform/window/clipboard_api.h"
#include "toolkit/core/common_dialogs.h"
#include "toolkit/core/common_dialogs_frame.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

// The paper of the last fetch or OK, in the kept units and turned the way
// the kept device mode is.
win::POINT keptPaper{0, 0};

win::HGLOBAL copyBlock(win::HGLOBAL block) {
    if (!block) return nullptr;
    const std::size_t size = win::GlobalSize(block);
    win::HGLOBAL copy = win::GlobalAlloc(win::GMEM_MOVEABLE, size);
    std::memcpy(win::GlobalLock(copy), win::GlobalLock(block), size);
    win::GlobalUnlock(copy);
    win::GlobalUnlock(block);
    return copy;
}

void freeBlock(win::HGLOBAL& block) {
    if (block) win::GlobalFree(block);
    block = nullptr;
}

// Runs the dialog-less default fetch in the given units.
bool fetchDefault(win::DWORD units, win::PAGESETUPDLGA& out) {
    out.Flags = win::PSD_RETURNDEFAULT | units;
    return win::PageSetupDlgA(&out) != 0;
}

template <typename F>
void withMode(win::HGLOBAL block, F&& f) {
    if (!block || win::GlobalSize(block) < sizeof(win::DEVMODEA)) return;
    auto* mode = static_cast<win::DEVMODEA*>(win::GlobalLock(block));
    f(*mode);
    win::GlobalUnlock(block);
}

std::string namesPart(const char* bytes, std::size_t size, int word) {
    win::WORD offset = 0;
    std::memcpy(&offset, bytes + 2 * word, 2);
    if (offset >= size) return {};
    return std::string(bytes + offset, strnlen(bytes + offset, size - offset));
}

void copyForPrinter(PageSetupState& st) {
    withMode(st.devMode, [&](const win::DEVMODEA& m) {
        st.paperSize = m.dmPaperSize;
        st.paperLength = m.dmPaperLength;
        st.paperWidth = m.dmPaperWidth;
        st.scale = m.dmScale;
        st.copies = m.dmCopies;
        st.defaultSource = m.dmDefaultSource;
        st.printQuality = m.dmPrintQuality;
        st.colour = m.dmColor;
        st.duplex = m.dmDuplex;
        st.yResolution = m.dmYResolution;
        st.trueTypeOption = m.dmTTOption;
        st.collate = m.dmCollate;
        st.mediaType = m.dmMediaType;
        st.ditherType = m.dmDitherType;
    });
    if (!st.devNames) return;
    const std::size_t size = win::GlobalSize(st.devNames);
    const auto* bytes = static_cast<const char*>(win::GlobalLock(st.devNames));
    if (size >= sizeof(win::DEVNAMES)) {
        st.driverName = namesPart(bytes, size, 0);
        st.deviceName = namesPart(bytes, size, 1);
        st.outputPort = namesPart(bytes, size, 2);
    }
    win::GlobalUnlock(st.devNames);
}

int printerColours(const PageSetupState& st) {
    int colours = 0;
    withMode(st.devMode, [&](const win::DEVMODEA& m) {
        win::HDC ic =
            win::CreateICA(st.driverName.c_str(), st.deviceName.c_str(), st.outputPort.c_str(), &m);
        if (!ic) return;
        colours = win::GetDeviceCaps(ic, win::NUMCOLORS);
        win::DeleteDC(ic);
    });
    return colours;
}

}  // namespace

PageSetupState& pageSetupState() {
    static PageSetupState state;
    return state;
}

void PageSetupStateReset() {
    PageSetupState& st = pageSetupState();
    freeBlock(st.devMode);
    freeBlock(st.devNames);
    st = PageSetupState{};
    keptPaper = {0, 0};
}

void PageSetupDialogRun(int& paperWidth, int& paperHeight, int& printableWidth,
                        int& printableHeight, int& leftMargin, int& topMargin, int& orientation,
                        int& copies, int unitKind, int& printerColours_, int& result) {
    PageSetupState& st = pageSetupState();
    const win::DWORD units =
        unitKind < 2 ? win::PSD_INTHOUSANDTHSOFINCHES : win::PSD_INHUNDREDTHSOFMILLIMETERS;
    result = 0;

    // The blocks the dialog works on: the kept ones copied, so that Cancel
    // leaves the kept state alone, or the default printer's on first use.
    win::PAGESETUPDLGA psd;
    win::POINT paper = keptPaper;
    if (!st.initialised) {
        if (!fetchDefault(units, psd)) return;
        paper = psd.ptPaperSize;
    } else {
        psd.hDevMode = copyBlock(st.devMode);
        psd.hDevNames = copyBlock(st.devNames);
        if (units != st.unitFlag) {
            win::PAGESETUPDLGA fresh;
            if (fetchDefault(units, fresh)) paper = fresh.ptPaperSize;
            freeBlock(fresh.hDevMode);
            freeBlock(fresh.hDevNames);
            // The fetch answers upright paper; turn it as the kept mode is.
            withMode(psd.hDevMode, [&](const win::DEVMODEA& m) {
                if (m.dmOrientation == win::DMORIENT_LANDSCAPE) std::swap(paper.x, paper.y);
            });
        }
    }
    const short wanted = orientation == 1 ? win::DMORIENT_LANDSCAPE : win::DMORIENT_PORTRAIT;
    withMode(psd.hDevMode, [&](win::DEVMODEA& m) {
        if (m.dmOrientation != wanted) {
            std::swap(paper.x, paper.y);
            m.dmOrientation = wanted;
        }
        m.dmCopies = static_cast<short>(copies);
    });

    psd.rtMargin.left = leftMargin;
    psd.rtMargin.top = topMargin;
    psd.rtMargin.right = paper.x - printableWidth - leftMargin;
    psd.rtMargin.bottom = paper.y - printableHeight - topMargin;
    psd.Flags = units | win::PSD_MARGINS;

    WindowSystem& w = windowSystem();
    const win::HWND activeDialog = w.ActiveModelessDialog;
    win::BOOL ok = 0;
    {
        ModalScope modal;
        psd.hwndOwner = modal.owner();
        ok = win::PageSetupDlgA(&psd);
    }
    w.ActiveModelessDialog = activeDialog;
    if (!ok) {
        freeBlock(psd.hDevMode);
        freeBlock(psd.hDevNames);
        return;
    }

    freeBlock(st.devMode);
    freeBlock(st.devNames);
    st.devMode = psd.hDevMode;
    st.devNames = psd.hDevNames;
    st.unitFlag = units;
    keptPaper = psd.ptPaperSize;
    paperWidth = psd.ptPaperSize.x;
    paperHeight = psd.ptPaperSize.y;
    const win::RECT& m = psd.rtMargin;
    printableWidth = paperWidth - m.left - m.right;
    printableHeight = paperHeight - m.top - m.bottom;
    leftMargin = m.left;
    topMargin = m.top;
    withMode(st.devMode, [&](const win::DEVMODEA& mode) {
        orientation = mode.dmOrientation == win::DMORIENT_LANDSCAPE ? 1 : 0;
        copies = mode.dmCopies;
    });
    copyForPrinter(st);
    st.initialised = true;
    printerColours_ = printerColours(st);
    result = 1;
}

}  // namespace tk
