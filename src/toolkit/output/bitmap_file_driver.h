#pragma once
// Hardcopy driver 6: each page drawn into the page raster and written to
// the plot output file as a BMP, PNG or PCX image ("doredere.pcx" by
// default).

#include <string_view>

namespace tk {

void XXIMAG(int request);
// Completes the size fields of a run-length coded BMP file.
void YYBMP2(std::string_view name);

}  // namespace tk
