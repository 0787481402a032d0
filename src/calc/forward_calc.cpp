#include "calc/forward_calc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_common.h"
#include "calc/forward_steps.h"
#include "calc/station_sums.h"
#include "calc/unit_factors.h"
#include "model/map_transforms.h"
#include "model/session_state.h"
#include "util/array_routines.h"
#include "util/message_boxes.h"
#include "util/numeric_routines.h"
#include "util/plane_geometry.h"
#include "util/text_search.h"

namespace calc {

namespace steps {

using model::PolygonModel;
using model::ProfileLine;

constexpr float kFarAway = 1.0E15f;  // closing vertices of extended layers

// Property factors by unit code 1..5.
constexpr std::array<float, 5> kDensityFactor{1.0f, 0.001f, 1.0f, 1.0f, 1.0f};
constexpr std::array<float, 5> kSusceptibilityFactor{1.0f, 1.0E-6f, 0.07958f, 1.0f, 1.0f};

bool isName(const base::FixedString<20>& name, std::string_view text) {
    return name.view() == text;
}

// The component computed for a data type (total field when none matches).
EdgeComponent componentOf(const base::FixedString<20>& type) {
    struct Entry {
        std::string_view name;
        EdgeComponent component;
    };
    static constexpr Entry table[] = {
        {"Magnetics Vert Grad ", EdgeComponent::TotalGrad},
        {"Magnetics X-Comp.   ", EdgeComponent::X},
        {"Magnetics Y-Ccomp   ", EdgeComponent::Y},
        {"Magnetics Z-Comp    ", EdgeComponent::Z},
        {"Magnetics X-V Grad  ", EdgeComponent::XGrad},
        {"Magnetics Y-V Grad  ", EdgeComponent::YGrad},
        {"Magnetics Z-V Grad  ", EdgeComponent::ZGrad},
    };
    for (const Entry& e : table) {
        if (isName(type, e.name)) return e.component;
    }
    return EdgeComponent::Total;
}

// The body whose property a body's contrast is taken against: its parent,
// or with hidden bodies left out the first ancestor that is not hidden;
// 0 for the background.
int referenceBody(const PolygonModel& m, int k, bool skipHidden) {
    int p = m.INCLBD(k);
    while (skipHidden && p >= 1 && p <= m.NBOD && m.LHIDE(p))
        p = m.INCLBD(p);
    return (p >= 1 && p <= m.NBOD) ? p : 0;
}

struct Reference {
    float property, kRatio, inclination, declination;
};

Reference referenceOf(const PolygonModel& m, int p) {
    if (p == 0) return {m.DBKG, m.BKRAT, m.BKINC, m.BKDEC};
    return {m.DENS(p), m.REMS(p), m.DIPS(p), m.DECS(p)};
}

// A body's vertex run lies inside the vertex arrays and holds a vertex.
bool usableRun(const PolygonModel& m, int k) {
    const int first = m.IV1(k), last = m.IV2(k);
    return first >= 1 && last >= first && m.XVRT.has(last) && m.ZVRT.has(last);
}

void placeStations(const ProfileLine& p, ForwardPlan& plan) {
    const PolygonModel& m = p.MODEL;
    const auto n = static_cast<std::size_t>(p.NSTA);
    plan.xs.resize(n);
    plan.ys.resize(n);
    plan.elevation.resize(n);
    for (int i = 1; i <= p.NSTA; ++i) {
        float x = 0.0f, y = 0.0f;
        if (m.ICOORD >= 2) {
            model::MAPG2M(p.EAST(i), p.NORT(i), x, y);
        } else {
            // The same transform as the vertices, so that a baseline away
            // from the profile's origin moves stations and bodies alike.
            model::MAPP2M(p.STAT(i), 0.0f, x, y);
        }
        const auto at = static_cast<std::size_t>(i - 1);
        plan.xs[at] = x;
        plan.ys[at] = y;
        plan.elevation[at] = p.ELEV(i);
    }
}

void placeVertices(const PolygonModel& m, ForwardPlan& plan) {
    const std::size_t n = std::min(m.XVRT.values().size(), m.ZVRT.values().size());
    plan.xv.resize(n);
    plan.zv.assign(m.ZVRT.values().begin(), m.ZVRT.values().begin() + static_cast<long>(n));
    for (std::size_t v = 0; v < n; ++v) {
        float x = 0.0f, y = 0.0f;
        model::MAPP2M(m.XVRT.values()[v], 0.0f, x, y);
        plan.xv[v] = x;
    }
}

ForwardBody bodyPlan(const PolygonModel& m, int k, float factor, float folded, bool magnetic,
                     bool skipHidden, const double F[3]) {
    const Reference ref = referenceOf(m, referenceBody(m, k, skipHidden));
    ForwardBody b;
    b.body = k;
    b.first = m.IV1(k) - 1;
    b.last = m.IV2(k) - 1;
    b.xtent1 = m.XTENT1(k);
    b.xtent2 = m.XTENT2(k);
    b.addEdges = m.AREAS(k) < 0.0f;
    b.contrast = (m.DENS(k) - ref.property) * factor;
    if (magnetic) {
        const double c = b.contrast;
        b.Mx = c * F[0];
        b.My = c * F[1];
        b.Mz = c * F[2];
        if (m.REMS(k) != 0.0f || ref.kRatio != 0.0f) {
            double rx, ry, rz, sx, sy, sz;
            RES3D(m.REMS(k) * m.DENS(k) * factor, m.DIPS(k), m.DECS(k) - folded, rx, ry, rz);
            RES3D(ref.kRatio * ref.property * factor, ref.inclination, ref.declination - folded, sx,
                  sy, sz);
            b.Mx = b.Mx + rx - sx;
            b.My = b.My + ry - sy;
            b.Mz = b.Mz + rz - sz;
        }
    }
    return b;
}

std::string degreesText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
    return text;
}

// Both synthetics and regional hold a value per station (column 1 is used).
void ensureStationArrays(ProfileLine& p) {
    if (!p.SYN.allocated() || p.SYN.rows() < p.NSTA || p.SYN.cols() < 1) {
        model::Array2<float> kept = p.SYN;
        p.SYN.allocate(p.NSTA, std::max(1, p.NCOMP));
        for (int i = 1; i <= p.NSTA; ++i) {
            for (int c = 1; c <= p.SYN.cols(); ++c)
                p.SYN(i, c) = kept.has(i, c) ? kept(i, c) : 0.0f;
        }
    }
    if (p.REG.size() < p.NSTA) p.REG.resizeKeeping(p.NSTA);
}

// Levelling lowers every synthetic by their mean difference from the data.
// A model with layers reaches 1.0E15 down and sums to hundreds of thousands
// of milligals before it is levelled, so the sums are levelled in double and
// only the levelled values are rounded to single precision.
void level(const ProfileLine& p, std::vector<double>& total) {
    double sum = 0.0;
    int n = 0;
    for (int i = 1; i <= p.NSTA; ++i) {
        if (!counts(p, i)) continue;
        sum += total[static_cast<std::size_t>(i - 1)] - static_cast<double>(p.DAT(i, 1));
        ++n;
    }
    const double mean = n > 0 ? sum / n : 0.0;
    for (double& t : total)
        t -= mean;
}

// What the plan takes from the model itself: bodies firstBody..lastBody,
// the vertices, the reference declination and whether layers are levelled.
// Reads the profile's units and the plan's field, writes only the model and
// the plan.
void placeModel(const ProfileLine& p, PolygonModel& m, int firstBody, int lastBody, bool magnetic,
                ForwardPlan& plan, Setup& s) {
    for (int k = 1; k <= m.NBOD; ++k) {
        if (m.LAYER.has(k) && m.LAYER(k)) s.levelling = true;
    }
    float folded = 0.0f;
    STRK180(m.STRIKE, m.AZIM, folded);
    m.DECREF = folded;
    const double F[3] = {plan.Fx, plan.Fy, plan.Fz};
    const float factor = magnetic ? kSusceptibilityFactor[static_cast<std::size_t>(p.ISUSUN - 1)]
                                  : kDensityFactor[static_cast<std::size_t>(p.IDENUN - 1)];
    const bool skipHidden = model::sessionState().HiddenBodies;
    for (int k = firstBody; k <= lastBody; ++k) {
        if (!usableRun(m, k)) continue;
        if (skipHidden && m.LHIDE(k)) continue;
        plan.bodies.push_back(bodyPlan(m, k, factor, folded, magnetic, skipHidden, F));
    }
    placeVertices(m, plan);
}

bool prepare(ProfileLine& p, int IBODY, const Variant& variant, ForwardPlan& plan, Setup& s,
             const ForwardPlan* placed) {
    model::SessionState& session = model::sessionState();
    if (session.BadModel) return false;
    PolygonModel& m = p.MODEL;
    // A record whose station arrays are shorter than its count has no
    // stations to calculate at either.
    const bool held = p.STAT.size() >= p.NSTA && p.ELEV.size() >= p.NSTA &&
                      (m.ICOORD < 2 || (p.EAST.size() >= p.NSTA && p.NORT.size() >= p.NSTA));
    if (p.NSTA < 1 || !held) {
        util::WINMSG(variant.noStations);
        p.LSYN = false;
        return false;
    }
    if (p.IDENUN < 1 || p.IDENUN > 5) p.IDENUN = 1;
    if (p.ISUSUN < 1 || p.ISUSUN > 5) p.ISUSUN = 1;

    if (variant.turnIllegalDirection) {
        float folded = 0.0f;
        STRK180(m.STRIKE, m.AZIM, folded);
        const float difference = AZDIF(folded, m.AZIM);
        if (difference < 60.0f || difference > 120.0f) {
            const float old = m.AZIM;
            m.AZIM = folded + 90.0f;
            util::WINWRN("WARNING: ILLEGAL PROFILE DIRECTION " + degreesText(old) +
                         " HAS BEEN CHANGED TO " + degreesText(m.AZIM) + " DEGREES.");
        }
    }
    if (!model::MAPSET(m)) {
        // A strike along the profile would squeeze every body to a line.
        util::WINMSG("STRIKE PARALLEL TO THE PROFILE: NO FORWARD CURVE CAN BE CALCULATED");
        p.LSYN = false;
        return false;
    }
    if (!m.LEXTND) EXTENDLAYERS(p);

    if (placed) {
        plan.clip = placed->clip;
    } else {
        float vmin = 1.0E30f, vmax = -1.0E30f;
        util::FINDNX(std::span<const float>(p.STAT.values()), p.NSTA, vmin, vmax);
        // A single station or stations without span confine nothing.
        plan.clip = vmax > vmin ? (vmax - vmin) * 100.0f : 0.0f;
    }

    float folded = 0.0f;
    STRK180(m.STRIKE, m.AZIM, folded);

    const bool microgravity = isName(p.DTYPE, "Microgravity Data   ");
    s.magnetic = variant.magneticsByFullNameOnly ? isName(p.DTYPE, "Magnetics Data      ")
                                                 : util::IFNDPT(p.DTYPE.view(), 20, "Mag", 3) > 0;

    if (!(p.XUNIT.view() == "KM      " && p.ZUNIT.view() == "KM      ")) {
        plan.scaled = true;
        plan.fx = FCTFND(p.XUNIT);
        plan.fz = FCTFND(p.ZUNIT);
    }

    double F[3] = {0.0, 0.0, 0.0};
    if (s.magnetic) RES3D(1.0f, p.FINCL, p.FDECL - folded, F[0], F[1], F[2]);
    CalcCommon& common = calcCommon();
    common.Fx = F[0];
    common.Fy = F[1];
    common.Fz = F[2];

    int firstBody = 1, lastBody = m.NBOD;
    if (IBODY != 0 && std::abs(IBODY) <= m.NBOD) {
        s.allBodies = false;
        s.sign = IBODY > 0 ? 1 : -1;
        firstBody = lastBody = std::abs(IBODY);
    }
    ensureStationArrays(p);
    // The stored regional array (mode above 5) is the user's and stays.
    if (s.allBodies && p.NREG <= 5) {
        for (int i = 1; i <= p.NSTA; ++i)
            p.REG(i) = 0.0f;
    }

    plan.component =
        s.magnetic ? (variant.magneticsByFullNameOnly ? EdgeComponent::Total : componentOf(p.DTYPE))
                   : EdgeComponent::Gravity;
    plan.scale = s.magnetic ? SumScale::Magnetic
                            : (microgravity ? SumScale::Microgravity : SumScale::Gravity);
    plan.fieldStrength = p.FIELD;
    plan.Fx = F[0];
    plan.Fy = F[1];
    plan.Fz = F[2];
    placeModel(p, m, firstBody, lastBody, s.magnetic, plan, s);
    if (!plan.bodies.empty()) {
        common.Mx = plan.bodies.back().Mx;
        common.My = plan.bodies.back().My;
        common.Mz = plan.bodies.back().Mz;
    }
    if (placed) {
        plan.xs = placed->xs;
        plan.ys = placed->ys;
        plan.elevation = placed->elevation;
    } else {
        placeStations(p, plan);
    }
    return true;
}

void prepareAlike(const ProfileLine& p, PolygonModel& m, const ForwardPlan& placed,
                  const Setup& placedSetup, ForwardPlan& plan, Setup& s) {
    s = placedSetup;
    s.levelling = false;
    plan = placed;
    plan.bodies.clear();
    placeModel(p, m, 1, m.NBOD, s.magnetic, plan, s);
}

void placeRegional(ProfileLine& p, const Setup& s) {
    if (!s.allBodies || p.NREG < 1 || p.NREG > 5) return;
    for (int i = 1; i <= p.NSTA; ++i)
        p.REG(i) = p.NREG == 1 ? p.YREG[0] : util::FLAGRI(p.XREG, p.YREG, p.STAT(i), p.NREG);
}

std::vector<double> totals(const ProfileLine& p, Setup s, const StationSums& sums) {
    if (sums.clipped) s.levelling = true;
    std::vector<double> total(static_cast<std::size_t>(p.NSTA));
    for (int i = 1; i <= p.NSTA; ++i) {
        double S = sums.sums[static_cast<std::size_t>(i - 1)];
        if (s.allBodies && p.NREG >= 1) S += static_cast<double>(p.REG(i));
        double& t = total[static_cast<std::size_t>(i - 1)];
        if (s.allBodies) {
            t = S;
        } else {
            t = static_cast<double>(p.SYN(i, 1)) + s.sign * S;
        }
    }
    if (s.levelling) level(p, total);
    return total;
}

void finish(ProfileLine& p, const Setup& s, const StationSums& sums) {
    placeRegional(p, s);
    const std::vector<double> total = totals(p, s, sums);
    for (int i = 1; i <= p.NSTA; ++i)
        p.SYN(i, 1) = static_cast<float>(total[static_cast<std::size_t>(i - 1)]);
    CALC_ER(p);
}

void calculate(ProfileLine& p, int IBODY, const Variant& variant) {
    ForwardPlan plan;
    Setup s;
    if (!prepare(p, IBODY, variant, plan, s)) return;
    finish(p, s, computeStationSums(plan));
}

}  // namespace steps

