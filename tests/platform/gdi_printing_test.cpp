// Printing to the "PDF file" printer, checked with poppler's pdfinfo and
// pdftoppm. The printer is forced, so nothing reaches a real printer.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/gdi/gdi.h"
#include "platform/gdi/printing.h"

using namespace win;

namespace {

std::string run(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        pclose(p);
    }
    return out;
}

// The value of a "Name:   value" line of pdfinfo's report.
std::string field(const std::string& report, const std::string& name) {
    const std::size_t at = report.find(name + ":");
    if (at == std::string::npos) return {};
    const std::size_t start = report.find_first_not_of(' ', at + name.size() + 1);
    return report.substr(start, report.find('\n', start) - start);
}

class GdiPrinting : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("PELK_PRINTER", "pdf", 1);
        folder_ =
            std::filesystem::temp_directory_path() / ("pelk-prints-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        setenv("PELK_PRINT_DIR", folder_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(GdiPrinting, TwoPagesOnThePdfPrinter) {
    const PrinterDescription printer = defaultPrinter();
    ASSERT_TRUE(printer.pdfFile);
    EXPECT_EQ(printer.device, "PDF file");
    EXPECT_EQ(defaultPrinterProfileString(), "PDF file,pelk-pdf,FILE:");

    HANDLE h = nullptr;
    std::string name = printer.device;
    ASSERT_TRUE(OpenPrinterA(name.data(), &h, nullptr));
    const LONG size = DocumentPropertiesA(nullptr, h, name.data(), nullptr, nullptr, 0);
    ASSERT_EQ(size, static_cast<LONG>(sizeof(DEVMODEA)));
    DEVMODEA dm;
    ASSERT_EQ(DocumentPropertiesA(nullptr, h, name.data(), &dm, nullptr, DM_OUT_BUFFER), 1);
    EXPECT_TRUE(dm.dmFields & DM_ORIENTATION);
    EXPECT_TRUE(dm.dmFields & DM_COPIES);
    const DWORD supported = dm.dmFields;
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    dm.dmPaperSize = DMPAPER_LETTER;
    ASSERT_EQ(DocumentPropertiesA(nullptr, h, name.data(), &dm, &dm, DM_IN_BUFFER | DM_OUT_BUFFER),
              1);
    EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(dm.dmFields, supported);
    ClosePrinter(h);

    HDC dc = CreateDCA(printer.driver.c_str(), printer.device.c_str(), nullptr, &dm);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 600);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 6600);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 5100);
    EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), 256);
    DOCINFOA info;
    info.lpszDocName = "Pelk test";
    ASSERT_GT(StartDocA(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    HPEN pen = CreatePen(PS_SOLID, 20, 0);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 600, 600, nullptr);
    LineTo(dc, 3000, 600);
    TextOutA(dc, 600, 1200, "Gravity", 7);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(StartPage(dc), 0);
    Ellipse(dc, 1000, 1000, 2000, 2000);
    ASSERT_GT(EndPage(dc), 0);
    SelectObject(dc, old);
    DeleteObject(pen);
    ASSERT_GT(EndDoc(dc), 0);
    DeleteDC(dc);

    const std::string pdf = lastPrintedFile();
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(std::filesystem::path(pdf).parent_path(), folder_);
    const std::string facts = run("timeout 30 pdfinfo '" + pdf + "'");
    EXPECT_EQ(field(facts, "Pages"), "2") << facts;
    EXPECT_EQ(field(facts, "Page size"), "792 x 612 pts (letter)") << facts;

    const std::string prefix = (folder_ / "page").string();
    run("timeout 30 pdftoppm -r 60 -f 1 -l 1 -gray '" + pdf + "' '" + prefix + "'");
    std::ifstream pgm(prefix + "-1.pgm", std::ios::binary);
    ASSERT_TRUE(pgm.good());
    std::string magic;
    int w = 0, hgt = 0, maxv = 0;
    pgm >> magic >> w >> hgt >> maxv;
    pgm.get();
    ASSERT_EQ(magic, "P5");
    ASSERT_EQ(w, 660);
    ASSERT_EQ(hgt, 510);
    std::vector<unsigned char> g(static_cast<std::size_t>(w) * hgt);
    pgm.read(reinterpret_cast<char*>(g.data()), static_cast<std::streamsize>(g.size()));
    auto at = [&](int x, int y) { return g[static_cast<std::size_t>(y) * w + x]; };
    // The line from (600, 600) to (3000, 600) at 600 dpi is row 60, columns 60 .. 300 at 60 dpi.
    EXPECT_LT(at(150, 60), 100);
    EXPECT_LT(at(290, 60), 100);
    EXPECT_GT(at(150, 70), 200);
    EXPECT_GT(at(150, 50), 200);
    EXPECT_GT(at(320, 60), 200);
    EXPECT_GT(at(40, 60), 200);
}

