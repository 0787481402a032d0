#pragma once
// The objects behind the drawing interface's handles and the state of a
// device context. Shared by the files of this folder only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/region.h"
#include "platform/gdi/surface.h"

namespace win::gdi {

struct Object {
    explicit Object(int k) : kind(k) {}
    virtual ~Object() = default;
    int kind;
    int stockIndex = -1;  // GetStockObject index of a stock object
    bool stock() const { return stockIndex >= 0; }
};

struct Pen : Object {
    Pen() : Object(OBJ_PEN) {}
    int style = PS_SOLID;  // PS_SOLID .. PS_USERSTYLE
    int endCap = PS_ENDCAP_ROUND;
    int join = PS_JOIN_ROUND;
    bool geometric = false;
    bool extended = false;  // made by ExtCreatePen
    int width = 1;          // logical units
    COLORREF color = 0;
    std::vector<DWORD> dashes;  // user style, logical units, on first
};

struct Brush : Object {
    Brush() : Object(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    std::shared_ptr<const Surface> pattern;  // BS_PATTERN
};

struct Font : Object {
    Font() : Object(OBJ_FONT) {}
    LOGFONTA lf;
};

struct Bitmap : Object {
    Bitmap() : Object(OBJ_BITMAP) {}
    Surface surface;
    int bitsPerPixel = 32;  // as reported: 1 for monochrome bitmaps
    // A DIB section keeps its bits in the caller-visible DIB layout too.
    bool dibSection = false;
    BITMAPINFOHEADER dibHeader;
    std::vector<RGBQUAD> dibColours;
    std::vector<std::uint8_t> dibBits;
    void pullDib();  // DIB bits -> surface
    void pushDib();  // surface -> DIB bits
};

struct RegionObject : Object {
    RegionObject() : Object(OBJ_REGION) {}
    Region region;
};

struct Palette : Object {
    Palette() : Object(OBJ_PAL) {}
    std::vector<PALETTEENTRY> entries;
};

// An affine map in the XFORM convention: x' = x m11 + y m21 + dx, y' = x m12 + y m22 + dy.
struct Affine {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    void apply(double x, double y, double& ox, double& oy) const {
        ox = x * m11 + y * m21 + dx;
        oy = x * m12 + y * m22 + dy;
    }
    // this after `first`.
    Affine after(const Affine& first) const;
    Affine inverse() const;
    bool isIdentityLinear() const { return m11 == 1 && m12 == 0 && m21 == 0 && m22 == 1; }
    bool axisAligned() const { return m12 == 0 && m21 == 0; }
    double scale() const;  // mean linear scale
};

class MetaSink;
struct PrintJob;

enum class DcKind { Surface, Memory, Printer, Info, EnhMetafile, Metafile };

struct DcState {
    std::shared_ptr<Pen> pen;
    std::shared_ptr<Brush> brush;
    std::shared_ptr<Font> font;
    std::shared_ptr<Palette> palette;
    std::shared_ptr<Bitmap> bitmap;  // memory DCs
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = 0;
    int arcDirection = AD_COUNTERCLOCKWISE;
    POINT brushOrg;
    POINT current;
    int mapMode = MM_TEXT;
    POINT windowOrg, viewportOrg;
    SIZE windowExt{1, 1}, viewportExt{1, 1};
    int graphicsMode = GM_COMPATIBLE;
    Affine world;
    std::optional<Region> clip;  // DC device coordinates
};

// Device facts answered by GetDeviceCaps.
struct DeviceInfo {
    int technology = DT_RASDISPLAY;
    int horzRes = 1280, vertRes = 1024;
    int horzSizeMm = 338, vertSizeMm = 270;
    int dpiX = 96, dpiY = 96;
    int bitsPixel = 32;
    int numColors = -1;
    int physicalWidth = 0, physicalHeight = 0;
    int physicalOffsetX = 0, physicalOffsetY = 0;
};

// The raster clip last worked out for a context and what it came from:
// drawing calls come in long runs under one clip.
struct RasterClipCache {
    bool valid = false;
    const Surface* surface = nullptr;
    int width = 0, height = 0;
    POINT origin;
    std::optional<Region> visible, metaClip, clip;
    Region result;
};

struct DeviceContext {
    DcKind kind = DcKind::Surface;
    Surface* surface = nullptr;     // window and screen contexts
    POINT origin;                   // device (0, 0) in surface pixels
    std::optional<Region> visible;  // device pixels the window may touch
    DeviceInfo info;
    DcState st;
    std::vector<DcState> saved;
    Affine base;                     // applied after the page transform (metafile playback)
    std::optional<Region> metaClip;  // clip fixed by an enclosing playback
    std::unique_ptr<MetaSink> meta;  // metafile contexts record every call
    std::shared_ptr<PrintJob> job;   // printer contexts
    int playbackDepth = 0;
    RasterClipCache rasterClip;

    ~DeviceContext();
    Surface* target();  // the pixels drawn on, or null
    Affine pageTransform() const;
    Affine fullTransform() const;  // logical -> device
};

// ---- handle registry ------------------------------------------------------
HGDIOBJ registerObject(std::shared_ptr<Object> object);
std::shared_ptr<Object> findObject(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> findAs(HGDIOBJ handle) {
    return std::dynamic_pointer_cast<T>(findObject(handle));
}
HDC registerDc(std::unique_ptr<DeviceContext> dc);
DeviceContext* findDc(HDC dc);
void forgetDc(HDC dc);
// Every live context (metafile recorders learn of deleted objects this way).
std::vector<DeviceContext*> liveDcs();
// The 1 x 1 monochrome bitmap that a new memory context holds.
std::shared_ptr<Bitmap> defaultBitmap();
std::shared_ptr<Object> stockObject(int index);
void initDefaultState(DcState& st);

// ---- colours --------------------------------------------------------------
// Resolves palette-index and palette-relative colours to plain RGB.
COLORREF resolveColor(const DeviceContext& dc, COLORREF color);

}  // namespace win::gdi
