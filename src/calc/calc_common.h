#pragma once
// The double-precision values that the forward calculation and the edge term
// share: the field of the last edge evaluated, the unit direction of the
// inducing field and the magnetisation of the body being summed.

namespace calc {

struct CalcCommon {
    double Bx = 0.0;  // across-strike field of the last edge
    double By = 0.0;  // along-strike field of the last edge
    double Bz = 0.0;  // vertical field of the last edge (positive down)
    double Fx = 0.0;  // unit inducing direction, across strike
    double Fy = 0.0;  // along strike
    double Fz = 0.0;  // vertical, positive down
    double Mx = 0.0;  // magnetisation of the current body, across strike
    double My = 0.0;  // along strike
    double Mz = 0.0;  // vertical

    void reset() { *this = CalcCommon{}; }
};

// The one record of the program. Calculations that run on several threads
// keep a private copy per thread instead of writing this one.
CalcCommon& calcCommon();

}  // namespace calc
