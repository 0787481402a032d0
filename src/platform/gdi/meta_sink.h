#pragma once
// What a metafile context records: one call per drawing-interface call, in
// the terms of that call (logical coordinates). The enhanced and the
// old-style recorders each turn these into their own record format.

#include <memory>
#include <vector>

#include "platform/gdi/internal.h"

namespace win::gdi {

enum class MetaOp {
    // one integer
    SetMapMode,
    SetBkMode,
    SetRop2,
    SetPolyFillMode,
    SetTextAlign,
    SetTextColor,
    SetBkColor,
    SetStretchBltMode,
    SetArcDirection,
    SaveDc,
    RestoreDc,
    SetGraphicsMode,
    // one point or size
    SetWindowOrg,
    SetWindowExt,
    SetViewportOrg,
    SetViewportExt,
    MoveTo,
    LineTo,
    OffsetClip,
    SetBrushOrg,
    ScaleViewportExt,
    ScaleWindowExt,
    // one rectangle
    Rectangle,
    Ellipse,
    IntersectClip,
    ExcludeClip,
    // rectangle and two points
    Arc,
    Pie,
    Chord,
    // points
    Polyline,
    Polygon,
    PolylineTo
};

class MetaSink {
  public:
    virtual ~MetaSink() = default;
    virtual void value(MetaOp op, int v) = 0;
    virtual void point(MetaOp op, int x, int y) = 0;
    virtual void scale(MetaOp op, int xNum, int xDenom, int yNum, int yDenom) = 0;
    virtual void rect(MetaOp op, const RECT& r) = 0;
    virtual void arc(MetaOp op, const RECT& r, POINT start, POINT end) = 0;
    virtual void roundRect(const RECT& r, int w, int h) = 0;
    virtual void points(MetaOp op, const POINT* pts, int n) = 0;
    virtual void polyPolygon(const POINT* pts, const INT* counts, int polygons) = 0;
    virtual void pixel(int x, int y, COLORREF color) = 0;
    virtual void text(int x, int y, UINT options, const RECT* rect, const char* s, int n,
                      const INT* dx) = 0;
    virtual void select(const std::shared_ptr<Object>& object, int stockIndex) = 0;
    virtual void erase(const Object* object) = 0;
    virtual void transform(const XFORM& xf, DWORD mode) = 0;  // mode 0 = set
    virtual void selectClip(const Region* deviceRegion, int mode) = 0;
    // Pixels drawn into a destination rectangle with a raster operation.
    virtual void image(const RECT& dest, const Surface& pixels, DWORD rop) = 0;
    virtual void patBlt(const RECT& r, DWORD rop) = 0;
    virtual void gradient(const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nm, ULONG mode) = 0;
    virtual void fillRegion(const Region& deviceRegion, const std::shared_ptr<Object>& brush) = 0;
};

}  // namespace win::gdi
