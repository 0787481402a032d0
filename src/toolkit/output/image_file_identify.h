#pragma once
// Which of sixteen graphics formats a file holds, told from its first
// bytes, and what its header or text says of its size, colours, device and
// pages; with the counters of pages of plotter files, pictures and aspect of
// binary CGM files and pictures of picture files.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tk {

enum ImageFileKind : int {
    ImageUnreadable = -1,
    ImageUnknown = 0,
    ImageBmp = 1,
    ImagePcx = 2,
    ImageMetafile = 3,
    ImageHpgl = 4,
    ImageHpgl2 = 5,
    ImageCgm = 6,
    ImagePictureFile = 7,
    ImageDraw = 8,
    ImageTerminalGraphics = 9,
    ImagePostScript = 10,
    ImagePcl = 11,
    ImageEscP = 12,
    ImageEscPUnit = 13,
    ImageDxf = 14,
    ImagePng = 15,
    ImageSvg = 16,
};

// Entry 1 the kind; entries 2-6 width, height, colours or a count, a value
// of the kind, bits per pixel or pages; -1 where the format gives none.
// Counted from 1 as the callers count them.
struct ImageFileInfo {
    std::array<int, 6> entries{-1, -1, -1, -1, -1, -1};
    int& operator[](int k) { return entries[static_cast<std::size_t>(k - 1)]; }
    int operator[](int k) const { return entries[static_cast<std::size_t>(k - 1)]; }
};

// The kind of the bytes that begin a file (at most the first 128 are read),
// by the same tests as ImageFileIdentify; ImageUnreadable for fewer than 4.
int ImageKindOfBytes(const unsigned char* bytes, std::size_t size);

// Writes entry 1, and entries 2 to min(wanted, 6) when the file could be
// examined. Kind -1: no name, no file, or fewer than 4 bytes.
void ImageFileIdentify(std::string_view fileName, ImageFileInfo& info, int wanted);

std::uint32_t HeaderReadLittleEndian(const unsigned char* bytes, int size);
std::uint32_t HeaderReadBigEndian(const unsigned char* bytes);

// Pages of a file of the HP-GL or HP-GL/2 driver (its page-end records);
// at least 1. Errors under "YYCNTHPG": 1 open, 2 read, 3 close.
void YYCNTHPG(std::string_view fileName, int& pages);
// Pictures (at least 1) and the aspect (width / height of the maximum VDC
// extent, else the last VDC extent, else 1) of a binary CGM file. Errors
// under "YYINFOCGM": 1 open (outputs unchanged), 2 short read.
void YYINFOCGM(std::string_view fileName, int& pictures, float& aspect);
// Pictures (at least 1) of a picture file (kind 7). Errors under
// "YYCNTPIC": 1 open, 2 short read.
void YYCNTPIC(std::string_view fileName, int& pictures);

}  // namespace tk
