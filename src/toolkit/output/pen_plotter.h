#pragma once
// What the HP-GL and HP-GL/2 drivers share: the plotter frame (P1 and P2 in
// plotter units from the page options), the pen moves that skip a pen-up to
// where the pen already is, the file header, the input window, line types,
// label direction, size and start point, and the labels themselves.

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "toolkit/graphics/device_protocol.h"
#include "toolkit/output/hardcopy_driver.h"

namespace tk {

class PenPlotterDriver : public HardcopyDriver {
  public:
    using HardcopyDriver::HardcopyDriver;

  protected:
    // The device description of a plotter: device text at any angle, colour
    // numbers mapped to the nearest table entry first.
    static DeviceInfo plotterDevice(const char* capabilities, int colours, int lineStyles,
                                    int textBox);

    // Plotter units per point, set by the driver at request 1.
    float unitsPerPoint = 1016.0f / 72.0f;
    bool sizePending = true;
    int lastTextMode = 0, lastFontStyle = -1;
    char terminator = 4;

    // Request 18: ScaleX and ScaleY to the 0-32760 frame, then for a new
    // document the file, the blank prefix, the terminator and the frame.
    // False when the file could not be opened or the target only resized.
    bool openPlotter(const DeviceParameterBlock& b);
    // "IN; IP" and "RO 90; IP" (RO0 unless `turned`) with P1 and P2, the
    // label terminator and the label direction.
    void writeFrame(bool turned);
    // "PU" to the point unless the pen is there; "PD" to a point.
    void penUpTo(float x, float y);
    void penDownTo(float x, float y);
    // The graphics area as the input window (plotter units), then the scale.
    void inputWindow();
    // "LT" with the line style's text.
    void lineType(const std::array<const char*, 8>& styles);
    // "DI" with the character direction.
    void labelDirection();
    // "SR" with the relative character size (percent of P2 - P1) by text
    // mode factors; `widthDivisor` is the character cell's width in
    // character widths.
    void characterSize(const std::array<float, 3>& widthFactors,
                       const std::array<float, 3>& heightFactors, float widthDivisor);
    // The label origin: the reference point moved A character widths along
    // the writing and B character heights down across it.
    void labelStart(float x, float y, float& sx, float& sy) const;
    // Whether the outline of the ellipse of a request 5 (centre, radii in
    // device units) crosses the graphics area. An outline wholly outside it,
    // or around it, shows nothing, and plotter readers stumble over such
    // circles, so they are not sent.
    static bool ellipseCrossesArea(const DeviceParameterBlock& b);
    // The shape record kind of a filled request (5 ellipse, 8 quadrilateral,
    // 6 rectangle, 7 triangle, 4 pie, 11 polygon).
    static int shapeKind(DeviceRequest request);
    // The ellipse of a request 5 as a circle under the isotropic scale of
    // its axis ratio, filled in polygon mode when `solid`; `record` is
    // written after the pen-up to the centre of an outline.
    void plotEllipse(const DeviceParameterBlock& b, bool solid, std::string_view record);
    // Filled in polygon mode: the first n corners of the request, the
    // rectangle of corners 1 and 2, and a polygon whose pen-down moves after
    // its first point `body` writes (the pen ends back at the first point).
    void fillCorners(const DeviceParameterBlock& b, int n);
    void fillRectangle(const DeviceParameterBlock& b);
    void fillPolygon(float x, float y, const std::function<void()>& body);
    // A filled shape in the plotter's own polygon mode: 5 the ellipse, 7 and
    // 11 the corners, 9 the rectangle, 13 the arc, any other the polygon of
    // the point buffer.
    void plotShape(DeviceRequest request, const DeviceParameterBlock& b);
    // What each plotter draws its own way within plotShape: the ellipse, the
    // arc of request 13, and the pen-down moves to points 2..count of the
    // point buffer.
    virtual void ellipse(const DeviceParameterBlock& b) = 0;
    virtual void shapeArc() = 0;
    virtual void polygonMoves(int count) = 0;
    // The label text and the terminator; control characters, which would end
    // the label or the line early, are left out.
    void writeLabel(std::string_view text);

    int p1x = 0, p1y = 0, p2x = 0, p2y = 0;
};

}  // namespace tk
