#pragma once
// The record that describes one graph: where it sits on the page, its
// divisions, the scaling derived from them and the switches of its frame.
// It is stored byte for byte in the database file (148 bytes, 37 words, x and
// y fields alternating), so the on-disk layout below never changes.

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/little_endian.h"

namespace util {

struct AxisRecord {
    float originX = 0.0f;        //   0 page position of the graph origin
    float originY = 0.0f;        //   4
    float divLengthX = 0.0f;     //   8 plot units per division; negative = reversed
    float divLengthY = 0.0f;     //  12
    float startX = 0.0f;         //  16 value at the origin (linear axis)
    float startY = 0.0f;         //  20
    float stepX = 0.0f;          //  24 value per division; 0 marks a log axis for the frame
    float stepY = 0.0f;          //  28
    float offsetX = 0.0f;        //  32 derived: plot = scale * value + offset
    float offsetY = 0.0f;        //  36
    float scaleX = 0.0f;         //  40 derived: plot units per value; 1 on a log axis
    float scaleY = 0.0f;         //  44
    float tickLength = 0.0f;     //  48 upper bound of the ticks when tickLengthSwitch is on
    float extentLeft = 0.0f;     //  52 written by the frame drawing
    float extentRight = 0.0f;    //  56
    float extentLabelY = 0.0f;   //  60
    float clipXMin = 0.0f;       //  64 derived clip window, relative to the origin
    float clipXMax = 0.0f;       //  68
    float clipYMin = 0.0f;       //  72
    float clipYMax = 0.0f;       //  76
    std::int32_t divCountX = 0;  //  80 divisions (decades on a log axis)
    std::int32_t divCountY = 0;  //  84
    // Log axis: exponent of the first decade. Linear axis: minor ticks per
    // division (0 or less: no minor ticks and geometric labels).
    std::int32_t firstDecadeX = 0;  //  88
    std::int32_t firstDecadeY = 0;  //  92
    std::int32_t markerType = 0;    //  96 data marker 1-11
    // Two words that travel with the y half; never interpreted, kept as read.
    std::array<std::uint8_t, 4> yExtra1{};  // 100
    std::array<std::uint8_t, 4> yExtra2{};  // 104
    bool logX = false;                      // 108
    bool logY = false;                      // 112
    bool tickLengthSwitch = false;          // 116
    bool filledMarkers = false;             // 120
    bool noTurningBreaks = false;           // 124
    bool thinFrame = false;                 // 128
    bool xLabelsBelow = false;              // 132
    bool yLabelsLeft = false;               // 136
    bool yLabelsRight = false;              // 140
    bool xLabelsAbove = false;              // 144

    bool operator==(const AxisRecord&) const = default;
};

inline constexpr std::size_t kAxisRecordSize = 148;

// Appends the record's 148 bytes.
void writeAxisRecord(base::ByteWriter& out, const AxisRecord& axis);
// Reads 148 bytes; a short buffer leaves the reader failed (check ok()).
AxisRecord readAxisRecord(base::ByteReader& in);

}  // namespace util
