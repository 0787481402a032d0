#pragma once
// The choice of the displayed data components (dialog 191) and of a
// section's display type (dialog 188). No command opens it.

#include "model/profile_line.h"

namespace shell {

// DISPLAYTYPE 1..6 and COMPONENT 1..3 (3 = both) in and out; STATUS 0 after
// OK, -1 after Cancel or for loop-source transient data, which have no two
// components.
void GETPLOTTYPE(const model::ProfileLine& profile, int& displayType, int& component,
                 int components, int& status);

}  // namespace shell
