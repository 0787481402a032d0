#include "model/profile_header_layout.h"

#include <algorithm>

#include "model/header_codec.h"

namespace model {

namespace {

template <typename V, typename H>
void visitProfileHeader(V& v, H& h) {
    v.text(h.PNAME);     //   0
    v.text(h.DTYPE);     //  20
    v.text(h.SRCNAME);   //  40
    v.text(h.CUNIT);     //  60
    v.text(h.DUNIT[0]);  //  64
    v.text(h.DUNIT[1]);  //  68
    v.i32(h.NSTA);       //  72
    v.i32(h.NCOMP);      //  76
    v.i32(h.NDGRAF);     //  80
    v.i32(h.NLGRAF);     //  84
    v.i32(h.NVSTA);      //  88
    v.i32(h.NVLIN);      //  92
    v.i32(h.MVLIN);      //  96
    v.i32(h.MVSTA);      // 100
    v.raw(h.reserved104);
    v.logical(h.LSYN);   // 124
    v.logical(h.LVDIR);  // 128
    v.f32(h.EFIRST);     // 132
    v.f32(h.NFIRST);     // 136
    v.f32(h.ELAST);      // 140
    v.f32(h.NLAST);      // 144
    v.raw(h.reserved148);
    v.text(h.TUNIT);  // 160
    v.raw(h.reserved164);
    v.f32(h.RMSERR);   // 212
    v.f32(h.RMSERR2);  // 216
    for (auto& x : h.XREG)
        v.f32(x);  // 220
    for (auto& y : h.YREG)
        v.f32(y);  // 240
    v.raw(h.reserved260);
    v.i32(h.NREG);        // 280
    v.text(h.XUNIT);      // 284
    v.text(h.ZUNIT);      // 292
    v.f32(h.FIELD);       // 300
    v.f32(h.FINCL);       // 304
    v.f32(h.FDECL);       // 308
    v.i32(h.ISUSUN);      // 312
    v.i32(h.IDENUN);      // 316
    v.i32(h.IELEV);       // 320
    v.f32(h.SENSHT);      // 324
    v.logical(h.LMASKU);  // 328
}

template <typename V, typename H>
void visitDatabaseHeader(V& v, H& h) {
    v.text(h.DBNAME);  //  0
    v.raw(h.reserved24);
    v.i32(h.NPROF);  // 32
    v.raw(h.reserved36);
    v.logical(h.LDBSAV);  // 40
    v.raw(h.reserved44);
}

template <typename H, typename Visit>
bool readWith(std::span<const std::uint8_t> bytes, std::size_t size, H& head, Visit visit) {
    base::ByteReader in(bytes.first(std::min(bytes.size(), size)));
    HeaderDecoder dec(in);
    visit(dec, head);
    return dec.complete();
}

}  // namespace

void writeProfileHeader(base::ByteWriter& out, const ProfileHeader& head) {
    HeaderEncoder enc(out);
    visitProfileHeader(enc, head);
}

bool readProfileHeader(std::span<const std::uint8_t> bytes, ProfileHeader& head) {
    return readWith(bytes, kProfileHeaderSize, head,
                    [](HeaderDecoder& d, ProfileHeader& h) { visitProfileHeader(d, h); });
}

void presetProfileHeaderForReading(ProfileHeader& head) {
    head.XUNIT = base::FixedString<8>("KM");
    head.ZUNIT = base::FixedString<8>("KM");
    head.FIELD = 50000.0f;
    head.FINCL = 65.0f;
    head.FDECL = 0.0f;
    head.IELEV = 1;
    head.SENSHT = 0.0f;
}

void writeDatabaseHeader(base::ByteWriter& out, const DatabaseHeader& head) {
    HeaderEncoder enc(out);
    visitDatabaseHeader(enc, head);
}

bool readDatabaseHeader(std::span<const std::uint8_t> bytes, DatabaseHeader& head) {
    return readWith(bytes, kDatabaseHeaderSize, head,
                    [](HeaderDecoder& d, DatabaseHeader& h) { visitDatabaseHeader(d, h); });
}

}  // namespace model
