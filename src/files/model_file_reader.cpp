// Reading the ASCII model file. Only lines whose first word is "BODY:" or
// "VERT:" count; keywords are read in any case. The file is parsed into a
// new model, which replaces the bodies of the old one only when the whole
// file was read.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/little_endian.h"
#include "files/database_sections.h"
#include "files/messages.h"
#include "files/model_file.h"
#include "files/text_fields.h"
#include "model/body_nesting.h"

namespace files {

namespace {

constexpr std::size_t kLineWidth = 132;
constexpr std::size_t kWordWidth = 20;
constexpr float kFar = 1.0E15f;

bool printable(unsigned char c) {
    return (c >= 32 && c <= 126) || (c >= 128 && c <= 168) || (c >= 224 && c <= 252);
}

// Non-printing bytes become blanks and letters capitals.
std::string cleaned(std::string_view text) {
    std::string s(text);
    for (char& c : s) {
        auto u = static_cast<unsigned char>(c);
        if (!printable(u))
            c = ' ';
        else if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// The blank-delimited words of a text, each cut to `width` characters.
std::vector<std::string> wordsOf(std::string_view text, std::size_t width = kWordWidth) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        i = text.find_first_not_of(' ', i);
        if (i == std::string_view::npos) break;
        std::size_t end = text.find(' ', i);
        if (end == std::string_view::npos) end = text.size();
        words.emplace_back(text.substr(i, std::min(end - i, width)));
        i = end;
    }
    return words;
}

// A backslash glued to a word still marks a continuation.
std::string splitBackslashes(const std::string& line) {
    std::string s;
    for (char c : line) {
        if (c == '\\') s += ' ';
        s += c;
    }
    if (s.size() > kLineWidth) s.resize(kLineWidth);
    return s;
}

std::string digits(long long v, int width) {
    return formatInteger(v, width);
}

std::optional<int> integerFrom(const std::string& word, std::size_t width) {
    return readIntegerField(std::string_view(word).substr(0, std::min(word.size(), width)));
}

bool isFreeLetter(const std::string& w) {
    return w == "B" || w == "X" || w == "Z" || w == "N";
}

// Upper bounds of the body and vertex counts, from the words of the file.
struct Capacity {
    int bodies = 0, vertices = 0;
};
Capacity capacityOf(std::string_view text) {
    Capacity c;
    for (const std::string& w : wordsOf(cleaned(text), std::string::npos)) {
        if (w.find("BODY") != std::string::npos) ++c.bodies;
        if (w.find("VERT") != std::string::npos) ++c.vertices;
        if (w.find("LAYER") != std::string::npos) c.vertices += 4;
    }
    return c;
}

struct LockSource {
    std::string word;
    int line = 0;
};

class Aborted {};

class ModelParser {
  public:
    ModelParser(std::vector<std::string> lines, model::PolygonModel& model, Capacity cap)
        : lines_(std::move(lines)),
          m_(model),
          cap_(cap),
          locks_(static_cast<std::size_t>(cap.vertices) + 1) {}

    void run();

