#pragma once
// The fixed heads of a profile record (332 bytes) and of the profile database
// (48 bytes). The database file stores both byte for byte; reserved bytes are
// carried as held. A head fresh from the default record is all zero bytes,
// text fields included.

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/fixed_string.h"

namespace model {

// A text field of zero bytes, as the default record holds it.
template <std::size_t N>
base::FixedString<N> zeroText() {
    base::FixedString<N> s;
    for (std::size_t k = 0; k < N; ++k)
        s[k] = '\0';
    return s;
}

struct ProfileHeader {
    base::FixedString<20> PNAME = zeroText<20>();    //   0 profile name
    base::FixedString<20> DTYPE = zeroText<20>();    //  20 data-type name
    base::FixedString<20> SRCNAME = zeroText<20>();  //  40 source of the data
    base::FixedString<4> CUNIT = zeroText<4>();      //  60 coordinate unit tag
    std::array<base::FixedString<4>, 2> DUNIT{zeroText<4>(), zeroText<4>()};  // 64 data units
    std::int32_t NSTA = 0;                                                    //  72 stations
    std::int32_t NCOMP = 0;   //  76 data components, 1 or 2
    std::int32_t NDGRAF = 0;  //  80 data graphs
    std::int32_t NLGRAF = 0;  //  84 section graphs
    std::int32_t NVSTA = 0;   //  88 stations of a VLF data set
    std::int32_t NVLIN = 0;   //  92 lines of a VLF data set
    std::int32_t MVLIN = 0;   //  96 line capacity of a VLF data set
    std::int32_t MVSTA = 0;   // 100 station capacity of a VLF data set
    std::array<std::uint8_t, 20> reserved104{};
    bool LSYN = false;    // 124 synthetics valid
    bool LVDIR = false;   // 128 VLF line numbers carry a direction letter
    float EFIRST = 0.0f;  // 132 easting of station 1
    float NFIRST = 0.0f;  // 136 northing of station 1
    float ELAST = 0.0f;   // 140 easting of station NSTA
    float NLAST = 0.0f;   // 144 northing of station NSTA
    std::array<std::uint8_t, 12> reserved148{};
    base::FixedString<4> TUNIT = zeroText<4>();  // 160 time-unit tag
    std::array<std::uint8_t, 48> reserved164{};
    float RMSERR = 0.0f;          // 212 misfit of the last calculation
    float RMSERR2 = 0.0f;         // 216 the same value
    std::array<float, 5> XREG{};  // 220 regional control distances
    std::array<float, 5> YREG{};  // 240 regional control values
    std::array<std::uint8_t, 20> reserved260{};
    std::int32_t NREG = 0;                       // 280 regional mode
    base::FixedString<8> XUNIT = zeroText<8>();  // 284 horizontal unit
    base::FixedString<8> ZUNIT = zeroText<8>();  // 292 vertical unit
    float FIELD = 0.0f;                          // 300 inducing field, nT
    float FINCL = 0.0f;                          // 304 inclination, degrees
    float FDECL = 0.0f;                          // 308 declination, degrees
    std::int32_t ISUSUN = 0;                     // 312 susceptibility unit code
    std::int32_t IDENUN = 0;                     // 316 density unit code
    std::int32_t IELEV = 0;                      // 320 sensor elevation mode
    float SENSHT = 0.0f;                         // 324 sensor height
    bool LMASKU = false;                         // 328 masked points are used too

    bool operator==(const ProfileHeader&) const = default;
};

struct DatabaseHeader {
    base::FixedString<24> DBNAME = zeroText<24>();  //  0 database name
    std::array<std::uint8_t, 8> reserved24{};
    std::int32_t NPROF = 0;  // 32 profile count
    std::array<std::uint8_t, 4> reserved36{};
    bool LDBSAV = false;  // 40 database saved
    std::array<std::uint8_t, 4> reserved44{};

    bool operator==(const DatabaseHeader&) const = default;
};

}  // namespace model
