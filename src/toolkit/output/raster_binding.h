#pragma once
// Registers the raster drivers (the raster printer and the bitmap files)
// with the hardcopy layer and binds the image and bitmap services of the
// graphics layer.

namespace tk {

void BindRasterOutput();

}  // namespace tk
