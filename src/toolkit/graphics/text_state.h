#pragma once
// The text state of the graphics layer: font face, style, size, direction,
// justification and spacing mode, the routines that set them, and the width
// of a string in character widths. The fields live in GraphicsState; the
// per-device text words come from the drivers' DeviceInfo.

#include <optional>
#include <string_view>

namespace tk {

// The code under which a character is measured and drawn with the
// installed stroke font: 32-126 stay, 128 is the font's slot 127 when it has
// one, 161-255 stay unless the font lacks them, everything else is a blank.
int MapCharacterCode(int code);

void GrTextFont(std::optional<int> kind = {}, std::optional<int> style = {},
                std::optional<float> width = {}, std::optional<float> height = {},
                std::optional<std::string_view> name = {}, std::optional<int> pitch = {});
void SelectFontNumber(int k);
void SetTextModeLetter(std::string_view letter);
void SetCharacterSize(float width, float height);
void UpdateCharacterScale();
void SetCharacterDirection(float angle);
// Justification by code 1-12: three groups of four (1-4 left, 5-8 centred,
// 9-12 right). Our text layout has one vertical reference (the middle line
// of the characters), so the four codes of a group place text alike.
// Other codes are ignored.
void SetTextJustification(int code);
void SetTextAttributes(std::optional<int> justification = {}, std::optional<float> angle = {},
                       std::optional<int> stacking = {}, std::optional<int> spare = {});

// Width of the first n characters in character widths (1.0 = one character
// width of the current size). With tableOnly 0 the device may measure it.
float StringWidthInUnits(std::string_view text, int n, std::optional<int> tableOnly = {});

// The 52 letters a device font's width is measured by.
inline constexpr char kMeasuredLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// Characters laid out one by one from the width table are drawn in a
// device font; for a line to take the room the table gives it, the font's
// letters must be as wide as the table's. The font width to ask for, from
// the width first asked for and how wide the 52 letters came out in it
// (device units; a character cell of cellWidth).
int FontWidthFittedToTable(int width, int lettersDrawn, float cellWidth);

// The text defaults of a graphics reset, then the character scaling, the
// default widths and the default stroke font.
void ResetTextState();
// Direction and character scaling again after an area or orientation change.
void RefreshCharacterState();

}  // namespace tk
