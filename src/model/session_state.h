#pragma once
// The fields of the application's run-time state that the model operations
// read and write, and the buffer of the body being digitised. Both are single
// records for the whole program; the shell owns their meaning, the model layer
// holds them so that it can reach them without looking upwards.

#include <array>
#include <cstdint>

#include "base/fixed_string.h"

namespace model {

struct SessionState {
    int CurrentProfile = 0;          // selected profile, 0 = none
    int ProfileWindow = -1;          // profile window number, 1 or more while open
    base::FixedString<8> ViewXUnit;  // horizontal unit of the working profile
    base::FixedString<8> ViewZUnit;  // vertical unit of the working profile
    // The last move or edit left a vertex that fails the legality test.
    bool BadModel = false;
    // Set at the start of a body drag: some vertex of another body follows the
    // dragged body, or the dragged body follows a vertex outside it.
    bool DragLocksFromOutside = false;
    bool DragLocksToOutside = false;
    // The pivot travels with the body while it is rotated.
    bool PivotMovesWhileRotating = false;
    // Hidden bodies are left out of the calculation (set by no command).
    bool HiddenBodies = false;
};

SessionState& sessionState();
void resetSessionState();

inline constexpr int kNewBodyCapacity = 1000;

// The points of the body or layer being digitised, in point order.
struct NewBodyBuffer {
    std::int32_t n = 0;  // points held, 0 when nothing is being digitised
    std::array<float, kNewBodyCapacity> X{};
    std::array<float, kNewBodyCapacity> Z{};
    std::array<bool, kNewBodyCapacity> freeX{};
    std::array<bool, kNewBodyCapacity> freeZ{};
    // Index the point will have in the model when free, else the vertex it is
    // snapped and locked to.
    std::array<std::int32_t, kNewBodyCapacity> leader{};
};

NewBodyBuffer& newBodyBuffer();
void resetNewBodyBuffer();

}  // namespace model
