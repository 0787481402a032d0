#pragma once
// Inversion steps one after another in the progress dialog until the misfit
// stops improving enough, falls below its target, the iteration limit is
// reached or the user cancels.

#include <functional>

namespace model {
struct ProfileLine;
struct PolygonModel;
}  // namespace model

namespace util {
struct AxisRecord;
}

namespace calc {

// The shell's three stopping settings.
struct InversionControl {
    // Another iteration follows only when the new misfit is at most this
    // factor times the misfit before the iteration.
    float improvement = 0.98f;
    // Iterations stop once the misfit falls below it.
    float targetRms = 1.0f;
    int maxIterations = 9;
};

// Where the progress dialog was last shown; (-1, -1) centres it.
struct DialogPlace {
    int x = -1;
    int y = -1;
};
DialogPlace& inversionDialogPlace();
void resetInversionDialogPlace();

// Runs the iterations with ONE_STEP. istat is set to -1 and left so.
void MORE_STEPS(model::ProfileLine& profile, model::PolygonModel& model, int& istat,
                util::AxisRecord& axisMod, util::AxisRecord& axisDat,
                const InversionControl& control);

// The same loop over any step routine (status 0 when the step ran);
// answers the number of steps taken.
using InversionStep =
    std::function<void(model::ProfileLine& profile, model::PolygonModel& model, int& status)>;
int runInversionSteps(model::ProfileLine& profile, model::PolygonModel& model,
                      util::AxisRecord& axisMod, util::AxisRecord& axisDat,
                      const InversionControl& control, const InversionStep& step);

}  // namespace calc
