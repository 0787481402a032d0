#include "database_fixtures.h"

#include "model/model_header_layout.h"
#include "model/polygon_model.h"
#include "model/profile_header_layout.h"

namespace files_test {

namespace {

void fillStations(model::ProfileLine& p, float base) {
    int status = 0;
    model::ALLOCPF(p, status);
    for (int i = 1; i <= p.NSTA; ++i) {
        p.EAST(i) = base + 10.0f * static_cast<float>(i);
        p.NORT(i) = base * 2.0f - 5.0f * static_cast<float>(i);
        p.STAT(i) = 11.25f * static_cast<float>(i - 1);
        p.ELEV(i) = 300.0f + 0.5f * static_cast<float>(i);
        p.REG(i) = 0.125f * static_cast<float>(i) - 0.3f;
        for (int k = 1; k <= p.NCOMP; ++k) {
            p.DAT(i, k) = static_cast<float>(k * 100 + i) + 0.01f;
            p.SYN(i, k) = static_cast<float>(k * 100 + i) - 0.02f;
            p.MASK(i, k) = (i + k) % 3 == 0;
        }
    }
}

void fillLabels(model::LabelSet& l) {
    l.NLAB = 2;
    l.CMODL[0].assign("Basin fill");
    l.CMODL[1].assign("Granite: 2.67 gm/cc");
    for (int i = 0; i < 2; ++i) {
        float f = static_cast<float>(i + 1);
        l.XCLAB[i] = 1.5f * f;
        l.YCLAB[i] = 2.5f * f;
        l.WDLAB[i] = 1.25f;
        l.HILAB[i] = 0.14f;
        l.XARRO[i] = 3.0f * f;
        l.YARRO[i] = -1.0f * f;
        l.IWINDOW[i] = i + 1;
        l.IPARAM[i] = 2 - i;
    }
}

// A layer of three vertices (seven with its closing ones), a body of four
// and a body of three whose first two vertices follow the second body.
void fillModel(model::PolygonModel& m) {
    m.NBOD = 3;
    m.NTOPO = 3;
    m.NVCAP = 14;
    m.NBCAP = 3;
    m.reserved16 = 0xDEADBEEF;
    m.DBKG = 2.4f;
    m.BKRAT = 0.1f;
    m.BKINC = 60.0f;
    m.BKDEC = 5.0f;
    m.BKXT1 = 1000.0f;
    m.BKXT2 = 2000.0f;
    m.LEXTND = true;
    m.SGEO = {12.0f, 0.5f, 100.0f, 3.0f};
    m.AZIM = 45.0f;
    m.TIEPRF = 10.0f;
    m.DECREF = 1.0f;
    m.TIEEAS = 500100.0f;
    m.TIENOR = 6100200.0f;
    m.STRIKE = -45.0f;
    m.BASELN = 2.0f;
    m.GRIDROT = 0.5f;
    m.ICOORD = 2;
    m.reserved124 = 77;
    model::ALLOCPG(m, 14, 3);

    const int iv1[] = {1, 8, 12}, iv2[] = {7, 11, 14};
    const bool layer[] = {true, false, false};
    for (int b = 1; b <= 3; ++b) {
        float f = static_cast<float>(b);
        m.IV1(b) = iv1[b - 1];
        m.IV2(b) = iv2[b - 1];
        m.LAYER(b) = layer[b - 1];
        m.DENS(b) = 2.0f + 0.3f * f;
        m.REMS(b) = 0.01f * f;
        m.DIPS(b) = 10.0f * f;
        m.DECS(b) = -5.0f * f;
        m.XTENT1(b) = 100.0f * f;
        m.XTENT2(b) = 150.0f * f;
        m.AREAS(b) = -1234.5f * f;
        m.ILEVL(b) = b == 3 ? 2 : 1;
        m.INCLBD(b) = b == 3 ? 2 : 0;
    }
    m.XPIVOT(2) = 55.5f;
    m.ZPIVOT(2) = -20.0f;
    m.LVFIX(0) = true;
    m.LVFIX(1) = false;
    m.LVFIX(2) = true;
    m.LVFIX(3) = false;
    const float x[] = {0, 30, 60, 1e15f, 1e15f, -1e15f, -1e15f, 10, 40, 40, 10, 10, 40, 25};
    const float z[] = {-50,  -55,  -52,  -52,  1e15f, 1e15f, -50,
                       -100, -100, -150, -150, -100,  -100,  -80};
    for (int v = 1; v <= 14; ++v) {
        m.XVRT(v) = x[v - 1];
        m.ZVRT(v) = z[v - 1];
        m.IPOINT(v) = v;
        m.LXFIX(v) = v % 2 == 0;
        m.LZFIX(v) = v % 3 == 0;
    }
    m.IPOINT(12) = 8;  // locked to the second body's corners
    m.IPOINT(13) = 9;
    m.LXFIX(12) = m.LZFIX(12) = m.LXFIX(13) = m.LZFIX(13) = false;
    const float tx[] = {0, 30, 60, 1e16f, 1e16f, -1e16f, -1e16f};
    const float tz[] = {301, 302, 303.5f, 303.5f, -1e16f, -1e16f, 301};
    for (int i = 1; i <= 7; ++i) {
        m.XTOPO(i) = tx[i - 1];
        m.ZTOPO(i) = tz[i - 1];
    }
}

void fillHeader(model::ProfileLine& p, std::string_view name, std::string_view type) {
    p.PNAME.assign(name);
    p.DTYPE.assign(type);
    p.SRCNAME.assign("");
    p.CUNIT.assign("m");
    p.DUNIT = {base::FixedString<4>("mgal"), base::FixedString<4>("nT")};
    p.NDGRAF = 1;
    p.NLGRAF = 2;
    p.NVSTA = 0;
    p.reserved104[5] = 42;
    p.EFIRST = 500010.0f;
    p.NFIRST = 6100000.0f;
    p.ELAST = 500070.0f;
    p.NLAST = 6100300.0f;
    p.reserved148[0] = 9;
    p.TUNIT.assign("    ");
    p.reserved164[47] = 1;
    p.RMSERR = 0.25f;
    p.RMSERR2 = 0.25f;
    p.XREG = {1, 2, 3, 4, 5};
    p.YREG = {-1, -2, -3, -4, -5};
    p.XUNIT.assign("M");
    p.ZUNIT.assign("KM");
    p.FIELD = 48000.0f;
    p.FINCL = 70.0f;
    p.FDECL = -3.0f;
    p.ISUSUN = 2;
    p.IDENUN = 1;
    p.IELEV = 3;
    p.SENSHT = 1.5f;
    p.LMASKU = true;
    for (std::size_t k = 0; k < p.AXES.size(); ++k)
        p.AXES[k] = sampleAxis(static_cast<float>(k + 1));
}

}  // namespace

util::AxisRecord sampleAxis(float seed) {
    util::AxisRecord a;
    a.originX = 1.0f + seed;
    a.originY = 0.5f * seed;
    a.divLengthX = 1.25f;
    a.divLengthY = -0.75f;
    a.startX = -100.0f * seed;
    a.startY = 50.0f;
    a.stepX = 25.0f;
    a.stepY = 0.2f * seed;
    a.scaleX = 0.05f;
    a.clipXMax = 7.5f;
    a.divCountX = 8;
    a.divCountY = 5;
    a.firstDecadeX = 5;
    a.markerType = static_cast<std::int32_t>(seed);
    a.yExtra1 = {1, 2, 3, 4};
    a.logY = seed > 3;
    a.xLabelsBelow = true;
    a.yLabelsLeft = true;
    return a;
}

model::ProfileDatabase emptyDatabase(std::string_view name) {
    model::ProfileDatabase db;
    model::allocateDatabase(db);
    db.DBNAME.assign(name);
    return db;
}

model::ProfileDatabase richDatabase() {
    model::ProfileDatabase db = emptyDatabase("SURVEY");
    db.NPROF = 2;
    db.reserved24 = {1, 2, 3, 4, 5, 6, 7, 8};
    db.reserved44 = {9, 9, 9, 9};

    model::ProfileLine& a = db.profile(1);
    fillHeader(a, "LINE A", "Gravity Data");
    a.NSTA = 7;
    a.NCOMP = 1;
    a.LSYN = true;
    a.NREG = 6;  // the stored regional array
    fillStations(a, 500000.0f);
    fillLabels(a.LABELS);
    fillModel(a.MODEL);

    model::ProfileLine& b = db.profile(2);
    fillHeader(b, "LINE B", "Gravity/Mag Data");
    b.NSTA = 3;
    b.NCOMP = 2;
    b.LSYN = false;
    b.NREG = 0;
    fillStations(b, 510000.0f);
    b.MODEL.NTOPO = 3;
    model::ALLOCPG(b.MODEL, 0, 0);
    for (int i = 1; i <= 3; ++i) {
        b.MODEL.XTOPO(i) = b.STAT(i);
        b.MODEL.ZTOPO(i) = b.ELEV(i);
    }
    for (int i = 1; i <= 2; ++i)
        db.name(i) = model::listName(db.profile(i).PNAME);
    return db;
}

FileBuilder::FileBuilder() {
    out_.text("PelkFile", 8);
}

FileBuilder& FileBuilder::section(std::string_view keyword,
                                  const std::vector<std::uint8_t>& payload, std::int32_t version,
                                  std::int32_t index, std::optional<std::int32_t> length) {
    out_.text(keyword, 8);
    out_.i32(version);
    out_.i32(index);
    out_.i32(length.value_or(static_cast<std::int32_t>(payload.size())));
    out_.bytes(payload);
    return *this;
}

FileBuilder& FileBuilder::start(std::int32_t profiles, std::int32_t current) {
    model::DatabaseHeader head;
    head.DBNAME.assign("BUILT");
    head.NPROF = profiles;
    base::ByteWriter w;
    model::writeDatabaseHeader(w, head);
    section("DATAHEAD", w.take());
    base::ByteWriter axis;
    util::writeAxisRecord(axis, sampleAxis(9.0f));
    section("MAPAXIS ", axis.take());
    if (profiles > 0) section("PROFILE ", integers({current}));
    return *this;
}

std::vector<std::uint8_t> reals(std::initializer_list<float> values) {
    base::ByteWriter w;
    for (float v : values)
        w.f32(v);
    return w.take();
}

std::vector<std::uint8_t> integers(std::initializer_list<std::int32_t> values) {
    base::ByteWriter w;
    for (std::int32_t v : values)
        w.i32(v);
    return w.take();
}

std::vector<std::uint8_t> profileHead(std::string_view name, std::int32_t nsta, std::int32_t ncomp,
                                      std::size_t size) {
    model::ProfileHeader head;
    head.PNAME.assign(name);
    head.DTYPE.assign("Gravity Data");
    head.NSTA = nsta;
    head.NCOMP = ncomp;
    head.XUNIT.assign("M");
    head.ZUNIT.assign("M");
    head.FIELD = 1.0f;
    head.FINCL = 2.0f;
    head.FDECL = 3.0f;
    head.IELEV = 4;
    head.SENSHT = 5.0f;
    base::ByteWriter w;
    model::writeProfileHeader(w, head);
    auto bytes = w.take();
    bytes.resize(size);
    return bytes;
}

std::vector<std::uint8_t> modelHead(std::int32_t nbod, std::int32_t ntopo) {
    model::ModelHeader head;
    head.NBOD = nbod;
    head.NTOPO = ntopo;
    head.AZIM = 30.0f;
    head.SGEO = {1, 2, 3, 4};
    base::ByteWriter w;
    model::writeModelHeader(w, head);
    return w.take();
}

std::vector<SectionEntry> sectionsOf(const std::vector<std::uint8_t>& file) {
    std::vector<SectionEntry> out;
    base::ByteReader r(file);
    r.skip(8);
    while (r.remaining() >= 20) {
        SectionEntry e;
        e.offset = r.position();
        e.keyword = r.text(8);
        e.version = r.i32();
        e.index = r.i32();
        e.length = r.i32();
        out.push_back(e);
        if (e.length < 0 || static_cast<std::size_t>(e.length) > r.remaining()) break;
        r.skip(static_cast<std::size_t>(e.length));
    }
    return out;
}

}  // namespace files_test
