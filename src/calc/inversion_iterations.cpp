#include "calc/inversion_iterations.h"

#include <string>

#include "base/fortran_format.h"
#include "calc/inversion_host.h"
#include "calc/inversion_step.h"
#include "model/profile_line.h"
#include "util/abort_poll.h"

namespace calc {

namespace {

constexpr int kSemiModeless = 3;

bool cancelled() {
    int type = -1;
    util::EventWords record{};
    return util::LKILLMSG(false, type, record);
}

void resetLatch() {
    int type = -1;
    util::EventWords record{};
    util::LKILLMSG(true, type, record);
}

std::string iterationText(int i, int n) {
    return "Iteration " + base::formatInteger(i, "I3").value_or("") + " of " +
           base::formatInteger(n, "I3").value_or("");
}

}  // namespace

DialogPlace& inversionDialogPlace() {
    static DialogPlace place;
    return place;
}

void resetInversionDialogPlace() {
    inversionDialogPlace() = DialogPlace{};
}

int runInversionSteps(model::ProfileLine& p, model::PolygonModel& m, util::AxisRecord& axisMod,
                      util::AxisRecord& axisDat, const InversionControl& control,
                      const InversionStep& step) {
    const InversionHost& host = inversionHost();
    resetLatch();
    callHost(host.plotBodies, axisMod, p, m, m.NBOD + 1);

    callHost(host.loadDialog, kProgressDialog);
    callHost(host.selectDialog, kProgressDialog);
    callHost(host.putString, kStatusField, "Starting Inversion");
    callHost(host.putProgress, kProgressField, 0);
    DialogPlace& place = inversionDialogPlace();
    callHost(host.showDialog, place.x, place.y, 0, kSemiModeless);

    int taken = 0;
    for (int i = 1; i <= control.maxIterations; ++i) {
        callHost(host.putString, kIterationField, iterationText(i, control.maxIterations));
        const float before = p.RMSERR;
        int status = 0;
        step(p, m, status);
        ++taken;
        if (cancelled() || status != 0) break;
        callHost(host.plotProfile, axisDat, p);
        callHost(host.plotBodies, axisMod, p, m, m.NBOD + 1);
        if (before * control.improvement < p.RMSERR) break;
        if (p.RMSERR < control.targetRms) break;
    }

    resetLatch();
    callHost(host.dialogPosition, place.x, place.y);
    callHost(host.hideDialog);
    return taken;
}

void MORE_STEPS(model::ProfileLine& p, model::PolygonModel& m, int& istat,
                util::AxisRecord& axisMod, util::AxisRecord& axisDat,
                const InversionControl& control) {
    istat = -1;
    runInversionSteps(p, m, axisMod, axisDat, control,
                      [&](model::ProfileLine& profile, model::PolygonModel& model, int& status) {
                          ONE_STEP(profile, model, status, axisMod, axisDat);
                      });
}

}  // namespace calc
