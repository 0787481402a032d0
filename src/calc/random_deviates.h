#pragma once
// The noise generator: uniform deviates in (0, 1) from three linear
// congruential generators and a 97-entry shuffle table, and standard normal
// deviates from them by the polar Box-Muller method.

#include <array>
#include <cstdint>

namespace calc {

struct RandomDeviateState {
    bool initialised = false;
    std::int32_t K1 = 0, K2 = 0, K3 = 0;
    std::array<float, 97> R{};
    bool deviateSaved = false;
    float savedDeviate = 0.0f;

    void reset() { *this = RandomDeviateState{}; }
};

// The one generator of the program.
RandomDeviateState& randomDeviateState();

// A negative IDUM, or the first call of the run, restarts the sequence from
// IDUM and sets IDUM to 1.
float RAN1(std::int16_t& IDUM);
// Standard normal deviate; IDUM is passed on to RAN1.
float GASDEV(std::int16_t& IDUM);

}  // namespace calc
