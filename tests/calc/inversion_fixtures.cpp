#include "inversion_fixtures.h"

#include <cmath>
#include <memory>

#include "calc/inversion_host.h"
#include "calc/inversion_iterations.h"
#include "calc/inversion_parameters.h"
#include "model/body_area.h"
#include "model/body_nesting.h"
#include "platform/message_box.h"
#include "toolkit/core/toolkit_state.h"
#include "util/abort_poll.h"
#include "model/outline_model.h"

namespace inversion_test {

Outline square(float x0, float z0, float size) {
    return {{x0, z0}, {x0 + size, z0}, {x0 + size, z0 - size}, {x0, z0 - size}};
}

model::PolygonModel makeModel(const std::vector<Outline>& bodies) {
    model::PolygonModel m;
    model_test::allocateOutlines(m, bodies, model_test::flatSurface(0.0f));
    for (int b = 1; b <= m.NBOD; ++b) {
        m.DENS(b) = 0.1f * static_cast<float>(b);
    }
    bool changed = false;
    model::BOLEVL(m, changed);
    model::FDAREA(m);
    return m;
}

model::ProfileLine makeProfile(int nsta, model::PolygonModel m) {
    model::ProfileLine p;
    p.NSTA = nsta;
    p.NCOMP = 1;
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= nsta; ++i) {
        p.STAT(i) = static_cast<float>(i);
        p.EAST(i) = static_cast<float>(i);
        p.DAT(i, 1) = 0.0f;
        p.SYN(i, 1) = 0.0f;
    }
    p.DTYPE = base::FixedString<20>("Gravity Data");
    p.XUNIT = base::FixedString<8>("KM");
    p.ZUNIT = base::FixedString<8>("KM");
    p.IDENUN = 1;
    p.ISUSUN = 1;
    p.MODEL = std::move(m);
    return p;
}

void computeRms(model::ProfileLine& p) {
    double sum = 0.0;
    int n = 0;
    for (int i = 1; i <= p.NSTA; ++i) {
        if (!(p.DAT(i, 1) < 1.0E10f) || (p.MASK(i, 1) && !p.LMASKU)) continue;
        const double r = p.DAT(i, 1) - p.SYN(i, 1);
        sum += r * r;
        ++n;
    }
    const float rms =
        n > 0 ? static_cast<float>(std::sqrt(std::abs(static_cast<float>(sum) / n) + 1.0E-30))
              : 0.0f;
    p.RMSERR = rms;
    p.RMSERR2 = rms;
    p.LSYN = true;
    p.LSAVED = false;
}

void bindHost(HostLog& log, Forward forward) {
    tk::toolkitState().reset();
    win::testing::resetMessageBoxes();
    calc::InversionHost& h = calc::inversionHost();
    h.forward = nullptr;
    if (forward) {
        h.forward = [&log, forward](model::ProfileLine& p, int) {
            ++log.forwardCalls;
            forward(p);
        };
    }
    h.putString = [&log](int field, std::string_view t) {
        if (field == calc::kStatusField) log.statuses.emplace_back(t);
        if (field == calc::kIterationField) log.iterations.emplace_back(t);
    };
    h.putReal = [&log](int field, float v, std::string_view) { log.reals.emplace_back(field, v); };
    h.putProgress = [&log](int, int v) { log.progress.push_back(v); };
    h.loadDialog = [&log](int) { ++log.loads; };
    h.selectDialog = [](int) {};
    h.showDialog = [&log](int, int, int, int type) {
        ++log.shows;
        log.showTypes.push_back(type);
    };
    h.hideDialog = [&log] { ++log.hides; };
    h.dialogPosition = [](int& x, int& y) {
        x = 120;
        y = 80;
    };
    h.cursorShape = [&log](int s) { log.cursor.push_back(s); };
    h.windowTextAt = [&log](int, int, std::string_view t) { log.windowTexts.emplace_back(t); };
    h.plotBodies = [&log](util::AxisRecord&, const model::ProfileLine&, const model::PolygonModel&,
                          int) { ++log.plotBodies; };
    h.plotProfile = [&log](util::AxisRecord&, const model::ProfileLine&) { ++log.plotProfile; };
    h.refreshModel = [&log](const model::ProfileLine&, const model::PolygonModel&, int) {
        ++log.refreshModel;
    };
    h.refreshData = [&log](const model::ProfileLine&) { ++log.refreshData; };
}

std::shared_ptr<int> scriptEvents(std::vector<int> types) {
    auto looks = std::make_shared<int>(0);
    util::setEventPeek([looks, types = std::move(types)](util::EventWords& record) {
        record.fill(0);
        const auto k = static_cast<std::size_t>((*looks)++);
        return k < types.size() ? types[k] : -1;
    });
    return looks;
}

namespace {
std::vector<std::string> boxes(win::UINT icon) {
    std::vector<std::string> texts;
    for (const auto& box : win::testing::messageBoxes()) {
        if ((box.style & win::MB_ICONMASK) == icon) texts.push_back(box.text);
    }
    return texts;
}
}  // namespace

std::vector<std::string> informationBoxes() {
    return boxes(win::MB_ICONINFORMATION);
}

std::vector<std::string> warningBoxes() {
    return boxes(win::MB_ICONEXCLAMATION);
}

void unbindAll() {
    win::testing::resetMessageBoxes();
    calc::resetInversionHost();
    calc::resetInversionSettings();
    calc::resetInversionDialogPlace();
    util::setEventPeek(nullptr);
    util::resetAbortPollState();
}

}  // namespace inversion_test
