#pragma once
// The 256-entry colour table with its companions for devices with few
// colours, the colour names, HLS and HSV conversions, the nearest-colour
// search, and the routines that make a colour current on the devices.
// Packed RGB is red + 256 x green + 65536 x blue.

#include <array>
#include <optional>
#include <string_view>

namespace tk {

struct ColourTable256 {
    std::array<int, 256> table{};
    std::array<int, 16> base{};
    std::array<int, 8> group{};
    std::array<int, 128> devicePalette{};
    // Per colour number: V.S.cos H, V.S.sin H and V of its HSV form.
    std::array<std::array<float, 3>, 256> cone{};
};

ColourTable256& colourTable();

void BuildDefaultColourTable();
void SetColourTableEntry(int n, int rgb);
int ColourGroupIndex(int group, int row);
int DeviceColourValue(int n);
void RgbToHsv(int rgb, float& hue, float& saturation, float& value);
int HlsToRgb(int hue, int lightness, int saturation);
void NearestColourNumber(int rgb, int& n);
void SplitRgbColour(int rgb, int* red, int* green, int* blue);
void ColourNumberComponents(int colour, int& red, int& green, int& blue);
void ColourNumberRgb(int n, int& rgb);
void GroupColourRgb(int index, int& rgb);
void BaseColourRgb(int index, int& rgb);
void DevicePaletteRgb(int index, int& rgb);

int ParseColourName(std::string_view name);
void GrColourN(int colour);
void GrColour(std::string_view name);
// side 1 screen, 2 hardcopy, other both.
void SetCurrentColour(int number, int rgb, int deviceColour, int side);
void SetColourMode(int depth);
void DefinePaletteColour(int n, int rgb, std::optional<int> batch = {});
void PaletteEntryFromHLS(int n, int hue, int lightness, int saturation,
                         std::optional<int> batch = {});

}  // namespace tk
