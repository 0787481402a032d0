#include "calc/forward_calc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_common.h"
#include "calc/station_sums.h"
#include "calc/unit_factors.h"
#include "model/map_transforms.h"
#include "model/session_state.h"
#include "util/array_routines.h"
#include "util/message_boxes.h"
#include "util/numeric_routines.h"
#include "util/plane_geometry.h"
#include "util/shared_work.h"
#include "util/text_search.h"

namespace calc {

namespace {

using model::PolygonModel;
using model::ProfileLine;

constexpr float kMissingLimit = 1.0E10f;  // data at or above this are missing
constexpr float kFarAway = 1.0E15f;       // closing vertices of extended layers

// Property factors by unit code 1..5.
constexpr std::array<float, 5> kDensityFactor{1.0f, 0.001f, 1.0f, 1.0f, 1.0f};
constexpr std::array<float, 5> kSusceptibilityFactor{1.0f, 1.0E-6f, 0.07958f, 1.0f, 1.0f};

// The variant of the calculation: the current one, or its older twin.
struct Variant {
    bool magneticsByFullNameOnly = false;
    bool turnIllegalDirection = false;
    std::string_view noStations =
        "There are currently no data points at which to 'calculate a forward curve.";
};

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

// Everything the station sums need, in the model frame and single precision.
struct Setup {
    bool magnetic = false;
    bool levelling = false;
    bool allBodies = true;
    int sign = 1;  // +1 adds, -1 subtracts (single-body mode)
};

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

ForwardBody bodyPlan(const ProfileLine& p, int k, float factor, float folded, bool magnetic,
                     bool skipHidden, const double F[3]) {
    const PolygonModel& m = p.MODEL;
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

bool counts(const ProfileLine& p, int i) {
    const bool unmasked = p.LMASKU || !p.MASK.has(i, 1) || !p.MASK(i, 1);
    return unmasked && p.DAT.has(i, 1) && p.DAT(i, 1) < kMissingLimit;
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

// Everything of a calculation before the station sums: the refusals, the
// plan of the bodies in range and how the sums are taken into the
// synthetics. False when the calculation is refused (its message shown).
// `placed`, when given, is a plan of the same profile whose model had the
// header this one has: its stations are taken over, not placed again.
bool prepare(ProfileLine& p, int IBODY, const Variant& variant, ForwardPlan& plan, Setup& s,
             const ForwardPlan* placed = nullptr) {
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

    for (int k = 1; k <= m.NBOD; ++k) {
        if (m.LAYER.has(k) && m.LAYER(k)) s.levelling = true;
    }
    float folded = 0.0f;
    STRK180(m.STRIKE, m.AZIM, folded);
    m.DECREF = folded;

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
    const float factor = s.magnetic ? kSusceptibilityFactor[static_cast<std::size_t>(p.ISUSUN - 1)]
                                    : kDensityFactor[static_cast<std::size_t>(p.IDENUN - 1)];
    const bool skipHidden = session.HiddenBodies;
    for (int k = firstBody; k <= lastBody; ++k) {
        if (!usableRun(m, k)) continue;
        if (skipHidden && m.LHIDE(k)) continue;
        plan.bodies.push_back(bodyPlan(p, k, factor, folded, s.magnetic, skipHidden, F));
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
    placeVertices(m, plan);
    return true;
}

// The regional of every station into the profile's regional array, where
// the calculation sets it (the same for every model of the profile).
void placeRegional(ProfileLine& p, const Setup& s) {
    if (!s.allBodies || p.NREG < 1 || p.NREG > 5) return;
    for (int i = 1; i <= p.NSTA; ++i)
        p.REG(i) = p.NREG == 1 ? p.YREG[0] : util::FLAGRI(p.XREG, p.YREG, p.STAT(i), p.NREG);
}

// The station sums with the regional added and levelled, in double; the
// profile is only read (its regional placed beforehand).
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

// Root-mean-square misfit of the data against synthetics: syn(i, value)
// gives station i's synthetic and answers false when it has none.
template <class Synthetic>
float misfit(const ProfileLine& p, const Synthetic& syn) {
    double sum = 0.0;
    int n = 0;
    for (int i = 1; i <= p.NSTA; ++i) {
        float value = 0.0f;
        if (!counts(p, i) || !syn(i, value)) continue;
        const double d = static_cast<double>(p.DAT(i, 1)) - static_cast<double>(value);
        sum += d * d;
        ++n;
    }
    if (n == 0) return 0.0f;
    const auto total = static_cast<float>(sum);
    return util::LEQNAN(total) ? 1.0E20f
                               : std::sqrt(std::fabs(total / static_cast<float>(n)) + 1.0E-30f);
}

// The station sums taken into the synthetics: the regional, the levelling,
// the misfit.
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

}  // namespace

namespace {

using Kept = BodyTerms::Kept;

template <class T>
bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool sameFloats(std::span<const float> a, std::span<const float> b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0);
}

// Everything of a plan besides its stations and bodies that the sums read.
std::vector<double> settingOf(const ForwardPlan& plan) {
    return {plan.clip,
            plan.scaled ? 1.0 : 0.0,
            plan.fx,
            plan.fz,
            static_cast<double>(plan.component),
            static_cast<double>(plan.scale),
            plan.fieldStrength,
            plan.Fx,
            plan.Fy,
            plan.Fz};
}

// A gravity sum is the body's own sum times its contrast: the terms are
// kept for unit contrast and scaled as the sums scale them.
bool unitContrast(const ForwardPlan& plan) {
    return plan.scale != SumScale::Magnetic;
}

std::span<const float> run(const std::vector<float>& v, const ForwardBody& b) {
    return std::span<const float>(v).subspan(static_cast<std::size_t>(b.first),
                                             static_cast<std::size_t>(b.last - b.first + 1));
}

// The kept terms are those of the body but perhaps for other vertices.
bool sameButVertices(const Kept& k, const ForwardPlan& plan, const ForwardBody& b) {
    const bool frame = k.valid && k.body.first == b.first && k.body.last == b.last &&
                       sameBits(k.body.xtent1, b.xtent1) && sameBits(k.body.xtent2, b.xtent2) &&
                       k.body.addEdges == b.addEdges;
    if (!frame || unitContrast(plan)) return frame;
    return sameBits(k.body.contrast, b.contrast) && sameBits(k.body.Mx, b.Mx) &&
           sameBits(k.body.My, b.My) && sameBits(k.body.Mz, b.Mz);
}

bool fits(const Kept& k, const ForwardPlan& plan, const ForwardBody& b) {
    return sameButVertices(k, plan, b) && sameFloats(k.xv, run(plan.xv, b)) &&
           sameFloats(k.zv, run(plan.zv, b));
}

// A body keeps the values of its edges up to this many (edges x stations).
constexpr std::size_t kEdgeValuesPerBody = std::size_t(1) << 20;

std::size_t edgeCount(const ForwardBody& b) {
    return static_cast<std::size_t>(b.last - b.first + 1);
}

// The edges at the vertices that moved since the kept terms: edge e ends at
// the body's e-th vertex, and the next one starts there.
std::vector<int> movedEdges(const Kept& k, const ForwardPlan& plan, const ForwardBody& b) {
    const std::size_t count = edgeCount(b);
    const std::span<const float> xv = run(plan.xv, b), zv = run(plan.zv, b);
    std::vector<char> moved(count, 0);
    for (std::size_t o = 0; o < count; ++o) {
        if (sameBits(k.xv[o], xv[o]) && sameBits(k.zv[o], zv[o])) continue;
        moved[o] = 1;
        moved[(o + 1) % count] = 1;
    }
    std::vector<int> edges;
    for (std::size_t e = 0; e < count; ++e)
        if (moved[e]) edges.push_back(static_cast<int>(e));
    return edges;
}

// A body as its terms are kept, and how they are scaled: a gravity body at
// unit contrast.
ForwardBody keptBody(const ForwardPlan& plan, ForwardBody b) {
    if (unitContrast(plan)) b.contrast = 1.0f;
    return b;
}

SumScale keptScale(const ForwardPlan& plan) {
    return unitContrast(plan) ? SumScale::Gravity : plan.scale;
}

// A body computed edge by edge: every edge, or those at the moved vertices
// over the kept values of the others.
struct EdgeWork {
    std::size_t at = 0;          // position in the plan
    const Kept* base = nullptr;  // the kept values the moved edges replace
};

Kept keptOfEdges(const EdgeTask& task, const Kept* base, EdgeValues&& computed) {
    const ForwardBody& b = task.body;
    const ForwardPlan& one = *task.plan;
    const std::size_t n = one.xs.size();
    Kept k{true, b, std::vector<float>(run(one.xv, b).begin(), run(one.xv, b).end()),
           std::vector<float>(run(one.zv, b).begin(), run(one.zv, b).end()), {}, false, {}, {}};
    if (base) {
        k.edgeRows = base->edgeRows;
        k.edgeClipped = base->edgeClipped;
    } else {
        k.edgeRows.resize(edgeCount(b));
        k.edgeClipped.assign(edgeCount(b), 0);
    }
    // The new rows point into the block they were computed in, which lives
    // as long as any of them.
    const auto block = std::make_shared<const UnsetValues>(std::move(computed.values));
    for (std::size_t t = 0; t < task.edges.size(); ++t) {
        const auto e = static_cast<std::size_t>(task.edges[t]);
        k.edgeRows[e] = std::shared_ptr<const double>(block, block->data() + t * n);
        k.edgeClipped[e] = computed.clipped[t];
    }
    std::vector<const double*> rows(k.edgeRows.size());
    for (std::size_t e = 0; e < rows.size(); ++e)
        rows[e] = k.edgeRows[e].get();
    k.terms = sumsOfEdges(one, b, keptScale(one), rows);
    k.clipped = std::find(k.edgeClipped.begin(), k.edgeClipped.end(), 1) != k.edgeClipped.end();
    return k;
}

// The plan of one body's kept terms.
ForwardPlan keptPlan(const ForwardPlan& plan, const ForwardBody& b) {
    ForwardPlan one = plan;
    one.scale = keptScale(plan);
    one.bodies = {keptBody(plan, b)};
    return one;
}

// A body's terms added to the stations' sums: the same products, in the
// same order, as the station sums take.
void addTerms(std::vector<double>& total, const Kept& k, const ForwardBody& b, SumScale scale) {
    const double* u = k.terms.data();
    const double c = static_cast<double>(b.contrast);
    const std::size_t n = total.size();
    switch (scale) {
        case SumScale::Gravity:
            for (std::size_t i = 0; i < n; ++i)
                total[i] = total[i] + u[i] * c;
            return;
        case SumScale::Microgravity:
            for (std::size_t i = 0; i < n; ++i)
                total[i] = total[i] + u[i] * c * 1000.0;
            return;
        case SumScale::Magnetic:
            break;
    }
    for (std::size_t i = 0; i < n; ++i)
        total[i] = total[i] + u[i];
}

}  // namespace

void BodyTerms::calculate(model::ProfileLine& p) {
    *this = BodyTerms{};
    update(p);
}

void BodyTerms::update(model::ProfileLine& p) {
    sum(p, this);
}

void BodyTerms::recalculate(model::ProfileLine& p, BodyTerms* moved) const {
    sum(p, moved);
}

// One model's calculation from kept terms.
struct BodyTerms::Pass {
    ForwardPlan plan;
    Setup s;
    bool sameStations = false;
    const std::vector<std::shared_ptr<const Kept>>* kept = nullptr;  // those that may fit
    // The bodies whose kept terms do not fit: large ones summed whole, the
    // others edge by edge (only the edges at moved vertices where the kept
    // values allow).
    std::vector<ForwardPlan> whole;
    std::vector<std::size_t> wholeAt;
    std::vector<EdgeTask> tasks;
    std::vector<EdgeWork> edgeWork;
    std::vector<StationSums> wholeSums;
    std::vector<EdgeValues> edgeValues;
    std::vector<std::shared_ptr<const Kept>> fresh;  // by position in the plan
    StationSums total;
};

namespace {

// The work of several passes in one pass over the stations each: every
// pass's whole bodies side by side, and every pass's edges side by side.
template <class Pass>
void computeBodies(std::span<Pass*> passes) {
    std::vector<ForwardPlan> whole;
    std::vector<EdgeTask> tasks;
    for (const Pass* pass : passes) {
        whole.insert(whole.end(), pass->whole.begin(), pass->whole.end());
        tasks.insert(tasks.end(), pass->tasks.begin(), pass->tasks.end());
    }
    std::vector<StationSums> sums = computeEachStationSums(whole);
    std::vector<EdgeValues> values = computeEdgeValues(tasks);
    std::size_t w = 0, t = 0;
    for (Pass* pass : passes) {
        for (std::size_t k = 0; k < pass->whole.size(); ++k)
            pass->wholeSums.push_back(std::move(sums[w++]));
        for (std::size_t k = 0; k < pass->tasks.size(); ++k)
            pass->edgeValues.push_back(std::move(values[t++]));
    }
}

// Models whose sums are worth a thread of their own: bodies times stations.
constexpr long kSumsPerThread = 20000;

}  // namespace

bool BodyTerms::plan(model::ProfileLine& p, Pass& pass, const ForwardPlan* placed) const {
    if (!prepare(p, 0, Variant{}, pass.plan, pass.s, placed)) return false;
    const ForwardPlan& plan = pass.plan;
    pass.sameStations = sameFloats(xs_, plan.xs) && sameFloats(ys_, plan.ys) &&
                        sameFloats(elevation_, plan.elevation) && setting_ == settingOf(plan);
    static const std::vector<std::shared_ptr<const Kept>> nothing;
    pass.kept = pass.sameStations ? &kept_ : &nothing;
    const std::vector<std::shared_ptr<const Kept>>& kept = *pass.kept;
    const std::size_t n = static_cast<std::size_t>(p.NSTA);
    for (std::size_t j = 0; j < plan.bodies.size(); ++j) {
        const ForwardBody& b = plan.bodies[j];
        const auto k = static_cast<std::size_t>(b.body);
        const Kept* mine = k < kept.size() ? kept[k].get() : nullptr;
        if (mine && fits(*mine, plan, b)) continue;
        if (edgeCount(b) * n > kEdgeValuesPerBody) {
            pass.whole.push_back(keptPlan(plan, b));
            pass.wholeAt.push_back(j);
            continue;
        }
        const bool partial = mine && !mine->edgeRows.empty() && sameButVertices(*mine, plan, b);
        // The edges read the plan's stations and vertices, not its bodies.
        EdgeTask task{&pass.plan, keptBody(plan, b), {}};
        if (partial) {
            task.edges = movedEdges(*mine, plan, b);
        } else {
            task.edges.resize(edgeCount(b));
            for (std::size_t e = 0; e < task.edges.size(); ++e)
                task.edges[e] = static_cast<int>(e);
        }
        pass.tasks.push_back(std::move(task));
        pass.edgeWork.push_back({j, partial ? mine : nullptr});
    }
    computed_ += static_cast<long>(pass.whole.size() + pass.tasks.size());
    return true;
}

void BodyTerms::assemble(Pass& pass) const {
    const ForwardPlan& plan = pass.plan;
    const std::size_t n = plan.xs.size();
    pass.fresh.assign(plan.bodies.size(), nullptr);
    for (std::size_t m = 0; m < pass.whole.size(); ++m) {
        const ForwardBody& b = pass.whole[m].bodies.front();
        pass.fresh[pass.wholeAt[m]] = std::make_shared<const Kept>(
            Kept{true, b, std::vector<float>(run(plan.xv, b).begin(), run(plan.xv, b).end()),
                 std::vector<float>(run(plan.zv, b).begin(), run(plan.zv, b).end()),
                 std::move(pass.wholeSums[m].sums), pass.wholeSums[m].clipped, {}, {}});
    }
    for (std::size_t t = 0; t < pass.tasks.size(); ++t)
        pass.fresh[pass.edgeWork[t].at] = std::make_shared<const Kept>(
            keptOfEdges(pass.tasks[t], pass.edgeWork[t].base, std::move(pass.edgeValues[t])));

    // Every body's terms added in body order, as the whole calculation does.
    StationSums& total = pass.total;
    total.sums.assign(n, 0.0);
    for (std::size_t j = 0; j < plan.bodies.size(); ++j) {
        const ForwardBody& b = plan.bodies[j];
        const Kept& k =
            pass.fresh[j] ? *pass.fresh[j] : *(*pass.kept)[static_cast<std::size_t>(b.body)];
        addTerms(total.sums, k, b, plan.scale);
        total.clipped = total.clipped || k.clipped;
    }
}

void BodyTerms::keep(const Pass& pass, int bodies, BodyTerms& into) const {
    if (&into != this) into = *this;
    if (!pass.sameStations) {
        into.kept_.clear();
        into.xs_ = pass.plan.xs;
        into.ys_ = pass.plan.ys;
        into.elevation_ = pass.plan.elevation;
        into.setting_ = settingOf(pass.plan);
    }
    into.kept_.resize(std::max(into.kept_.size(), static_cast<std::size_t>(bodies + 1)));
    for (const std::shared_ptr<const Kept>& f : pass.fresh)
        if (f) into.kept_[static_cast<std::size_t>(f->body.body)] = f;
}

void BodyTerms::sum(model::ProfileLine& p, BodyTerms* into) const {
    Pass pass;
    if (!plan(p, pass)) return;
    Pass* one = &pass;
    computeBodies(std::span<Pass*>(&one, 1));
    assemble(pass);
    if (into) keep(pass, p.MODEL.NBOD, *into);
    finish(p, pass.s, pass.total);
}

std::vector<ModelSynthetics> BodyTerms::recalculateEach(model::ProfileLine& p,
                                                        std::span<model::PolygonModel> models,
                                                        std::span<BodyTerms> moved) const {
    std::vector<ModelSynthetics> results(models.size());
    // Each plan is the profile's with the model in its place; the edge
    // tasks point at the plans, which therefore stay where they are made.
    // Models of the same header stand on the same stations, placed once.
    std::vector<Pass> passes(models.size());
    std::vector<Pass*> planned;
    const model::ModelHeader* placedFor = nullptr;
    model::ModelHeader firstHeader;
    for (std::size_t k = 0; k < models.size(); ++k) {
        const bool same = placedFor && static_cast<const model::ModelHeader&>(models[k]) == *placedFor;
        const model::ModelHeader header = models[k];
        std::swap(p.MODEL, models[k]);
        results[k].valid = plan(p, passes[k], same ? &planned.front()->plan : nullptr);
        std::swap(p.MODEL, models[k]);
        if (!results[k].valid) continue;
        if (planned.empty()) {
            firstHeader = header;
            placedFor = &firstHeader;
        }
        planned.push_back(&passes[k]);
    }
    if (planned.empty()) return results;
    computeBodies(std::span<Pass*>(planned));
    placeRegional(p, planned.front()->s);
    const long work = static_cast<long>(planned.size()) * p.NSTA *
                      static_cast<long>(std::max<std::size_t>(1, planned.front()->plan.bodies.size()));
    const int threads = util::usefulThreads(work, kSumsPerThread);
    util::shareOut(static_cast<int>(models.size()), util::SliceRule{threads, 1, 1},
                   [&](int begin, int end) {
                       for (int k = begin; k < end; ++k) {
                           const auto at = static_cast<std::size_t>(k);
                           if (!results[at].valid) continue;
                           Pass& pass = passes[at];
                           assemble(pass);
                           if (!moved.empty()) keep(pass, models[at].NBOD, moved[at]);
                           const std::vector<double> total = totals(p, pass.s, pass.total);
                           std::vector<float>& values = results[at].values;
                           values.resize(total.size());
                           for (std::size_t i = 0; i < total.size(); ++i)
                               values[i] = static_cast<float>(total[i]);
                           results[at].rms = misfit(p, [&values](int i, float& value) {
                               value = values[static_cast<std::size_t>(i - 1)];
                               return true;
                           });
                       }
                   });
    return results;
}

std::vector<int> changedBodies(const model::PolygonModel& a, const model::PolygonModel& b,
                               bool& everything) {
    std::vector<int> changed;
    everything = a.NBOD != b.NBOD || a.DBKG != b.DBKG || a.BKRAT != b.BKRAT || a.BKINC != b.BKINC ||
                 a.BKDEC != b.BKDEC || a.LEXTND != b.LEXTND || a.AZIM != b.AZIM ||
                 a.STRIKE != b.STRIKE || a.BASELN != b.BASELN ||
                 a.XVRT.values().size() != b.XVRT.values().size() ||
                 a.ZVRT.values().size() != b.ZVRT.values().size();
    if (everything) return changed;
    auto same = [](const auto& x, const auto& y, int k) {
        return x.has(k) == y.has(k) && (!x.has(k) || x(k) == y(k));
    };
    std::vector<bool> property(static_cast<std::size_t>(a.NBOD + 1), false);
    for (int k = 1; k <= a.NBOD && !everything; ++k) {
        if (!same(a.IV1, b.IV1, k) || !same(a.IV2, b.IV2, k) || !same(a.INCLBD, b.INCLBD, k) ||
            !same(a.AREAS, b.AREAS, k) || !same(a.LAYER, b.LAYER, k) ||
            !same(a.LHIDE, b.LHIDE, k)) {
            everything = true;
            break;
        }
        property[static_cast<std::size_t>(k)] =
            !same(a.DENS, b.DENS, k) || !same(a.REMS, b.REMS, k) || !same(a.DIPS, b.DIPS, k) ||
            !same(a.DECS, b.DECS, k);
        bool moved = property[static_cast<std::size_t>(k)] || !same(a.XTENT1, b.XTENT1, k) ||
                     !same(a.XTENT2, b.XTENT2, k);
        for (int v = a.IV1(k); v <= a.IV2(k) && !moved; ++v)
            moved = !same(a.XVRT, b.XVRT, v) || !same(a.ZVRT, b.ZVRT, v);
        if (moved) changed.push_back(k);
    }
    if (everything) return {};
    // A body's contrast is taken against its parent's property.
    for (int k = 1; k <= a.NBOD; ++k) {
        const int parent = a.INCLBD(k);
        if (parent >= 1 && parent <= a.NBOD && property[static_cast<std::size_t>(parent)] &&
            std::find(changed.begin(), changed.end(), k) == changed.end())
            changed.push_back(k);
    }
    return changed;
}

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
