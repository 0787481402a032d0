#pragma once
// The text layer under the two pen-plotter drivers (HP-GL and HP-GL/2): an
// HP-GL command with its parameters made into one squeezed line, labels,
// the shape records that tell a reader what was drawn, and arcs and wedges
// under an isotropic scale. Coordinates are device units, turned into
// plotter units by ScaleX and ScaleY and truncated.

#include <string>
#include <string_view>

namespace tk {

// The scale command every drawing runs under, and that ends each shape record.
inline constexpr std::string_view kPlotterScale = "SC0 32760 0 32760";

// The command squeezed: the two-letter mnemonic as it stands, no blank
// between it and its first parameter, every inner run of blanks one blank,
// no trailing blanks; at least two characters.
std::string HpglSqueeze(std::string_view command);
// Writes the command (at most 50 characters) squeezed as one line.
void HpglWriteCommand(std::string_view command);
// The mnemonic and the point in plotter units.
void HpglWriteCommandXY(std::string_view mnemonic, float x, float y);
// A label: "LB" (" LB" with the blank prefix) and the text as it stands.
void HpglWriteLine(std::string_view text);
// Shape records (written only while HpglShapeRecords is non-zero): a point
// in plotter units, two reals, and a record of a kind with three values
// (the third raised by 32760), closed by the real scale when asked.
void HpglWriteShapePoint(float x, float y);
void HpglWriteShapeReals(float first, float second);
void HpglWriteShapeRecord(int kind, bool closing, int first, int second, int third);
// The line of such a record, empty while records are off.
std::string HpglShapeRecordText(int kind, bool closing, int first, int second, int third);

// The scale command that makes plotter units equally long in x and y for a
// picture whose y is `q` / 32760 of x (q as the plotter sees it), and the
// factors it implies for a centre and a radius drawn under it.
struct IsotropicScale {
    std::string command;
    float centreX = 1, centreY = 1, radius = 1;
};
IsotropicScale HpglIsotropicScale(int q);
// q of a circle in the graphics area: 32760 x area height / (area width x
// page aspect), turned for a page rotation of 90 or 270 degrees, times the
// axis ratio of an ellipse.
int HpglAxisRatio(float ratio = 1.0f);

// A wedge (13 filled, else edge) or an arc at the request's centre; the
// restore command follows. `arcPenDown` is the pen-down command of the arc
// branch ("PD" for HP-GL, "PD;" for HP-GL/2); `beforeScale`, when given, is
// a line written just before the isotropic scale.
void HpglArc(int request, std::string_view restore, std::string_view arcPenDown = "PD",
             std::string_view beforeScale = {});

}  // namespace tk
