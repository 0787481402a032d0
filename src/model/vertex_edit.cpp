#include "model/vertex_edit.h"

#include <string_view>
#include <utility>
#include <vector>

#include "model/model_services.h"

namespace model {

namespace {

// Entries 1..a of the old array, then `inserted`, then a+1..m.
template <typename A, typename T>
bool prepareInsert(const A& a, int after, int m, T inserted, std::vector<T>& out) {
    if (!allocationPermitted()) return false;
    try {
        out.assign(static_cast<std::size_t>(m + 1), T{});
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int i = 1; i <= m; ++i) {
        const T v = a.has(i) ? a(i) : T{};
        out[static_cast<std::size_t>(i <= after ? i - 1 : i)] = v;
    }
    out[static_cast<std::size_t>(after)] = inserted;
    return true;
}

template <typename A>
void shiftDownFrom(A& a, int v, int m) {
    for (int i = v; i < m; ++i) {
        if (a.has(i) && a.has(i + 1)) a(i) = a(i + 1);
    }
}

}  // namespace

bool ADDVERT(PolygonModel& m, float x, float z, int body, int after) {
    const int count = m.vertexCount();
    std::vector<float> xs, zs;
    std::vector<int> links;
    std::vector<Logical> fx, fz;
    // Everything is prepared before anything changes, so a failure leaves the
    // model as it was.
    if (!prepareInsert(m.XVRT, after, count, x, xs) ||
        !prepareInsert(m.ZVRT, after, count, z, zs) ||
        !prepareInsert(m.IPOINT, after, count, after + 1, links) ||
        !prepareInsert(m.LXFIX, after, count, Logical{false}, fx) ||
        !prepareInsert(m.LZFIX, after, count, Logical{false}, fz)) {
        return false;
    }
    for (int i = 0; i <= count; ++i) {
        if (i != after && links[static_cast<std::size_t>(i)] > after) {
            ++links[static_cast<std::size_t>(i)];
        }
    }
    m.XVRT.adopt(std::move(xs));
    m.ZVRT.adopt(std::move(zs));
    m.IPOINT.adopt(std::move(links));
    m.LXFIX.adopt(std::move(fx));
    m.LZFIX.adopt(std::move(fz));
    m.IV2(body) += 1;
    for (int j = body + 1; j <= m.NBOD; ++j) {
        m.IV1(j) += 1;
        m.IV2(j) += 1;
    }
    return true;
}

void removeVertex(PolygonModel& m, int body, int v) {
    const int count = m.vertexCount();
    shiftDownFrom(m.XVRT, v, count);
    shiftDownFrom(m.ZVRT, v, count);
    shiftDownFrom(m.LXFIX, v, count);
    shiftDownFrom(m.LZFIX, v, count);
    shiftDownFrom(m.IPOINT, v, count);
    m.IV2(body) -= 1;
    for (int j = body + 1; j <= m.NBOD; ++j) {
        m.IV1(j) -= 1;
        m.IV2(j) -= 1;
    }
    for (int k = 1; k <= count - 1; ++k) {
        int& r = m.IPOINT(k);
        if (r == v) {
            r = k;
        } else if (r > v) {
            --r;
        }
    }
}

std::string_view tooFewVertices(const PolygonModel& m, int body, int removed) {
    const int size = m.IV2(body) - m.IV1(body) + 1;
    if (m.LAYER(body)) return size - 4 - removed < 1 ? "Layers need at least 1 vertex!" : "";
    return size - removed < 3 ? "Bodies need at least 3 vertices!" : "";
}

bool DELETEVERTEX(PolygonModel& m, int body, int& vertex) {
    const int v = vertex;
    vertex = 0;
    if (const std::string_view refusal = tooFewVertices(m, body, 1); !refusal.empty()) {
        showMessage(refusal);
        return false;
    }
    if (m.LAYER(body) && v > m.IV2(body) - 4) return false;  // its closing vertices stay
    removeVertex(m, body, v);
    return true;
}

}  // namespace model
