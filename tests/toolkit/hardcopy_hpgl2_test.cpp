// The HP-GL/2 driver: its files are checked by a reader of our own that
// knows the command grammar (no independent HP-GL/2 reader is packaged), and
// its pens, fills, fonts, encoded polylines and pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "output_test_support.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/output/hpgl2_driver.h"

namespace tk {
namespace {

namespace fs = std::filesystem;
using test::drawSample;
using test::fileLines;

constexpr char kEsc = '\x1b';

// One instruction of an HP-GL/2 file.
struct Instruction {
    std::string mnemonic;
    std::string parameters;
};

// Reads an HP-GL/2 file as a printer would: the printer-language frame
// (enter HP-GL/2, page ejects, back to the printer language), and in
// between instructions of two letters whose parameters follow the grammar
// of each: numbers, a quoted comment, a label up to its terminator, the
// encoded polyline characters. Every fault is listed.
class Hpgl2Reader {
  public:
    std::vector<Instruction> instructions;
    std::vector<std::string> faults;
    std::vector<long long> encoded;  // the values of every PE
    int pages = 0;

    // A file for a printer starts in the printer language and must return to
    // it; a plotter's file is HP-GL/2 throughout.
    explicit Hpgl2Reader(const std::string& file) {
        const bool printer = !file.empty() && file.front() == kEsc;
        inHpgl2_ = !printer;
        for (std::size_t at = 0; at < file.size();)
            at = next(file, at);
        if (printer && inHpgl2_) faults.push_back("the file does not return to the printer language");
    }
    std::vector<std::string> mnemonics() const {
        std::vector<std::string> out;
        for (const auto& i : instructions) out.push_back(i.mnemonic);
        return out;
    }

  private:
    bool inHpgl2_ = false;
    char terminator_ = 3;

    std::size_t next(const std::string& s, std::size_t at) {
        const char c = s[at];
        if (c == kEsc) return escape(s, at);
        if (c == ' ' || c == '\r' || c == '\n' || c == ';' || c == ',') return at + 1;
        if (!inHpgl2_ && !instructions.empty()) faults.push_back("instruction outside HP-GL/2");
        if (at + 1 >= s.size() || !std::isupper(static_cast<unsigned char>(c)) ||
            !std::isupper(static_cast<unsigned char>(s[at + 1]))) {
            faults.push_back("not a mnemonic at " + std::to_string(at) + ": " +
                             s.substr(at, 10));
            return s.find('\n', at) == std::string::npos ? s.size() : s.find('\n', at) + 1;
        }
        const std::string m = s.substr(at, 2);
        at += 2;
        std::size_t end = at;
        if (m == "LB") {
            end = s.find(terminator_, at);
            if (end == std::string::npos) {
                faults.push_back("label without terminator");
                return s.size();
            }
            instructions.push_back({m, s.substr(at, end - at)});
            return end + 1;
        }
        if (m == "CO") {
            if (at >= s.size() || s[at] != '"') faults.push_back("comment without quotes");
            end = s.find('"', at + 1);
            if (end == std::string::npos) return s.size();
            instructions.push_back({m, s.substr(at + 1, end - at - 1)});
            return end + 1;
        }
        if (m == "DT") {
            terminator_ = s[at];
            instructions.push_back({m, std::string(1, s[at])});
            return at + 1;
        }
        // Parameters run on across line ends up to a semicolon or the next
        // instruction.
        while (end < s.size() && s[end] != ';' &&
               !(std::isupper(static_cast<unsigned char>(s[end])) && m != "PE") && s[end] != kEsc)
            ++end;
        const std::string p = s.substr(at, end - at);
        instructions.push_back({m, p});
        check(m, p);
        return end;
    }

