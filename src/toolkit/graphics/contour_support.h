#pragma once
// What the two contouring engines and the label placement share: the level
// check, the line attributes of a level, and the drawing of one traced piece
// of contour with its label.

#include <optional>
#include <span>
#include <vector>

#include "toolkit/graphics/presentation_plot.h"

namespace tk {

// True when c(k+1) > c(k) throughout; otherwise error 43 under `routine`.
bool contourLevelsIncrease(std::span<const float> levels, const char* routine);

// The line style a level's `style` gives on the output device: its absolute
// value on devices of at most two colours, else negative styles are solid.
int contourLineStyle(int style);

// Applies a level's line style and colour (from the colour ramp when the
// plot asks for one).
class ContourLevelLines {
  public:
    // Sets up the ramp (and direct RGB colours) when fillMode is 3.
    ContourLevelLines();
    void apply(int k, float level);
    // Puts the colour mode back (before the plot's bracket ends).
    void finish();

  private:
    std::optional<ColourRamp> ramp_;
    std::optional<DirectRgbColours> rgb_;
};

// A piece of traced contour in user units.
struct ContourPiece {
    std::vector<float> x, y;
};

// Draws traced pieces with their labels, keeping the labels already placed
// so that later ones keep their distance.
class ContourPieceLabeller {
  public:
    ContourPieceLabeller(int levelCount, int nx);
    // Draws piece of level k (value `level`) and its label.
    void draw(const ContourPiece& piece, int k, float level);

  private:
    struct Segment {
        float x1, y1, x2, y2;
    };
    std::vector<Segment> placed_;
    std::size_t capacity_ = 0;
    int window_ = 3;
    float spacing_ = 0;
};

}  // namespace tk
