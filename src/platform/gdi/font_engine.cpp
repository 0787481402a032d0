#include "platform/gdi/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <numbers>
#include <tuple>

#include "base/cp1252.h"

namespace win::gdi {
namespace {

enum class Mapping { Text, Symbol, Wingdings };

struct FaceChoice {
    std::string preferred;
    std::string fallback;
    Mapping mapping = Mapping::Text;
};

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string faceName(const LOGFONTA& lf) {
    return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
}

const FaceChoice kSans{"Liberation Sans", "DejaVu Sans"};
const FaceChoice kSerif{"Liberation Serif", "DejaVu Serif"};
const FaceChoice kMono{"Liberation Mono", "DejaVu Sans Mono"};

FaceChoice chooseFace(const LOGFONTA& lf) {
    const std::string name = lower(faceName(lf));
    if (name == "symbol" || (name.empty() && lf.lfCharSet == SYMBOL_CHARSET))
        return {"DejaVu Sans", "DejaVu Sans", Mapping::Symbol};
    if (name == "wingdings") return {"DejaVu Sans", "DejaVu Sans", Mapping::Wingdings};
    static const std::map<std::string, const FaceChoice*> known = {
        {"arial", &kSans},          {"ms sans serif", &kSans},
        {"helvetica", &kSans},      {"ms shell dlg", &kSans},
        {"ms shell dlg 2", &kSans}, {"tahoma", &kSans},
        {"system", &kSans},         {"segoe ui", &kSans},
        {"verdana", &kSans},        {"times new roman", &kSerif},
        {"times", &kSerif},         {"ms serif", &kSerif},
        {"courier new", &kMono},    {"courier", &kMono},
        {"fixedsys", &kMono},       {"terminal", &kMono},
        {"lucida console", &kMono}};
    if (auto it = known.find(name); it != known.end()) return *it->second;
    const int family = lf.lfPitchAndFamily & 0xF0;
    const FaceChoice& generic = family == FF_ROMAN ? kSerif
                                : (family == FF_MODERN || (lf.lfPitchAndFamily & 3) == FIXED_PITCH)
                                    ? kMono
                                    : kSans;
    if (name.empty()) return generic;
    return {faceName(lf), generic.preferred};
}

struct Match {
    std::string file;
    int index = 0;
    std::string family;
    bool bold = false, italic = false;
};

std::optional<Match> askFontconfig(const std::string& family, bool bold, bool italic) {
    static bool ready = [] {
        if (!FcInit()) return false;
        // Releases fontconfig's configuration at exit, so leak checks stay quiet.
        std::atexit(FcFini);
        return true;
    }();
    if (!ready) return std::nullopt;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* found = FcFontMatch(nullptr, pat, &result);
    FcPatternDestroy(pat);
    if (!found) return std::nullopt;
    Match m;
    FcChar8* s = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &s) == FcResultMatch)
        m.file = reinterpret_cast<char*>(s);
    FcPatternGetInteger(found, FC_INDEX, 0, &m.index);
    if (FcPatternGetString(found, FC_FAMILY, 0, &s) == FcResultMatch)
        m.family = reinterpret_cast<char*>(s);
    int weight = 0, slant = 0;
    FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(found, FC_SLANT, 0, &slant);
    m.bold = weight >= FC_WEIGHT_DEMIBOLD;
    m.italic = slant != FC_SLANT_ROMAN;
    FcPatternDestroy(found);
    if (m.file.empty() || lower(m.family) != lower(family)) return std::nullopt;
    return m;
}

// Asking fontconfig costs about a million instructions; every size of a
// face asks the same question, so each answer is kept.
std::optional<Match> matchFamily(const std::string& family, bool bold, bool italic) {
    static std::map<std::tuple<std::string, bool, bool>, std::optional<Match>> answers;
    const auto key = std::make_tuple(family, bold, italic);
    if (auto it = answers.find(key); it != answers.end()) return it->second;
    return answers.emplace(key, askFontconfig(family, bold, italic)).first->second;
}

