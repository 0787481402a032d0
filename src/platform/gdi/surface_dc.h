#pragma once
// How the window manager and the screen compositor reach the drawing
// interface: device contexts over surfaces they own, the screen's facts, and
// the system colours used by brushes given as colour-index handles.

#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"

namespace win {

// A device context drawing on `surface`, which the caller owns and keeps
// alive (and unresized) until DeleteDC. Device point (0, 0) is surface pixel
// `origin` (a window's client origin on its surface); drawing is limited to
// `clip`, given in device coordinates (the client rectangle), or to the
// whole surface when `clip` is null. The context starts in the default state
// (black pen, white brush, system font, MM_TEXT). Free it with DeleteDC.
HDC CreateSurfaceDC(Surface* surface, POINT origin, const RECT* clip);

// Moves a surface context (the window moved on its surface) and replaces its
// limit. Selected objects and modes stay.
BOOL SetSurfaceDCOrigin(HDC dc, POINT origin, const RECT* clip);

// Limits a surface context further to a region in device coordinates (an
// update region, or the client area less child windows); null removes it.
// The region is copied. The application's own clip region (SelectClipRgn)
// applies inside this limit.
BOOL SetSurfaceDCVisibleRegion(HDC dc, HRGN region);

// The surface a context draws on (a surface context's, or the bitmap
// selected into a memory context), or null for printers and metafiles.
Surface* GetDCSurface(HDC dc);
// The origin of a surface context.
POINT GetDCOrigin(HDC dc);

struct ScreenMetrics {
    int width = 1280;
    int height = 1024;
    int dpi = 96;
};
// The virtual screen's size and resolution, as GetDeviceCaps reports them for
// screen, window and memory contexts.
void SetScreenMetrics(const ScreenMetrics& metrics);
ScreenMetrics GetScreenMetrics();

// The colour of a system colour index (COLOR_WINDOW ...). Brush handles
// 1 .. 31 stand for "system colour index + 1", as the user-interface calls
// pass them to FillRect. The window manager installs its table here.
using SystemColourSource = COLORREF (*)(int index);
void SetSystemColourSource(SystemColourSource source);

}  // namespace win
