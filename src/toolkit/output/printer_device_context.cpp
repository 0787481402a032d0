#include "toolkit/output/printer_device_context.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"
#include "platform/kernel/errors.h"
#include "toolkit/core/common_dialogs.h"

namespace tk {

namespace {

struct DeviceContextState {
    PrinterTarget target;
    PrinterOverrides overrides;
    // The page set-up block whose choices were last taken over (or
    // discarded by a query); a newly confirmed set-up has another one.
    win::HGLOBAL seenSetup = nullptr;
    unsigned long lastFields = 0;
};

DeviceContextState& state() {
    static DeviceContextState s;
    return s;
}

// Takes over the names and settings of a page set-up confirmed since the
// last look.
void adoptPageSetup() {
    const PageSetupState& p = pageSetupState();
    DeviceContextState& s = state();
    if (!p.initialised || p.devMode == s.seenSetup) return;
    s.seenSetup = p.devMode;
    if (!p.deviceName.empty()) {
        s.target.device = p.deviceName;
        s.target.driver = p.driverName;
        s.target.port = p.outputPort;
    }
    PrinterOverrides& o = s.overrides;
    o.paperSize = p.paperSize;
    o.paperLength = p.paperLength;
    o.paperWidth = p.paperWidth;
    o.scale = p.scale;
    o.defaultSource = p.defaultSource;
    o.printQuality = p.printQuality;
    o.colour = p.colour;
    o.duplex = p.duplex;
    o.yResolution = p.yResolution;
    o.trueTypeOption = p.trueTypeOption;
    o.collate = p.collate;
    o.mediaType = static_cast<int>(p.mediaType);
    o.ditherType = static_cast<int>(p.ditherType);
}

template <typename T>
void applyOverride(win::DEVMODEA& m, unsigned long supported, T value, T notSet, unsigned long bit,
                   T& member) {
    if (value == notSet || (supported & bit) == 0) return;
    m.dmFields |= bit;
    member = value;
}

void applyOverrides(win::DEVMODEA& m, unsigned long supported) {
    const PrinterOverrides& o = state().overrides;
    applyOverride<short>(m, supported, o.paperSize, -1, win::DM_PAPERSIZE, m.dmPaperSize);
    applyOverride<short>(m, supported, o.paperLength, -1, win::DM_PAPERLENGTH, m.dmPaperLength);
    applyOverride<short>(m, supported, o.paperWidth, -1, win::DM_PAPERWIDTH, m.dmPaperWidth);
    applyOverride<short>(m, supported, o.scale, -1, win::DM_SCALE, m.dmScale);
    applyOverride<short>(m, supported, o.defaultSource, -1, win::DM_DEFAULTSOURCE,
                         m.dmDefaultSource);
    applyOverride<short>(m, supported, o.printQuality, -1, win::DM_PRINTQUALITY, m.dmPrintQuality);
    applyOverride<short>(m, supported, o.colour, -1, win::DM_COLOR, m.dmColor);
    applyOverride<short>(m, supported, o.duplex, -1, win::DM_DUPLEX, m.dmDuplex);
    applyOverride<short>(m, supported, o.yResolution, -1, win::DM_YRESOLUTION, m.dmYResolution);
    applyOverride<short>(m, supported, o.trueTypeOption, -1, win::DM_TTOPTION, m.dmTTOption);
    applyOverride<short>(m, supported, o.collate, -1, win::DM_COLLATE, m.dmCollate);
    // Media and dither type by the bits that name those members here.
    win::DWORD media = static_cast<win::DWORD>(o.mediaType);
    win::DWORD dither = static_cast<win::DWORD>(o.ditherType);
    applyOverride<win::DWORD>(m, supported, media, 99999, win::DM_MEDIATYPE, m.dmMediaType);
    applyOverride<win::DWORD>(m, supported, dither, 99999, win::DM_DITHERTYPE, m.dmDitherType);
}

}  // namespace

PrinterTarget& printerTarget() {
    return state().target;
}

PrinterOverrides& printerOverrides() {
    return state().overrides;
}

void ResetPrinterDeviceContext() {
    state() = DeviceContextState{};
}

void PrinterTargetFromProfile(const std::string& value) {
    std::string parts[3];
    int part = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == ',' && part < 2) {
            ++part;
            while (i + 1 < value.size() && value[i + 1] == ' ')
                ++i;
            continue;
        }
        parts[part] += value[i];
    }
    PrinterTarget& t = state().target;
    t.device = parts[0];
    t.driver = parts[1];
    t.port = parts[2];
    t.defaultRead = 1;
}