    std::size_t escape(const std::string& s, std::size_t at) {
        const std::string e = s.substr(at, 4);
        if (e == "\x1b%0B") {
            inHpgl2_ = true;
            return at + 4;
        }
        if (e == "\x1b%0A") {
            inHpgl2_ = false;
            return at + 4;
        }
        // Page eject: back to PCL, copies, form feed, into HP-GL/2 again.
        const std::string eject = s.substr(at, 15);
        if (eject.size() == 15 && eject.compare(0, 6, "\x1b%1A\x1b&") == 0 && eject[6] == 'l' &&
            std::isdigit(static_cast<unsigned char>(eject[7])) &&
            std::isdigit(static_cast<unsigned char>(eject[8])) && eject[9] == 'X' &&
            eject[10] == '\f' && eject.compare(11, 4, "\x1b%0B") == 0) {
            ++pages;
            return at + 15;
        }
        faults.push_back("unknown escape sequence at " + std::to_string(at));
        return at + 1;
    }

    void check(const std::string& m, const std::string& p) {
        static const std::set<std::string> numeric = {
            "IN", "IP", "RO", "DI", "TR", "AD", "SA", "NP", "SC", "PU", "PD", "PW", "LT", "IW",
            "PC", "SP", "RF", "FT", "PM", "FP", "CI", "RA", "LA", "SR", "SL", "SD", "LO", "WG",
            "EW", "AA", "PG"};
        if (m == "PE") return encodedPolyline(p);
        if (!numeric.count(m)) {
            faults.push_back("unknown instruction " + m);
            return;
        }
        // Numbers (a sign, digits, one point) separated by blanks or commas.
        std::size_t i = 0;
        while (i < p.size()) {
            if (p[i] == ' ' || p[i] == ',' || p[i] == '\r' || p[i] == '\n') {
                ++i;
                continue;
            }
            std::size_t j = i;
            if (p[j] == '-' || p[j] == '+') ++j;
            bool digits = false, point = false;
            const auto separator = [](char c) {
                return c == ' ' || c == ',' || c == '\r' || c == '\n';
            };
            for (; j < p.size() && !separator(p[j]); ++j) {
                if (std::isdigit(static_cast<unsigned char>(p[j])))
                    digits = true;
                else if (p[j] == '.' && !point)
                    point = true;
                else
                    break;
            }
            if (!digits || (j < p.size() && !separator(p[j]))) {
                faults.push_back("bad parameters of " + m + ": " + p);
                return;
            }
            i = j;
        }
    }

