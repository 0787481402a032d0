#include "toolkit/graphics/device_protocol.h"

#include <map>

#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/graphics/screen_driver.h"

namespace tk {

namespace {

struct Registry {
    std::map<int, DriverEntry> hardcopyDrivers;
    int selectedHardcopy = 0;
    DriverEntry screen;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

DeviceParameterBlock& deviceBlock() {
    static DeviceParameterBlock block;
    return block;
}

base::FixedString<260>& deviceTextBuffer() {
    static base::FixedString<260> buffer;
    return buffer;
}

DevicePointArrays& devicePointArrays() {
    static DevicePointArrays arrays;
    return arrays;
}

DeviceInfo& screenDeviceInfo() {
    static DeviceInfo info;
    return info;
}

DeviceInfo& hardcopyDeviceInfo() {
    static DeviceInfo info;
    return info;
}

void SendScreenRequest(DeviceRequest code) {
    if (graphicsState().memoryCgmTarget) {
        if (auto& memory = graphicsServices().memoryCgmDriver) memory(code);
        return;
    }
    if (registry().screen)
        registry().screen(code);
    else
        YYGAPI(code);
}

void SendHardcopyRequest(DeviceRequest code) {
    if (graphicsState().hardcopyDriver > 0) HardcopyDriverRequest(code);
}

void HardcopyDriverRequest(DeviceRequest code) {
    auto found = registry().hardcopyDrivers.find(registry().selectedHardcopy);
    if (found != registry().hardcopyDrivers.end() && found->second) found->second(code);
}

void RegisterHardcopyDriver(int number, DriverEntry entry) {
    registry().hardcopyDrivers[number] = std::move(entry);
}

void SelectHardcopyDriverNumber(int number) {
    registry().selectedHardcopy = number;
}

int HardcopyDriverNumber() {
    return registry().selectedHardcopy;
}

void SetScreenDriver(DriverEntry entry) {
    registry().screen = std::move(entry);
}

void ResetDeviceProtocol() {
    registry() = Registry{};
    deviceBlock().reset();
    deviceTextBuffer().assign("");
    devicePointArrays() = DevicePointArrays{};
    screenDeviceInfo() = DeviceInfo{};
    hardcopyDeviceInfo() = DeviceInfo{};
}

}  // namespace tk
