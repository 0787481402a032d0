#include "shell/profile_edit.h"

#include <string_view>

#include "calc/forward_calc.h"
#include "shell/shell_state.h"
#include "toolkit/core/window_api.h"
#include "util/axis_scaling.h"

namespace shell {

util::AxisRecord& dataAxis() {
    return workingProfile().AXES[0];
}

util::AxisRecord& sectionAxis() {
    return workingProfile().AXES[4];
}

model::PolygonModel& workingModel() {
    return workingProfile().MODEL;
}

float inchesX(int x) {
    return static_cast<float>(x) * 10.0f / 10000.0f;
}

float inchesY(int y) {
    return static_cast<float>(10000 - y) * 8.0f / 10000.0f;
}

float graphX(int x, const util::AxisRecord& axis) {
    return util::XOFPL(inchesX(x), axis);
}

float graphY(int y, const util::AxisRecord& axis) {
    return util::YOFPL(inchesY(y), axis);
}

bool magneticData() {
    return workingProfile().DTYPE.view().find("Mag") != std::string_view::npos;
}

bool gravityData() {
    return workingProfile().DTYPE.view().find("ravi") != std::string_view::npos;
}

void selectProfileWindow() {
    if (profileWindowOpen()) tk::OutputWindowSelect(profileWindow());
}

void markProfileChanged() {
    workingProfile().LSAVED = false;
}

void calculate() {
    calc::CALC(workingProfile(), 0);
}

views::HoverOutput& hoverOutput() {
    return views::toolkitHoverOutput();
}

}  // namespace shell
