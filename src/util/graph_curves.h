#pragma once
// Drawing data inside a graph described by an axis record: pen moves in
// graph values, series with gaps (values above 1.0E10), turning-point breaks
// and clipping, the eleven data markers, clipped fills, dashed series.
// The caller has placed the plotter origin at the graph origin and run
// FINDAS on the record.

#include <cstdint>
#include <span>

#include "util/axis_record.h"

namespace util {

void GN_MOVE(float x, float y, const AxisRecord& axis);
void GN_DRAW(float x, float y, const AxisRecord& axis);
void GN_BOX(float x, float y, const AxisRecord& axis);
void GN_SYMB(std::span<const float> x, std::span<const float> y, int n, const AxisRecord& axis);

// The record's marker at a plot point with half sizes DX, DY.
void BOX(float px, float py, float dx, float dy, bool lfill, const AxisRecord& axis);
// The same through the clipper.
void BOX_CP(float px, float py, float dx, float dy, bool lfill, const AxisRecord& axis);
void SETMARKER(std::int32_t itype, AxisRecord& axis);

// Series X/Y(1:N) as lines (LMARK false) or markers.
void GNPLOT(std::span<const float> x, std::span<const float> y, int n, bool lmark,
            const AxisRecord& axis);
// Without turning-point breaks, the pen saved and restored.
void GNPLOT2(std::span<const float> x, std::span<const float> y, int n, bool lmark,
             const AxisRecord& axis);
// Alternate pen at turning points; unclipped; pen by the sign of y.
void GNPLOTALT(std::span<const float> x, std::span<const float> y, int n, bool lmark,
               const AxisRecord& axis);
void GNPLOTRAW(std::span<const float> x, std::span<const float> y, int n, bool lmark,
               const AxisRecord& axis);
void GNPLOTSIGN(std::span<const float> x, std::span<const float> y, int n, bool lmark,
                const AxisRecord& axis);

// Markers at the inside points: type 4 where LFLAG, else 1 (GNPLTM) or the
// record's type with a height from S (GNPLTS).
void GNPLTM(std::span<const float> x, std::span<const float> y, int n, std::span<const bool> lflag,
            AxisRecord& axis);
void GNPLTS(std::span<const float> x, std::span<const float> y, std::span<const float> s, int n,
            std::span<const bool> lflag, AxisRecord& axis);
// Lines or markers with a pen per point from PENS (IPEN mod 5, mod 15).
void GNPLTL(std::span<const float> x, std::span<const float> y, int n,
            std::span<const std::int32_t> ipen, std::span<const std::int32_t> pens, bool lmark,
            AxisRecord& axis);
void GNPLTLM(std::span<const float> x, std::span<const float> y, int n,
             std::span<const std::int32_t> ipen, std::span<const std::int32_t> pens,
             std::span<const bool> lflag, AxisRecord& axis);

// A plot-unit rectangle clipped to the record's clip window; the corners
// are changed in place and W receives the width.
void GNFILL(float& px1, float& py1, float& px2, float& py2, float& w, std::int32_t icol,
            const AxisRecord& axis);
// The polygon X/Y(1:N) in graph values, pulled inside the clip window.
void GNPOLYFILL(std::span<const float> x, std::span<const float> y, int n, std::int32_t icol,
                const AxisRecord& axis);
void PAGECLEAR();
// A straight line of the given slope across the graph.
void DRAWANGLINE(const AxisRecord& axis, float slope);

// Dashed series: split where x turns (DSPLOT), in graph values (DS_PLOT) or
// in plot units (DS_PLOTPL); DASH and GAP in plot units along the path.
void DSPLOT(std::span<const float> x, std::span<const float> y, int n, float dash, float gap,
            const AxisRecord& axis);
void DS_PLOT(std::span<const float> x, std::span<const float> y, int n, float dash, float gap,
             const AxisRecord& axis);
void DS_PLOTPL(std::span<const float> x, std::span<const float> y, int n, float dash, float gap,
               const AxisRecord& axis);

}  // namespace util
