#pragma once
// Arithmetic written once for a single double and for a pack of four doubles,
// so that the edge term evaluated for one station and for four stations side
// by side gives the same bits in every lane. Branches become selections; the
// angle (arctangent) and the logarithm are our own (classic argument
// reduction and minimax polynomials, within a unit or two in the last place)
// because the library's functions have no pack form with the same results.

#include <bit>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

// Packs are passed by value between functions that are all inlined and
// private to each translation unit (the pack code is compiled once per
// instruction set), so the note that the vector calling convention differs
// without AVX does not concern us.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace calc::lanes {
// Private to every translation unit: the same functions are built for several
// instruction sets and must never be merged by the linker.
namespace {

using Pack = double __attribute__((vector_size(32)));
using PackBits = std::int64_t __attribute__((vector_size(32)));
using PackUBits = std::uint64_t __attribute__((vector_size(32)));
inline constexpr int kPackWidth = 4;
#if defined(__AVX512F__)
// Eight lanes where the processor has 512-bit registers.
using Pack8 = double __attribute__((vector_size(64)));
using Pack8Bits = std::int64_t __attribute__((vector_size(64)));
using Pack8UBits = std::uint64_t __attribute__((vector_size(64)));
#endif

// Masks: bool for one double, all-ones lanes for a pack.
template <class D>
struct Traits;
template <>
struct Traits<double> {
    using Mask = bool;
    using Bits = std::int64_t;
    using UBits = std::uint64_t;
};
template <class D>
using MaskOf = typename Traits<D>::Mask;
template <class D>
using BitsOf = typename Traits<D>::Bits;
template <class D>
using UBitsOf = typename Traits<D>::UBits;

template <class D>
inline D splat(double v) {
    if constexpr (std::is_same_v<D, double>) {
        return v;
    } else {
        return D{} + v;
    }
}

inline constexpr std::int64_t kSignBit = std::int64_t(1) << 63;

inline std::int64_t bitsOf(double v) {
    return std::bit_cast<std::int64_t>(v);
}
inline double fromBits(std::int64_t b) {
    return std::bit_cast<double>(b);
}
inline std::uint64_t ubitsOf(double v) {
    return std::bit_cast<std::uint64_t>(v);
}
inline double fromUBits(std::uint64_t b) {
    return std::bit_cast<double>(b);
}
inline bool mAnd(bool a, bool b) {
    return a && b;
}
inline bool mOr(bool a, bool b) {
    return a || b;
}
inline bool mNot(bool a) {
    return !a;
}
inline bool anyOf(bool m) {
    return m;
}
inline double select(bool m, double a, double b) {
    return m ? a : b;
}
inline double absOf(double v) {
    return std::fabs(v);
}
inline double sqrtOf(double v) {
    return std::sqrt(v);
}

// The same operations for a pack type P with signed and unsigned lane bits.
#define PELK_PACK_OPERATIONS(P, PB, PU)                      \
    template <>                                              \
    struct Traits<P> {                                       \
        using Mask = PB;                                     \
        using Bits = PB;                                     \
        using UBits = PU;                                    \
    };                                                       \
    inline PB bitsOf(P v) {                                  \
        return reinterpret_cast<PB>(v);                      \
    }                                                        \
    inline P fromBits(PB b) {                                \
        return reinterpret_cast<P>(b);                       \
    }                                                        \
    inline PU ubitsOf(P v) {                                 \
        return reinterpret_cast<PU>(v);                      \
    }                                                        \
    inline P fromUBits(PU b) {                               \
        return reinterpret_cast<P>(b);                       \
    }                                                        \
    inline PB mAnd(PB a, PB b) {                             \
        return a & b;                                        \
    }                                                        \
    inline PB mOr(PB a, PB b) {                              \
        return a | b;                                        \
    }                                                        \
    inline PB mNot(PB a) {                                   \
        return ~a;                                           \
    }                                                        \
    inline bool anyOf(PB m) {                                \
        std::int64_t any = 0;                                \
        for (std::size_t k = 0; k < sizeof(PB) / 8; ++k)     \
            any |= m[k];                                     \
        return any != 0;                                     \
    }                                                        \
    inline P select(PB m, P a, P b) {                        \
        return m ? a : b;                                    \
    }                                                        \
    inline P absOf(P v) {                                    \
        return fromBits(bitsOf(v) & ~kSignBit);              \
    }

PELK_PACK_OPERATIONS(Pack, PackBits, PackUBits)
#if defined(__AVX512F__)
PELK_PACK_OPERATIONS(Pack8, Pack8Bits, Pack8UBits)
#endif
#undef PELK_PACK_OPERATIONS

inline Pack sqrtOf(Pack v) {
#if defined(__AVX__)
    return reinterpret_cast<Pack>(_mm256_sqrt_pd(reinterpret_cast<__m256d>(v)));
#elif defined(__SSE2__)
    const __m128d lo = _mm_sqrt_pd(_mm_set_pd(v[1], v[0]));
    const __m128d hi = _mm_sqrt_pd(_mm_set_pd(v[3], v[2]));
    Pack r;
    r[0] = _mm_cvtsd_f64(lo);
    r[1] = _mm_cvtsd_f64(_mm_unpackhi_pd(lo, lo));
    r[2] = _mm_cvtsd_f64(hi);
    r[3] = _mm_cvtsd_f64(_mm_unpackhi_pd(hi, hi));
    return r;
#else
    Pack r;
    for (int i = 0; i < kPackWidth; ++i)
        r[i] = std::sqrt(v[i]);
    return r;
#endif
}
#if defined(__AVX512F__)
inline Pack8 sqrtOf(Pack8 v) {
    return reinterpret_cast<Pack8>(_mm512_maskz_sqrt_pd(0xFF, reinterpret_cast<__m512d>(v)));
}
#endif

// The angle of the point (x, y) from the positive x axis, in [-pi, pi], for
// finite x and y: the tangent |y| / |x| is reduced to |t| < 7/16 around 0,
// 1/2, 1, 3/2 or infinity without forming the quotient first, so the angle
// costs one division, and a polynomial of degree 11 in t gives the
// arctangent of the reduced argument.
template <class D>
[[gnu::always_inline]] inline D angleOf(D y, D x) {
    constexpr double aT[] = {0x1.555555555550dp-2,  -0x1.999999998ebc4p-3, 0x1.24924920083ffp-3,
                             -0x1.c71c6fe231671p-4, 0x1.745cdc54c206ep-4,  -0x1.3b0f2af749a6dp-4,
                             0x1.10d66a0d03d51p-4,  -0x1.dde2d52defd9ap-5, 0x1.97b4b24760debp-5,
                             -0x1.2b4442c6a6c2fp-5, 0x1.0ad3ae322da11p-6};
    // By band: t = (p ay - q ax) / (p ax + q ay), the reductions of
    // a = ay / ax to a itself, (2a-1)/(2+a), (a-1)/(a+1), (a-1.5)/(1+1.5a)
    // and -1/a (multiplying by 1 or 2 and adding 0 are exact), and
    // atan(a) = hi + lo + atan(t).
    constexpr double pOf[5] = {1.0, 2.0, 1.0, 1.0, 0.0};
    constexpr double qOf[5] = {0.0, 1.0, 1.0, 1.5, 1.0};
    constexpr double hiOf[5] = {0.0, 0x1.dac670561bb4fp-2, 0x1.921fb54442d18p-1,
                                0x1.f730bd281f69bp-1, 0x1.921fb54442d18p+0};
    constexpr double loOf[5] = {0.0, 0x1.a2b7f222f65e2p-56, 0x1.1a62633145c07p-55,
                                0x1.007887af0cbbdp-56, 0x1.1a62633145c07p-54};
    constexpr double kPi = 0x1.921fb54442d18p+1;
    const D ay = absOf(y);
    const D ax = absOf(x);
    const auto band0 = ay < 0.4375 * ax;
    const auto band1 = ay < 0.6875 * ax;
    const auto band2 = ay < 1.1875 * ax;
    const auto band3 = ay < 2.4375 * ax;
    const auto pick = [&](const double(&table)[5]) {
        return select(band1, select(band0, splat<D>(table[0]), splat<D>(table[1])),
                      select(band2, splat<D>(table[2]),
                             select(band3, splat<D>(table[3]), splat<D>(table[4]))));
    };
    const D p = pick(pOf);
    const D q = pick(qOf);
    const D hi = pick(hiOf);
    const D lo = pick(loOf);
    const D t = (p * ay - q * ax) / (p * ax + q * ay);
    const D z = t * t;
    const D w = z * z;
    const D s1 = z * (aT[0] + w * (aT[2] + w * (aT[4] + w * (aT[6] + w * (aT[8] + w * aT[10])))));
    const D s2 = w * (aT[1] + w * (aT[3] + w * (aT[5] + w * (aT[7] + w * aT[9]))));
    const D firstQuadrant = hi - ((t * (s1 + s2) - lo) - t);
    const D magnitude = select(x < splat<D>(0.0), kPi - firstQuadrant, firstQuadrant);
    return fromBits(bitsOf(magnitude) ^ (bitsOf(y) & kSignBit));
}

// Natural logarithm: x = 2^k m with m in [sqrt(2)/2, sqrt(2)), and
// log(m) = f - f^2/2 + s (f^2/2 + R(s^2)) with f = m - 1, s = f / (2 + f).
template <class D>
[[gnu::always_inline]] inline D logOf(D x) {
    using Bits = UBitsOf<D>;
    constexpr double Lg1 = 0x1.5555555555593p-1, Lg2 = 0x1.999999997fa04p-2,
                     Lg3 = 0x1.2492494229359p-2, Lg4 = 0x1.c71c51d8e78afp-3,
                     Lg5 = 0x1.7466496cb03dep-3, Lg6 = 0x1.39a09d078c69fp-3,
                     Lg7 = 0x1.2f112df3e5244p-3;
    constexpr double ln2Hi = 0x1.62e42fee00000p-1, ln2Lo = 0x1.a39ef35793c76p-33;
    const Bits low32 = Bits{} + 0xffffffffu;

    // Subnormal arguments are scaled into the normal range first.
    const auto tiny = x < splat<D>(0x1p-1022);
    const D xs = select(tiny, x * 0x1p54, x);
    const Bits bits = ubitsOf(xs);
    const Bits hx = (bits >> 32) & low32;
    const Bits biased = (hx >> 20) & (Bits{} + 0x7ffu);
    const Bits mant = hx & (Bits{} + 0x000fffffu);
    // One more power of two when the mantissa is at least sqrt(2).
    const Bits up = (mant + 0x95f64u) & (Bits{} + 0x100000u);
    const Bits newHigh = mant | (up ^ (Bits{} + 0x3ff00000u));
    const D m = fromUBits((newHigh << 32) | (bits & low32));
    // k as a double, exactly: the exponent field placed in the mantissa of 2^52.
    const Bits kField = biased + (up >> 20);
    const D k = fromUBits(kField | (Bits{} + 0x4330000000000000u)) - splat<D>(0x1p52 + 1023.0) -
                select(tiny, splat<D>(54.0), splat<D>(0.0));

    const D f = m - 1.0;
    const D sq = f / (2.0 + f);
    const D z = sq * sq;
    const D w = z * z;
    const D t1 = w * (Lg2 + w * (Lg4 + w * Lg6));
    const D t2 = z * (Lg1 + w * (Lg3 + w * (Lg5 + w * Lg7)));
    const D R = t2 + t1;
    const D hfsq = 0.5 * f * f;
    const D result = k * ln2Hi - ((hfsq - (sq * (hfsq + R) + k * ln2Lo)) - f);

    const D inf = splat<D>(HUGE_VAL);
    D out = select(x == inf, inf, result);
    out = select(x == splat<D>(0.0), -inf, out);
    out = select(x < splat<D>(0.0), splat<D>(NAN), out);
    return select(x != x, x, out);
}

}  // namespace
}  // namespace calc::lanes

#pragma GCC diagnostic pop