using namespace steps;

void CALC(model::ProfileLine& PROFILE, int IBODY) {
    calculate(PROFILE, IBODY, Variant{});
}

void RECALC(model::ProfileLine& PROFILE, int IBODY) {
    Variant older;
    older.magneticsByFullNameOnly = true;
    older.turnIllegalDirection = true;
    older.noStations = " There are currently no data points at which to calculate a forward curve.";
    calculate(PROFILE, IBODY, older);
}

void CALC_ER(model::ProfileLine& PROFILE, int /*unused*/) {
    ProfileLine& p = PROFILE;
    const float rms = misfit(p, [&p](int i, float& value) {
        if (!p.SYN.has(i, 1)) return false;
        value = p.SYN(i, 1);
        return true;
    });
    p.RMSERR = rms;
    p.RMSERR2 = rms;
    p.LSYN = true;
    p.LSAVED = false;
}

void EXTENDLAYERS(model::ProfileLine& PROFILE) {
    PolygonModel& m = PROFILE.MODEL;
    for (int k = 1; k <= m.NBOD; ++k) {
        if (!(m.LAYER.has(k) && m.LAYER(k))) continue;
        const int n = m.IV2(k);
        // A layer holds at least one vertex of its own before the four
        // closing ones; anything shorter is left alone.
        if (n - 4 < m.IV1(k) || !m.XVRT.has(n) || !m.ZVRT.has(n)) continue;
        m.XVRT(n - 3) = kFarAway;
        m.XVRT(n - 2) = kFarAway;
        m.XVRT(n - 1) = -kFarAway;
        m.XVRT(n) = -kFarAway;
        m.ZVRT(n - 3) = m.ZVRT(n - 4);
        m.ZVRT(n - 2) = -kFarAway;
        m.ZVRT(n - 1) = -kFarAway;
        m.ZVRT(n) = m.ZVRT(m.IV1(k));
    }
    m.LEXTND = true;
}

