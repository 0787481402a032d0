#include "platform/controls/rtf_text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace win::controls {

namespace {
constexpr DWORD kEffectMasks =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED;
}  // namespace

void RichFormat::apply(const CHARFORMATA& cf) {
    effects = (effects & ~(cf.dwMask & kEffectMasks)) | (cf.dwEffects & cf.dwMask & kEffectMasks);
    if (cf.dwMask & CFM_SIZE) height = cf.yHeight;
    if (cf.dwMask & CFM_COLOR) {
        autoColour = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
        colour = cf.crTextColor;
    }
    if ((cf.dwMask & CFM_FACE) && cf.szFaceName[0])
        face.assign(cf.szFaceName, strnlen(cf.szFaceName, sizeof cf.szFaceName));
}

void RichFormat::fill(CHARFORMATA& cf, DWORD mask) const {
    cf.dwMask = mask;
    cf.dwEffects = effects | (autoColour ? CFE_AUTOCOLOR : 0);
    cf.yHeight = height;
    cf.crTextColor = colour;
    std::snprintf(cf.szFaceName, sizeof cf.szFaceName, "%s", face.c_str());
}

DWORD RichFormat::sameAs(const RichFormat& o) const {
    DWORD m = kEffectMasks & ~(effects ^ o.effects);
    if (height == o.height) m |= CFM_SIZE;
    if (autoColour == o.autoColour && colour == o.colour) m |= CFM_COLOR;
    if (face == o.face) m |= CFM_FACE;
    return m;
}

namespace {

int indexIn(std::vector<RichFormat>& formats, const RichFormat& f) {
    for (std::size_t i = 0; i < formats.size(); ++i)
        if (formats[i] == f) return static_cast<int>(i);
    formats.push_back(f);
    return static_cast<int>(formats.size()) - 1;
}

struct Reader {
    explicit Reader(const std::string& text) : s(text) {}
    const std::string& s;
    std::size_t at = 0;
    RichText out;
    std::vector<std::string> fonts;
    std::vector<COLORREF> colours;
    RichFormat base;
    BYTE paragraph = PFA_LEFT;

    struct State {
        RichFormat f;
        int destination = 0;  // 0 text, 1 font table, 2 colour table, 3 skipped
    };

    void emit(char c, const RichFormat& f) {
        out.text += c;
        out.fmt.push_back(indexIn(out.formats, f));
        out.para.push_back(paragraph);
    }

    // An escaped character: text, or part of a font's name (where an escaped
    // ';' does not end the name).
    void literal(const State& st, char c, std::string& fontName) {
        if (st.destination == 0) emit(c, st.f);
        if (st.destination == 1) fontName += c;
    }

