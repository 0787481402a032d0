#include "files/model_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "test_support.h"

namespace {

using files_test::FakeToolkit;
using files_test::MessageLog;
using files_test::readText;
using files_test::TempFolder;
using files_test::writeText;

// The working profile of the tests: gravity data over a layer of three
// vertices and a body of four whose first vertex follows the layer's second.
model::ProfileLine gravityProfile() {
    model::ProfileLine p;
    p.PNAME.assign("LINE A");
    p.DTYPE.assign("Gravity Data");
    p.FDECL = 2.4f;
    p.ZUNIT.assign("M");
    p.XUNIT.assign("KM");
    p.FIELD = 50000.0f;
    p.FINCL = 65.0f;
    model::PolygonModel& m = p.MODEL;
    m.SGEO = {12.0f, 0.0f, 100.0f, 0.0f};
    m.STRIKE = -45.0f;
    m.AZIM = 45.0f;
    m.DBKG = 2.4f;
    m.BKXT1 = 1000.0f;
    m.BKXT2 = 2000.0f;
    m.NTOPO = 2;
    m.NBOD = 2;
    model::ALLOCPG(m, 11, 2);
    m.XTOPO(1) = 0.0f;
    m.XTOPO(2) = 60.0f;
    m.IV1(1) = 1;
    m.IV2(1) = 7;
    m.IV1(2) = 8;
    m.IV2(2) = 11;
    m.LAYER(1) = true;
    m.LVFIX(1) = true;
    m.DENS(1) = 2.2f;
    m.XTENT1(1) = m.XTENT2(1) = 5000.0f;
    m.DENS(2) = 2.67f;
    m.XTENT1(2) = 100.0f;
    m.XTENT2(2) = 150.0f;
    const float x[] = {0, 30, 60, 1e15f, 1e15f, -1e15f, -1e15f, 10, 40, 40, 10};
    const float z[] = {-50, -55, -52, -52, -1e15f, -1e15f, -50, -100, -100, -150, -150};
    const char* letters = "BZNNNNNNXBN";
    for (int v = 1; v <= 11; ++v) {
        m.XVRT(v) = x[v - 1];
        m.ZVRT(v) = z[v - 1];
        m.IPOINT(v) = v;
        m.LXFIX(v) = letters[v - 1] == 'B' || letters[v - 1] == 'X';
        m.LZFIX(v) = letters[v - 1] == 'B' || letters[v - 1] == 'Z';
    }
    m.IPOINT(8) = 2;
    return p;
}

class ModelFile : public ::testing::Test {
  protected:
    // Reads `text` as a model file into `m`; the status.
    int read(std::string_view text, model::PolygonModel& m) {
        std::string name = temp.file("model.MDL");
        writeText(name, text);
        int status = 99;
        model::ProfileLine unused;
        files::MODAIO(unused, m, 'R', name, status);
        return status;
    }
    TempFolder temp;
    FakeToolkit toolkit;
};

bool near(float a, float b) {
    return std::fabs(a - b) <= 1e-6f * std::max(std::fabs(a), std::fabs(b));
}

// Reals read back to within one part in a million.
void expectNear(std::initializer_list<std::pair<float, float>> pairs) {
    for (auto [got, want] : pairs)
        EXPECT_TRUE(near(got, want)) << got << " against " << want;
}

TEST_F(ModelFile, GravityModelIsWrittenAsTheGoldenFile) {
    model::ProfileLine p = gravityProfile();
    std::string name = temp.file("out.MDL");
    int status = 99;
    files::MODAIO(p, p.MODEL, 'W', name, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readText(name), readText(files_test::goldenPath("gravity_model.mdl")));
}

TEST_F(ModelFile, WhatIsWrittenReadsBack) {
    for (const char* type : {"Gravity Data", "Magnetics Data"}) {
        SCOPED_TRACE(type);
        model::ProfileLine p = gravityProfile();
        p.DTYPE.assign(type);
        model::PolygonModel& w = p.MODEL;
        w.BKRAT = 0.5f;
        w.BKINC = 63.25f;
        w.BKDEC = -2.125f;
        w.REMS(2) = 0.001234567f;
        w.DIPS(2) = 45.6789f;
        w.DECS(2) = -170.5f;
        std::string name = temp.file("round.MDL");
        int status = 99;
        files::MODAIO(p, w, 'W', name, status);
        ASSERT_EQ(status, 0);

        model::PolygonModel m;
        m.NTOPO = 1;
        model::ALLOCPG(m, 3, 1);
        m.XTOPO(1) = 42.0f;
        MessageLog log;
        model::ProfileLine unused;
        files::MODAIO(unused, m, 'R', name, status);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(log.information,
                  std::vector<std::string>{"READ SUCCESSFUL WITH    2 BODIES AND   11 VERTICES."});
        EXPECT_EQ(m.NBOD, 2);
        EXPECT_EQ(m.XTOPO(1), 42.0f) << "the topography stays";
        const bool magnetic = std::string_view(type).find("Mag") != std::string_view::npos;
        expectNear({{m.DBKG, w.DBKG}, {m.BKXT1, w.BKXT1}, {m.BKXT2, w.BKXT2}});
        if (magnetic) expectNear({{m.BKRAT, w.BKRAT}, {m.BKINC, w.BKINC}, {m.BKDEC, w.BKDEC}});
        for (int b = 1; b <= 2; ++b) {
            EXPECT_EQ(m.IV1(b), w.IV1(b));
            EXPECT_EQ(m.IV2(b), w.IV2(b));
            EXPECT_EQ(bool(m.LAYER(b)), bool(w.LAYER(b)));
            EXPECT_EQ(bool(m.LVFIX(b)), bool(w.LVFIX(b)));
            EXPECT_EQ(m.INCLBD(b), 0);
            expectNear(
                {{m.DENS(b), w.DENS(b)}, {m.XTENT1(b), w.XTENT1(b)}, {m.XTENT2(b), w.XTENT2(b)}});
            if (magnetic)
                expectNear(
                    {{m.REMS(b), w.REMS(b)}, {m.DIPS(b), w.DIPS(b)}, {m.DECS(b), w.DECS(b)}});
        }
        for (int v = 1; v <= 11; ++v) {
            SCOPED_TRACE(v);
            EXPECT_TRUE(near(m.XVRT(v), w.XVRT(v)));
            EXPECT_TRUE(near(m.ZVRT(v), w.ZVRT(v)));
            EXPECT_EQ(m.IPOINT(v), w.IPOINT(v));
            EXPECT_EQ(bool(m.LXFIX(v)), bool(w.LXFIX(v)));
            EXPECT_EQ(bool(m.LZFIX(v)), bool(w.LZFIX(v)));
        }
        EXPECT_EQ(m.XPIVOT(1), model::kNotSet) << "pivots are not carried";
    }
}

TEST_F(ModelFile, WriterFollowsTheModelKind) {
    model::ProfileLine p = gravityProfile();
    auto count = [](const std::vector<std::string>& lines, std::string_view start) {
        return std::count_if(lines.begin(), lines.end(),
                             [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    };
    auto gravity = files::modelFileLines(p, p.MODEL);
    EXPECT_EQ(count(gravity, "  EXTENT-OUT: "), 3);
    EXPECT_EQ(count(gravity, "  K-RATIO: "), 0);
    p.DTYPE.assign("Gravity/Mag Data");
    auto magnetic = files::modelFileLines(p, p.MODEL);
    EXPECT_EQ(count(magnetic, "  K-RATIO: "), 3);
    EXPECT_EQ(count(magnetic, "  DECLINATION: "), 3);
    EXPECT_EQ(magnetic[5], "BODY: BACKGROUND    SUSCEPTIBILITY:  2.400000E+00 \\");

    p.MODEL.SGEO = {2000000.0f, 0.0f, 1.0f, 2.0f};
    EXPECT_EQ(files::modelFileLines(p, p.MODEL)[1].substr(0, 35),
              "     2000000.00      0.00     1.000");
    p.MODEL.SGEO = {20000000.0f, -5.0f, 1.0f, 2.0f};
    EXPECT_EQ(files::modelFileLines(p, p.MODEL)[1].substr(0, 25), "     20000000.0      -5.0");

    p.MODEL.NBOD = 0;
    EXPECT_EQ(files::modelFileLines(p, p.MODEL).size(), 9u) << "header and background only";
}

TEST_F(ModelFile, ReaderEdgeCases) {
    const std::string layerAndBody =
        "A title line\n"
        "body: bg dens: 1.5\n"
        "BODY: 5 DENSITY: 2.67\\\n"
        "  EXTENT-OUT: 10 LAYER Free\n"
        "\n"
        "VERTEX NO.: X: Z:\n"
        "vert: 1 0.0 -10 B\n"
        "VERT: 2 10.0 -12 5\n"
        "VERT: 3 20.0 -11 N\n"
        "BODY: 9 DENSITY:2.9 IN: 7\n"
        "BODY: 12 this line is skipped while looking for vertices\n"
        "VERT: 4 0 -50 FREE: X\n"
        "VERT: 5 10 -50 7 B\n"
        "VERT: 6 10 -60 B 1\n"
        "VERT: 7 0 -60 N 7 extra words here\n";
    model::PolygonModel m;
    MessageLog log;
    ASSERT_EQ(read(layerAndBody, m), 0);
    EXPECT_EQ(m.NBOD, 2) << "bodies 5 and 9 become 1 and 2; the third line is skipped";
    EXPECT_EQ(m.DBKG, 1.5f);
    EXPECT_EQ(m.DENS(1), 2.67f) << "a backslash glued to the number continues the line";
    EXPECT_EQ(m.XTENT1(1), 10.0f);
    EXPECT_TRUE(m.LAYER(1));
    EXPECT_TRUE(m.LVFIX(1));
    EXPECT_EQ(m.DENS(2), 0.0f) << "DENSITY:2.9 is one word and no keyword";
    EXPECT_EQ(m.XTENT2(2), 7.0f);
    EXPECT_EQ(m.IV1(1), 1);
    EXPECT_EQ(m.IV2(1), 7) << "a layer of three vertices gets its four closing vertices";
    EXPECT_EQ(m.XVRT.values()[3], 1e15f);
    EXPECT_EQ(m.XVRT.values()[4], 1e15f);
    EXPECT_EQ(m.XVRT.values()[5], -1e15f);
    EXPECT_EQ(m.XVRT.values()[6], -1e15f);
    EXPECT_EQ(m.ZVRT(4), -11.0f);
    EXPECT_EQ(m.ZVRT(5), -1e15f) << "a layer reaches down, not up";
    EXPECT_EQ(m.ZVRT(6), -1e15f);
    EXPECT_EQ(m.ZVRT(7), -10.0f);
    EXPECT_EQ(m.IV1(2), 8);
    EXPECT_EQ(m.IV2(2), 11);
    EXPECT_EQ(m.IPOINT(2), 9) << "a lock across a layer: the file's vertex 5 is the model's 9";
    EXPECT_TRUE(m.LXFIX(8));
    EXPECT_FALSE(m.LZFIX(8));
    EXPECT_EQ(m.IPOINT(9), 11) << "VERT: 5 ... 7 B: locked to 7, then free";
    EXPECT_TRUE(m.LXFIX(9));
    EXPECT_TRUE(m.LZFIX(9));
    EXPECT_EQ(m.IPOINT(10), 1) << "B then a lock: the flags are cleared";
    EXPECT_FALSE(m.LXFIX(10));
    EXPECT_FALSE(m.LZFIX(10));
    EXPECT_EQ(
        log.information,
        (std::vector<std::string>{
            "VERTEX    6 OF BODY   2 MUST NOT BE FREE IF IT IS LOCKED.\r\n"
            "THE FREE PARAMETERS HAVE BEEN FIXED.",
            "EXTRA VERTEX INFORMATION DETECTED BEGINNING AT LINE:    15.\r\nIT WILL BE IGNORED.",
            "READ SUCCESSFUL WITH    2 BODIES AND   11 VERTICES."}));
}

TEST_F(ModelFile, OneBodyWithoutBackgroundKeepsTheOldOne) {
    model::PolygonModel m;
    m.DBKG = 3.5f;
    MessageLog log;
    ASSERT_EQ(read("BODY: 1\nVERT: 1 0 0\nVERT: 2 1 0\nVERT: 3 1 1\n", m), 0);
    EXPECT_EQ(m.DBKG, 3.5f);
    EXPECT_EQ(m.DENS(1), 0.0f);
    EXPECT_EQ(log.information,
              std::vector<std::string>{"READ SUCCESSFUL WITH 1 BODY AND    3 VERTICES."});
    // A background alone is a model without bodies.
    ASSERT_EQ(read("BODY: BG DENS: 2.5\n", m), 0);
    EXPECT_EQ(m.NBOD, 0);
    EXPECT_EQ(m.DBKG, 2.5f);
}

TEST_F(ModelFile, FailedReadsLeaveTheModel) {
    auto line = [](int n) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%5d", n);
        return std::string(buf);
    };
    struct Case {
        const char* what;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"vertices apart", "BODY: 1\nVERT: 1 0 0\n\nVERT: 2 1 1\n",
         "Unexpected vertex information encountered at line: " + line(4)},
        {"two backgrounds", "BODY: BG\nBODY: BACKGROUND\n",
         "Multiple definition of background parameters\r\nencountered at line: " + line(2)},
        {"bad density", "BODY: 1 DENSITY: 2,67\nVERT: 1 0 0\n",
         "Read error with pattern: 2,67                 at line: " + line(1) +
             "\r\n\r\n Read aborted."},
        {"body number zero", "BODY: 0\nVERT: 1 0 0\n",
         "Read error with pattern: 0                    at line: " + line(1) +
             "\r\n\r\n Read aborted."},
        {"blank after backslash", "BODY: 1 \\\n\nVERT: 1 0 0\n",
         "Illegal continuation character at line: " + line(1)},
        {"end in a property block", "BODY: 1 \\", "Premature end of file at line: " + line(1)},
        {"no vertices", "BODY: 1\nnothing here\n", "Premature end of file at line: " + line(2)},
        {"short vertex", "BODY: 1\nVERT: 1 0\n",
         "Premature end of vertex information on line: " + line(2)},
        {"lock beyond the vertices",
         "BODY: 1\nVERT: 1 0 0 2\nVERT: 2 1 1\nBODY: 2 VERT\nVERT: 3 1 1 4\n",
         "Read error with pattern: 4                    at line: " + line(5) +
             "\r\n\r\n Read aborted."},
        {"not a model", "X Y Z\n1 2 3\n4 5 6\n",
         "No model information (BODY: lines) found in file.\r\n\r\n Read aborted."},
        {"a body of one vertex", "BODY: BG\nBODY: 1\nVERT: 1 0 0\n",
         "Body   1 has fewer than 3 vertices.\r\n\r\n Read aborted."},
        {"a file cut after a body's first vertex",
         "BODY: 1\nVERT: 1 0 0\nVERT: 2 1 0\nVERT: 3 1 1\nBODY: 2\nVERT: 4 0 0\n",
         "Body   2 has fewer than 3 vertices.\r\n\r\n Read aborted."},
        {"a second body of two vertices",
         "BODY: 1\nVERT: 1 0 0\nVERT: 2 1 0\nVERT: 3 1 1\nBODY: 2\nVERT: 4 0 0\nVERT: 5 1 1\n",
         "Body   2 has fewer than 3 vertices.\r\n\r\n Read aborted."},
        {"a layer of one vertex", "BODY: 1 LAYER\nVERT: 1 0 0\n",
         "Body   1 has fewer than 2 vertices.\r\n\r\n Read aborted."},
        {"bad free letter", "BODY: 1\nVERT: 1 0 0 FREE: Q\n",
         "Read error with pattern: Q                    at line: " + line(2) +
             "\r\n\r\n Read aborted."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        model::ProfileLine before = gravityProfile();
        model::PolygonModel m = before.MODEL;
        MessageLog log;
        EXPECT_EQ(read(c.text, m), 1);
        EXPECT_EQ(log.information, std::vector<std::string>{c.message});
        EXPECT_TRUE(m == before.MODEL) << "the model is as it was";
    }
}

TEST_F(ModelFile, NamesAndSelector) {
    model::ProfileLine p = gravityProfile();
    std::string name;
    int status = 99;
    files::MODAIO(p, p.MODEL, 'R', name, status);
    EXPECT_EQ(status, -1);
    ASSERT_EQ(toolkit.selectorCalls.size(), 1u);
    EXPECT_EQ(toolkit.selectorCalls[0].filter, "Kervo/Pelk-GM ASCII Data File|*.MDL|");
    EXPECT_EQ(toolkit.selectorCalls[0].title, "Kervo/Pelk-GM ASCII Model File");
    EXPECT_EQ(toolkit.selectorCalls[0].flags, 42);

    toolkit.selection = temp.file("chosen.MDL");
    files::MODAIO(p, p.MODEL, 'W', name, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(toolkit.selectorCalls.back().flags, 47);
    EXPECT_EQ(name, temp.file("chosen.MDL"));
    EXPECT_TRUE(std::filesystem::exists(name));

    MessageLog log;
    std::string missing = temp.file("no/such/folder.MDL");
    files::MODAIO(p, p.MODEL, 'W', missing, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(log.information, std::vector<std::string>{"Cannot open file" + missing + "."});
    std::string empty = temp.file("empty.MDL");
    writeText(empty, "");
    files::MODAIO(p, p.MODEL, 'R', empty, status);
    EXPECT_EQ(status, 1);
    std::string field = empty;
    field.resize(256, ' ');
    EXPECT_EQ(log.information.back(), "FILE HAS NO LENGTH:" + field);
    files::MODAIO(p, p.MODEL, 'X', empty, status);
    EXPECT_EQ(status, -1) << "no such mode";
}

TEST(ModelNumbering, NofsetCountsTheLayersBefore) {
    model::ProfileLine p = gravityProfile();
    EXPECT_EQ(files::NOFSET(p.MODEL, 2), 0);
    EXPECT_EQ(files::NOFSET(p.MODEL, 8), 4);
    EXPECT_EQ(files::NOFSET(p.MODEL, 99), 0) << "a vertex no body holds";
}

}  // namespace
