#include "calc/inversion_parameters.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <new>

#include "calc/inversion_host.h"
#include "model/body_nesting.h"
#include "model/model_check.h"
#include "model/vertex_locks.h"
#include "util/message_boxes.h"

namespace calc {

namespace {

constexpr int kMoveTries = 8;

// Makes a vertex without a leader its own leader and takes the free flags
// from a follower, which always moves with its leader instead.
void settleLeader(model::PolygonModel& m, int v, std::string_view complaint) {
    if (m.IPOINT(v) < 1) m.IPOINT(v) = v;
    if (m.IPOINT(v) != v && (m.LXFIX(v) || m.LZFIX(v))) {
        util::WINMSG(complaint);
        m.LXFIX(v) = false;
        m.LZFIX(v) = false;
    }
}

float& coordinate(model::PolygonModel& m, int v, int kind) {
    return kind == 0 ? m.XVRT(v) : m.ZVRT(v);
}

}  // namespace

InversionSettings& inversionSettings() {
    static InversionSettings settings;
    return settings;
}

void resetInversionSettings() {
    inversionSettings() = InversionSettings{};
}

bool ParameterTable::allocate(int capacity) {
    release();
    if (capacity < 0) capacity = 0;
    const auto n = static_cast<std::size_t>(capacity);
    try {
        values_.resize(n);
        steps_.resize(n);
        limits_.resize(n);
        kinds_.resize(n);
        owners_.resize(n);
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
    capacity_ = capacity;
    return true;
}

void ParameterTable::release() {
    *this = ParameterTable{};
}

std::size_t ParameterTable::index(int j) const {
    assert(j >= 1 && j <= NPAR);
    return static_cast<std::size_t>(j - 1);
}

bool ParameterTable::add(ParameterKind kind, int owner, float value, float step, float limit) {
    if (NPAR >= capacity_) return false;
    const auto k = static_cast<std::size_t>(NPAR);
    values_[k] = value;
    steps_[k] = step;
    limits_[k] = limit;
    kinds_[k] = kind;
    owners_[k] = owner;
    ++NPAR;
    return true;
}

std::vector<float> ParameterTable::values() const {
    return {values_.begin(), values_.begin() + NPAR};
}

void ParameterTable::setValues(const std::vector<float>& values) {
    const auto n = std::min(values.size(), static_cast<std::size_t>(NPAR));
    std::copy_n(values.begin(), n, values_.begin());
}

int countFreeFlags(const model::PolygonModel& m) {
    int count = 0;
    const int nv = m.vertexCount();
    for (int v = 1; v <= nv; ++v)
        count += (m.LXFIX(v) ? 1 : 0) + (m.LZFIX(v) ? 1 : 0);
    for (int b = 1; b <= m.NBOD; ++b)
        count += m.LVFIX(b) ? 1 : 0;
    return count;
}

float modelValue(const model::PolygonModel& m, ParameterKind kind, int owner) {
    switch (kind) {
        case ParameterKind::VertexX:
            return m.XVRT(owner);
        case ParameterKind::VertexZ:
            return m.ZVRT(owner);
        case ParameterKind::Property:
            break;
    }
    return m.DENS(owner);
}

void GETPAR(model::PolygonModel& m, ParameterTable& table) {
    table.NPAR = 0;
    const InversionSettings& s = inversionSettings();
    bool full = false;
    auto add = [&](ParameterKind kind, int owner, float step, float limit) {
        if (full) return;
        if (!table.add(kind, owner, modelValue(m, kind, owner), step, limit)) {
            util::WINMSG("TOO MANY PARAMETERS IN PARHND");
            full = true;
        }
    };
    const int nv = m.vertexCount();
    for (int v = 1; v <= nv && !full; ++v) {
        settleLeader(m, v, " LOCKED VERTICES MUST NOT BE FREE.");
        if (m.LXFIX(v)) add(ParameterKind::VertexX, v, s.xStep, s.xLimit);
        if (m.LZFIX(v)) add(ParameterKind::VertexZ, v, s.zStep, s.zLimit);
    }
    for (int b = 1; b <= m.NBOD && !full; ++b) {
        if (m.LVFIX(b)) add(ParameterKind::Property, b, 0.05f * m.DENS(b), s.propertyLimit);
    }
}

void PUTPAR(model::PolygonModel& m, const ParameterTable& table, bool nestingHeld) {
    const float propertyLimit = inversionSettings().propertyLimit;
    bool moved = false;
    for (int j = 1; j <= table.NPAR; ++j) {
        const int owner = table.owner(j);
        switch (table.kind(j)) {
            case ParameterKind::VertexX:
                moved = PARCHG(m, table.value(j), table.limit(j), owner, 0) != 0.0f || moved;
                break;
            case ParameterKind::VertexZ:
                moved = PARCHG(m, table.value(j), table.limit(j), owner, 1) != 0.0f || moved;
                break;
            case ParameterKind::Property: {
                const float change =
                    std::clamp(table.value(j) - m.DENS(owner), -propertyLimit, propertyLimit);
                m.DENS(owner) += change;
                break;
            }
        }
    }
    if (nestingHeld && !moved) return;
    bool changed = false;
    model::BOLEVL(m, changed);
}

float PARCHG(model::PolygonModel& m, float pnew, float dmax, int iv, int kind) {
    dmax = std::abs(dmax);
    if (kind == 2) return std::clamp(pnew, -dmax, dmax);
    if (kind != 0 && kind != 1) return 0.0f;
    float d = pnew - coordinate(m, iv, kind);
    if (d == 0.0f) return 0.0f;
    d = std::clamp(d, -dmax, dmax);

    std::vector<int> group;
    const int nv = m.vertexCount();
    for (int v = 1; v <= nv; ++v) {
        if (m.IPOINT(v) == iv) group.push_back(v);
    }
    std::vector<float> before(group.size());
    for (std::size_t k = 0; k < group.size(); ++k)
        before[k] = coordinate(m, group[k], kind);

    for (int attempt = 1; attempt <= kMoveTries; ++attempt) {
        for (int v : group)
            coordinate(m, v, kind) += d;
        const bool illegal =
            std::any_of(group.begin(), group.end(), [&](int v) { return model::LXCHK(v, 0, m); });
        if (!illegal) return d;
        // Put the old coordinates back exactly: adding and subtracting d in
        // single precision need not return to the same value.
        for (std::size_t k = 0; k < group.size(); ++k)
            coordinate(m, group[k], kind) = before[k];
        d *= 0.5f;
    }
    return 0.0f;
}

void PARPNT(model::PolygonModel& m, float& x, float& z, int& ipar, int& ib, int capacity) {
    const int wanted = ipar;
    ipar = 0;
    ib = 0;
    int count = 0;
    const int nv = m.vertexCount();
    for (int v = 1; v <= nv; ++v) {
        settleLeader(m, v, "LOCKED VERTICES MUST NOT BE FREE!!");
        for (bool isFree : {static_cast<bool>(m.LXFIX(v)), static_cast<bool>(m.LZFIX(v))}) {
            if (!isFree) continue;
            if (count >= capacity) {
                util::WINMSG("TOO MANY PARAMETERS");
                return;
            }
            if (++count != wanted) continue;
            x = m.XVRT(v);
            z = m.ZVRT(v);
            if (model::LOCKSPRESENT(m, v)) return;
            int iloc = 0;
            model::FINDIB(v, iloc, ib, m);
            ipar = v;
            return;
        }
    }
}

}  // namespace calc