    void run() {
        std::vector<State> stack{State{base, 0}};
        std::string pendingName;
        int fontNumber = 0;
        BYTE red = 0, green = 0, blue = 0;
        bool colourGiven = false;
        while (at < s.size()) {
            const char c = s[at];
            State& st = stack.back();
            if (c == '{') {
                stack.push_back(st);
                ++at;
                continue;
            }
            if (c == '}') {
                if (stack.back().destination == 1 && !pendingName.empty()) pendingName.clear();
                if (stack.size() > 1) stack.pop_back();
                ++at;
                continue;
            }
            if (c == '\r' || c == '\n') {
                ++at;
                continue;
            }
            if (c != '\\') {
                ++at;
                if (st.destination == 1) {
                    if (c == ';') {
                        if (fontNumber >= static_cast<int>(fonts.size()))
                            fonts.resize(static_cast<std::size_t>(fontNumber) + 1);
                        fonts[static_cast<std::size_t>(fontNumber)] = pendingName;
                        pendingName.clear();
                    } else {
                        pendingName += c;
                    }
                } else if (st.destination == 2) {
                    if (c == ';') {
                        colours.push_back(colourGiven ? RGB(red, green, blue) : 0xFFFFFFFFu);
                        red = green = blue = 0;
                        colourGiven = false;
                    }
                } else if (st.destination == 0) {
                    emit(c, st.f);
                }
                continue;
            }
            // A control symbol or word.
            ++at;
            if (at >= s.size()) break;
            const char n = s[at];
            if (n == '\\' || n == '{' || n == '}') {
                literal(st, n, pendingName);
                ++at;
                continue;
            }
            if (n == '\'') {
                const std::string hex = s.substr(at + 1, 2);
                at += 3;
                literal(st, static_cast<char>(std::strtol(hex.c_str(), nullptr, 16)), pendingName);
                continue;
            }
            if (n == '*') {
                st.destination = 3;
                ++at;
                continue;
            }
            if (!std::isalpha(static_cast<unsigned char>(n))) {
                ++at;
                continue;
            }
            std::string word;
            while (at < s.size() && std::isalpha(static_cast<unsigned char>(s[at])))
                word += s[at++];
            bool hasNumber = false;
            long number = 0;
            if (at < s.size() &&
                (s[at] == '-' || std::isdigit(static_cast<unsigned char>(s[at])))) {
                char* end = nullptr;
                number = std::strtol(s.c_str() + at, &end, 10);
                at = static_cast<std::size_t>(end - s.c_str());
                hasNumber = true;
            }
            if (at < s.size() && s[at] == ' ') ++at;
            const bool on = !hasNumber || number != 0;
            auto effect = [&](DWORD e, bool set) {
                st.f.effects = set ? (st.f.effects | e) : (st.f.effects & ~e);
            };
            // Paragraph layout, also from the bullet description of a skipped group.
            if (word == "pnlvlblt") paragraph |= kBullet;
            if (word == "pard") paragraph = PFA_LEFT;
            if (word == "qc") paragraph = static_cast<BYTE>((paragraph & ~kAlignMask) | PFA_CENTER);
            if (word == "qr") paragraph = static_cast<BYTE>((paragraph & ~kAlignMask) | PFA_RIGHT);
            if (word == "ql" || word == "qj")
                paragraph = static_cast<BYTE>((paragraph & ~kAlignMask) | PFA_LEFT);
            if (word == "pntext") st.destination = 3;
            if (word == "fonttbl")
                st.destination = 1;
            else if (word == "colortbl")
                st.destination = 2;
            else if (word == "stylesheet" || word == "info" || word == "pict" || word == "header" ||
                     word == "footer")
                st.destination = 3;
            else if (st.destination == 1 && word == "f")
                fontNumber = static_cast<int>(number);
            else if (st.destination == 2) {
                colourGiven = true;
                if (word == "red") red = static_cast<BYTE>(number);
                if (word == "green") green = static_cast<BYTE>(number);
                if (word == "blue") blue = static_cast<BYTE>(number);
            } else if (st.destination != 0) {
                continue;
            } else if (word == "par" || word == "line")
                emit('\r', st.f);
            else if (word == "tab")
                emit('\t', st.f);
            else if (word == "b")
                effect(CFE_BOLD, on);
            else if (word == "i")
                effect(CFE_ITALIC, on);
            else if (word == "ul")
                effect(CFE_UNDERLINE, on);
            else if (word == "ulnone")
                effect(CFE_UNDERLINE, false);
            else if (word == "strike")
                effect(CFE_STRIKEOUT, on);
            else if (word == "fs" && hasNumber)
                st.f.height = number * 10;
            else if (word == "plain") {
                st.f.effects = 0;
                st.f.height = base.height;
                st.f.autoColour = true;
            } else if (word == "f" && hasNumber) {
                if (number >= 0 && static_cast<std::size_t>(number) < fonts.size() &&
                    !fonts[static_cast<std::size_t>(number)].empty())
                    st.f.face = fonts[static_cast<std::size_t>(number)];
            } else if (word == "cf" && hasNumber) {
                const auto k = static_cast<std::size_t>(number);
                if (k < colours.size() && colours[k] != 0xFFFFFFFFu) {
                    st.f.colour = colours[k];
                    st.f.autoColour = false;
                } else {
                    st.f.autoColour = true;
                }
            }
        }
    }
};

}  // namespace

