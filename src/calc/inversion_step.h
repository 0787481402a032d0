#pragma once
// One iteration of the damped least-squares fit of a profile's model to its
// observed data: derivatives of the synthetics by perturbing each free
// parameter, the normal equations, a search over a few damping factors (each
// trial solved and judged by its misfit), and the model left at the best
// parameters found. Progress, redraws and Cancel go through the inversion
// host (calc/inversion_host.h) and the library's abort poll.
//
// Whenever the model goes back to the start of the step or on to the best
// trial, a saved copy of the model is installed, so it returns exactly to
// the state it had, nesting included.

#include <array>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "calc/body_terms.h"
#include "calc/forward_calc.h"
#include "calc/inversion_parameters.h"
#include "model/polygon_model.h"

namespace model {
struct ProfileLine;
}

namespace util {
struct AxisRecord;
}

namespace calc {

// Misfit given to a trial whose work matrix cannot be had or whose normal
// system cannot be solved.
inline constexpr float kFailedMisfit = 1.0E20f;

// The damping search's four dampings, largest first, and their misfits.
struct DampingTable {
    std::array<float, 4> dampings{};
    std::array<float, 4> misfits{};
};

// The work data of one step, made at its start and dropped at its end.
struct InversionState {
    ParameterTable parameters;
    int NSTA = 0;
    std::vector<float> startValues;     // parameter values at the start
    std::vector<float> bestValues;      // values of the best trial so far
    std::vector<float> baseSynthetics;  // synthetics of the best model so far
    float bestRms = 0.0f;
    std::vector<float> residuals;  // data minus start synthetics, 0 where missing
    // The Jacobian and the residuals station by station: a station's row
    // holds the derivatives by parameters 1..NPAR, then its residual, then
    // zeros to the row's width (so that a block of sums starting at any
    // parameter reads whole rows).
    std::vector<float, UnsetAllocator<float>> rows;
    std::size_t rowUsed = 0, rowWidth = 0;
    std::vector<float> gradient;  // Jacobian transposed times residuals
    std::vector<float> normal;    // NPAR x NPAR, symmetric
    // Per parameter: diagonal weight, left and right coupling of the damping.
    std::vector<float> diagonalWeight, leftCoupling, rightCoupling;
    DampingTable search;
    model::PolygonModel startModel;  // the model at the start of the step
    model::PolygonModel bestModel;   // the model of the best trial so far
    // The start model's anomaly body by body: a model moved from it is
    // calculated again only in the bodies that moved.
    BodyTerms startTerms;
    BodyTerms bestTerms;  // those of the best model so far
    // The start model's nesting is current: writing properties alone keeps
    // it so.
    bool nestingHeld = false;

    // Sizes every array for NSTA stations and the table's NPAR; false when
    // storage cannot be had.
    bool allocate(int nsta);

    float* row(int i) { return rows.data() + static_cast<std::size_t>(i - 1) * rowWidth; }
    float& normalAt(int l, int k);
};

// Damping weights of parameter j (added to the state's, which start at 0):
// along a layer's top line each vertex is coupled to its neighbours (the
// four closing vertices do not count); everything else, a vertex leading
// others included, gets plain diagonal damping.
void dampingWeights(const model::PolygonModel& model, InversionState& state, int j);

// One step. model is the profile's own model, the one the forward
// calculation reads. istat is 0 after the step, -1 when it could not start
// (no free parameter, no memory). A Cancel is told to the caller by the
// abort latch, which stays set.
void ONE_STEP(model::ProfileLine& profile, model::PolygonModel& model, int& istat,
              util::AxisRecord& axisMod, util::AxisRecord& axisDat);

// Searches the damping between dlow and dhigh (made positive) with EPCT.
void SEARCH(model::ProfileLine& profile, model::PolygonModel& model, InversionState& state,
            float& dlow, float& dhigh, float& dbest, util::AxisRecord& axisMod,
            util::AxisRecord& axisDat);

// Misfit of the trial model for one damping (negated in place when
// negative). The trial is applied, evaluated and withdrawn; when it beats
// the best so far it becomes the best.
float EPCT(model::PolygonModel& model, model::ProfileLine& profile, InversionState& state,
           float& damp, util::AxisRecord& axisMod, util::AxisRecord& axisDat);

// The search itself over any misfit function of the damping. trial
// evaluates one damping; poll answers true when the user cancelled;
// foresee, when given, is told the first four dampings before they are
// tried one by one (so that their trials may be computed side by side). The
// table of dampings and misfits is left in `table`.
using DampingTrial = std::function<float(float& damp)>;
using CancelPoll = std::function<bool()>;
using DampingForesight = std::function<void(const std::array<float, 4>& dampings)>;
void searchDampings(float& dlow, float& dhigh, float& dbest, DampingTable& table,
                    const DampingTrial& trial, const CancelPoll& poll,
                    const DampingForesight& foresee = nullptr);

// The warning shown when nothing is free.
inline constexpr std::string_view kZeroParameterWarning =
    "Cannot invert with zero parameters.\r\n\r\n"
    "PLEASE USE the graphic or dialog box tools\r\n"
    "to free up one or more densities/susceptibilities,\r\n"
    "or X- and/or Z-movement of one or more vertices";

}  // namespace calc