  private:
    bool readLine(std::string& line);
    void stepBack() { --next_; }
    [[noreturn]] void abort(const std::string& message);
    [[noreturn]] void patternError(const std::string& word);
    void bodyLine(std::string line);
    void propertyBlock(std::vector<std::string> words, std::size_t i, int lineWithBackslash);
    void vertices();
    void vertexLine(const std::vector<std::string>& words, int body);
    void finish();
    void convertLocks();
    void checkOutlines();
    void closeLayers();

    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    model::PolygonModel& m_;
    Capacity cap_;
    std::vector<LockSource> locks_;
    bool background_ = false;
    bool inBackground_ = false;
    bool extraShown_ = false;
    int verticesRead_ = 0;
};

bool ModelParser::readLine(std::string& line) {
    if (next_ >= lines_.size()) return false;
    line = lines_[next_++];
    return true;
}

void ModelParser::abort(const std::string& message) {
    showInformation(message);
    throw Aborted{};
}

void ModelParser::patternError(const std::string& word) {
    std::string w = word;
    w.resize(kWordWidth, ' ');
    abort("Read error with pattern: " + w +
          " at line: " + digits(static_cast<long long>(next_), 5) + "\r\n\r\n Read aborted.");
}

void ModelParser::run() {
    std::string line;
    while (readLine(line)) {
        auto words = wordsOf(line);
        if (words.empty()) continue;
        if (words[0] == "VERT:")
            abort("Unexpected vertex information encountered at line: " +
                  digits(static_cast<long long>(next_), 5));
        if (words[0] == "BODY:") bodyLine(line);
    }
    finish();
}

void ModelParser::bodyLine(std::string line) {
    line = splitBackslashes(line);
    auto words = wordsOf(line);
    const std::string identity = words.size() > 1 ? words[1] : std::string();
    if (identity == "BACKGROUND" || identity == "BG") {
        if (background_)
            abort("Multiple definition of background parameters\r\nencountered at line: " +
                  digits(static_cast<long long>(next_), 5));
        background_ = inBackground_ = true;
        m_.DBKG = m_.BKXT1 = m_.BKXT2 = m_.BKRAT = m_.BKINC = m_.BKDEC = 0.0f;
    } else {
        auto number = integerFrom(identity, 3);
        if (!number || *number <= 0) patternError(identity);
        if (m_.NBOD + 1 > cap_.bodies)
            abort("Number of bodies exceeds model maximum of: " + digits(cap_.bodies, 3));
        const int b = ++m_.NBOD;
        inBackground_ = false;
        m_.DENS(b) = m_.XTENT1(b) = m_.XTENT2(b) = m_.REMS(b) = m_.DECS(b) = m_.DIPS(b) = 0.0f;
        m_.LAYER(b) = false;
        m_.LVFIX(b) = false;
        m_.IV1(b) = m_.IV2(b) = (b > 1 ? m_.IV2(b - 1) : 0) + 1;
    }
    propertyBlock(words, 2, static_cast<int>(next_));
    if (!inBackground_) vertices();
}

void ModelParser::propertyBlock(std::vector<std::string> words, std::size_t i,
                                int lineWithBackslash) {
    const int b = m_.NBOD;
    auto field = [&](std::string_view key) -> float* {
        if (key == "DENS:" || key == "DENSITY:" || key == "SUSCEPT:" || key == "SUSCEPTIBILITY:")
            return inBackground_ ? &m_.DBKG : &m_.DENS(b);
        if (key == "EXTENT1:" || key == "EXTENT-OUT:" || key == "OUT:")
            return inBackground_ ? &m_.BKXT1 : &m_.XTENT1(b);
        if (key == "EXTENT2:" || key == "EXTENT-IN:" || key == "IN:")
            return inBackground_ ? &m_.BKXT2 : &m_.XTENT2(b);
        if (key == "K-RATIO:" || key == "K:") return inBackground_ ? &m_.BKRAT : &m_.REMS(b);
        if (key == "INCLINATION:" || key == "INC:") return inBackground_ ? &m_.BKINC : &m_.DIPS(b);
        if (key == "DECLINATION:" || key == "DEC:") return inBackground_ ? &m_.BKDEC : &m_.DECS(b);
        return nullptr;
    };
    while (i < words.size()) {
        const std::string& w = words[i++];
        if (float* target = field(w)) {
            std::string value = i < words.size() ? words[i++] : std::string();
            auto v = readRealField(value);
            if (!v) patternError(value);
            *target = static_cast<float>(*v);
        } else if (w == "LAYER") {
            if (!inBackground_) m_.LAYER(b) = true;
        } else if (w == "FREE") {
            if (!inBackground_) m_.LVFIX(b) = true;
        } else if (w == "\\") {
            std::string line;
            if (!readLine(line))
                abort("Premature end of file at line: " + digits(static_cast<long long>(next_), 5));
            words = wordsOf(splitBackslashes(line));
            if (words.empty())
                abort("Illegal continuation character at line: " + digits(lineWithBackslash, 5));
            lineWithBackslash = static_cast<int>(next_);
            i = 0;
        }
    }
}

// Skips to the body's first vertex line, then reads its vertex lines.
void ModelParser::vertices() {
    const int body = m_.NBOD;
    std::string line;
    std::vector<std::string> words;
    do {
        if (!readLine(line))
            abort("Premature end of file at line: " + digits(static_cast<long long>(next_), 5));
        words = wordsOf(line);
    } while (words.empty() || words[0] != "VERT:");
    for (;;) {
        vertexLine(words, body);
        if (!readLine(line)) return;
        words = wordsOf(line);
        if (words.empty() || words[0] != "VERT:") {
            stepBack();
            return;
        }
    }
}

void ModelParser::vertexLine(const std::vector<std::string>& words, int body) {
    const std::string premature =
        "Premature end of vertex information on line: " + digits(static_cast<long long>(next_), 5);
    if (words.size() < 2) abort(premature);
    auto number = integerFrom(words[1], 4);
    if (!number || *number <= 0 || *number > cap_.vertices) patternError(words[1]);
    const int v = ++verticesRead_;
    if (v > cap_.vertices)
        abort("Number of vertices exceeds model maximum of: " + digits(cap_.vertices, 4));
    m_.IPOINT(v) = v;
    m_.LXFIX(v) = m_.LZFIX(v) = false;
    m_.IV2(body) = v;
    for (std::size_t k = 2; k <= 3; ++k) {
        if (words.size() <= k) abort(premature);
        auto x = readRealField(words[k]);
        if (!x || std::isnan(*x)) abort(premature);
        (k == 2 ? m_.XVRT(v) : m_.ZVRT(v)) = static_cast<float>(*x);
    }
    bool seenLetter = false, seenLock = false;
    for (std::size_t i = 4; i < words.size(); ++i) {
        std::string w = words[i];
        if (!(seenLetter && seenLock)) {
            bool afterFree = w == "FREE:";
            if (afterFree) {
                if (++i >= words.size()) abort(premature);
                w = words[i];
                if (!isFreeLetter(w)) patternError(w);
            }
            if (isFreeLetter(w)) {
                m_.LXFIX(v) = w == "B" || w == "X";
                m_.LZFIX(v) = w == "B" || w == "Z";
                seenLetter = true;
                continue;
            }
            auto target = integerFrom(w, 4);
            if (target && *target >= 1 && *target <= cap_.vertices) {
                m_.IPOINT(v) = *target;
                locks_[static_cast<std::size_t>(v)] = {w, static_cast<int>(next_)};
                seenLock = true;
                if (*target != v && (m_.LXFIX(v) || m_.LZFIX(v))) {
                    showInformation("VERTEX " + digits(v, 4) + " OF BODY " + digits(body, 3) +
                                    " MUST NOT BE FREE IF IT IS LOCKED.\r\n"
                                    "THE FREE PARAMETERS HAVE BEEN FIXED.");
                    m_.LXFIX(v) = m_.LZFIX(v) = false;
                }
                continue;
            }
        }
        if (!extraShown_) {
            showInformation("EXTRA VERTEX INFORMATION DETECTED BEGINNING AT LINE: " +
                            digits(static_cast<long long>(next_), 5) + ".\r\nIT WILL BE IGNORED.");
            extraShown_ = true;
        }
        return;
    }
}

// Lock targets count the file's vertices; the model's count the closing
// vertices of the layers before them too.
void ModelParser::convertLocks() {
    for (int v = 1; v <= verticesRead_; ++v) {
        const int t = m_.IPOINT(v);
        if (t > verticesRead_) {
            const LockSource& source = locks_[static_cast<std::size_t>(v)];
            next_ = static_cast<std::size_t>(source.line);
            patternError(source.word);
        }
    }
    std::vector<int> offsets(static_cast<std::size_t>(verticesRead_) + 1);
    for (int v = 1; v <= verticesRead_; ++v)
        offsets[static_cast<std::size_t>(v)] = NOFSET(m_, m_.IPOINT(v));
    for (int v = 1; v <= verticesRead_; ++v)
        m_.IPOINT(v) += offsets[static_cast<std::size_t>(v)];
}

// Every layer gets its four closing vertices after its last one, far out and
// far down, where a new layer and the calculation put them: a layer is
// everything beneath its surface.
void ModelParser::closeLayers() {
    int total = verticesRead_;
    for (int b = 1; b <= m_.NBOD; ++b) {
        if (!m_.LAYER(b)) continue;
        const int e = m_.IV2(b);
        if (total + 4 > cap_.vertices)
            abort("Number of vertices exceeds model maximum of: " + digits(cap_.vertices, 4));
        for (int v = total; v > e; --v) {
            m_.XVRT(v + 4) = m_.XVRT(v);
            m_.ZVRT(v + 4) = m_.ZVRT(v);
            m_.IPOINT(v + 4) = m_.IPOINT(v);
            m_.LXFIX(v + 4) = m_.LXFIX(v);
            m_.LZFIX(v + 4) = m_.LZFIX(v);
        }
        const float xs[] = {kFar, kFar, -kFar, -kFar};
        const float zs[] = {m_.ZVRT(e), -kFar, -kFar, m_.ZVRT(m_.IV1(b))};
        for (int k = 1; k <= 4; ++k) {
            m_.XVRT(e + k) = xs[k - 1];
            m_.ZVRT(e + k) = zs[k - 1];
            m_.IPOINT(e + k) = e + k;
            m_.LXFIX(e + k) = m_.LZFIX(e + k) = false;
        }
        m_.IV2(b) = e + 4;
        for (int later = b + 1; later <= m_.NBOD; ++later) {
            m_.IV1(later) += 4;
            m_.IV2(later) += 4;
        }
        total += 4;
    }
}

// A file without a single "BODY:" line is not a model; a body needs three
// vertices to have an outline, a layer two to have a surface.
void ModelParser::checkOutlines() {
    if (m_.NBOD == 0 && !background_)
        abort("No model information (BODY: lines) found in file.\r\n\r\n Read aborted.");
    for (int b = 1; b <= m_.NBOD; ++b) {
        const int needed = m_.LAYER(b) ? 2 : 3;
        if (m_.IV2(b) - m_.IV1(b) + 1 < needed)
            abort("Body " + digits(b, 3) + " has fewer than " + digits(needed, 1) +
                  " vertices.\r\n\r\n Read aborted.");
    }
}

void ModelParser::finish() {
    convertLocks();
    checkOutlines();
    closeLayers();
    const int n = m_.vertexCount();
    // Every body has three vertices or more (checkOutlines), so never one.
    std::string message;
    if (m_.NBOD == 1)
        message = "READ SUCCESSFUL WITH 1 BODY AND " + digits(n, 4) + " VERTICES.";
    else
        message = "READ SUCCESSFUL WITH " + digits(m_.NBOD, 4) + " BODIES AND " + digits(n, 4) +
                  " VERTICES.";
    showInformation(message);
}

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(cleaned(line.substr(0, std::min(line.size(), kLineWidth))));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// The old model with fresh body and vertex arrays of the given capacities;
// its topography and head stay.
bool freshBodies(model::PolygonModel& m, const model::PolygonModel& old, Capacity cap) {
    m = old;
    const int nb = cap.bodies, nv = cap.vertices;
    bool ok = m.XPIVOT.allocate(nb) && m.ZPIVOT.allocate(nb) && m.DENS.allocate(nb) &&
              m.REMS.allocate(nb) && m.DIPS.allocate(nb) && m.DECS.allocate(nb) &&
              m.XTENT1.allocate(nb) && m.XTENT2.allocate(nb) && m.AREAS.allocate(nb) &&
              m.IV1.allocate(nb) && m.IV2.allocate(nb) && m.ILEVL.allocate(nb) &&
              m.INCLBD.allocate(nb) && m.LAYER.allocate(nb) && m.LHIDE.allocate(nb) &&
              m.LVFIX.allocate(nb + 1) && m.XVRT.allocate(nv) && m.ZVRT.allocate(nv) &&
              m.IPOINT.allocate(nv) && m.LXFIX.allocate(nv) && m.LZFIX.allocate(nv);
    if (!ok) return false;
    for (int b = 1; b <= nb; ++b)
        m.XPIVOT(b) = m.ZPIVOT(b) = model::kNotSet;
    // The background's free flag is not in the file: it keeps its state.
    m.LVFIX(0) = old.LVFIX.has(0) ? bool(old.LVFIX(0)) : true;
    m.NBOD = 0;
    m.NBCAP = nb;
    m.NVCAP = nv;
    return true;
}

}  // namespace

bool readModelFile(const std::string& fileName, model::PolygonModel& model) {
    std::error_code ec;
    auto size = std::filesystem::file_size(fileName, ec);
    if (ec || size < 1) {
        showInformation("FILE HAS NO LENGTH:" + fileNameField(fileName));
        return false;
    }
    base::ByteBuffer bytes;
    if (!base::readFile(fileName, bytes)) {
        showInformation("CANNOT OPEN FILE: " + fileNameField(fileName));
        return false;
    }
    return readModelText(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), model);
}

bool readModelText(std::string_view text, model::PolygonModel& model) {
    const Capacity cap = capacityOf(text);
    model::PolygonModel fresh;
    if (!freshBodies(fresh, model, cap)) {
        showInformation("CANNOT ALLOCATE ARRAY IN MODAIO");
        return false;
    }
    try {
        ModelParser(linesOf(text), fresh, cap).run();
    } catch (const Aborted&) {
        return false;
    }
    model = std::move(fresh);
    return true;
}

}  // namespace files
