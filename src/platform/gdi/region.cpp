#include "platform/gdi/region.h"

#include <algorithm>
#include <climits>

namespace win::gdi {
namespace {

std::vector<Span> normalise(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    std::vector<Span> out;
    for (const Span& s : spans) {
        if (s.x1 <= s.x0) continue;
        if (!out.empty() && s.x0 <= out.back().x1)
            out.back().x1 = std::max(out.back().x1, s.x1);
        else
            out.push_back(s);
    }
    return out;
}

// Combines two sorted span lists pixel-set-wise by sweeping their edges.
std::vector<Span> combineSpans(const std::vector<Span>& a, const std::vector<Span>& b,
                               Region::Op op) {
    std::vector<int> xs;
    for (const Span& s : a)
        xs.insert(xs.end(), {s.x0, s.x1});
    for (const Span& s : b)
        xs.insert(xs.end(), {s.x0, s.x1});
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    std::vector<Span> out;
    std::size_t ia = 0, ib = 0;
    for (std::size_t k = 0; k + 1 < xs.size(); ++k) {
        const int x = xs[k];
        while (ia < a.size() && a[ia].x1 <= x)
            ++ia;
        while (ib < b.size() && b[ib].x1 <= x)
            ++ib;
        const bool inA = ia < a.size() && a[ia].x0 <= x;
        const bool inB = ib < b.size() && b[ib].x0 <= x;
        bool in = false;
        switch (op) {
            case Region::Op::And:
                in = inA && inB;
                break;
            case Region::Op::Or:
                in = inA || inB;
                break;
            case Region::Op::Xor:
                in = inA != inB;
                break;
            case Region::Op::Diff:
                in = inA && !inB;
                break;
        }
        if (!in) continue;
        if (!out.empty() && out.back().x1 == x)
            out.back().x1 = xs[k + 1];
        else
            out.push_back({x, xs[k + 1]});
    }
    return out;
}

const std::vector<Span> kNoSpans;

}  // namespace

void intersectSpans(const std::vector<Span>& a, const std::vector<Span>& b,
                    std::vector<Span>& out) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const int x0 = std::max(a[i].x0, b[j].x0);
        const int x1 = std::min(a[i].x1, b[j].x1);
        if (x0 < x1) out.push_back({x0, x1});
        if (a[i].x1 < b[j].x1)
            ++i;
        else
            ++j;
    }
}

Region Region::rect(int left, int top, int right, int bottom) {
    Region r;
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left < right && top < bottom) r.bands_.push_back({top, bottom, {{left, right}}});
    return r;
}

Region Region::fromRows(int top, std::vector<std::vector<Span>> rows) {
    Region r;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        std::vector<Span> spans = normalise(std::move(rows[k]));
        if (spans.empty()) continue;
        const int y = top + static_cast<int>(k);
        r.bands_.push_back({y, y + 1, std::move(spans)});
    }
    r.coalesce();
    return r;
}

Region Region::combine(const Region& a, const Region& b, Op op) {
    std::vector<int> ys;
    for (const Band& band : a.bands_)
        ys.insert(ys.end(), {band.y0, band.y1});
    for (const Band& band : b.bands_)
        ys.insert(ys.end(), {band.y0, band.y1});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    Region out;
    std::size_t ia = 0, ib = 0;
    for (std::size_t k = 0; k + 1 < ys.size(); ++k) {
        const int y = ys[k];
        while (ia < a.bands_.size() && a.bands_[ia].y1 <= y)
            ++ia;
        while (ib < b.bands_.size() && b.bands_[ib].y1 <= y)
            ++ib;
        const std::vector<Span>& sa =
            ia < a.bands_.size() && a.bands_[ia].y0 <= y ? a.bands_[ia].spans : kNoSpans;
        const std::vector<Span>& sb =
            ib < b.bands_.size() && b.bands_[ib].y0 <= y ? b.bands_[ib].spans : kNoSpans;
        std::vector<Span> spans = combineSpans(sa, sb, op);
        if (!spans.empty()) out.bands_.push_back({y, ys[k + 1], std::move(spans)});
    }
    out.coalesce();
    return out;
}

