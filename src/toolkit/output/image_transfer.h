#pragma once
// Drawing a picture (the clipboard's bitmap, or a BMP, PCX or PNG file)
// into a rectangle of a device context, stretched or not and turned with
// the page; and saving a rectangle of the drawing surface to the clipboard
// or a file. Both answer an error number (0 done; 1 file not opened or
// created, 2 read or write error, 27 format not supported, 1044 zlib
// error, 1066 transfer failed, 1072 capture failed, 1094 clipboard not
// available, 1095 no bitmap on the clipboard) and report nothing.

#include <cstdint>
#include <string_view>

#include "platform/gdi/gdi.h"

namespace tk {

struct ImageTransfer {
    int kind = 1;  // 0 clipboard, 1 BMP, 2 PCX, 15 PNG
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool stretch = true;
    int rotation = 0;  // 0, 90, 180, 270
    int offsetX = 0, offsetY = 0;
};

// Target 0 is the graphics' drawing surface, 10 the Windows printer's
// page, 11 the Windows metafile driver's; a target whose context does not
// exist draws nothing.
void ImageFileToDC(const ImageTransfer& transfer, int target, int& error, int& osError,
                   std::string_view file);
// The same into a given context, with the clip region used for unstretched
// pictures.
void ImageFileToContext(const ImageTransfer& transfer, win::HDC dc, win::HRGN clip, int& error,
                        int& osError, std::string_view file);
void ImageSaveFromDC(int kind, int x1, int y1, int x2, int y2, int& error, int& osError,
                     std::string_view file);

// The context and clip region of the printer (10) and metafile (11)
// targets, registered by their drivers.
struct ImageTargetContext {
    win::HDC dc = nullptr;
    win::HRGN clip = nullptr;
};
void RegisterImageTarget(int target, ImageTargetContext (*context)());

// The header of a 32-bit DIB with its rows from the top down.
win::BITMAPINFO Dib32Header(int width, int height);
// A packed colour (red in the low byte) as a DIB word (blue in the low
// byte), and back.
inline std::uint32_t SwapRedBlue(std::uint32_t p) {
    return (p >> 16 & 255u) | (p & 0xFF00u) | (p & 255u) << 16;
}

}  // namespace tk
