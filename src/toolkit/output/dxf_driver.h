#pragma once
// Hardcopy driver 8: a two-dimensional ASCII DXF drawing in inches, one
// entity per drawing request, written through the plot output file.

#include <string>
#include <string_view>

namespace tk {

void DxfDriver(int request);

// The writers of the file's group pairs.
void DxfWriteGroup(std::string_view code, std::string_view value);
void DxfWriteReal(std::string_view code, float value);
void DxfWriteInteger(std::string_view code, int value);
void DxfWritePoint(std::string_view xCode, std::string_view yCode, float x, float y);
void DxfBeginEntity(std::string_view name);
// The colour index 1 to 255 nearest to a packed RGB value.
int DxfColourIndex(int rgb);
// A real as the file writes it: fixed point with six decimals, trailing
// zeros dropped (3 becomes "3.").
std::string DxfRealText(float value);

void ResetDxfDriver();

}  // namespace tk
