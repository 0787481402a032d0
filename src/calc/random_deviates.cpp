#include "calc/random_deviates.h"

#include <cmath>

#include "util/message_boxes.h"

namespace calc {

namespace {

constexpr std::int32_t M1 = 259200, IA1 = 7141, IC1 = 54773;
constexpr std::int32_t M2 = 134456, IA2 = 8121, IC2 = 28411;
constexpr std::int32_t M3 = 243000, IA3 = 4561, IC3 = 51349;
constexpr float RM1 = 1.0f / static_cast<float>(M1);
constexpr float RM2 = 1.0f / static_cast<float>(M2);

float tableEntry(std::int32_t k1, std::int32_t k2) {
    return (static_cast<float>(k1) + static_cast<float>(k2) * RM2) * RM1;
}

}  // namespace

RandomDeviateState& randomDeviateState() {
    static RandomDeviateState state;
    return state;
}

float RAN1(std::int16_t& IDUM) {
    RandomDeviateState& s = randomDeviateState();
    if (IDUM < 0 || !s.initialised) {
        s.initialised = true;
        s.K1 = (IC1 - IDUM) % M1;
        s.K1 = (IA1 * s.K1 + IC1) % M1;
        s.K2 = s.K1 % M2;
        s.K1 = (IA1 * s.K1 + IC1) % M1;
        s.K3 = s.K1 % M3;
        for (float& entry : s.R) {
            s.K1 = (IA1 * s.K1 + IC1) % M1;
            s.K2 = (IA2 * s.K2 + IC2) % M2;
            entry = tableEntry(s.K1, s.K2);
        }
        IDUM = 1;
    }
    s.K1 = (IA1 * s.K1 + IC1) % M1;
    s.K2 = (IA2 * s.K2 + IC2) % M2;
    s.K3 = (IA3 * s.K3 + IC3) % M3;
    const std::int32_t J = 1 + (97 * s.K3) / M3;
    if (J < 1 || J > 97) {
        util::WINWRN("J NOT BTW. 1 AND 97");
        return 0.5f;
    }
    const float result = s.R[static_cast<std::size_t>(J - 1)];
    s.R[static_cast<std::size_t>(J - 1)] = tableEntry(s.K1, s.K2);
    return result;
}

float GASDEV(std::int16_t& IDUM) {
    RandomDeviateState& s = randomDeviateState();
    if (s.deviateSaved) {
        s.deviateSaved = false;
        return s.savedDeviate;
    }
    float p = 0.0f, q = 0.0f, r = 0.0f;
    // r = 0 would divide by zero below; it is drawn again like r >= 1.
    do {
        p = 2.0f * RAN1(IDUM) - 1.0f;
        q = 2.0f * RAN1(IDUM) - 1.0f;
        r = p * p + q * q;
    } while (r >= 1.0f || r == 0.0f);
    const float fac = std::sqrt(-2.0f * std::log(r) / r);
    s.savedDeviate = p * fac;
    s.deviateSaved = true;
    return q * fac;
}

}  // namespace calc
