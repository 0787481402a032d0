#include "calc/unit_factors.h"

#include <cmath>
#include <string_view>

#include "util/message_boxes.h"
#include "util/text_clean.h"
#include "util/text_span.h"

namespace calc {

float FCTFND(base::FixedString<8>& unit) {
    const int n = static_cast<int>(unit.size());
    util::NCHRCK(util::chars(unit), n);
    if (unit.blank()) unit.assign("M");
    util::LCTOUC(util::chars(unit), n);
    const std::string_view name = unit.trimmed();
    if (name == "KM") return 1.0f;
    if (name == "MI" || name == "MILES") return 1.60934f;
    if (name == "KFT") return 0.3048f;
    if (name == "FT") return 0.0003048f;
    if (name == "M") return 0.001f;
    util::WINMSG("INVALID UNIT IN FCTFND");
    return 0.0f;
}

void RES3D(const float& A, const float& I, const float& D, double& X, double& Y, double& Z) {
    const float inc = I / model::kDegreesPerRadian;
    const float dec = D / model::kDegreesPerRadian;
    const float horizontal = A * std::cos(inc);
    X = horizontal * std::sin(dec);
    Y = horizontal * std::cos(dec);
    Z = A * std::sin(inc);
}

}  // namespace calc