Match resolve(const LOGFONTA& lf, Mapping& mapping) {
    const FaceChoice choice = chooseFace(lf);
    mapping = choice.mapping;
    const bool bold = lf.lfWeight >= 600;
    const bool italic = lf.lfItalic != 0;
    for (const std::string& fam : {choice.preferred, choice.fallback, std::string("DejaVu Sans")})
        if (auto m = matchFamily(fam, bold, italic)) return *m;
    Match none;
    return none;
}

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        FT_Init_FreeType(&l);
        return l;
    }();
    return lib;
}

char32_t symbolCodePoint(unsigned char b) {
    static const char32_t upper[26] = {
        0x391, 0x392, 0x3A7, 0x394, 0x395, 0x3A6, 0x393, 0x397, 0x399, 0x3D1, 0x39A, 0x39B, 0x39C,
        0x39D, 0x39F, 0x3A0, 0x398, 0x3A1, 0x3A3, 0x3A4, 0x3A5, 0x3C2, 0x3A9, 0x39E, 0x3A8, 0x396};
    static const char32_t lowerTab[26] = {
        0x3B1, 0x3B2, 0x3C7, 0x3B4, 0x3B5, 0x3C6, 0x3B3, 0x3B7, 0x3B9, 0x3D5, 0x3BA, 0x3BB, 0x3BC,
        0x3BD, 0x3BF, 0x3C0, 0x3B8, 0x3C1, 0x3C3, 0x3C4, 0x3C5, 0x3D6, 0x3C9, 0x3BE, 0x3C8, 0x3B6};
    if (b >= 'A' && b <= 'Z') return upper[b - 'A'];
    if (b >= 'a' && b <= 'z') return lowerTab[b - 'a'];
    static const std::map<unsigned char, char32_t> other = {
        {0x22, 0x2200}, {0x24, 0x2203}, {0x27, 0x220B}, {0x2A, 0x2217}, {0x2D, 0x2212},
        {0x40, 0x2245}, {0x5C, 0x2234}, {0x5E, 0x22A5}, {0x60, 0x203E}, {0x7E, 0x223C},
        {0xA1, 0x3D2},  {0xA2, 0x2032}, {0xA3, 0x2264}, {0xA4, 0x2044}, {0xA5, 0x221E},
        {0xA6, 0x192},  {0xA7, 0x2663}, {0xA8, 0x2666}, {0xA9, 0x2665}, {0xAA, 0x2660},
        {0xAB, 0x2194}, {0xAC, 0x2190}, {0xAD, 0x2191}, {0xAE, 0x2192}, {0xAF, 0x2193},
        {0xB0, 0xB0},   {0xB1, 0xB1},   {0xB2, 0x2033}, {0xB3, 0x2265}, {0xB4, 0xD7},
        {0xB5, 0x221D}, {0xB6, 0x2202}, {0xB7, 0x2022}, {0xB8, 0xF7},   {0xB9, 0x2260},
        {0xBA, 0x2261}, {0xBB, 0x2248}, {0xBC, 0x2026}, {0xC0, 0x2135}, {0xC1, 0x2111},
        {0xC2, 0x211C}, {0xC3, 0x2118}, {0xC4, 0x2297}, {0xC5, 0x2295}, {0xC6, 0x2205},
        {0xC7, 0x2229}, {0xC8, 0x222A}, {0xC9, 0x2283}, {0xCA, 0x2287}, {0xCB, 0x2284},
        {0xCC, 0x2282}, {0xCD, 0x2286}, {0xCE, 0x2208}, {0xCF, 0x2209}, {0xD0, 0x2220},
        {0xD1, 0x2207}, {0xD5, 0x220F}, {0xD6, 0x221A}, {0xD7, 0x22C5}, {0xD8, 0xAC},
        {0xD9, 0x2227}, {0xDA, 0x2228}, {0xDB, 0x21D4}, {0xDC, 0x21D0}, {0xDD, 0x21D1},
        {0xDE, 0x21D2}, {0xDF, 0x21D3}, {0xE0, 0x25CA}, {0xE1, 0x2329}, {0xE5, 0x2211},
        {0xF1, 0x232A}, {0xF2, 0x222B}};
    if (auto it = other.find(b); it != other.end()) return it->second;
    return base::cp1252ToUnicode(b);
}

