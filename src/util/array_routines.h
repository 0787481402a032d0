#pragma once
// Routines on one-dimensional arrays passed with an explicit element count N
// (a count of 0 or less is an empty array). Positions and indices are counted
// from 1; counts beyond the array given are cut to it.

#include <algorithm>
#include <cstdint>
#include <span>

namespace util {

// Sum of X(1 + (i-1) INCX) Y(1 + (i-1) INCY), i = 1..N, accumulated in
// double; terms whose index falls outside either array are not taken.
float XTY(std::span<const float> x, int incx, std::span<const float> y, int incy, int n);
// A(i) := A(i) + C, but FLOOR when the sum is below it.
void ADDTO(std::span<float> a, int n, float c, float floor);
void IADDTO(std::span<std::int32_t> a, int n, std::int32_t c, std::int32_t floor);
// Copies N elements FROM -> TO in increasing order.
template <typename T>
void COPY(std::span<T> to, std::span<const T> from, int n);
float SUMOF(std::span<const float> a, int n);
// Average of the elements not above 1.0E10 (0 when none counts).
float AVGOF(std::span<const float> a, int n);
// A(i) := A(i) - S B(i).
void VMXU(std::span<float> a, float s, std::span<const float> b, int n);
void ERASE(std::span<float> a, int n);
void ERASEI(std::span<std::int32_t> a, int n);
template <typename T>
void SWAP(T& a, T& b) {
    T t = a;
    a = b;
    b = t;
}
// Placeholder of the library's interface.
int MEMORY();
// Widening with sign extension.
void I2TOI4(std::span<const std::int16_t> i2, std::span<std::int32_t> i4, int n);
void L1TOL4(std::span<const std::int8_t> l1, std::span<std::int32_t> l4, int n);

// Shifts A(1:N) by K places (towards higher indices for K > 0), filling the
// vacated places; nothing when K = 0 or abs(K) >= N.
template <typename T>
void shiftArray(std::span<T> a, int n, int k, T vacated);
void SHIFTF(std::span<float> a, int n, int k);
void SHIFTI(std::span<std::int32_t> a, int n, int k);
void SHIFTI2(std::span<std::int16_t> a, int n, int k);
void SHIFTL(std::span<bool> a, int n, int k);
void SHIFTC(std::span<char> a, int n, int k);
void SHIFTL1(std::span<std::int8_t> a, int n, int k);

// Stores X at A(IPOS) after moving A(IPOS:N) up by one (A(N) is lost);
// nothing unless 1 <= IPOS <= N.
void INSRTF(std::span<float> a, int ipos, int n, float x);
void INSRTI(std::span<std::int32_t> a, int ipos, int n, std::int32_t x);
void INSRTL(std::span<bool> a, int ipos, int n, bool x);
void INSRTC(std::span<char> a, int ipos, int n, char x);

// Position at which X enters the sorted A(1:N); 0 when X equals an element.
int INSERT(std::span<const float> a, int n, float x);
// The same with equal values accepted.
int INSERTS(std::span<const float> a, int n, float x);
// Leading elements below 1.0E20.
int KOUNTEM(std::span<const float> a, int n);
// Nearest element to X0 closer than 1.0E20; -1 when none.
int NEARIV(float x0, std::span<const float> a, int n);
// Nearest element to X0 closer than 1.0E30; 0 when none.
int INDEXX(std::span<const float> a, int n, float x0);
// Widens VMIN..VMAX to the usable elements of A(1:N).
void FINDNX(std::span<const float> a, int n, float& vmin, float& vmax);

template <typename T>
void COPY(std::span<T> to, std::span<const T> from, int n) {
    const std::size_t count = n <= 0 ? 0 : static_cast<std::size_t>(n);
    for (std::size_t i = 0; i < count && i < to.size() && i < from.size(); ++i)
        to[i] = from[i];
}

template <typename T>
void shiftArray(std::span<T> a, int n, int k, T vacated) {
    if (n < 1 || k == 0) return;
    const std::int64_t count = std::min<std::int64_t>(n, static_cast<std::int64_t>(a.size()));
    const std::int64_t by = k < 0 ? -static_cast<std::int64_t>(k) : k;
    if (by >= count) return;
    if (k > 0) {
        for (std::int64_t i = count - 1; i >= by; --i)
            a[i] = a[i - by];
        for (std::int64_t i = 0; i < by; ++i)
            a[i] = vacated;
    } else {
        for (std::int64_t i = 0; i + by < count; ++i)
            a[i] = a[i + by];
        for (std::int64_t i = count - by; i < count; ++i)
            a[i] = vacated;
    }
}

}  // namespace util
