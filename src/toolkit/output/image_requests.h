#pragma once
// Request 38 (an image file drawn over the page) as the hardcopy drivers
// share it: loading the file quietly with the answer in the request block,
// the Windows drivers' rectangle and page turn, and the CGM cell array.

#include "platform/win_types.h"
#include "toolkit/output/cgm_encoding.h"
#include "toolkit/output/image_loading.h"

namespace tk {

// Loads the image named in the device text without showing errors. On
// failure value is the error number and count the system's, the error
// stays the toolkit's last one and false comes back; on success value is 0
// and the earlier last error is put back.
bool LoadRequestImage(ImagePixelArray& image);

// The Windows printer and metafile drivers: the image stretched over the
// graphics area of their page (in their units), turned with the page; the
// answer in value and count.
void WindowsImageRequest(win::HDC dc, win::HRGN clip);

// CELL ARRAY of the image over the parallelogram P (first row's first
// cell), Q (the opposite corner), R (last cell of the first row), turned
// with the page: rows of runs, each a 16-bit count and red, green, blue.
CgmElement CgmCellArray(const ImagePixelArray& image, int rotation, win::POINT p, win::POINT q,
                        win::POINT r);

}  // namespace tk
