#pragma once
// The numbered requests through which every graphics routine reaches an
// output device, and the shared block and buffers that carry their words.
// The screen side is the screen driver (or the memory-picture driver while a
// memory picture is the target); the hardcopy side is the driver selected by
// number, active only while hardcopy output is on.

#include <array>
#include <cassert>
#include <functional>
#include <string>
#include <vector>

#include "base/fixed_string.h"

namespace tk {

using DeviceRequest = int;

// Four words counted from 1, as the request table counts points.
template <typename T>
struct PointWords {
    std::array<T, 4> w{};
    T& operator[](int k) {
        assert(k >= 1 && k <= 4);
        return w[static_cast<std::size_t>(k - 1)];
    }
    const T& operator[](int k) const {
        assert(k >= 1 && k <= 4);
        return w[static_cast<std::size_t>(k - 1)];
    }
};

struct DeviceParameterBlock {
    int count = 0;
    int value = 0;
    PointWords<float> fy, fx;
    PointWords<int> pixY, pixX;
    void reset() { *this = DeviceParameterBlock{}; }
};

using DriverCapabilities = base::FixedString<29>;

inline constexpr const char* ScreenCapabilities = "11111111111111111110111011111";

struct DeviceInfo {
    DriverCapabilities capabilities = "00000000000000000000000000000";
    int gradientFillAvailable = 0;
    int trueColour = 0;
    int styledVadiLines = 0;
    int textAngleCapability = 0;
    int lineStyleCount = 0;
    float deviceTextThreshold = 0;
    int hardcopyColourCount = 0;
    // Hardcopy drivers that lay out device-layout text themselves, and that
    // draw the opaque box behind text themselves.
    int hardcopyTextLayout = 0;
    int hardcopyTextBox = 0;
    // Flag k (1-29) of the capability string.
    int capability(int k) const {
        return k >= 1 && k <= 29 && capabilities[static_cast<std::size_t>(k - 1)] == '1' ? 1 : 0;
    }
};

struct DevicePointArrays {
    std::vector<float> x, y;
    void allocate(int n) {
        x.assign(static_cast<std::size_t>(n > 0 ? n : 0), 0.0f);
        y.assign(x.size(), 0.0f);
    }
};

DeviceParameterBlock& deviceBlock();
base::FixedString<260>& deviceTextBuffer();
DevicePointArrays& devicePointArrays();
// The device information of each side, filled by its driver on request 1.
DeviceInfo& screenDeviceInfo();
DeviceInfo& hardcopyDeviceInfo();

void SendScreenRequest(DeviceRequest code);
void SendHardcopyRequest(DeviceRequest code);
// Dispatches to the selected hardcopy driver regardless of whether hardcopy
// output is on (the probe and the reset reach the driver this way).
void HardcopyDriverRequest(DeviceRequest code);

// Hardcopy drivers register under their number (1 HP-GL, 2 PostScript, 3
// SVG, 4 raster printers, 6 image files, 8 DXF, 9 CGM, 10 Windows printer,
// 11 Windows metafile, 12 HP-GL/2); a number with no driver does nothing.
using DriverEntry = std::function<void(DeviceRequest)>;
void RegisterHardcopyDriver(int number, DriverEntry entry);
void SelectHardcopyDriverNumber(int number);
int HardcopyDriverNumber();

// The screen driver's entry; the screen driver registers itself, tests may
// put a recorder in its place.
void SetScreenDriver(DriverEntry entry);
void ResetDeviceProtocol();

}  // namespace tk