void Region::coalesce() {
    std::vector<Band> merged;
    for (Band& b : bands_) {
        if (!merged.empty() && merged.back().y1 == b.y0 &&
            merged.back().spans.size() == b.spans.size() &&
            std::equal(b.spans.begin(), b.spans.end(), merged.back().spans.begin(),
                       [](const Span& p, const Span& q) { return p.x0 == q.x0 && p.x1 == q.x1; }))
            merged.back().y1 = b.y1;
        else
            merged.push_back(std::move(b));
    }
    bands_ = std::move(merged);
}

RECT Region::box() const {
    if (bands_.empty()) return {};
    RECT r{INT_MAX, bands_.front().y0, INT_MIN, bands_.back().y1};
    for (const Band& b : bands_) {
        r.left = std::min(r.left, b.spans.front().x0);
        r.right = std::max(r.right, b.spans.back().x1);
    }
    return r;
}

const std::vector<Span>& Region::row(int y) const {
    auto it = std::upper_bound(bands_.begin(), bands_.end(), y,
                               [](int v, const Band& b) { return v < b.y1; });
    if (it == bands_.end() || it->y0 > y) return kNoSpans;
    return it->spans;
}

bool Region::contains(int x, int y) const {
    for (const Span& s : row(y))
        if (x >= s.x0 && x < s.x1) return true;
    return false;
}

void Region::offset(int dx, int dy) {
    for (Band& b : bands_) {
        b.y0 += dy;
        b.y1 += dy;
        for (Span& s : b.spans) {
            s.x0 += dx;
            s.x1 += dx;
        }
    }
}

bool Region::operator==(const Region& other) const {
    if (bands_.size() != other.bands_.size()) return false;
    for (std::size_t k = 0; k < bands_.size(); ++k) {
        const Band& p = bands_[k];
        const Band& q = other.bands_[k];
        if (p.y0 != q.y0 || p.y1 != q.y1 || p.spans.size() != q.spans.size()) return false;
        for (std::size_t i = 0; i < p.spans.size(); ++i)
            if (p.spans[i].x0 != q.spans[i].x0 || p.spans[i].x1 != q.spans[i].x1) return false;
    }
    return true;
}

namespace {
const RECT* gWindow = nullptr;
}  // namespace

CoverageWindow::CoverageWindow(const RECT& r) : previous_(gWindow), rect_(r) {
    gWindow = &rect_;
}
CoverageWindow::~CoverageWindow() {
    gWindow = previous_;
}
const RECT* coverageWindow() {
    return gWindow;
}

void Coverage::add(int y, int x0, int x1) {
    if (x1 <= x0) return;
    if (gWindow && (y < gWindow->top || y >= gWindow->bottom)) return;
    if (rows_.empty()) {
        top_ = y;
        rows_.emplace_back();
    } else if (y < top_) {
        rows_.insert(rows_.begin(), static_cast<std::size_t>(top_ - y), {});
        top_ = y;
    } else if (y >= top_ + static_cast<int>(rows_.size())) {
        rows_.resize(static_cast<std::size_t>(y - top_ + 1));
    }
    std::vector<Span>& row = rows_[static_cast<std::size_t>(y - top_)];
    // Insert keeping the row sorted and merged.
    auto it =
        std::lower_bound(row.begin(), row.end(), x0, [](const Span& s, int v) { return s.x1 < v; });
    Span merged{x0, x1};
    auto end = it;
    while (end != row.end() && end->x0 <= x1) {
        merged.x0 = std::min(merged.x0, end->x0);
        merged.x1 = std::max(merged.x1, end->x1);
        ++end;
    }
    it = row.erase(it, end);
    row.insert(it, merged);
}

}  // namespace win::gdi
