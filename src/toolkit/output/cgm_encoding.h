#pragma once
// The binary CGM element encoding the toolkit writes: big-endian 16-bit
// words, element headers in short or long form, direct colours of 8 bits a
// component and counted strings. An element is gathered whole, then written
// with the header form its length needs; elements longer than one partition
// go out as continuation partitions, and every element ends on an even byte.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "toolkit/graphics/device_protocol.h"

namespace tk {

// Where finished element bytes go (the plot file or a memory buffer).
using CgmByteSink = std::function<void(std::string_view bytes)>;

// The largest partition written; a multiple of 4 so points never straddle
// two partitions.
inline constexpr int kCgmMaxPartition = 32764;

class CgmElement {
  public:
    CgmElement(int cls, int id) : cls_(cls), id_(id) {}
    CgmElement& int16(int value);
    CgmElement& point(int x, int y);
    CgmElement& byte(int value);
    // Count byte (long form from 255 characters on) and the characters.
    CgmElement& string(std::string_view text);
    CgmElement& fixedReal(int whole) { return int16(whole).int16(0); }
    const std::string& parameters() const { return params_; }
    // Header (short form up to 30 bytes, else long form with partitions),
    // the parameters and a zero byte when their length is odd.
    std::string encode() const;

  private:
    int cls_, id_;
    std::string params_;
};

// Writes encoded elements to a sink.
class CgmWriter {
  public:
    explicit CgmWriter(CgmByteSink sink) : sink_(std::move(sink)) {}
    void write(const CgmElement& element) { sink_(element.encode()); }
    // Colour-setting element: the three components and a counted zero byte.
    void colour(int cls, int id, int red, int green, int blue);
    // BEGIN METAFILE to BEGIN PICTURE BODY and TEXT ALIGNMENT for a picture
    // of the given VDC extent.
    void metafileHeader(std::string_view title, int fontListKind, int vdcWidth, int vdcHeight);

  private:
    CgmByteSink sink_;
};

// The FONT LIST element of one of the three kinds.
CgmElement CgmFontList(int kind);
// VDC extent of a page in points at a resolution, kept within 16 bits.
void CgmVdcExtentOf(int pageWidth, int pageHeight, int resolutionX, int resolutionY, int& width,
                    int& height);
// Gradient triangles (1-based vertex triples) as FILL REFERENCE POINT,
// INTERPOLATED INTERIOR, INTERIOR STYLE 6 and POLYGON each.
void CgmGradientTriangles(const int* x, const int* y, const int* colours, const int* list,
                          int count, const std::function<void(const CgmElement&)>& out);
// CGM line type of a line style 0-7.
int CgmLineType(int lineStyle);

// What both CGM drivers (file and memory) tell the graphics layer about
// themselves: true colour, gradients, rotated device text, eight line styles.
void CgmDescribeDevice(DeviceInfo& info);

}  // namespace tk
