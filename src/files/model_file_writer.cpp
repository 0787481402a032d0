// Writing the ASCII model file: three header lines, the background block,
// and per body its property block, a column header and one line per vertex.

#include <algorithm>
#include <string_view>

#include "files/atomic_write.h"
#include "files/messages.h"
#include "files/model_file.h"
#include "files/text_fields.h"

namespace files {

namespace {

std::string e13(float v) {
    return formatExponent(v, 13, 6);
}
std::string f10(float v, int decimals) {
    return formatFixed(v, 10, decimals);
}

// A text field as it stands, zero bytes shown as blanks.
template <std::size_t N>
std::string text(const base::FixedString<N>& s) {
    std::string t(s.view());
    std::replace(t.begin(), t.end(), '\0', ' ');
    return t;
}

// Decimals of the first two sibling values: fewer as they grow.
int siblingDecimals(float a, float b) {
    float larger = std::max(a, b), smaller = std::min(a, b);
    if (larger > 9999999.0f || smaller < -999999.0f) return 1;
    if (larger > 999999.0f || smaller < -99999.0f) return 2;
    return 3;
}

bool isMagnetic(const model::ProfileLine& p) {
    return p.DTYPE.view().find("Mag") != std::string_view::npos;
}

char freeLetter(bool x, bool z) {
    return x && z ? 'B' : x ? 'X' : z ? 'Z' : 'N';
}

void headerLines(std::vector<std::string>& out, const model::ProfileLine& p,
                 const model::PolygonModel& m) {
    out.push_back(text(p.PNAME) + text(p.DTYPE) + formatFixed(p.FDECL, 6, 0));
    const int d = siblingDecimals(m.SGEO[0], m.SGEO[1]);
    out.push_back("     " + f10(m.SGEO[0], d) + f10(m.SGEO[1], d) + f10(m.SGEO[2], 3) +
                  f10(m.SGEO[3], 3) + "  " + text(p.ZUNIT) + "  " + text(p.XUNIT));
    out.push_back("     " + f10(p.FIELD, 3) + f10(p.FINCL, 3) + f10(m.STRIKE, 3) + f10(m.AZIM, 3));
}

struct Properties {
    float property, out, in, ratio, inclination, declination;
};

// The property lines of a block; `suffix` closes the last one.
void propertyLines(std::vector<std::string>& out, const std::string& head, bool magnetic,
                   const Properties& p, const std::string& suffix) {
    out.push_back(head + (magnetic ? "SUSCEPTIBILITY: " : "DENSITY: ") + e13(p.property) + " \\");
    std::string extents = "  EXTENT-OUT: " + e13(p.out) + "  EXTENT-IN: " + e13(p.in);
    if (!magnetic) {
        out.push_back(extents + suffix);
        return;
    }
    out.push_back(extents + " \\");
    out.push_back("  K-RATIO: " + e13(p.ratio) + "  INCLINATION: " + e13(p.inclination) + " \\");
    out.push_back("  DECLINATION: " + e13(p.declination) + suffix);
}

template <typename T, std::ptrdiff_t L>
T at(const model::Array<T, L>& a, std::ptrdiff_t i) {
    return a.has(i) ? a(i) : T{};
}

void bodyLines(std::vector<std::string>& out, const model::PolygonModel& m, int g, bool magnetic) {
    const bool layer = at(m.LAYER, g), free = at(m.LVFIX, g);
    const std::string suffix = layer && free ? "  FREE  LAYER"
                               : layer       ? "  LAYER"
                               : free        ? "  FREE"
                                             : "";
    out.emplace_back();
    out.emplace_back();
    propertyLines(out, "BODY: " + formatInteger(g, 3) + "  ", magnetic,
                  {at(m.DENS, g), at(m.XTENT1, g), at(m.XTENT2, g), at(m.REMS, g), at(m.DIPS, g),
                   at(m.DECS, g)},
                  suffix);
    out.emplace_back();
    out.push_back("VERTEX NO.:        X:              Z:      FREE:  LOCKED TO:");
    out.push_back("-----------        --              --      -----  ----------");
    const int first = at(m.IV1, g);
    const int last = at(m.IV2, g) - (layer ? 4 : 0);
    for (int v = first; v <= last; ++v) {
        const int leader = at(m.IPOINT, v);
        out.push_back("VERT: " + formatInteger(v - NOFSET(m, v), 4) + "   " + e13(at(m.XVRT, v)) +
                      "   " + e13(at(m.ZVRT, v)) + "   " +
                      freeLetter(at(m.LXFIX, v), at(m.LZFIX, v)) + "     " +
                      formatInteger(leader - NOFSET(m, leader), 4));
    }
}

// The 1-based line holding byte `offset` of the text.
std::size_t lineAt(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
}

}  // namespace

std::vector<std::string> modelFileLines(const model::ProfileLine& profile,
                                        const model::PolygonModel& model) {
    std::vector<std::string> out;
    headerLines(out, profile, model);
    const bool magnetic = isMagnetic(profile);
    out.emplace_back();
    out.emplace_back();
    propertyLines(out, magnetic ? "BODY: BACKGROUND    " : "BODY: BACKGROUND  ", magnetic,
                  {model.DBKG, model.BKXT1, model.BKXT2, model.BKRAT, model.BKINC, model.BKDEC},
                  "");
    for (int g = 1; g <= model.NBOD; ++g)
        bodyLines(out, model, g, magnetic);
    return out;
}

bool writeModelFile(const std::string& fileName, const model::ProfileLine& profile,
                    const model::PolygonModel& model) {
    std::string text;
    for (const std::string& line : modelFileLines(profile, model))
        text += line + "\r\n";
    AtomicWriteResult result = writeFileAtomically(fileName, text);
    if (result.ok) return true;
    if (!result.created)
        showInformation("Cannot open file" + fileName + ".");
    else
        showInformation(
            "Write error at line: " +
            formatInteger(static_cast<long long>(lineAt(text, result.bytesWritten)), 5));
    return false;
}

}  // namespace files
