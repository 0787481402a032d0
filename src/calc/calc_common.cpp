#include "calc/calc_common.h"

namespace calc {

CalcCommon& calcCommon() {
    static CalcCommon common;
    return common;
}

}  // namespace calc