    void encodedPolyline(const std::string& p) {
        std::size_t i = 0;
        if (i < p.size() && p[i] == '7') ++i;
        long long value = 0, scale = 1;
        for (; i < p.size(); ++i) {
            const int c = static_cast<unsigned char>(p[i]);
            if (c == '\r' || c == '\n') continue;
            if (c >= 63 && c <= 94) {
                value += (c - 63) * scale;
                scale *= 32;
            } else if (c >= 95 && c <= 126) {
                value += (c - 95) * scale;
                encoded.push_back(value % 2 == 0 ? value / 2 : -(value - 1) / 2);
                value = 0;
                scale = 1;
            } else {
                faults.push_back("bad encoded polyline character " + std::to_string(c));
                return;
            }
        }
        if (scale != 1) faults.push_back("encoded number cut short");
    }
};

class Hpgl2Output : public test::OutputFileTest {
  protected:
    void TearDown() override {
        toolkitState().PrinterColourMode = 0;
        test::OutputFileTest::TearDown();
    }
    fs::path startDevice(int device, const std::string& name) {
        toolkitState().PrinterColourMode = device;
        return start(12, name);
    }
};

TEST_F(Hpgl2Output, LaserJetHeaderAsThePrinterExpectsIt) {
    const auto file = startDevice(3, "page.plt");
    EXPECT_EQ(hardcopyOptions().defaultFileName.str(), "doredere.plt");
    EXPECT_EQ(hardcopyOptions()[hc::PageWidth], 769);
    EXPECT_EQ(hardcopyOptions()[hc::PageHeight], 561);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    const std::vector<std::string> head = {"\x1b%0B",
                                           "IN; IP 0 0 10851 7916",
                                           "RO90; IP 0 0 10851 7916",
                                           "DT\x04",
                                           "DI1. 0.",
                                           "TR0",
                                           "AD1,14;SA",
                                           "CO\"13 3 1.2 9\"",
                                           "CO\"2 0\"",
                                           "SC0 32760 0 32760"};
    ASSERT_GE(lines.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10), head);
    EXPECT_EQ(lines.back(), "\x1b%0A");
    EXPECT_TRUE(Hpgl2Reader(test::slurp(file)).faults.empty());
}

TEST_F(Hpgl2Output, SampleDrawingsFollowTheGrammarOnEveryDevice) {
    for (int device = 1; device <= 5; ++device) {
        SCOPED_TRACE(device);
        const auto file = startDevice(device, "sample" + std::to_string(device) + ".plt");
        HardcopySwitch(file.string(), "Section \"A\" of the survey line, with a long title");
        drawSample();
        SetCharacterDirection(30.0f);
        DrawTextAt(0.2f, 0.2f, "S\xE9ismique", 9);
        HardcopySwitch("S");
        const Hpgl2Reader reader(test::slurp(file));
        EXPECT_EQ(reader.faults, std::vector<std::string>{});
        const auto m = reader.mnemonics();
        EXPECT_EQ(std::count(m.begin(), m.end(), "FP") + std::count(m.begin(), m.end(), "RA"), 2)
            << "two solid fills";
        EXPECT_TRUE(std::count(m.begin(), m.end(), "LB") >= 2);
        EXPECT_EQ(reader.pages + (device == 4 ? std::count(m.begin(), m.end(), "PG") : 0), 1);
        const auto title = std::find_if(reader.instructions.begin(), reader.instructions.end(),
                                        [](const Instruction& i) { return i.mnemonic == "CO"; });
        ASSERT_NE(title, reader.instructions.end());
        EXPECT_EQ(title->parameters, ": Section 'A' of the survey line, with a long ");
    }
}

TEST_F(Hpgl2Output, PensAreDefinedOnceAndMixedFillsGetTheirOwnPen) {
    const auto file = startDevice(2, "pens.plt");
    GrColourN(5);
    LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
    GrColourN(223);
    GrColourN(5);
    LineBetweenUnits(0.0f, 1.0f, 1.0f, 0.0f);
    GrColourN(12);
    SetFillPattern(3);
    GrRectangle(0.2f, 0.2f, 0.4f, 0.4f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("PC5 "); }),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "PU;SP 5"), 2);
    // The half-tone fill's pen 255 - 12 carries the mean of colours 5 and 12.
    const auto pen = std::find(lines.begin(), lines.end(), "PU;SP243");
    ASSERT_NE(pen, lines.end());
    EXPECT_TRUE((pen - 1)->starts_with("PC243 ")) << *(pen - 1);
    EXPECT_NE(std::find(pen, lines.end(), "PU;SP 12"), lines.end()) << "the closing call";
    EXPECT_TRUE(Hpgl2Reader(test::slurp(file)).faults.empty());
}

TEST_F(Hpgl2Output, LaserJetFillsWithOneRasterPatternPerColour) {
    const auto file = startDevice(3, "raster.plt");
    SetFillPattern(4);
    GrColourN(40);
    GrRectangle(0.1f, 0.1f, 0.2f, 0.2f);
    GrRectangle(0.3f, 0.3f, 0.4f, 0.4f);
    GrColourN(100);
    GrRectangle(0.5f, 0.5f, 0.6f, 0.6f);
    HardcopySwitch("S");
    const auto lines = fileLines(file);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "RF1,8,4,"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "FT11 1"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "RA"), 0);
    EXPECT_TRUE(Hpgl2Reader(test::slurp(file)).faults.empty());
}

