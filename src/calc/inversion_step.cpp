#include "calc/inversion_step.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstring>
#include <new>
#include <span>
#include <string>

#include "base/fortran_format.h"
#include "calc/forward_calc.h"
#include "calc/inversion_host.h"
#include "model/body_nesting.h"
#include "model/profile_line.h"
#include "model/vertex_locks.h"
#include "util/abort_poll.h"
#include "util/array_routines.h"
#include "util/message_boxes.h"
#include "util/numeric_routines.h"
#include "util/shared_work.h"

namespace calc {

float smoothingResidual(const InversionState& s, int k);

namespace {

constexpr std::string_view kRmsFormat = "(F8.3)";
constexpr float kMissingAbove = 1.0E10f;
constexpr int kExposeEvent = 7;
constexpr int kResizeEvent = 8;
// Derivatives calculated side by side: enough to keep every processor
// busy, few enough that their perturbed models take little memory.
constexpr int kDerivativesSideBySide = 32;
// Sums of the normal equations formed side by side in one sweep over the
// stations, held in registers: independent chains of additions.
constexpr std::size_t kSideBySide = 8;

std::string integerText(int value, std::string_view format) {
    return base::formatInteger(value, format).value_or("");
}

float profileRms(const model::ProfileLine& p) {
    return p.RMSERR;
}

void setProfileRms(model::ProfileLine& p, float rms) {
    p.RMSERR = rms;
    p.RMSERR2 = rms;
}

std::vector<float> synthetics(const model::ProfileLine& p) {
    std::vector<float> s(static_cast<std::size_t>(std::max(p.NSTA, 0)));
    for (int i = 1; i <= p.NSTA; ++i)
        s[static_cast<std::size_t>(i - 1)] = p.SYN(i, 1);
    return s;
}

void setSynthetics(model::ProfileLine& p, const std::vector<float>& s) {
    for (int i = 1; i <= p.NSTA; ++i)
        p.SYN(i, 1) = s[static_cast<std::size_t>(i - 1)];
}

void forward(model::ProfileLine& p) {
    const InversionHost& host = inversionHost();
    if (host.forward) {
        host.forward(p, 0);
    } else {
        CALC(p, 0);
    }
}

// The terms of the model the last step ended with: the next step starts
// from that model, and terms that no longer fit are computed again anyway.
BodyTerms& lastStepTerms() {
    static BodyTerms terms;
    return terms;
}

// The derivatives' models, kept from step to step: the start model copied
// over one of its own size takes no new storage.
std::vector<model::PolygonModel>& derivativeModels() {
    static std::vector<model::PolygonModel> models;
    return models;
}

// The synthetics and misfit of models moved from the step's start, each as
// the forward calculation leaves them when the model stands in the profile:
// side by side over the threads from the start's kept terms, or one after
// another through the host's stand-in. make(k) makes models[k] first (on
// the thread that calculates it); `terms`, when not empty, receives each
// model's kept terms.
std::vector<ModelSynthetics> forwardEach(model::ProfileLine& p, const InversionState& s,
                                         std::span<model::PolygonModel> models,
                                         const BodyTerms::ModelMaker& make,
                                         std::span<BodyTerms> terms = {}) {
    if (!inversionHost().forward) return s.startTerms.recalculateEach(p, models, terms, make);
    std::vector<ModelSynthetics> results(models.size());
    for (std::size_t k = 0; k < models.size(); ++k) {
        make(k);
        std::swap(p.MODEL, models[k]);
        forward(p);
        std::swap(p.MODEL, models[k]);
        results[k] = {true, synthetics(p), profileRms(p)};
    }
    return results;
}

// A model's calculated synthetics and misfit into the profile, as the
// calculation leaves them (a refused calculation leaves the profile as it
// was).
void install(model::ProfileLine& p, const ModelSynthetics& r) {
    if (!r.valid) return;
    setSynthetics(p, r.values);
    setProfileRms(p, r.rms);
}

// One look at the event queue: an exposed or resized window is redrawn
// (`shown`, when given, installed in the profile first: the synthetics in
// hand are drawn only when something is drawn), and the answer is true once
// Cancel has been pushed.
bool poll(model::ProfileLine& p, model::PolygonModel& m, const ModelSynthetics* shown = nullptr) {
    int type = -1;
    util::EventWords record{};
    const bool cancelled = util::LKILLMSG(false, type, record);
    if (type == kExposeEvent || type == kResizeEvent) {
        if (shown) install(p, *shown);
        const InversionHost& host = inversionHost();
        callHost(host.refreshModel, p, m, m.NBOD + 1);
        callHost(host.refreshData, p);
    }
    return cancelled;
}

void putRms(int field, float rms) {
    callHost(inversionHost().putReal, field, rms, kRmsFormat);
}

void putStatus(std::string_view text) {
    callHost(inversionHost().putString, kStatusField, text);
}

void putProgress(int percent) {
    callHost(inversionHost().putProgress, kProgressField, percent);
}

// Installs the best model found, its synthetics and misfit.
void applyBest(model::ProfileLine& p, model::PolygonModel& m, InversionState& s) {
    m = s.bestModel;
    lastStepTerms() = std::move(s.bestTerms);
    s.parameters.setValues(s.bestValues);
    setSynthetics(p, s.baseSynthetics);
    setProfileRms(p, s.bestRms);
}

// Moves parameter j by its step (the other way when the model takes less
// than a tenth of it) and answers the change the model actually made.
float perturb(model::PolygonModel& m, const InversionState& s, ParameterTable& t, int j) {
    const float before = modelValue(m, t.kind(j), t.owner(j));
    const float p = t.value(j);
    const float step = t.step(j);
    t.value(j) = p + step;
    PUTPAR(m, t, s.nestingHeld);
    float applied = modelValue(m, t.kind(j), t.owner(j)) - before;
    if (std::abs(applied) < 0.1f * std::abs(step)) {
        m = s.startModel;
        t.value(j) = p - step;
        PUTPAR(m, t, s.nestingHeld);
        applied = modelValue(m, t.kind(j), t.owner(j)) - before;
    }
    return applied;
}

// Stations written by one thread at a time into the station rows: small
// slices, so that a thread that starts late holds up little.
constexpr int kStationsPerSlice = 64;

// The derivatives by parameters first.. (one per result) into the station
// rows, from their models' synthetics: 0 where the datum or the synthetic
// is missing, the parameter could not move or its model was not
// calculated. The first group also writes the residuals and the zeros after
// them, while the rows are at hand.
void derivatives(const model::ProfileLine& p, InversionState& s, int first,
                 std::span<const ModelSynthetics> results, std::span<const float> applied) {
    // A division each: a few thousand are worth a thread.
    const int threads = util::usefulThreads(static_cast<long>(results.size()) * s.NSTA, 4000);
    util::shareOut(s.NSTA, util::SliceRule{threads, kStationsPerSlice, 1}, [&](int begin, int end) {
        for (int i = begin + 1; i <= end; ++i) {
            float* row = s.row(i);
            const auto at = static_cast<std::size_t>(i - 1);
            const bool missing = p.DAT(i, 1) >= kMissingAbove;
            for (std::size_t k = 0; k < results.size(); ++k) {
                const float syn = results[k].valid ? results[k].values[at] : kMissingAbove;
                row[static_cast<std::size_t>(first - 1) + k] =
                    applied[k] == 0.0f || missing || syn >= kMissingAbove
                        ? 0.0f
                        : (syn - s.baseSynthetics[at]) / applied[k];
            }
            if (first != 1) continue;
            row[s.rowUsed - 1] = s.residuals[at];
            std::fill(row + s.rowUsed, row + s.rowWidth, 0.0f);
        }
    });
}

// Eight sums side by side, held in one register where the processor has
// them that wide (the same bits at any width, each sum being its own
// chain).
using Block = double __attribute__((vector_size(kSideBySide * sizeof(double))));

// Eight sums of the normal equations: the products of each station's
// column `own` with its columns first..first + 7, summed in station order.
struct BlockOfSums {
    std::size_t own = 0, first = 0;
    std::array<double, kSideBySide> sums{};
};

// The rows are kept in single precision, as the derivatives and residuals
// are formed; each product is taken in double.
using Floats = float __attribute__((vector_size(kSideBySide * sizeof(float))));

// Blocks taken side by side over the stations: their additions are
// independent chains, so that none waits for the one before.
constexpr std::size_t kBlocksSideBySide = 4;

__attribute__((target_clones("avx512f", "avx2", "default"))) void addRows(
    const float* rows, std::size_t width, std::size_t n, std::span<BlockOfSums> blocks) {
    for (std::size_t g = 0; g < blocks.size(); g += kBlocksSideBySide) {
        const std::size_t count = std::min(kBlocksSideBySide, blocks.size() - g);
        BlockOfSums* group = blocks.data() + g;
        Block sums[kBlocksSideBySide] = {};
        for (std::size_t b = 0; b < count; ++b)
            std::memcpy(&sums[b], group[b].sums.data(), sizeof sums[b]);
        for (std::size_t i = 0; i < n; ++i) {
            const float* row = rows + i * width;
            for (std::size_t b = 0; b < kBlocksSideBySide; ++b) {
                if (b == count) break;
                Floats values;
                std::memcpy(&values, row + group[b].first, sizeof values);
                sums[b] +=
                    static_cast<double>(row[group[b].own]) * __builtin_convertvector(values, Block);
            }
        }
        for (std::size_t b = 0; b < count; ++b)
            std::memcpy(group[b].sums.data(), &sums[b], sizeof sums[b]);
    }
}

// Column own + 1 of the normal equations (rows from the diagonal down) and
// its gradient, from its blocks: products of the Jacobian's columns with
// each other and with the residuals, each summed in double in station
// order as util::XTY sums them.
void placeSums(InversionState& s, const BlockOfSums& block) {
    const int k = static_cast<int>(block.own) + 1;
    for (std::size_t q = 0; q < kSideBySide; ++q) {
        const std::size_t at = block.first + q;
        if (at + 1 < s.rowUsed)
            s.normalAt(static_cast<int>(at) + 1, k) = static_cast<float>(block.sums[q]);
        if (at + 1 == s.rowUsed) s.gradient[block.own] = static_cast<float>(block.sums[q]);
    }
}

// The normal equations, their blocks of sums shared out over the threads
// (each sum the same whoever computes it); answers the trace (sum of the
// positive diagonal).
float normalEquations(InversionState& s) {
    const int npar = s.parameters.NPAR;
    std::vector<BlockOfSums> blocks;
    for (std::size_t own = 0; own < static_cast<std::size_t>(npar); ++own)
        for (std::size_t first = own; first < s.rowUsed; first += kSideBySide)
            blocks.push_back(BlockOfSums{own, first, {}});
    // A block is worth a thread when it holds this many products.
    constexpr long kProductsPerThread = 20000;
    const auto count = static_cast<int>(blocks.size());
    const int threads = util::usefulThreads(
        static_cast<long>(count) * static_cast<long>(kSideBySide) * s.NSTA, kProductsPerThread);
    const auto n = static_cast<std::size_t>(s.NSTA);
    // A slice is one group of blocks summed side by side: a thread that
    // starts late holds up little.
    util::shareOut(count, util::SliceRule{threads, 1, static_cast<int>(kBlocksSideBySide)},
                   [&](int begin, int end) {
                       const std::span<BlockOfSums> mine(blocks.data() + begin,
                                                         static_cast<std::size_t>(end - begin));
                       addRows(s.rows.data(), s.rowWidth, n, mine);
                       for (const BlockOfSums& block : mine)
                           placeSums(s, block);
                   });
    float trace = 0.0f;
    for (int k = 1; k <= npar; ++k) {
        if (s.normalAt(k, k) > 0.0f) trace += s.normalAt(k, k);
    }
    for (int k = 1; k <= npar; ++k) {
        for (int l = k + 1; l <= npar; ++l)
            s.normalAt(k, l) = s.normalAt(l, k);
    }
    return trace;
}

std::string dampingText(float damp) {
    return std::string("Solve and Test: ") + base::formatReal(damp, "(1PE11.4)").value_or("");
}

// One trial of the damping search: the damped equations solved, the model
// moved by the solution, its synthetics and misfit.
struct Trial {
    float damp = 0.0f;
    bool ready = false;  // its work matrix could be had
    bool solved = false;
    bool judged = false;
    std::vector<float> values;  // the parameter values asked for
    model::PolygonModel model;  // the start model moved to them
    ModelSynthetics synthetics;
    BodyTerms terms;
};

// Solves the damped normal equations for `damp` (negated in place when
// negative): the trial's values are the start values moved by the
// solution. False when the work matrix cannot be had.
bool solveTrial(InversionState& s, float& damp, Trial& trial) {
    const InversionHost& host = inversionHost();
    ParameterTable& t = s.parameters;
    const int n = t.NPAR;
    const auto nn = static_cast<std::size_t>(n);
    trial.damp = std::abs(damp);
    std::vector<float> a;
    try {
        a.assign(nn * (nn + 1), 0.0f);
    } catch (const std::bad_alloc&) {
        util::WINMSG("CANNOT ALLOCATE ATAP IN EPCT");
        return false;
    }
    trial.ready = true;
    if (damp < 0.0f) damp = -damp;
    const float l = damp;

    // Equation k: column k of the symmetric normal matrix, damped.
    auto coef = [&](int k, int j) -> float& {
        return a[static_cast<std::size_t>(k - 1) * nn + static_cast<std::size_t>(j - 1)];
    };
    auto rhs = [&](int k) -> float& { return a[nn * nn + static_cast<std::size_t>(k - 1)]; };
    for (int k = 1; k <= n; ++k) {
        const auto kk = static_cast<std::size_t>(k - 1);
        for (int j = 1; j <= n; ++j)
            coef(k, j) = s.normalAt(j, k);
        rhs(k) = s.gradient[kk];
        coef(k, k) += s.diagonalWeight[kk] * l;
        if (k > 1) coef(k, k - 1) += s.leftCoupling[kk] * l;
        if (k < n) coef(k, k + 1) += s.rightCoupling[kk] * l;
        rhs(k) -= l * smoothingResidual(s, k);
    }

    callHost(host.cursorShape, 1);
    trial.solved = util::SOLVE(a, n, 1) == 0;
    callHost(host.cursorShape, 0);
    if (!trial.solved) return true;

    trial.values = t.values();
    for (int k = 1; k <= n; ++k)
        trial.values[static_cast<std::size_t>(k - 1)] += rhs(k);
    return true;
}

// The synthetics of the solved trials, side by side, each trial's model
// the start model moved to its values.
void calculateTrials(model::ProfileLine& p, const InversionState& s, std::span<Trial> trials) {
    std::vector<std::size_t> solved;
    for (std::size_t k = 0; k < trials.size(); ++k)
        if (trials[k].solved) solved.push_back(k);
    std::vector<model::PolygonModel> models(solved.size());
    std::vector<BodyTerms> terms(models.size());
    std::vector<ModelSynthetics> results = forwardEach(
        p, s, models,
        [&](std::size_t k) {
            ParameterTable table = s.parameters;
            table.setValues(trials[solved[k]].values);
            models[k] = s.startModel;
            PUTPAR(models[k], table);
        },
        terms);
    for (std::size_t k = 0; k < solved.size(); ++k) {
        Trial& trial = trials[solved[k]];
        trial.model = std::move(models[k]);
        trial.synthetics = std::move(results[k]);
        trial.terms = std::move(terms[k]);
    }
}

// Shows a calculated trial in the model and the profile and judges it: when
// it beats the best so far it becomes the best. The model goes back to the
// start unless a Cancel comes (the trial then stays and its misfit is not
// used). Answers the trial's misfit.
float judgeTrial(model::PolygonModel& m, model::ProfileLine& p, InversionState& s, Trial& trial,
                 util::AxisRecord& axisMod, util::AxisRecord& axisDat) {
    const InversionHost& host = inversionHost();
    if (!trial.ready) return kFailedMisfit;
    if (!trial.solved) {
        putStatus(dampingText(trial.damp));
        return kFailedMisfit;
    }
    m = std::move(trial.model);
    callHost(host.plotBodies, axisMod, p, m, m.NBOD + 1);
    install(p, trial.synthetics);
    const float rms = profileRms(p);
    putStatus(dampingText(trial.damp));
    putRms(kLatestRmsField, rms);
    if (poll(p, m)) return rms;

    callHost(host.plotProfile, axisDat, p);
    callHost(host.plotBodies, axisMod, p, m, m.NBOD + 1);
    if (rms < s.bestRms) {
        s.bestRms = rms;
        putRms(kBestRmsField, rms);
        s.baseSynthetics = synthetics(p);
        s.bestValues = trial.values;
        s.bestModel = m;
        s.bestTerms = std::move(trial.terms);
    }
    m = s.startModel;
    return rms;
}

}  // namespace

// How far parameter k stands out of the line its coupled neighbours give
// (0 for a parameter without couplings and along a straight layer top): the
// smoothing pulls a layer's top towards its neighbours, it does not push a
// straight top by its depth.
float smoothingResidual(const InversionState& s, int k) {
    const ParameterTable& t = s.parameters;
    const auto kk = static_cast<std::size_t>(k - 1);
    if (s.leftCoupling[kk] == 0.0f && s.rightCoupling[kk] == 0.0f) return 0.0f;
    float r = -(s.leftCoupling[kk] + s.rightCoupling[kk]) * t.value(k);
    if (k > 1) r += s.leftCoupling[kk] * t.value(k - 1);
    if (k < t.NPAR) r += s.rightCoupling[kk] * t.value(k + 1);
    return r;
}

// The damping of parameter j: a layer's top line is smoothed along its
// vertices, its four closing vertices left out; everything else gets plain
// diagonal damping.
void dampingWeights(const model::PolygonModel& m, InversionState& s, int j) {
    const auto k = static_cast<std::size_t>(j - 1);
    const ParameterTable& t = s.parameters;
    // Every parameter is damped towards its start; a layer's top is also
    // smoothed, which alone would leave the top's depth as a whole free.
    s.diagonalWeight[k] = 1.0f;
    // The vertex and body PARPNT finds for the parameter, taken from the
    // table made at the step's start (PARPNT counts every vertex again):
    // none for a property or for a vertex that leads others.
    if (t.kind(j) == ParameterKind::Property) return;
    const int v = t.owner(j);
    if (model::LOCKSPRESENT(m, v)) return;
    int iloc = 0, b = 0;
    model::FINDIB(v, iloc, b, m);
    if (b == 0 || !m.LAYER(b)) return;
    if (v > m.IV1(b)) {
        s.leftCoupling[k] -= 0.5f;
        s.diagonalWeight[k] += 0.5f;
    }
    if (v < m.IV2(b) - 4) {
        s.rightCoupling[k] -= 0.5f;
        s.diagonalWeight[k] += 0.5f;
    }
}

bool InversionState::allocate(int nsta) {
    NSTA = std::max(nsta, 0);
    const auto n = static_cast<std::size_t>(NSTA);
    const auto np = static_cast<std::size_t>(parameters.NPAR);
    try {
        startValues.assign(np, 0.0f);
        bestValues.assign(np, 0.0f);
        baseSynthetics.assign(n, 0.0f);
        residuals.assign(n, 0.0f);
        rowUsed = np + 1;
        rowWidth = rowUsed + kSideBySide - 1;
        rows.resize(n * rowWidth);
        gradient.assign(np, 0.0f);
        normal.assign(np * np, 0.0f);
        diagonalWeight.assign(np, 0.0f);
        leftCoupling.assign(np, 0.0f);
        rightCoupling.assign(np, 0.0f);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

float& InversionState::normalAt(int l, int k) {
    const auto np = static_cast<std::size_t>(parameters.NPAR);
    assert(l >= 1 && k >= 1 && static_cast<std::size_t>(l) <= np &&
           static_cast<std::size_t>(k) <= np);
    return normal[static_cast<std::size_t>(k - 1) * np + static_cast<std::size_t>(l - 1)];
}

void ONE_STEP(model::ProfileLine& p, model::PolygonModel& m, int& istat, util::AxisRecord& axisMod,
              util::AxisRecord& axisDat) {
    assert(&m == &p.MODEL);
    const InversionHost& host = inversionHost();
    istat = 0;
    const int capacity = countFreeFlags(m);
    if (capacity == 0) {
        util::WINWRN(kZeroParameterWarning);
        istat = -1;
        return;
    }
    InversionState s;
    const bool tableReady = s.parameters.allocate(capacity);
    if (tableReady) GETPAR(m, s.parameters);
    if (tableReady && s.parameters.NPAR == 0) {
        util::WINWRN(kZeroParameterWarning);
        istat = -1;
        return;
    }
    bool ready = tableReady && s.allocate(p.NSTA);
    if (ready) {
        try {
            s.startModel = m;
            s.bestModel = m;
        } catch (const std::bad_alloc&) {
            ready = false;
        }
    }
    if (!ready) {
        util::WINMSG("INSUFFICIENT MEMORY TO ALLOCATE ARRAYS IN ONE_STEP");
        istat = -1;
        return;
    }
    ParameterTable& t = s.parameters;
    const int npar = t.NPAR;
    {
        model::PolygonModel probe = m;
        bool changed = false;
        model::BOLEVL(probe, changed);
        s.nestingHeld = probe == m;
    }

    callHost(host.plotBodies, axisMod, p, m, m.NBOD + 1);
    putStatus("OneStep Calclation");
    putProgress(5);
    callHost(host.windowTextAt, 5000, 300, "error:");

    // The derivatives in groups: a group's perturbed models are made side by
    // side and calculated side by side; the stand-in calculation of the host
    // takes them one at a time, each before its polls.
    const int group = host.forward ? 1 : kDerivativesSideBySide;
    std::vector<model::PolygonModel>& perturbed = derivativeModels();
    std::vector<float> applied;
    auto groupFrom = [&](int first) -> BodyTerms::ModelMaker {
        const int count = std::min(group, npar - first + 1);
        perturbed.resize(static_cast<std::size_t>(count));
        applied.assign(static_cast<std::size_t>(count), 0.0f);
        return [&, first](std::size_t k) {
            // Its own copy of the model and table: a perturbation changes
            // one value of them.
            ParameterTable table = t;
            perturbed[k] = s.startModel;
            applied[k] = perturb(perturbed[k], s, table, first + static_cast<int>(k));
        };
    };
    // The start model, keeping each body's anomaly, and the first group
    // from it in the same pass over the stations.
    std::vector<ModelSynthetics> results;
    if (host.forward) {
        forward(p);
    } else {
        const BodyTerms::ModelMaker make = groupFrom(1);
        s.startTerms = std::move(lastStepTerms());
        results = s.startTerms.updateAndRecalculateEach(p, perturbed, {}, make);
    }
    if (poll(p, m)) return;
    s.bestRms = profileRms(p);
    s.bestTerms = s.startTerms;
    putRms(kBestRmsField, s.bestRms);

    for (int i = 1; i <= s.NSTA; ++i) {
        const float datum = p.DAT(i, 1);
        s.residuals[static_cast<std::size_t>(i - 1)] =
            datum < kMissingAbove ? datum - p.SYN(i, 1) : 0.0f;
    }
    s.baseSynthetics = synthetics(p);
    s.startValues = t.values();
    s.bestValues = s.startValues;

    putStatus("Jacobian Matrix Calculation...");
    for (int first = 1; first <= npar; first += group) {
        const int count = std::min(group, npar - first + 1);
        if (first > 1 || host.forward) {
            const BodyTerms::ModelMaker make = groupFrom(first);
            results = forwardEach(p, s, perturbed, make);
        }
        derivatives(p, s, first, results, applied);
        for (int k = 0; k < count; ++k) {
            const int j = first + k;
            putProgress(static_cast<int>(std::lround(100.0 * j / npar)));
            dampingWeights(m, s, j);
            putStatus("Partial Derivative " + integerText(j, "I5") + " of " +
                      integerText(npar, "I5"));
            const ModelSynthetics& result = results[static_cast<std::size_t>(k)];
            putRms(kLatestRmsField, result.valid ? result.rms : profileRms(p));
            if (poll(p, m, &result) || poll(p, m, &result)) {
                applyBest(p, m, s);
                return;
            }
            putRms(kBestRmsField, s.bestRms);
        }
    }

    const float trace = normalEquations(s);
    if (trace > 0.0f) {
        float dlow = trace / 10000.0f, dhigh = trace, dbest = 0.0f;
        SEARCH(p, m, s, dlow, dhigh, dbest, axisMod, axisDat);
    } else {
        // Free parameters that move no synthetic cannot fit anything: the
        // user is told, as when nothing is free.
        util::WINWRN(kZeroParameterWarning);
    }
    applyBest(p, m, s);
}

void SEARCH(model::ProfileLine& p, model::PolygonModel& m, InversionState& s, float& dlow,
            float& dhigh, float& dbest, util::AxisRecord& axisMod, util::AxisRecord& axisDat) {
    // The first four trials are solved one after another and calculated
    // side by side; each is judged when the search comes to it. The host's
    // stand-in calculation takes each trial when the search comes to it.
    std::vector<Trial> foreseen;
    DampingForesight foresee;
    if (!inversionHost().forward) {
        foresee = [&](const std::array<float, 4>& dampings) {
            // In the order the search tries them.
            foreseen.resize(dampings.size());
            constexpr std::array<std::size_t, 4> order{3, 1, 2, 0};
            for (std::size_t k = 0; k < order.size(); ++k) {
                float damp = dampings[order[k]];
                solveTrial(s, damp, foreseen[k]);
            }
            calculateTrials(p, s, foreseen);
        };
    }
    searchDampings(
        dlow, dhigh, dbest, s.search,
        [&](float& damp) {
            for (Trial& trial : foreseen) {
                if (trial.damp != damp || trial.judged) continue;
                trial.judged = true;
                return judgeTrial(m, p, s, trial, axisMod, axisDat);
            }
            return EPCT(m, p, s, damp, axisMod, axisDat);
        },
        [&] { return poll(p, m); }, foresee);
}

float EPCT(model::PolygonModel& m, model::ProfileLine& p, InversionState& s, float& damp,
           util::AxisRecord& axisMod, util::AxisRecord& axisDat) {
    Trial trial;
    if (!solveTrial(s, damp, trial)) return kFailedMisfit;
    calculateTrials(p, s, std::span<Trial>(&trial, 1));
    return judgeTrial(m, p, s, trial, axisMod, axisDat);
}

void searchDampings(float& dlow, float& dhigh, float& dbest, DampingTable& table,
                    const DampingTrial& trial, const CancelPoll& poll,
                    const DampingForesight& foresee) {
    dlow = std::abs(dlow);
    dhigh = std::abs(dhigh);
    if (dlow >= dhigh) return;

    auto& d = table.dampings;
    auto& mf = table.misfits;
    const float f = std::pow(10.0f, std::log10(dlow / dhigh) / 3.0f);
    d = {dhigh, f * dhigh, f * f * dhigh, dlow};

    if (poll()) return;
    if (foresee) foresee(d);
    putProgress(0);
    mf[3] = trial(d[3]);
    if (poll()) return;
    putProgress(16);
    putRms(kLatestRmsField, mf[3]);
    mf[1] = trial(d[1]);
    putProgress(16);
    putRms(kLatestRmsField, mf[1]);
    mf[2] = trial(d[2]);
    putProgress(33);
    putRms(kLatestRmsField, mf[2]);
    if (poll() || util::LQUIT()) return;
    mf[0] = trial(d[0]);
    float latest = mf[0];
    if (poll()) return;

    int counter = 50;
    for (int choice = 1;; ++choice) {
        counter = std::min(counter + 16, 100);
        putProgress(counter);
        putRms(kLatestRmsField, latest);

        int b = 0;  // from 0: the table's first entry
        float threshold = 0.9f * mf[0];
        for (int k = 1; k < 4; ++k) {
            if (mf[k] < threshold) {
                b = k;
                threshold = 0.9f * mf[k];
            }
        }
        dbest = d[b];
        if (choice == 3) return;

        float next = 0.0f;
        int at = 0;  // where the new damping goes
        if (b == 0) {
            d = {0.0f, d[0], d[1], d[2]};
            mf = {0.0f, mf[0], mf[1], mf[2]};
            next = d[1] / f;
            at = 0;
        } else if (b == 3) {
            d = {d[1], d[2], d[3], 0.0f};
            mf = {mf[1], mf[2], mf[3], 0.0f};
            next = d[2] * f;
            at = 3;
        } else {
            const float ra = mf[b + 1] / mf[b], rb = mf[b - 1] / mf[b];
            if (ra < 1.5f && rb < 1.5f) return;
            if (d[b + 1] / d[b] < 0.9f * d[b] / d[b - 1]) {
                next = std::sqrt(d[b - 1] * d[b]);
                at = b;  // between d[b] and its larger neighbour; the smallest drops out
                for (int k = 3; k > at; --k) {
                    d[k] = d[k - 1];
                    mf[k] = mf[k - 1];
                }
            } else {
                next = std::sqrt(d[b] * d[b + 1]);
                if (b == 1) {
                    at = 2;  // the smallest drops out
                    d[3] = d[2];
                    mf[3] = mf[2];
                } else {
                    at = 2;  // the largest drops out
                    d[0] = d[1];
                    mf[0] = mf[1];
                    d[1] = d[2];
                    mf[1] = mf[2];
                }
            }
        }
        d[at] = next;
        mf[at] = trial(d[at]);
        latest = mf[at];
        if (poll()) return;
    }
}

}  // namespace calc
