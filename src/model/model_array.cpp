#include "model/model_array.h"

namespace model {

AllocationFaults& allocationFaults() {
    static AllocationFaults faults;
    return faults;
}

bool allocationPermitted() {
    auto& f = allocationFaults();
    if (f.countdown < 0) return true;
    if (f.countdown == 0) {
        f.countdown = -1;  // one failure per arming
        return false;
    }
    --f.countdown;
    return true;
}

}  // namespace model
