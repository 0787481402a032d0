#pragma once
// Small numeric problems: the linear solver of the inversion, table and
// Lagrange interpolation, and a sort that carries companion arrays.
// Arrays are counted from 1 and passed with their element count.

#include <span>

namespace util {

// The library's remembered numeric state; one per process.
struct NumericState {
    int solveError = 0;       // 0 after a good SOLVE, -1 after a failed one
    int terpolInterval = 0;   // interval last used by TERPOL
    int dterpolInterval = 0;  // interval last used by DTERPOL
};
NumericState& numericState();
void resetNumericState();

// Solves N equations for M right-hand sides in place, without row exchange.
// A holds the N x N coefficients (each equation's N contiguous), then the
// N x M right-hand sides (each equation's M contiguous); the solution
// replaces the right-hand sides. Returns the error flag: 0, or -1 when a
// pivot was below 1.0E-10 (the system is then left partly reduced).
int SOLVE(std::span<float> a, int n, int m);

// Linear interpolation in the monotonic table X/Y(1:N) at X0; end values
// outside the table; a missing value (above 1.0E10) is never blended.
float TERPOL(std::span<const float> x, std::span<const float> y, int n, float x0);
// The same over double abscissae; IFOUND receives the interval used.
float DTERPOL(std::span<const double> x, std::span<const float> y, int n, double x0, int& ifound);
// Value at X0 of the Lagrange polynomial through (X(i), Y(i)), i = 1..N.
float FLAGRI(std::span<const float> x, std::span<const float> y, float x0, int n);
// Sorts A1(1:N) ascending (stable bubble sort) carrying A2..AM along.
void ORDER5(std::span<float> a1, std::span<float> a2, std::span<float> a3, std::span<float> a4,
            std::span<float> a5, int n, int m);

}  // namespace util