int PrinterGetDefault() {
    const std::string value = win::defaultPrinterProfileString();
    if (value.empty()) return 0;
    PrinterTargetFromProfile(value.substr(0, 551));
    return 1;
}

PrinterPageCaps PrinterQueryCaps() {
    PrinterPageCaps caps;
    DeviceContextState& s = state();
    if (s.target.defaultRead == 0) {
        if (PrinterGetDefault() == 0) {
            caps.error = static_cast<int>(win::GetLastError());
            if (caps.error == 0) caps.error = 2;  // no default printer at all
            return caps;
        }
        PageSetupStateReset();
    }
    win::HDC ic =
        win::CreateICA(s.target.driver.c_str(), s.target.device.c_str(), nullptr, nullptr);
    if (!ic) {
        caps.error = static_cast<int>(win::GetLastError());
        if (caps.error == 0) caps.error = 2;
        return caps;
    }
    const int dx = win::GetDeviceCaps(ic, win::LOGPIXELSX),
              dy = win::GetDeviceCaps(ic, win::LOGPIXELSY);
    const int w = dx > 0 ? win::GetDeviceCaps(ic, win::PHYSICALWIDTH) * 72 / dx : 0;
    const int h = dy > 0 ? win::GetDeviceCaps(ic, win::PHYSICALHEIGHT) * 72 / dy : 0;
    caps.longSide = std::max(w, h);
    caps.shortSide = std::min(w, h);
    caps.usableWidth = caps.longSide - 144;
    caps.usableHeight = caps.shortSide - 144;
    caps.offsetX = caps.offsetY = 72;
    caps.orientation = 1;
    caps.copies = 1;
    caps.colourCount = win::GetDeviceCaps(ic, win::NUMCOLORS);
    win::DeleteDC(ic);
    s.overrides = PrinterOverrides{};
    s.seenSetup = pageSetupState().initialised ? pageSetupState().devMode : nullptr;
    return caps;
}

win::HDC PrinterCreateDC(int landscape, int copies) {
    adoptPageSetup();
    DeviceContextState& s = state();
    std::string device = s.target.device;
    win::HANDLE printer = nullptr;
    if (!win::OpenPrinterA(device.data(), &printer, nullptr)) return nullptr;
    const long size =
        win::DocumentPropertiesA(nullptr, printer, device.data(), nullptr, nullptr, 0);
    if (size < static_cast<long>(sizeof(win::DEVMODEA))) {
        win::ClosePrinter(printer);
        return nullptr;
    }
    win::DEVMODEA mode;
    win::DocumentPropertiesA(nullptr, printer, device.data(), &mode, nullptr, win::DM_OUT_BUFFER);
    const unsigned long supported = mode.dmFields;
    mode.dmFields = 0;
    if (supported & win::DM_ORIENTATION) {
        mode.dmFields = win::DM_ORIENTATION;
        mode.dmOrientation = landscape != 0 ? win::DMORIENT_LANDSCAPE : win::DMORIENT_PORTRAIT;
    }
    if (supported & win::DM_COPIES) {
        mode.dmFields |= win::DM_COPIES;
        mode.dmCopies = static_cast<short>(copies);
    }
    applyOverrides(mode, supported);
    s.lastFields = mode.dmFields;
    if (mode.dmFields != 0)
        win::DocumentPropertiesA(nullptr, printer, device.data(), &mode, &mode,
                                 win::DM_IN_BUFFER | win::DM_OUT_BUFFER);
    win::HDC dc = win::CreateDCA(s.target.driver.c_str(), s.target.device.c_str(),
                                 s.target.port.c_str(), &mode);
    win::ClosePrinter(printer);
    return dc;
}

unsigned long PrinterLastAppliedFields() {
    return state().lastFields;
}

int DibColourTableSize(const void* header) {
    const auto* bytes = static_cast<const unsigned char*>(header);
    std::uint32_t size = 0;
    std::memcpy(&size, bytes, 4);
    int bits = 0, entrySize = 4, entries = 0;
    if (size == 12) {
        std::uint16_t b = 0;
        std::memcpy(&b, bytes + 10, 2);
        bits = b;
        entrySize = 3;
    } else {
        std::uint16_t b = 0;
        std::uint32_t used = 0;
        std::memcpy(&b, bytes + 14, 2);
        std::memcpy(&used, bytes + 32, 4);
        bits = b;
        if (used != 0) entries = static_cast<int>(used);
    }
    if (entries == 0) entries = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
    return static_cast<std::uint16_t>(entries * entrySize);
}

}  // namespace tk
