#pragma once
// What the graphics layer needs of the parts of the toolkit that are built
// beside or above it: the window table, the dialog manager, the memory
// bitmaps, metafile slots and hardcopy output. Each hook is bound by the part
// that provides it; an unbound hook answers as if that part had nothing to
// offer (no window open, no dialog current, no slot usable).

#include <functional>
#include <string_view>

#include "platform/win_types.h"

namespace tk {

// The surface the screen driver draws on. The window layer, the memory
// bitmaps and the metafile slots set it when they hand a surface over.
struct DrawingSurface {
    win::HDC dc = nullptr;
    win::HWND window = nullptr;  // the window drawn on, null for other surfaces
    bool metafile = false;
    int referenceResolution = 96;  // pixels per inch of a metafile surface
    win::HPALETTE palette = nullptr;
};

DrawingSurface& drawingSurface();

// Width, height and a status (0 success) answered by the target selectors.
struct TargetSize {
    int status = 1;
    int width = 0;
    int height = 0;
};

// What the image loader needs to draw an image file into the graphics area:
// the destination rectangle in window pixels, the page rotation with its two
// offsets, and the request's words.
struct ImageRequest {
    int rotation = 0, offsetX = 0, offsetY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    int pixX1 = 0, pixY1 = 0, value = 0, count = 0;
    std::string_view file;
};

struct GraphicsServices {
    // Makes a toolkit window the current output window (selecting its surface
    // and reporting its client size to GraphicsTargetResized); answers false
    // when that window is not open.
    std::function<bool(int window)> outputWindowSelect;
    // Gives the current drawing surface back to its owner.
    std::function<void()> releaseDrawingDC;
    // The dialog that is current (0 = none) and the window of one of its
    // fields (field 0 = the dialog window itself; null when there is none).
    std::function<int()> currentDialog;
    std::function<win::HWND(int field)> dialogFieldWindow;
    // Marks a dialog field (or the dialog) as a drawing target so that its
    // mouse, expose and resize events are reported.
    std::function<void(int dialog, int field)> markDrawingField;
    // Makes memory bitmap `index` (0-based) the drawing surface.
    std::function<TargetSize(int index)> bitmapSelectTarget;
    // Metafile slots: kind (0 free, 3 enhanced metafile, 6 memory picture),
    // in-use word, pixel size and size in millimetres, making the slot's
    // metafile the drawing surface, and freeing its contents.
    std::function<int(int slot)> metafileSlotKind;
    std::function<TargetSize(int slot)> metafileSlotSize;
    std::function<int(int slot)> metafileSlotUseDC;
    std::function<void(int slot)> metafileSlotFree;
    std::function<TargetSize(int slot)> metafileSlotMillimetres;
    // The memory-picture driver that replaces the screen driver while a
    // memory-picture slot is the target.
    std::function<void(int code)> memoryCgmDriver;
    // Bitmap viewer window geometry by code (101 width, 102 height, 4 and
    // 103 the scroll offsets).
    std::function<int(int code, int window)> bitmapViewerInfo;
    // The hardcopy page's width and height (both 0 when none is set up).
    std::function<void(float& width, float& height)> hardcopyPageSize;
    // Stores the hardcopy line-width option (driver units), and reads it.
    std::function<void(int width)> setHardcopyLineWidth;
    std::function<int()> hardcopyLineWidth;
    // Ends hardcopy output ("S").
    std::function<void()> hardcopyEndOutput;
    // Clears the hardcopy options and sends request 1 to the selected
    // driver; with keepPageOptions the driver keeps its page options and the
    // options are applied again afterwards.
    std::function<void(bool keepPageOptions)> hardcopyReset;
    // Recomputes the window-text character size after a resize.
    std::function<void()> windowTextSizeUpdate;
    // The window-text and system colour answers of the window layer.
    std::function<int(int code)> systemWindowColour;
    // Prints a rectangle of the current drawing surface on the Windows
    // printer under a title: 0 printed, 1 printing impossible or not
    // started, 64 the picture could not be printed.
    std::function<int(std::string_view title, int left, int top, int right, int bottom)>
        printPicture;
    // Draws an image file onto the current drawing surface.
    std::function<void(const ImageRequest&)> imageFileToDC;
    // The NT platform family decides the pen kind of dashed lines.
    std::function<bool()> ntPlatform;
    // 2 when the window system's gradient fill is present, else 1.
    std::function<int()> gradientFillSupport;
};

GraphicsServices& graphicsServices();

}  // namespace tk
