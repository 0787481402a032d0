#include "calc/unit_factors.h"

#include <cmath>
#include <string_view>

#include "calc/library_seam.h"

namespace calc {

float FCTFND(base::FixedString<8>& unit) {
    const int n = static_cast<int>(unit.size());
    NCHRCK(unit.data(), n);
    if (unit.blank()) unit.assign("M");
    LCTOUC(unit.data(), n);
    const std::string_view name = unit.trimmed();
    if (name == "KM") return 1.0f;
    if (name == "MI" || name == "MILES") return 1.60934f;
    if (name == "KFT") return 0.3048f;
    if (name == "FT") return 0.0003048f;
    if (name == "M") return 0.001f;
    WINMSG("INVALID UNIT IN FCTFND");
    return 0.0f;
}

void STRK180(const float& strike, const float& azim, float& result) {
    float folded = strike;
    for (;;) {
        const float b = folded - azim + 90.0f;
        if (std::fabs(b) <= 30.0f) break;
        float next = folded;
        if (b > 150.0f) {
            next = folded - 180.0f;
        } else if (b < -150.0f) {
            next = folded + 180.0f;
        }
        // Stops as well when a half-turn no longer changes an absurdly large
        // angle, which would otherwise never end.
        if (next == folded) break;
        folded = next;
    }
    result = folded;
}

void RES3D(const float& A, const float& I, const float& D, double& X, double& Y, double& Z) {
    const float inc = I / kDegreesPerRadian;
    const float dec = D / kDegreesPerRadian;
    const float horizontal = A * std::cos(inc);
    X = horizontal * std::sin(dec);
    Y = horizontal * std::cos(dec);
    Z = A * std::sin(inc);
}

}  // namespace calc