RichText readRtf(const std::string& rtf, const RichFormat& base) {
    Reader r(rtf);
    r.base = base;
    r.out.formats.push_back(base);
    r.run();
    // A final paragraph mark closes the document, not a line of its own.
    if (!r.out.text.empty() && r.out.text.back() == '\r') {
        r.out.text.pop_back();
        r.out.fmt.pop_back();
        r.out.para.pop_back();
    }
    return r.out;
}

namespace {

// A character of text or of a font's name as RTF writes it: the group and
// escape characters escaped, bytes outside printable ASCII (and, in a name,
// the ';' that would end it) as hexadecimal escapes.
void appendEscaped(std::string& out, unsigned char c, bool inName) {
    if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c > 127 || c < 32 || (inName && c == ';')) {
        static const char kHex[] = "0123456789abcdef";
        out += "\\'";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    } else {
        out += static_cast<char>(c);
    }
}

}  // namespace

std::string writeRtf(const RichText& t) {
    std::vector<std::string> fonts;
    std::vector<COLORREF> colours;
    auto fontIndex = [&](const std::string& face) {
        auto it = std::find(fonts.begin(), fonts.end(), face);
        if (it != fonts.end()) return static_cast<int>(it - fonts.begin());
        fonts.push_back(face);
        return static_cast<int>(fonts.size()) - 1;
    };
    auto colourIndex = [&](const RichFormat& f) {
        if (f.autoColour) return 0;
        auto it = std::find(colours.begin(), colours.end(), f.colour);
        if (it != colours.end()) return static_cast<int>(it - colours.begin()) + 1;
        colours.push_back(f.colour);
        return static_cast<int>(colours.size());
    };
    std::string body;
    int last = -1;
    char buf[96];
    for (std::size_t i = 0; i < t.text.size(); ++i) {
        if (i == 0 || t.text[i - 1] == '\r') {
            const BYTE p = i < t.para.size() ? t.para[i] : PFA_LEFT;
            body += "\\pard";
            if ((p & kAlignMask) == PFA_CENTER) body += "\\qc";
            if ((p & kAlignMask) == PFA_RIGHT) body += "\\qr";
            if (p & kBullet) body += "{\\*\\pn\\pnlvlblt{\\pntxtb\\'95}}\\fi-360\\li360";
            body += ' ';
        }
        const int fi = i < t.fmt.size() ? t.fmt[i] : 0;
        if (fi != last) {
            const RichFormat& f = t.formats[static_cast<std::size_t>(fi)];
            std::snprintf(buf, sizeof buf, "\\plain\\f%d\\fs%ld\\cf%d", fontIndex(f.face),
                          static_cast<long>(f.height / 10), colourIndex(f));
            body += buf;
            if (f.effects & CFE_BOLD) body += "\\b";
            if (f.effects & CFE_ITALIC) body += "\\i";
            if (f.effects & CFE_UNDERLINE) body += "\\ul";
            if (f.effects & CFE_STRIKEOUT) body += "\\strike";
            body += ' ';
            last = fi;
        }
        const auto c = static_cast<unsigned char>(t.text[i]);
        if (c == '\r')
            body += "\\par\r\n";
        else if (c == '\t')
            body += "\\tab ";
        else
            appendEscaped(body, c, false);
    }
    std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + std::to_string(i) + ' ';
        for (char c : fonts[i])
            appendEscaped(out, static_cast<unsigned char>(c), true);
        out += ";}";
    }
    out += "}{\\colortbl ;";
    for (COLORREF c : colours) {
        std::snprintf(buf, sizeof buf, "\\red%d\\green%d\\blue%d;", GetRValue(c), GetGValue(c),
                      GetBValue(c));
        out += buf;
    }
    out += "}\r\n" + body + "\\par\r\n}\r\n";
    return out;
}

}  // namespace win::controls
