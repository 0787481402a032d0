#include "calc/rapdgm.h"

#include "calc/edge_kernel.h"

namespace calc {

namespace {

template <lanes::StrikeCase C, bool Mag>
double caseTerm(double X1, double Z1, double X2, double Z2, double Y1, double Y2,
                const lanes::Magnetisation& mag, lanes::EdgeField<double>& field) {
    return lanes::edgeTerm<double, C, Mag>(lanes::vertexAt<double, C>(X1, Z1, Y1, Y2),
                                           lanes::vertexAt<double, C>(X2, Z2, Y1, Y2), Y1, Y2,
                                           mag, field);
}

template <bool Mag>
double evaluate(double X1, double Z1, double X2, double Z2, double Y1, double Y2,
                const lanes::Magnetisation& mag, lanes::EdgeField<double>& field) {
    using lanes::StrikeCase;
    if (Y1 == 0.0 && Y2 == 0.0) {
        return caseTerm<StrikeCase::TwoD, Mag>(X1, Z1, X2, Z2, Y1, Y2, mag, field);
    }
    if (Y1 == Y2) return caseTerm<StrikeCase::Symmetric, Mag>(X1, Z1, X2, Z2, Y1, Y2, mag, field);
    return caseTerm<StrikeCase::Asymmetric, Mag>(X1, Z1, X2, Z2, Y1, Y2, mag, field);
}

}  // namespace

double RAPDGM(double X1, double Z1, double X2, double Z2, double Y1, double Y2, bool LMAG,
              CalcCommon& common) {
    lanes::EdgeField<double> field{0.0, 0.0, 0.0};
    if (!LMAG) return evaluate<false>(X1, Z1, X2, Z2, Y1, Y2, {}, field);
    const lanes::Magnetisation mag{common.Mx, common.My, common.Mz,
                                   common.Fx, common.Fy, common.Fz};
    const double value = evaluate<true>(X1, Z1, X2, Z2, Y1, Y2, mag, field);
    common.Bx = field.Bx;
    common.By = field.By;
    common.Bz = field.Bz;
    return value;
}

}  // namespace calc