using Key = std::tuple<std::string, LONG, LONG, LONG, LONG, BYTE, BYTE, BYTE, BYTE, BYTE>;

Key keyOf(const LOGFONTA& lf) {
    return {lower(faceName(lf)), lf.lfHeight,        lf.lfWidth,     lf.lfEscapement,
            lf.lfWeight >= 600,  lf.lfItalic,        lf.lfUnderline, lf.lfStrikeOut,
            lf.lfCharSet,        lf.lfPitchAndFamily};
}

}  // namespace

struct FontInstance::Impl {
    FT_Face face = nullptr;
    Mapping mapping = Mapping::Text;
    FT_Matrix rotation{0x10000, 0, 0, 0x10000};
    bool rotated = false;
};

FontInstance::~FontInstance() {
    if (impl_ && impl_->face) FT_Done_Face(impl_->face);
}

char32_t FontInstance::codePoint(unsigned char b) const {
    switch (impl_->mapping) {
        case Mapping::Symbol:
            return symbolCodePoint(b);
        case Mapping::Wingdings:
            if (b == 0xFC) return 0x2713;
            if (b == 0xFB) return 0x2717;
            return base::cp1252ToUnicode(b);
        case Mapping::Text:
            break;
    }
    return base::cp1252ToUnicode(b);
}

unsigned FontInstance::glyphIndex(unsigned char b) {
    if (!impl_->face) return 0;
    return FT_Get_Char_Index(impl_->face, codePoint(b));
}

int FontInstance::advance(unsigned char b) {
    if (haveAdvance_[b]) return advances_[b];
    int adv = 0;
    if (impl_->face) {
        FT_Set_Transform(impl_->face, nullptr, nullptr);
        if (FT_Load_Glyph(impl_->face, glyphIndex(b), FT_LOAD_TARGET_MONO) == 0) {
            if (syntheticBold) FT_GlyphSlot_Embolden(impl_->face->glyph);
            adv = static_cast<int>((impl_->face->glyph->advance.x + 32) >> 6);
        }
    }
    advances_[b] = adv;
    haveAdvance_[b] = true;
    return adv;
}

const GlyphImage& FontInstance::glyph(unsigned char b) {
    if (glyphs_[b]) return *glyphs_[b];
    GlyphImage img;
    FT_Face face = impl_->face;
    if (face) {
        FT_Matrix m = impl_->rotation;
        if (syntheticItalic) {
            // Slant by about 12 degrees, then rotate.
            FT_Matrix shear{0x10000, 0x3800, 0, 0x10000};
            const FT_Matrix rotation = impl_->rotation;
            FT_Matrix_Multiply(&rotation, &shear);
            m = shear;
        }
        const bool transform = impl_->rotated || syntheticItalic;
        FT_Set_Transform(face, transform ? &m : nullptr, nullptr);
        FT_Int32 flags = FT_LOAD_TARGET_MONO | (transform ? FT_LOAD_NO_HINTING : 0);
        if (FT_Load_Glyph(face, glyphIndex(b), flags) == 0) {
            FT_GlyphSlot slot = face->glyph;
            if (syntheticBold) FT_GlyphSlot_Embolden(slot);
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0) {
                const FT_Bitmap& bm = slot->bitmap;
                img.left = slot->bitmap_left;
                img.top = slot->bitmap_top;
                img.width = static_cast<int>(bm.width);
                img.height = static_cast<int>(bm.rows);
                img.bits.assign(static_cast<std::size_t>(img.width) * img.height, 0);
                for (int y = 0; y < img.height; ++y) {
                    const unsigned char* row =
                        bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                    for (int x = 0; x < img.width; ++x)
                        img.bits[static_cast<std::size_t>(y) * img.width + x] =
                            (row[x >> 3] >> (7 - (x & 7))) & 1;
                }
            }
        }
        FT_Set_Transform(face, nullptr, nullptr);
    }
    glyphs_[b] = std::move(img);
    return *glyphs_[b];
}

