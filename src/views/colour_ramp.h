#pragma once
// The property colours of the colour fill: a 240-step hue ramp in colour
// numbers 16..255 of the toolkit's colour table, the fill range and the grid
// of samples taken over the section.

#include <cstdint>
#include <vector>

#include "model/polygon_model.h"
#include "util/axis_record.h"

namespace views {

inline constexpr int kRampFirst = 16;
inline constexpr int kRampLast = 255;

// Colour number of V on the ramp FMIN..FMAX, held within 16..255; reversed
// (FMAX green) when redToBlue.
int rampColour(float v, float fmin, float fmax, bool redToBlue);

// Defines colour numbers 16..255 as hues 120..359 at full saturation.
void defineRampColours();

// Sets FMIN..FMAX to a nice range over the background and body properties.
void SCALECOLORS(const model::PolygonModel& model, float& fmin, float& fmax);
// The same on the fill range of the view settings.
void SCALECOLORS(const model::PolygonModel& model);

// Samples of the property under the section, rows from the top; a colour of
// -1 is left unpainted (above the topography).
struct FillGrid {
    int nx = 0, nz = 0;
    std::vector<float> value;          // nx x nz, column-major from (1, 1)
    std::vector<std::int32_t> colour;  // the same layout
    float& valueAt(int i, int j) { return value[index(i, j)]; }
    std::int32_t& colourAt(int i, int j) { return colour[index(i, j)]; }
    std::int32_t colourAt(int i, int j) const { return colour[index(i, j)]; }
    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nx) +
               static_cast<std::size_t>(i - 1);
    }
};

// Grid size of the settings (500 x 250 when either is below 1).
void fillGridSize(int settingX, int settingY, int& nx, int& nz);

// Samples the model over the section's value ranges. Returns false, leaving
// the grid empty, when its storage cannot be had.
bool sampleFillGrid(const util::AxisRecord& section, const model::PolygonModel& model, int nx,
                    int nz, float fmin, float fmax, bool redToBlue, FillGrid& grid);

}  // namespace views
