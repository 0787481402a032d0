#pragma once
// What every hardcopy driver shares: the one entry that takes a request code
// and routes it, the probe of request 1, the opening and closing calls of a
// filled shape, the page marks, and the conversions of the request words
// that more than one driver needs. A driver derives from HardcopyDriver and
// overrides only the requests it draws; a request it leaves alone does
// nothing, except request 38, which answers that images are not available.

#include <functional>
#include <string_view>
#include <vector>

#include "platform/win_types.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/gradient.h"

namespace tk {

// The plot output file unit of every file driver.
inline constexpr int kPlotUnit = 2;
// The error a device answers to request 38 when it cannot draw images.
inline constexpr int kImageNotAvailable = 27;

class HardcopyDriver {
  public:
    explicit HardcopyDriver(int number) : number_(number) {}
    virtual ~HardcopyDriver() = default;
    HardcopyDriver(const HardcopyDriver&) = delete;
    HardcopyDriver& operator=(const HardcopyDriver&) = delete;

    // The entry registered with the hardcopy dispatch. Codes below 1 or
    // above 40 do nothing.
    void request(DeviceRequest code);
    int number() const { return number_; }

  protected:
    // Request 1 once the probe is answered (value -998: keep the options).
    virtual void initialise(DeviceParameterBlock& b) = 0;
    // Request 18: value > 0 starts a document, otherwise the drawing target
    // was resized and only the scales follow.
    virtual void begin(DeviceParameterBlock& b) = 0;
    virtual void end() = 0;  // 19
    // Requests other than 1 and 18 reach the device only while this holds.
    virtual bool documentOpen() const { return true; }

    // Drawing requests; the page is marked dirty before each is called.
    virtual void line(const DeviceParameterBlock&) {}      // 2
    virtual void point(const DeviceParameterBlock&) {}     // 26
    virtual void polyline(const DeviceParameterBlock&) {}  // 32
    virtual void text(DeviceParameterBlock&) {}            // 22
    virtual void arc(DeviceParameterBlock&) {}             // 34
    virtual void gradient() {}                             // 40
    // Filled shapes 5 to 15: the opening call (page marked dirty), and the
    // closing call (value -1) after the graphics layer drew what the driver
    // left to it.
    virtual void fill(DeviceRequest, DeviceParameterBlock&) {}
    virtual void fillEnd(DeviceRequest, DeviceParameterBlock&) {}
    // 38: the image file in the device text; the answer in value (0 or an
    // error number) and count (the system's error number).
    virtual void image(DeviceParameterBlock& b);

    // Page end (20), after the page mark is cleared.
    virtual void endPage(const DeviceParameterBlock&) {}
    // Attribute requests.
    virtual void colour() {}  // 3
    virtual void palette() { colour(); }  // 35
    virtual void font() {}                // 21
    virtual void direction() {}           // 33
    virtual void clip() {}                // 24
    virtual void textExtent(DeviceParameterBlock&) {}            // 25
    virtual void paletteColour(const DeviceParameterBlock&) {}  // 28
    virtual void lineStyle() {}                                  // 29
    virtual void lineWidth() {}                                  // 30
    virtual void lineJoin() {}                                   // 36
    virtual void lineCap() {}                                    // 37

  private:
    void drawingRequest(DeviceRequest code, DeviceParameterBlock& b);
    void attributeRequest(DeviceRequest code, DeviceParameterBlock& b);
    int number_;
};

// Request 38 of a device that draws no images: value 27 ("Image file format
// not supported"), count 0; nothing is drawn and the page stays as it was.
void AnswerImageNotAvailable(DeviceParameterBlock& b);

// Opens the plot output file named in the device text. On failure (already
// reported under "YYPROU") hardcopy output is switched off, the error stays
// recorded and false comes back; on success the earlier error is restored.
bool OpenPlotFileOrStop();

// The current and previous colour of the graphics state, read in its
// colour mode, as red, green and blue (0-255).
void CurrentColourComponents(int& red, int& green, int& blue);
void PreviousColourComponents(int& red, int& green, int& blue);
// The colour of a filled shape: the current colour, and for fill style 3
// the mean (truncated) of the current and the previous colour.
void FillColourComponents(int& red, int& green, int& blue);
// ColourHandling: 1 every colour inverted, 2 only near-black (all below 10)
// and near-white (all above 245) exchanged, else unchanged.
void ApplyColourHandling(int handling, int& red, int& green, int& blue);

// The characters of requests 22 and 25: the first `count` characters of the
// device text, none for a negative count.
std::string_view RequestText(int count);
// Whether the driver draws the background box of request 22's text: the
// font style asks for it (bit 3), the text is laid along its baseline (the
// graphics layer boxes stacked text itself) and not sent one character at a
// time.
bool OpaqueRequestText();
// The number of points of the point buffer a request may read.
int BufferPointCount(int count);

// Device units to a page of whole units with y counted down from the top:
// x x ScaleX and (plot extent y - y) x ScaleY, truncated.
int PageUnitsX(float x);
int PageUnitsDownY(float y);
win::POINT PageUnitsDown(float x, float y);
std::vector<win::POINT> BufferPointsDown(int count);
// The start and end of the sector of requests 13 and 34 (centre, radii and
// the two angles in radians) in those units; ends that meet on one unit of a
// short sweep (at most 10 degrees) are drawn one unit apart.
void SectorEndsDown(const DeviceParameterBlock& b, win::POINT& start, win::POINT& end);

// After a driver set ScaleX and ScaleY: the copies for the page rotation.
void SetRotatedHardcopyScales();
// Driver units per device unit: page size / plot extent, 0 for a target
// without size (everything then lands on the page's origin).
float PageScale(float pageSize, float plotExtent);

// Request 40: the vertices of the point buffer converted into the gradient
// polygon by `convert`, then the shared preparation with the clip rectangle
// in the same units.
void PrepareGradientPolygon(int mode, const std::function<win::POINT(float x, float y)>& convert,
                            int clipX1, int clipY1, int clipX2, int clipY2,
                            const GradientPixelOperation& pixel,
                            const GradientTriangleOperation& triangles);

}  // namespace tk