std::string mappedFamily(const LOGFONTA& request) {
    Mapping mapping;
    return resolve(request, mapping).family;
}

std::shared_ptr<FontInstance> realizeFont(const LOGFONTA& lf) {
    static std::map<Key, std::shared_ptr<FontInstance>> cache;
    const Key key = keyOf(lf);
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    std::shared_ptr<FontInstance> font(new FontInstance());
    font->impl_ = std::make_unique<FontInstance::Impl>();
    font->request = lf;
    Mapping mapping;
    const Match m = resolve(lf, mapping);
    font->impl_->mapping = mapping;
    font->file = m.file;
    font->faceIndex = m.index;
    font->syntheticBold = lf.lfWeight >= 600 && !m.bold;
    font->syntheticItalic = lf.lfItalic && !m.italic;
    FT_Face face = nullptr;
    if (!m.file.empty() && FT_New_Face(library(), m.file.c_str(), m.index, &face) != 0)
        face = nullptr;
    font->impl_->face = face;

    double upem = 2048, winAscent = 1854, winDescent = 434, avgWidth = 904, lineGap = 67;
    if (face) {
        upem = face->units_per_EM;
        winAscent = face->ascender;
        winDescent = -face->descender;
        lineGap = face->height - (face->ascender - face->descender);
        avgWidth = upem / 2;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                winAscent = os2->usWinAscent;
                winDescent = os2->usWinDescent;
            }
            if (os2->xAvgCharWidth > 0) avgWidth = os2->xAvgCharWidth;
        }
    }
    // Height 0 asks for the default size.
    double cell = lf.lfHeight == 0 ? 16 : std::abs(static_cast<double>(lf.lfHeight));
    double em = lf.lfHeight < 0 ? cell : cell * upem / (winAscent + winDescent);
    // Sizes beyond any page are held at a limit rather than rendered.
    constexpr double kLargest = 2048;
    em = std::clamp(std::round(em), 1.0, kLargest);
    double emX = em;
    if (lf.lfWidth > 0) emX = std::clamp(std::round(lf.lfWidth * upem / avgWidth), 1.0, kLargest);
    font->emX = emX;
    font->emY = em;
    font->ascent = static_cast<int>(std::lround(winAscent * em / upem));
    font->descent = static_cast<int>(std::lround(winDescent * em / upem));
    font->internalLeading = font->height() - static_cast<int>(em);
    font->externalLeading = std::max(0, static_cast<int>(std::lround(lineGap * em / upem)));
    font->avgCharWidth = static_cast<int>(std::lround(avgWidth * emX / upem));
    font->maxCharWidth = face ? static_cast<int>(std::lround(face->max_advance_width * emX / upem))
                              : font->avgCharWidth * 2;
    if (face) {
        FT_Set_Char_Size(face, static_cast<FT_F26Dot6>(emX * 64), static_cast<FT_F26Dot6>(em * 64),
                         72, 72);
        font->underlinePosition =
            std::max(1, static_cast<int>(std::lround(-face->underline_position * em / upem)));
        font->underlineThickness =
            std::max(1, static_cast<int>(std::lround(face->underline_thickness * em / upem)));
    } else {
        font->underlinePosition = 1;
    }
    font->strikeoutPosition = std::max(1, static_cast<int>(std::lround(em * 0.26)));
    if (lf.lfEscapement % 3600 != 0) {
        const double a = lf.lfEscapement * std::numbers::pi / 1800.0;
        const FT_Fixed c = static_cast<FT_Fixed>(std::lround(std::cos(a) * 65536));
        const FT_Fixed s = static_cast<FT_Fixed>(std::lround(std::sin(a) * 65536));
        font->impl_->rotation = {c, -s, s, c};
        font->impl_->rotated = true;
    }
    cache.emplace(key, font);
    return font;
}

}  // namespace win::gdi