TEST_F(Hpgl2Output, PolylinesAreEncodedRelativeMoves) {
    const auto file = startDevice(5, "encoded.plt");
    std::vector<float> x(300), y(300);
    for (std::size_t k = 0; k < x.size(); ++k) {
        x[k] = static_cast<float>(k) / 300.0f;
        y[k] = k % 2 == 0 ? 0.2f : 0.8f;
    }
    PolylineClipped(x.data(), y.data(), 300, false);
    HardcopySwitch("S");
    const Hpgl2Reader reader(test::slurp(file));
    EXPECT_TRUE(reader.faults.empty());
    ASSERT_EQ(reader.encoded.size(), 2u * 299u);
    // The moves add up to the distance between the ends in plotter units.
    long long dx = 0;
    for (std::size_t k = 0; k < reader.encoded.size(); k += 2)
        dx += reader.encoded[k];
    const GraphicsState& g = graphicsState();
    const auto last = static_cast<long long>(g.hardcopyScaleX * (299.0f / 300.0f) *
                                             g.plotExtentX);
    EXPECT_NEAR(static_cast<double>(dx), static_cast<double>(last), 2.0);
    for (const auto& l : fileLines(file)) EXPECT_LE(l.size(), 255u);
}

TEST_F(Hpgl2Output, PagesEndWithTheEjectOrPg) {
    for (int device : {1, 4}) {
        const auto file = startDevice(device, "pages.plt");
        HardcopyOptionSet(8, 3);
        for (int page = 0; page < 3; ++page) {
            LineBetweenUnits(0.0f, 0.0f, 1.0f, 1.0f);
            if (page < 2) NewGraphicsPage();
        }
        HardcopySwitch("S");
        const std::string text = test::slurp(file);
        const Hpgl2Reader reader(text);
        EXPECT_TRUE(reader.faults.empty());
        const auto m = reader.mnemonics();
        if (device == 4) {
            EXPECT_EQ(std::count(m.begin(), m.end(), "PG"), 3);
            EXPECT_EQ(text.find(kEsc), std::string::npos);
        } else {
            EXPECT_EQ(reader.pages, 3);
            EXPECT_NE(text.find("\x1b&l03X"), std::string::npos);
        }
    }
}

TEST_F(Hpgl2Output, UnwritableFileAbsurdCoordinatesAndImages) {
    const auto missing = startDevice(2, "missing/folder.plt");
    EXPECT_EQ(graphicsState().hardcopyDriver, 0);
    EXPECT_EQ(toolkitState().LastErrorNumber, 1);
    EXPECT_FALSE(fs::exists(missing));

    const auto file = startDevice(2, "absurd.plt");
    LineBetweenUnits(-1.0e30f, 0.5f, 1.0e30f, 0.5f);
    SetFillPattern(4);
    const float x[] = {0.5f}, y[] = {0.5f};
    YYPLYGON(x, y, 0, false);
    CircleAt(0.5f, 0.5f, 1.0e30f);
    DeviceParameterBlock& b = deviceBlock();
    b.fx[1] = 1.0e30f, b.fy[1] = -1.0e30f, b.fx[2] = 3.0e38f, b.fy[2] = 0.0f;
    Hpgl2Driver(2);
    devicePointArrays().allocate(2);
    devicePointArrays().x = {-3.0e38f, 3.0e38f};
    devicePointArrays().y = {0.0f, 1.0e30f};
    b.count = 2;
    Hpgl2Driver(32);
    b.value = 0;
    Hpgl2Driver(38);
    EXPECT_EQ(b.value, 27);
    HardcopySwitch("S");
    const Hpgl2Reader reader(test::slurp(file));
    EXPECT_EQ(reader.faults, std::vector<std::string>{});
}

TEST(Hpgl2Dither, GreyWhiteAndBlackPatterns) {
    graphicsState().reset();
    BuildDefaultColourTable();
    ResetHardcopyOptions();
    hardcopyDeviceState().colourCount = 2;
    graphicsState().colourMode = 2;
    const std::pair<int, std::uint32_t> cases[] = {
        {0x808080, 0xD555AA55u}, {0xFFFFFF, 0xFFFFFFFFu}, {0x000000, 0u}};
    for (auto [rgb, pattern] : cases) {
        graphicsState().rgb = rgb;
        const ColourPatternTriple t = ColourToGreyDither(1);
        EXPECT_EQ(t.first, pattern) << std::hex << rgb;
        EXPECT_EQ(t.second, pattern);
    }
    ResetHardcopyOptions();
}

}  // namespace
}  // namespace tk
