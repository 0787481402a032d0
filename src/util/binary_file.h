#pragma once
// The library's byte-level file routines over the toolkit's binary file I/O.
// Reads and writes answer the shortfall: the bytes asked for less the bytes
// moved (0 = complete; N + 1 after a failure the toolkit has reported), so
// that a caller can chain transfers and test each for 0.

#include <cstdint>
#include <string_view>

namespace util {

int IOPNFIL(std::string_view name);  // existing file, read and write
int IOPNRLY(std::string_view name);  // existing file, read only
int MAKEFIL(std::string_view name);  // created or truncated, for writing
int ICLSFIL(int ih);

int IREDFIL(int ih, char* buf, int n);
int ICREDFIL(int ih, char* buf, int n);
int JREDFIL(int ih, void* a, int n);
int JREDFIL2(int ih, void* a, int n);
int JREDFIL3(int ih, void* a, int n);
int IRITFIL(int ih, const char* buf, int n);
int JRITFIL(int ih, const void* a, int n);
int JRITFIL2(int ih, const void* a, int n);
int JRITFIL3(int ih, const void* a, int n);

// Absolute position; 0, or -1 on failure.
int ISETFIL(int ih, int ipos);
// Moves n bytes on and gives the new position in ipos; 0, or -1 on failure.
int IADVFIL(int ih, int n, int& ipos);

// Reverse the bytes of each of n items of 4, 8 or 2 bytes in place.
void F4SWAP(void* a, int n);
void F8SWAP(void* a, int n);
void I2SWAP(void* a, int n);

// Four signed 4-bit fields: low and high half of b[0], then of b[1].
void SPLEXP(const std::uint8_t b[2], int k[4]);

// The 20-byte section header of the database file: the 8-character tag and
// three little-endian 32-bit integers. Stops at the first incomplete transfer
// and answers its shortfall.
int IRITHEAD(int ih, std::string_view tag, std::int32_t i1, std::int32_t i2, std::int32_t i3);

}  // namespace util
