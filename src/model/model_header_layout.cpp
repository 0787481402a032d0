#include "model/model_header_layout.h"

#include <algorithm>

#include "model/header_codec.h"

namespace model {

namespace {

template <typename V, typename H>
void visitModelHeader(V& v, H& h) {
    v.i32(h.NBOD);           //   0
    v.i32(h.NTOPO);          //   4
    v.i32(h.NVCAP);          //   8
    v.i32(h.NBCAP);          //  12
    v.u32(h.reserved16);     //  16
    v.f32(h.DBKG);           //  20
    v.f32(h.BKRAT);          //  24
    v.f32(h.BKINC);          //  28
    v.f32(h.BKDEC);          //  32
    v.f32(h.BKXT1);          //  36
    v.f32(h.BKXT2);          //  40
    v.u32(h.reserved44[0]);  //  44
    v.u32(h.reserved44[1]);  //  48
    v.logical(h.LEXTND);     //  52
    for (auto& s : h.SGEO)
        v.f32(s);             // 56
    v.u32(h.reserved72[0]);   //  72
    v.u32(h.reserved72[1]);   //  76
    v.f32(h.AZIM);            //  80
    v.f32(h.TIEPRF);          //  84
    v.f32(h.DECREF);          //  88
    v.f32(h.TIEEAS);          //  92
    v.f32(h.TIENOR);          //  96
    v.f32(h.STRIKE);          // 100
    v.f32(h.BASELN);          // 104
    v.f32(h.GRIDROT);         // 108
    v.u32(h.reserved112[0]);  // 112
    v.u32(h.reserved112[1]);  // 116
    v.i32(h.ICOORD);          // 120
    v.u32(h.reserved124);     // 124
}

}  // namespace

void writeModelHeader(base::ByteWriter& out, const ModelHeader& head) {
    HeaderEncoder enc(out);
    visitModelHeader(enc, head);
}

bool readModelHeader(std::span<const std::uint8_t> bytes, ModelHeader& head) {
    base::ByteReader in(bytes.first(std::min(bytes.size(), kModelHeaderSize)));
    HeaderDecoder dec(in);
    visitModelHeader(dec, head);
    return dec.complete();
}

void presetModelHeaderForReading(ModelHeader& head) {
    head.SGEO = {12.0f, 0.0f, 100.0f, 0.0f};
    head.AZIM = 90.0f;
    head.STRIKE = 0.0f;
}

}  // namespace model