void CNTRCI(model::ProfileLine& PROFILE) {
    ProfileLine& p = PROFILE;
    PolygonModel& m = p.MODEL;
    // Horizontal span of the model without the layers' closing vertices.
    float lo = 1.0E30f, hi = -1.0E30f;
    for (int k = 1; k <= m.NBOD; ++k) {
        if (!usableRun(m, k)) continue;
        const int last = (m.LAYER.has(k) && m.LAYER(k)) ? m.IV2(k) - 4 : m.IV2(k);
        for (int v = m.IV1(k); v <= last; ++v) {
            lo = std::min(lo, m.XVRT(v));
            hi = std::max(hi, m.XVRT(v));
        }
    }
    float distance = 1000.0f * (hi - lo);
    if (!(hi - lo > 0.0f)) {
        float smin = 1.0E30f, smax = -1.0E30f;
        util::FINDNX(std::span<const float>(p.STAT.values()), p.NSTA, smin, smax);
        distance = smax > smin ? 10.0f * (smax - smin) : 0.0f;
    }
    for (int k = 1; k <= m.NBOD; ++k) {
        if (!(m.LAYER.has(k) && m.LAYER(k))) continue;
        const int n = m.IV2(k);
        if (n - 4 < m.IV1(k) || !m.XVRT.has(n) || !m.ZVRT.has(n)) continue;
        m.XVRT(n - 3) = distance;
        m.XVRT(n - 2) = distance;
        m.XVRT(n - 1) = -distance;
        m.XVRT(n) = -distance;
        m.ZVRT(n - 3) = m.ZVRT(n - 4);
        m.ZVRT(n - 2) = -distance;
        m.ZVRT(n - 1) = -distance;
        m.ZVRT(n) = m.ZVRT(m.IV1(k));
    }
    // The station line closed the same way below the ground.
    const int t = m.NTOPO;
    if (t >= 1 && m.XTOPO.has(t + 4) && m.ZTOPO.has(t + 4)) {
        m.XTOPO(t + 1) = distance;
        m.XTOPO(t + 2) = distance;
        m.XTOPO(t + 3) = -distance;
        m.XTOPO(t + 4) = -distance;
        m.ZTOPO(t + 1) = m.ZTOPO(t);
        m.ZTOPO(t + 2) = -distance;
        m.ZTOPO(t + 3) = -distance;
        m.ZTOPO(t + 4) = m.ZTOPO(1);
    }
    m.LEXTND = true;
}

float AZDIF(float A, float B) {
    float d = std::fmod(std::fabs(A - B), 360.0f);
    if (d > 180.0f) d = 360.0f - d;
    return d;
}

float BODCRS(float X0, float Z0, const float* X, const float* Z, int N) {
    float sum = 0.0f;
    for (int i = 0; i < N; ++i) {
        const int j = (i + 1 == N) ? 0 : i + 1;
        sum += (X[i] - X0) * (Z[j] - Z0) - (X[j] - X0) * (Z[i] - Z0);
    }
    return 0.5f * sum;
}

}  // namespace calc
