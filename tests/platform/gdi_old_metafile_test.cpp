// Old-style metafiles: recorded, played back, and read by libwmf.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gdi_test_support.h"
#include "platform/gdi/metafile.h"

using namespace win;

namespace {

void drawPicture(HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(200, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 150, 0));
    HFONT font = CreateFontA(-14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, 0, 0, 0,
                             "Arial");
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldFont = SelectObject(dc, font);
    MoveToEx(dc, 5, 5, nullptr);
    LineTo(dc, 90, 30);
    const POINT tri[] = {{40, 40}, {90, 80}, {10, 70}};
    Polygon(dc, tri, 3);
    Rectangle(dc, 60, 5, 95, 25);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE);
    TextOutA(dc, 5, 95, "Depth", 5);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(font);
    DeleteObject(brush);
    DeleteObject(pen);
}

TEST(GdiOldMetafile, PlaybackMatchesDirectDrawing) {
    gdi_test::Canvas direct(100, 100), played(100, 100);
    drawPicture(direct.dc);
    HDC rec = CreateMetaFileA(nullptr);
    ASSERT_NE(rec, nullptr);
    drawPicture(rec);
    HMETAFILE mf = CloseMetaFile(rec);
    ASSERT_NE(mf, nullptr);
    ASSERT_TRUE(PlayMetaFile(played.dc, mf));
    EXPECT_EQ(played.surface.pixels, direct.surface.pixels);
    EXPECT_EQ(GetCurrentObject(played.dc, OBJ_PEN), GetStockObject(BLACK_PEN));

    // Through the bytes and back, then drawn scaled into a mapped context.
    const UINT n = GetMetaFileBitsEx(mf, 0, nullptr);
    std::vector<BYTE> bytes(n);
    ASSERT_EQ(GetMetaFileBitsEx(mf, n, bytes.data()), n);
    EXPECT_EQ(bytes[0], 1);  // a memory metafile
    EXPECT_EQ(bytes[2], 9);
    HMETAFILE copy = SetMetaFileBitsEx(n, bytes.data());
    ASSERT_NE(copy, nullptr);
    gdi_test::Canvas half(100, 100);
    SetMapMode(half.dc, MM_ANISOTROPIC);
    SetWindowExtEx(half.dc, 100, 100, nullptr);
    SetViewportExtEx(half.dc, 50, 50, nullptr);
    PlayMetaFile(half.dc, copy);
    EXPECT_EQ(half.inkBox(0xFFFFFF).right, 48);
    EXPECT_LE(half.inkBox(0xFFFFFF).bottom, 52);
    DeleteMetaFile(copy);
    DeleteMetaFile(mf);
    EXPECT_EQ(SetMetaFileBitsEx(4, bytes.data()), nullptr);
}

TEST(GdiOldMetafile, PlaceableFileIsReadByLibwmf) {
    if (std::system("command -v wmf2svg >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "wmf2svg not installed";
    HDC rec = CreateMetaFileA(nullptr);
    SetMapMode(rec, MM_ANISOTROPIC);
    SetWindowExtEx(rec, 1000, 1000, nullptr);
    drawPicture(rec);
    HMETAFILE mf = CloseMetaFile(rec);
    std::vector<BYTE> bytes(GetMetaFileBitsEx(mf, 0, nullptr));
    GetMetaFileBitsEx(mf, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteMetaFile(mf);
    // The 22-byte placeable header: 1000 x 1000 units at 1000 per inch.
    std::vector<std::uint16_t> head = {0xCDD7, 0x9AC6, 0, 0, 0, 1000, 1000, 1000, 0, 0};
    std::uint16_t sum = 0;
    for (std::uint16_t w : head)
        sum ^= w;
    head.push_back(sum);
    const auto dir =
        std::filesystem::temp_directory_path() / ("pelk-wmf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto wmf = dir / "picture.wmf";
    {
        std::ofstream f(wmf, std::ios::binary);
        for (std::uint16_t w : head)
            f.put(static_cast<char>(w & 0xFF)).put(static_cast<char>(w >> 8));
        f.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
    }
    const auto svg = dir / "picture.svg";
    const std::string cmd =
        "timeout 30 wmf2svg -o '" + svg.string() + "' '" + wmf.string() + "' 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string log;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p))
        log += buf;
    EXPECT_EQ(pclose(p), 0) << log;
    std::ifstream in(svg);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<svg"), std::string::npos) << log;
    EXPECT_NE(text.find("Depth"), std::string::npos);
    EXPECT_NE(text.find("polygon"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(GdiOldMetafile, DamagedRecordsAreReadSafely) {
    HDC rec = CreateMetaFileA(nullptr);
    drawPicture(rec);
    HMETAFILE mf = CloseMetaFile(rec);
    std::vector<BYTE> good(GetMetaFileBitsEx(mf, 0, nullptr));
    GetMetaFileBitsEx(mf, static_cast<UINT>(good.size()), good.data());
    DeleteMetaFile(mf);
    gdi_test::Canvas target(64, 64);
    std::uint32_t seed = 7;
    for (int round = 0; round < 150; ++round) {
        std::vector<BYTE> bad = good;
        for (int k = 0; k < 6; ++k) {
            seed = seed * 1664525u + 1013904223u;
            const std::size_t at = 18 + (seed >> 8) % (bad.size() - 18);
            seed = seed * 1664525u + 1013904223u;
            bad[at] = static_cast<BYTE>(seed >> 24);
        }
        HMETAFILE h = SetMetaFileBitsEx(static_cast<UINT>(bad.size()), bad.data());
        ASSERT_NE(h, nullptr);
        PlayMetaFile(target.dc, h);
        DeleteMetaFile(h);
    }
}

}  // namespace
