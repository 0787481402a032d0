#pragma once
// A reader of HP-GL/2 files that knows the command grammar, for the tests
// (no independent HP-GL/2 reader is packaged): the printer-language frame
// of page ejects, instructions of two letters and the grammar of their
// parameters, and the values of the encoded polylines.

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace tk::test {

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

}  // namespace tk::test
