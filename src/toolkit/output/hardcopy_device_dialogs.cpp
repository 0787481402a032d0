// The device options dialog (template 32098) of the plotter and printer
// languages and the file options dialogs (32000 + driver) of the file
// formats: fields 1001-1029 stand for the hardcopy option codes 1-29, field
// 1201 for the output file name.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "toolkit/core/event_queue.h"
#include "toolkit/core/event_wait.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/field_lists.h"
#include "toolkit/dialogs/field_values.h"
#include "toolkit/dialogs/file_select.h"
#include "toolkit/output/device_model_names.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/hardcopy_options_dialogs.h"

namespace tk {

namespace {

constexpr int kDeviceDialog = 32098;
constexpr int kFileField = 1201, kBrowseButton = 1202, kDeviceLabel = 1203, kDeviceList = 1204,
              kSizeLabel = 1205, kFileOptionsButton = 1206;
constexpr int kOk = 1, kCancel = 2;
constexpr int kSemiModeless = 3;

constexpr std::array<float, 4> kUnitFactors{1.0f, 1.0f / 72.0f, 2.54f / 72.0f, 25.4f / 72.0f};
constexpr std::array<const char*, 4> kDeviceUnits{"points", "inches", "cm", "mm"};
constexpr std::array<const char*, 4> kFileUnits{"pts", "ins", "cm", "mm"};

float unitFactor(int units) {
    return kUnitFactors[static_cast<std::size_t>(std::clamp(units, 0, 3))];
}

// Loads a dialog template; when it is missing the dialog manager has
// reported it and the dialog that was current before is current again.
bool loadDialog(int id) {
    ToolkitState& t = toolkitState();
    const int previous = t.CurrentDialogNumber;
    t.LastErrorNumber = 0;
    DlgLoad(id);
    if (t.LastErrorNumber == 0) return true;
    if (previous != 0)
        DlgSelect(previous);
    else
        t.CurrentDialogNumber = 0;
    return false;
}

bool hasField(int field) {
    return DialogFieldInfo(field, 5) != 0;
}

std::string text(const std::string_view s) {
    return std::string(s.substr(0, s.find_last_not_of(' ') + 1));
}

std::string fieldText(int field) {
    std::array<char, 260> buffer{};
    buffer.fill(' ');
    DlgGetString(field, buffer);
    return text(std::string_view(buffer.data(), buffer.size()));
}

// Sizes in the dialog's unit, read back to points rounded half away from 0.
void putSize(int code, int units) {
    DlgPutReal(1000 + code, static_cast<float>(hardcopyOptions()[code]) * unitFactor(units),
               "(F10.2)");
}

int sizeInPoints(int field, int units) {
    float value = 0.0f;
    DlgGetReal(field, value);
    const float points = value / unitFactor(units);
    return static_cast<int>(points + (points < 0.0f ? -0.5f : 0.5f));
}

void putSizes(int units, std::string_view unitName) {
    for (int code = 1; code <= 4; ++code)
        if (hasField(1000 + code)) putSize(code, units);
    if (hasField(kSizeLabel)) DlgPutString(kSizeLabel, "Size/Position (" + std::string(unitName) + ")");
}

void readSizes(int units) {
    for (int code = 1; code <= 4; ++code)
        if (hasField(1000 + code)) HardcopyOptionSet(code, sizeInPoints(1000 + code, units));
}

// The menus of the options that are choices, by option code; the value is
// the position less one. Code 23 (colour depth) has its own values.
std::vector<std::string> choicesOf(int code) {
    switch (code) {
        case 5: return {"As drawn", "Turned by 90 degrees"};
        case 6: return {"Colours as they are", "Every colour inverted", "Black and white swapped"};
        case 10: return {"Mitred", "Rounded", "Bevelled"};
        case 11: return {"Butt", "Rounded", "Square"};
        case 22: return {"PostScript", "Encapsulated PostScript"};
        case 26: return {"PC Paintbrush (PCX)", "Windows bitmap (BMP)",
                         "Windows bitmap, run-length coded", "Portable network graphics (PNG)"};
        case 27: return {"Windows metafile", "Placeable Windows metafile", "Enhanced metafile"};
        case 28: return {"No font list", "Generic font names", "Windows font names"};
        case 15: return {"Nothing", "End-of-job character after the file"};
        case 17: return {"As written", "A blank before every line"};
        case 18: return {"Left out", "Written for every filled shape"};
        case 19: return {"None", "Plotter on and off around the file"};
        case 25: return {"Drawn as lines", "Filled by the plotter"};
        default: return {};
    }
}

std::array<int, 4> depthsOf(int driver) {
    return driver == hc::BitImageDriverNumber ? std::array<int, 4>{1, 4, 8, 24}
                                              : std::array<int, 4>{3, 4, 8, 24};
}

const std::vector<std::string> kDepthNames{"2 or 8 colours", "16 colours", "256 colours",
                                           "True colour (24 bits)"};

bool isCount(int code) {
    return code == 8 || code == 9 || code == 12 || code == 13 || code == 16 || code == 21 || code == 24;
}

void putOption(int code, int driver) {
    const int field = 1000 + code;
    const int value = hardcopyOptions()[code];
    if (code == hc::ColourDepth) {
        const auto depths = depthsOf(driver);
        const auto at = std::find(depths.begin(), depths.end(), value);
        DlgPutMenu(field, kDepthNames, 4, at == depths.end() ? 3 : 1 + static_cast<int>(at - depths.begin()));
    } else if (const auto choices = choicesOf(code); !choices.empty()) {
        DlgPutMenu(field, choices, static_cast<int>(choices.size()),
                   std::clamp(value + 1, 1, static_cast<int>(choices.size())));
    } else if (isCount(code)) {
        DlgPutInteger(field, value);
    }
}

int readOption(int code, int driver) {
    const int field = 1000 + code;
    int value = hardcopyOptions()[code];
    if (code == hc::ColourDepth) {
        int place = 0;
        DlgGetMenu(field, place);
        if (place >= 1 && place <= 4) value = depthsOf(driver)[static_cast<std::size_t>(place - 1)];
    } else if (!choicesOf(code).empty()) {
        int place = 0;
        DlgGetMenu(field, place);
        if (place >= 1) value = place - 1;
    } else if (isCount(code)) {
        DlgGetInteger(field, value);
    }
    return value;
}

// Every option field 1005-1029 that the dialog has, from and to its option.
void putOptions(int driver) {
    for (int code = 5; code <= 29; ++code)
        if (hasField(1000 + code)) putOption(code, driver);
}

void readOptions(int driver) {
    for (int code = 5; code <= 29; ++code) {
        if (!hasField(1000 + code)) continue;
        const int value = readOption(code, driver);
        if (value != hardcopyOptions()[code]) HardcopyOptionSet(code, value);
    }
}

// The extension a format or metafile kind gives the file name.
std::string_view extensionOf(int code, int value) {
    if (code == hc::BitmapFormat) return value == 1 || value == 2 ? ".bmp" : value == 3 ? ".png" : ".pcx";
    return value == 2 ? ".emf" : ".wmf";
}

struct FileDialogText {
    const char* title;
    const char* filter;
};

FileDialogText fileDialogText(int driver) {
    switch (driver) {
        case hc::HpglDriverNumber: return {"HP-GL plotter file", "HP-GL plotter file|*.plt|"};
        case hc::PostScriptDriverNumber: return {"PostScript file", "PostScript file|*.ps;*.eps|"};
        case hc::RasterDriverNumber: return {"Printer file", "HP PCL/Epson/IBM printer file|*.prn|"};
        case hc::Hpgl2DriverNumber: return {"HP-GL/2 file", "HP-GL/2 file|*.plt|"};
        case hc::SvgDriverNumber: return {"SVG file", "Scalable Vector Graphics file|*.svg|"};
        case hc::BitImageDriverNumber:
            return {"BMP/PCX/PNG bit image file",
                    "Windows bitmap (*.bmp)|*.bmp|PC Paintbrush (*.pcx)|*.pcx|Portable network "
                    "graphics (*.png)|*.png|"};
        case hc::DxfDriverNumber: return {"DXF file", "AutoCAD DXF file|*.dxf|"};
        case hc::CgmDriverNumber: return {"CGM file", "Computer Graphics Metafile|*.cgm|"};
        case hc::MetafileDriverNumber:
            return {"Windows Metafile",
                    "Windows Metafile (*.wmf)|*.wmf|Enhanced Windows Metafile (*.emf)|*.emf|"};
        default: return {"", ""};
    }
}

struct DeviceDialogText {
    const char* title;
    const char* label;
    const char* filter;
    int kind;  // DeviceKind, 0 for PostScript
};

DeviceDialogText deviceDialogText(int driver) {
    switch (driver) {
        case hc::HpglDriverNumber:
            return {"HP-GL Plotter Output", "Plotter type :", "HP-GL plotter file|*.plt|",
                    PenPlotterKind};
        case hc::PostScriptDriverNumber:
            return {"PostScript Output", "Format :", "PostScript file|*.ps;*.eps|", 0};
        case hc::RasterDriverNumber:
            return {"HP/Epson/IBM Printer Output", "Printer type :",
                    "HP PCL/Epson/IBM printer file|*.prn|", RasterPrinterKind};
        default:
            return {"HP-GL/2 Printer Output", "Device type :", "HP-GL/2 file|*.plt|",
                    Hpgl2PrinterKind};
    }
}

void browse(std::string_view filter, std::string_view title) {
    std::array<char, 260> name{};
    name.fill(' ');
    putText(name, fieldText(kFileField));
    int index = 1;
    FileSelect(-1, filter, 47, name, title, index, 1);
    if (DialogInfoQuery(4) == 1) DlgPutString(kFileField, text(std::string_view(name.data(), 260)));
}

// Shows the current dialog beside the current window and runs it until OK
// or Cancel; ON_EVENT sees every push button and field change before that.
template <typename OnEvent>
bool runDialog(int dialog, OnEvent onEvent) {
    DlgShow(-1, -1, 0, kSemiModeless);
    EventTypeEnable(PushButton, 1);
    EventTypeEnable(FieldChanged, 1);
    for (;;) {
        int type = 0;
        EventRecord event{};
        EventWait(type, event);
        if (event[0] != dialog) continue;
        if (type == PushButton && (event[1] == kOk || event[1] == kCancel))
            return event[1] == kOk;
        onEvent(type, event);
    }
}

void finish(int dialog, bool confirmed) {
    DlgSelect(dialog);
    DlgHide();
    DlgUnload();
    if (confirmed) hardcopyDialogResult() = 1;
}

}  // namespace

void HardcopyOptionsDialog(int units, TextOut fileName, int driver, int, bool) {
    if (!loadDialog(kDeviceDialog)) return;
    const DeviceDialogText t = deviceDialogText(driver);
    DlgTitle(t.title);
    DlgPutString(kDeviceLabel, t.label);
    std::vector<std::string> devices;
    int selected = 1;
    if (t.kind == 0) {
        devices = {"Printer PostScript", "Encapsulated PostScript"};
        selected = hardcopyOptions()[hc::PostScriptKind] != 0 ? 2 : 1;
    } else {
        for (int m = firstDeviceModel(t.kind); m <= lastDeviceModel(t.kind); ++m)
            devices.emplace_back(text(deviceModelName(t.kind, m)));
        selected = std::max(1, selectedDeviceModel(t.kind) - firstDeviceModel(t.kind) + 1);
    }
    DlgPutMenu(kDeviceList, devices, static_cast<int>(devices.size()), selected);
    putSizes(units, kDeviceUnits[static_cast<std::size_t>(std::clamp(units, 0, 3))]);
    putOptions(driver);
    DlgPutString(kFileField, text(std::string_view(fileName.data(), fileName.size())));
    const bool ok = runDialog(kDeviceDialog, [&](int type, const EventRecord& e) {
        if (type == PushButton && e[1] == kBrowseButton) browse(t.filter, t.title);
        // The file side of the same driver, in a dialog of its own.
        if (type == PushButton && e[1] == kFileOptionsButton) {
            putText(fileName, fieldText(kFileField));
            HardcopyFileOptionsDialog(units, fileName, 32000 + driver, 0, false);
            DlgSelect(kDeviceDialog);
            DlgPutString(kFileField, text(std::string_view(fileName.data(), fileName.size())));
        }
    });
    if (ok) {
        readSizes(units);
        readOptions(driver);
        putText(fileName, fieldText(kFileField));
        int chosen = selected;
        DlgGetMenu(kDeviceList, chosen);
        if (t.kind == 0) {
            HardcopyOptionSet(hc::PostScriptKind, chosen == 2 ? 1 : 0);
            // The file name goes back over the default name afterwards, so the
            // extension of the encapsulated format is given to it here.
            const std::string name = fieldText(kFileField);
            if (chosen == 2 && !name.empty()) putText(fileName, ReplaceFileExtension(name, ".eps"));
        } else if (chosen != selected && chosen >= 1) {
            selectDeviceModel(t.kind, chosen + firstDeviceModel(t.kind) - 1);
            HardcopySelectDriver(1, driver);
        }
    }
    finish(kDeviceDialog, ok);
}

void HardcopyFileOptionsDialog(int units, TextOut fileName, int dialogId, int mode, bool) {
    if (!loadDialog(dialogId)) return;
    const int driver = dialogId - 32000;
    const FileDialogText t = fileDialogText(driver);
    // The file formats name their dialog; a device's file side keeps the
    // caption of its template.
    if (mode == 3) DlgTitle(t.title);
    putSizes(units, kFileUnits[static_cast<std::size_t>(std::clamp(units, 0, 3))]);
    putOptions(driver);
    DlgPutString(kFileField, text(std::string_view(fileName.data(), fileName.size())));
    const bool ok = runDialog(dialogId, [&](int type, const EventRecord& e) {
        if (type == PushButton && e[1] == kBrowseButton) browse(t.filter, t.title);
        const int field = type == FieldChanged ? e[1] : 0;
        if (field == 1000 + hc::BitmapFormat || field == 1027) {
            const int code = field - 1000;
            DlgPutString(kFileField, ReplaceFileExtension(fieldText(kFileField),
                                                          extensionOf(code, readOption(code, driver))));
        }
    });
    if (ok) {
        readSizes(units);
        readOptions(driver);
        putText(fileName, fieldText(kFileField));
    }
    finish(dialogId, ok);
}

}  // namespace tk
