#pragma once
// Shared steps of the drawing calls: the pixels and clip a context draws
// into, the mapping of logical points to device points, the paints of pens
// and brushes, and the vector device behind printer contexts.

#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/font_engine.h"
#include "platform/gdi/internal.h"
#include "platform/gdi/raster.h"

namespace win::gdi {

struct GlyphRun {
    std::shared_ptr<FontInstance> font;
    std::vector<unsigned char> bytes;
    std::vector<PointD> origins;  // pen position of each byte, device pixels
    double angle = 0;             // radians, counter-clockwise
    COLORREF color = 0;
};

// A device that draws vector geometry in device pixels (printer pages).
class VectorDevice {
  public:
    virtual ~VectorDevice() = default;
    virtual void clip(const std::optional<Region>& region) = 0;
    // Polygons filled with a colour (solid brushes; pattern brushes use their mean colour).
    virtual void fill(const std::vector<PointD>& pts, const std::vector<int>& counts, bool winding,
                      COLORREF color) = 0;
    // Polygons filled with a repeating brush pattern (hatches, pattern brushes).
    virtual void fillPattern(const std::vector<PointD>& pts, const std::vector<int>& counts,
                             bool winding, const Paint& paint) = 0;
    virtual void stroke(const std::vector<PointD>& pts, bool closed, double width,
                        const std::vector<double>& dashes, int endCap, int join,
                        COLORREF color) = 0;
    virtual void glyphs(const GlyphRun& run) = 0;
    // Pixels mapped by `toDevice` (image pixel space -> device space).
    virtual void image(const Surface& pixels, const Affine& toDevice) = 0;
    virtual void gradient(const PointD p[3], const COLORREF c[3]) = 0;
};

DeviceInfo screenInfo();
COLORREF systemColour(int index);
std::unique_ptr<DeviceContext> newContext(DcKind kind, const DeviceInfo& info);

// The clip of a context in device coordinates (window limit, meta region
// and the application's region); nullopt when nothing limits it.
std::optional<Region> deviceClip(const DeviceContext& dc);
// Prepares raster drawing; false when the context has no pixels.
bool beginRaster(DeviceContext& dc, RasterTarget& target);
void endRaster(DeviceContext& dc);
VectorDevice* vectorOf(DeviceContext& dc);
// A printer context deleted with its document open abandons the document.
void abortPrinterOnDelete(DeviceContext& dc);

// The clip's box as the coverage window of one drawing call.
RECT rasterWindow(DeviceContext& dc);

// Device coordinates are held within +-2^27, as the device limits them.
PointD toDevice(const DeviceContext& dc, double x, double y);
// The same with the context's transform already worked out.
PointD toDevice(const Affine& logicalToDevice, double x, double y);
PointI toDeviceI(const DeviceContext& dc, double x, double y);
Paint solidPaint(const DeviceContext& dc, COLORREF color, int rop2);
// False for a null brush.
bool brushPaint(const DeviceContext& dc, const Brush& brush, int rop2, Paint& out);
// The brush of a FillRect-style handle (an object or a system colour index + 1).
std::shared_ptr<Brush> brushOfHandle(HBRUSH brush);
COLORREF brushMeanColour(const DeviceContext& dc, const Brush& brush);

// Strokes device points with the context's pen; fills with its brush.
void strokeDevice(DeviceContext& dc, const std::vector<PointD>& pts, bool closed);
void fillDevice(DeviceContext& dc, const std::vector<PointD>& pts, const std::vector<int>& counts,
                bool winding, const Brush& brush, int rop2);

}  // namespace win::gdi