TEST_F(GdiPrinting, InformationContextAnswersButDoesNotPrint) {
    const PrinterDescription printer = defaultPrinter();
    HDC ic = CreateICA(printer.driver.c_str(), printer.device.c_str(), nullptr, nullptr);
    ASSERT_NE(ic, nullptr);
    EXPECT_GT(GetDeviceCaps(ic, PHYSICALWIDTH), 4000);
    EXPECT_EQ(GetDeviceCaps(ic, PHYSICALOFFSETX), 0);
    DOCINFOA info;
    EXPECT_EQ(StartDocA(ic, &info), 0);
    DeleteDC(ic);
    EXPECT_EQ(CreateDCA("pelk-pdf", "No such printer", nullptr, nullptr), nullptr);
    // The "PDF file" printer offers A4 and Letter, its default first.
    const std::vector<PaperSize> papers = printerPaperSizes(printer.device);
    ASSERT_EQ(papers.size(), 2u);
    EXPECT_NE(papers[0].code, papers[1].code);
    for (const PaperSize& p : papers)
        EXPECT_TRUE(p.code == DMPAPER_A4 || p.code == DMPAPER_LETTER);
    HANDLE h = nullptr;
    std::string name = printer.device;
    ASSERT_TRUE(OpenPrinterA(name.data(), &h, nullptr));
    DEVMODEA dm;
    DocumentPropertiesA(nullptr, h, name.data(), &dm, nullptr, DM_OUT_BUFFER);
    EXPECT_EQ(dm.dmPaperSize, papers[0].code);
    EXPECT_EQ(dm.dmPaperWidth, papers[0].widthTenthsMm);
    ClosePrinter(h);
    std::string bogus = "No such printer";
    EXPECT_FALSE(OpenPrinterA(bogus.data(), &h, nullptr));
}

TEST_F(GdiPrinting, AbortedDocumentLeavesNoFile) {
    const PrinterDescription printer = defaultPrinter();
    HDC dc = CreateDCA(printer.driver.c_str(), printer.device.c_str(), nullptr, nullptr);
    DOCINFOA info;
    info.lpszDocName = "abandoned";
    ASSERT_GT(StartDocA(dc, &info), 0);
    StartPage(dc);
    Rectangle(dc, 10, 10, 100, 100);
    EXPECT_GT(AbortDoc(dc), 0);
    DeleteDC(dc);
    EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

TEST_F(GdiPrinting, CupsDestinationGetsThePdfWithCopiesAndOrientation) {
    // A stand-in `lp` first on the path records what it was given.
    const auto bin = folder_ / "bin";
    std::filesystem::create_directories(bin);
    const auto log = folder_ / "lp-args";
    const auto kept = folder_ / "submitted.pdf";
    {
        std::ofstream lp(bin / "lp");
        lp << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << log.string() << "'\n"
           << "for last; do :; done\ncp \"$last\" '" << kept.string() << "'\n";
    }
    std::filesystem::permissions(bin / "lp", std::filesystem::perms::owner_all);
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
    setenv("PELK_PRINTER", "pelk-test-queue", 1);

    const PrinterDescription printer = defaultPrinter();
    EXPECT_FALSE(printer.pdfFile);
    EXPECT_EQ(printer.device, "pelk-test-queue");
    DEVMODEA dm;
    dm.dmFields = DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE;
    dm.dmCopies = 3;
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    dm.dmPaperSize = DMPAPER_A4;
    HDC dc = CreateDCA(printer.driver.c_str(), printer.device.c_str(), nullptr, &dm);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 7016);
    DOCINFOA info;
    info.lpszDocName = "Profile 7";
    ASSERT_GT(StartDocA(dc, &info), 0);
    StartPage(dc);
    Rectangle(dc, 100, 100, 1000, 1000);
    EndPage(dc);
    EXPECT_GT(EndDoc(dc), 0);
    DeleteDC(dc);
    setenv("PATH", oldPath.c_str(), 1);
    setenv("PELK_PRINTER", "pdf", 1);

    std::ifstream in(log);
    std::vector<std::string> args;
    for (std::string line; std::getline(in, line);)
        args.push_back(line);
    ASSERT_GE(args.size(), 10u);
    const std::vector<std::string> expected = {
        "-d", "pelk-test-queue", "-n", "3",        "-o", "orientation-requested=4",
        "-o", "media=A4",        "-t", "Profile 7"};
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 10), expected);
    EXPECT_FALSE(std::filesystem::exists(args.back())) << "the spooled copy is removed";
    EXPECT_EQ(field(run("timeout 30 pdfinfo '" + kept.string() + "'"), "Page size"),
              "841.89 x 595.276 pts (A4)");
    EXPECT_TRUE(lastPrintedFile().empty());
}

}  // namespace
