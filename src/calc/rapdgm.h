#pragma once
// Gravity and magnetic contribution of one edge of a polygonal body of finite
// strike extent, evaluated at a station in station-centred coordinates:
// X across the strike, Z depth below the station (positive down), Y along the
// strike, all in kilometres.

#include "calc/calc_common.h"

namespace calc {

// Edge from (X1, Z1) to (X2, Z2); Y1 and Y2 are the strike half-extents on the
// two sides of the section (both 0: a two-dimensional body). For gravity the
// result is to be multiplied by 6.673 times the density contrast (mGal); for
// magnetics it is the edge field projected on the inducing direction, to be
// multiplied by the field strength (nT), and the edge field is left in
// Bx, By, Bz of `common`. Magnetics reads F and M from `common`.
double RAPDGM(double X1, double Z1, double X2, double Z2, double Y1, double Y2, bool LMAG,
              CalcCommon& common);

// The same on the program's shared record.
inline double RAPDGM(double X1, double Z1, double X2, double Z2, double Y1, double Y2, bool LMAG) {
    return RAPDGM(X1, Z1, X2, Z2, Y1, Y2, LMAG, calcCommon());
}

}  // namespace calc
