// Writes the seed corpus of the identification fuzzer: a small file of each
// kind it tells apart, with the header facts and the text it reads.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/little_endian.h"

namespace {

std::string le16(int v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
std::string le32(long long v) {
    return le16(static_cast<int>(v & 0xFFFF)) + le16(static_cast<int>(v >> 16 & 0xFFFF));
}
std::string be16(int v) {
    return {static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v & 0xFF)};
}
std::string cgm(int cls, int id, const std::string& p) {
    std::string e = be16(cls << 12 | id << 5 | static_cast<int>(p.size())) + p;
    return p.size() % 2 ? e + '\0' : e;
}

void put(const std::string& folder, const std::string& name, std::string content) {
    content.resize(std::max<std::size_t>(content.size(), 8), '\0');
    if (!base::writeFile(folder + "/" + name, std::vector<std::uint8_t>(content.begin(), content.end()))) {
        std::fprintf(stderr, "cannot write %s\n", name.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string f = argv[1];
    put(f, "bmp", "BM" + le32(0) + le32(0) + le32(54) + le32(40) + le32(64) + le32(48) + le16(1) +
                      le16(24) + le32(0));
    std::string pcx = std::string("\x0a\x05\x01\x08", 4) + le16(0) + le16(0) + le16(9) + le16(9);
    pcx.resize(128, '\0');
    pcx[65] = 3;
    put(f, "pcx", pcx);
    put(f, "wmf", le32(0x9AC6CDD7LL) + le16(0) + le16(0) + le16(0) + le16(1440) + le16(720) +
                      le16(1440) + le32(0) + le16(0));
    std::string emf = le32(1) + le32(108) + std::string(16, '\0') + le32(0) + le32(0) +
                      le32(2540) + le32(1270);
    emf.resize(44, '\0');
    emf.replace(40, 4, " EMF");
    put(f, "emf", emf);
    put(f, "cgm", cgm(0, 1, "\x03" "abc") + cgm(1, 4, be16(16)) + cgm(1, 3, be16(0)) +
                      cgm(1, 17, be16(0) + be16(0) + be16(300) + be16(100)) +
                      cgm(0, 3, "\x01p") + cgm(2, 6, be16(0) + be16(0) + be16(40) + be16(10)) +
                      cgm(0, 4, "") + cgm(0, 5, "") + cgm(0, 2, ""));
    put(f, "pic", std::string("\x01\x00\x00\x00\x01\x00\x08\x00\x44\x00\x00\x00\x00\x0c\x00\x00\x00", 17) +
                      std::string("\x60\xa0\x01\x02\x03\x04\xa8\x01" "ab\x00\x30", 12) + le32(1) +
                      std::string(8, '\x61'));
    put(f, "draw", "Draw" + std::string(28, '\0') + le32(6400) + le32(3200));
    put(f, "pcl", "\x1b" "E\x1b*t300R\x1b(s3u1A");
    put(f, "escp", std::string("\x1b@\x1br\x04\x1b(U\x01\x00\x0a", 12));
    put(f, "png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0d" "IHDR\0\0\x01\0\0\0\0\x80\x08\x02\0\0\0", 29));
    put(f, "svg", "<?xml version=\"1.0\"?>\r\n<!DOCTYPE svg SYSTEM \"\">\r\n"
                  "<svg width=\"640\" height=\"480\" xmlns=\"http://www.w3.org/2000/svg\">\r\n</svg>\r\n");
    put(f, "eps", "%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 540 756\r\n%%EOF\r\n");
    put(f, "dxf", "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$EXTMIN\r\n 10\r\n0.0\r\n 20\r\n0.0\r\n"
                  "  9\r\n$EXTMAX\r\n 10\r\n10.5\r\n 20\r\n7.5\r\n  0\r\nEOF\r\n");
    put(f, "dxf-comment", "999\r\nseed\r\n  0\r\nSECTION\r\n");
    put(f, "hpgl", "IN; IP 395 0 10865 7478\r\nSC-13 1 0 32760\r\nPU0 0\r\nPD10 10\r\n"
                   "SC-3 32 0 32760 ;SC0 32760 0 32760\r\n");
    put(f, "hpgl2", "\x1b%0B\r\nCO\": title\"\r\nIN; IP 0 0 10851 7916\r\nCO\"13 3 1.2 9\"\r\n"
                    "PU0 0\r\nPE7OXkUKe;\r\nCO\"3 32\"\r\n\x1b%0A\r\n");
    return 0;
}
