#include "model/strike_fold.h"

#include <cmath>

namespace model {

void STRK180(const float& strike, const float& azim, float& result) {
    float r = strike;
    // A half-turn cannot bring an infinite strike any nearer; stop instead of
    // turning forever.
    while (std::isfinite(r)) {
        const float b = r - azim + 90.0f;
        if (std::abs(b) <= 30.0f) break;
        if (b > 150.0f) {
            r -= 180.0f;
        } else if (b < -150.0f) {
            r += 180.0f;
        } else {
            break;
        }
    }
    result = r;
}

}  // namespace model
