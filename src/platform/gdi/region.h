#pragma once
// Pixel sets kept as horizontal bands of half-open spans: clip regions,
// the coverage of a filled shape, and the regions of the drawing interface.

#include <vector>

#include "platform/win_types.h"

namespace win::gdi {

struct Span {
    int x0 = 0;  // first pixel
    int x1 = 0;  // one past the last pixel
};

struct Band {
    int y0 = 0;
    int y1 = 0;
    std::vector<Span> spans;  // sorted, disjoint, not touching
};

class Region {
  public:
    Region() = default;
    static Region rect(int left, int top, int right, int bottom);
    // Rows of spans starting at row `top` (spans in any order, may overlap).
    static Region fromRows(int top, std::vector<std::vector<Span>> rows);

    enum class Op { And, Or, Xor, Diff };
    static Region combine(const Region& a, const Region& b, Op op);

    bool empty() const { return bands_.empty(); }
    bool isRect() const { return bands_.size() == 1 && bands_[0].spans.size() == 1; }
    RECT box() const;
    bool contains(int x, int y) const;
    // The spans of row y (empty when the row is outside).
    const std::vector<Span>& row(int y) const;
    void offset(int dx, int dy);
    const std::vector<Band>& bands() const { return bands_; }
    bool operator==(const Region& other) const;

  private:
    void coalesce();
    std::vector<Band> bands_;
};

// Limits the coverage computed while it lives to a device rectangle (the
// clip's box), so shapes far larger than the surface cost only what shows.
class CoverageWindow {
  public:
    explicit CoverageWindow(const RECT& r);
    ~CoverageWindow();
    CoverageWindow(const CoverageWindow&) = delete;
    CoverageWindow& operator=(const CoverageWindow&) = delete;

  private:
    const RECT* previous_;
    RECT rect_;
};
const RECT* coverageWindow();

// Union of spans gathered row by row while a shape is rasterised; rows
// outside the coverage window are dropped.
class Coverage {
  public:
    void add(int y, int x0, int x1);
    void addPixel(int x, int y) { add(y, x, x + 1); }
    bool empty() const { return rows_.empty(); }
    int top() const { return top_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    const std::vector<Span>& rowAt(int index) const { return rows_[index]; }
    Region toRegion() const { return Region::fromRows(top_, rows_); }

  private:
    int top_ = 0;
    std::vector<std::vector<Span>> rows_;
};

// Intersection of two sorted span lists, appended to `out`.
void intersectSpans(const std::vector<Span>& a, const std::vector<Span>& b, std::vector<Span>& out);

}  // namespace win::gdi
