#include "model/strike_fold.h"

#include <cmath>

namespace model {

void STRK180(const float& strike, const float& azim, float& result) {
    float r = strike;
    // A half-turn cannot bring an infinite strike, or one so large that 180
    // is lost in its rounding, any nearer; stop instead of turning forever.
    while (std::isfinite(r)) {
        const float b = r - azim + 90.0f;
        if (std::abs(b) <= 30.0f) break;
        float turned = r;
        if (b > 150.0f) {
            turned = r - 180.0f;
        } else if (b < -150.0f) {
            turned = r + 180.0f;
        }
        if (turned == r) break;
        r = turned;
    }
    result = r;
}

}  // namespace model
