#include "toolkit/output/hardcopy_options.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"

namespace tk {

int& HardcopyOptions::operator[](int code) {
    assert(validCode(code));
    return code <= 29 ? low[static_cast<std::size_t>(code - 1)]
                      : high[static_cast<std::size_t>(code - 101)];
}

int HardcopyOptions::operator[](int code) const {
    return const_cast<HardcopyOptions&>(*this)[code];
}

HardcopyOptions& hardcopyOptions() {
    static HardcopyOptions options;
    return options;
}

HardcopyDeviceState& hardcopyDeviceState() {
    static HardcopyDeviceState state;
    return state;
}

void ResetHardcopyOptions() {
    hardcopyOptions() = HardcopyOptions{};
    hardcopyDeviceState() = HardcopyDeviceState{};
}

namespace {

constexpr int kBitImageDriver = 6, kPostScriptDriver = 2, kDxfDriver = 8;

bool oneOf(int value, std::initializer_list<int> allowed) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

// Order the page as portrait (smaller width) or landscape (larger width).
void orderPage(bool landscape) {
    HardcopyOptions& o = hardcopyOptions();
    const int w = o[hc::PageWidth], h = o[hc::PageHeight];
    const bool swap = landscape ? w < h : w > h;
    if (swap) {
        o[hc::PageWidth] = h;
        o[hc::PageHeight] = w;
    }
}

// The value to store for a code, or false when the call is to be ignored.
bool acceptedValue(int code, int& value) {
    const int driver = hardcopyDeviceState().activeDriver;
    const ToolkitState& t = toolkitState();
    switch (code) {
        case 1:
        case 2:
            return value >= 1;
        case 5:
        case 10:
        case 11:
            return value >= 0 && value <= (code == 5 ? 3 : 2);
        case 6:
            return value >= 0 && value <= 2;
        case 8:
        case 9:
            value = std::max(value, 1);
            return true;
        case 12:
            value = std::max(value, 100);
            return true;
        case 13:
            return value >= 1 && value <= t.RasterResolutionCount;
        case 14:
            return false;
        case 21:
            return value >= 1 && value <= 127;
        case 23:
            return (driver == kBitImageDriver && oneOf(value, {1, 4, 8, 24})) ||
                   (driver == kDxfDriver && oneOf(value, {3, 4, 8, 24}));
        case 24:
            return value >= 0 && value <= t.RasterOptionDigit;
        case 101:
        case 102:
        case 103:
        case 104:
        case 108:
            return value >= 1;
        case 105:
            return value >= 1 && value <= 4;
        default:
            return HardcopyOptions::validCode(code);
    }
}

void followUp(int code, int value) {
    const int driver = hardcopyDeviceState().activeDriver;
    switch (code) {
        case 1:
        case 2:
            PageAspectRatio();
            break;
        case 5:
            if (value >= 2) orderPage(value == 3);
            break;
        case 9:
            SendHardcopyRequest(30);
            break;
        case 10:
            SendHardcopyRequest(36);
            break;
        case 11:
            SendHardcopyRequest(37);
            break;
        case 13:
            hardcopyDeviceState().resolutionIndex = value;
            break;
        case 22:
            if (driver == kPostScriptDriver)
                ChangeDefaultFileExtension(value == 0 ? ".ps" : ".eps");
            break;
        case 26:
            if (driver == kBitImageDriver)
                ChangeDefaultFileExtension(value == 1 || value == 2 ? ".bmp"
                                           : value == 3             ? ".png"
                                                                    : ".pcx");
            break;
        default:
            break;
    }
}

}  // namespace

void HardcopyOptionSet(int code, int value) {
    if (!acceptedValue(code, value)) return;
    hardcopyOptions()[code] = code == 5 ? value % 2 : value;
    followUp(code, value);
}

void HardcopyDriverDefaults() {
    HardcopyOptions& o = hardcopyOptions();
    for (int code : {6, 7, 10, 11, 17, 106, 107})
        o[code] = 0;
    o[8] = 1;
    o[9] = 5;
    o[101] = 80;
    o[102] = 60;
    o[103] = 1;
    o[104] = 999999;
    o[105] = 1;
    o[108] = 8;
}

void SetDefaultFileExtension(std::string_view extension) {
    hardcopyOptions().defaultFileName.assign(std::string("doredere") + std::string(extension));
}

std::string ReplaceFileExtension(std::string_view name, std::string_view extension) {
    std::string text(name);
    const std::size_t dot = text.rfind('.');
    std::size_t separator = text.find_last_of(std::string(1, toolkitState().PathSeparator) + "/");
    const bool hasExtension =
        dot != std::string::npos && (separator == std::string::npos || dot > separator);
    if (hasExtension) text.resize(dot);
    return text + std::string(extension);
}

void ChangeDefaultFileExtension(std::string_view extension) {
    auto& name = hardcopyOptions().defaultFileName;
    if (name.blank()) return;
    name.assign(ReplaceFileExtension(name.str(), extension));
}

}  // namespace tk
