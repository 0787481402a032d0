#include "rc_lexer.h"

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rcc {
namespace {

std::string trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

bool identStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool identChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Strips // and /* */ comments, keeping string literals intact.
std::string stripComments(const std::string& text) {
    std::string out;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            out.push_back(c);
            if (c == '\\' && i + 1 < text.size())
                out.push_back(text[++i]);
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            out.push_back(c);
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n')
                ++i;
            out.push_back('\n');
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            i += 2;
            while (i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/')) {
                if (text[i] == '\n') out.push_back('\n');
                ++i;
            }
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Evaluates a preprocessor condition: numbers, defined(X), !, &&, ||, ==, !=,
// <, >, comparisons and parentheses.
class CondParser {
  public:
    CondParser(std::string s, const std::map<std::string, std::string>& macros)
        : s_(std::move(s)), macros_(macros) {}
    long long parse() {
        const long long v = orExpr();
        skip();
        if (i_ != s_.size()) throw Error("bad #if expression: " + s_);
        return v;
    }

  private:
    void skip() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_])))
            ++i_;
    }
    bool eat(const char* op) {
        skip();
        const std::size_t n = std::char_traits<char>::length(op);
        if (s_.compare(i_, n, op) == 0) {
            i_ += n;
            return true;
        }
        return false;
    }
    long long orExpr() {
        long long v = andExpr();
        while (eat("||"))
            v = (andExpr() || v) ? 1 : 0;
        return v;
    }
    long long andExpr() {
        long long v = cmpExpr();
        while (eat("&&"))
            v = (cmpExpr() && v) ? 1 : 0;
        return v;
    }
    long long cmpExpr() {
        long long v = unary();
        for (;;) {
            if (eat("=="))
                v = v == unary();
            else if (eat("!="))
                v = v != unary();
            else if (eat(">="))
                v = v >= unary();
            else if (eat("<="))
                v = v <= unary();
            else if (eat(">"))
                v = v > unary();
            else if (eat("<"))
                v = v < unary();
            else
                return v;
        }
    }
    long long unary() {
        if (eat("!")) return !unary();
        if (eat("(")) {
            const long long v = orExpr();
            eat(")");
            return v;
        }
        skip();
        if (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) {
            std::size_t used = 0;
            const long long v = std::stoll(s_.substr(i_), &used, 0);
            i_ += used;
            while (i_ < s_.size() &&
                   (s_[i_] == 'L' || s_[i_] == 'l' || s_[i_] == 'U' || s_[i_] == 'u'))
                ++i_;
            return v;
        }
        std::string name;
        while (i_ < s_.size() && identChar(s_[i_]))
            name.push_back(s_[i_++]);
        if (name == "defined") {
            const bool paren = eat("(");
            skip();
            std::string target;
            while (i_ < s_.size() && identChar(s_[i_]))
                target.push_back(s_[i_++]);
            if (paren) eat(")");
            return macros_.count(target) ? 1 : 0;
        }
        if (name.empty()) throw Error("bad #if expression: " + s_);
        const auto it = macros_.find(name);
        if (it == macros_.end()) return 0;
        return CondParser(it->second, macros_).parse();
    }
    std::string s_;
    const std::map<std::string, std::string>& macros_;
    std::size_t i_ = 0;
};

}  // namespace

Lexer::Lexer(const std::string& path, std::vector<std::string> includeDirs)
    : includeDirs_(std::move(includeDirs)) {
    baseDir_ = std::filesystem::path(path).parent_path().string();
    macros_["RC_INVOKED"] = "1";
    loadFile(path, false);
    end_.kind = Token::End;
    end_.where = path + ": end of file";
}

std::string Lexer::resolve(const std::string& file) const {
    namespace fs = std::filesystem;
    std::vector<std::string> dirs = {baseDir_};
    dirs.insert(dirs.end(), includeDirs_.begin(), includeDirs_.end());
    for (const std::string& d : dirs) {
        const fs::path p = d.empty() ? fs::path(file) : fs::path(d) / file;
        if (fs::exists(p)) return p.string();
    }
    throw Error("cannot find " + file);
}

void Lexer::fail(const std::string& message) {
    throw Error(peek().where + ": " + message);
}

bool Lexer::evaluateCondition(const std::string& expr, const std::string& where) {
    try {
        return CondParser(expr, macros_).parse() != 0;
    } catch (const std::exception& e) {
        throw Error(where + ": " + e.what());
    }
}

void Lexer::loadFile(const std::string& path, bool headerOnly) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("cannot open " + path);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = stripComments(buffer.str());
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    // Each entry: is this branch active, has any branch of the #if been taken.
    std::vector<std::pair<bool, bool>> conditions;
    auto active = [&] {
        for (const auto& c : conditions)
            if (!c.first) return false;
        return true;
    };
    std::string pending;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = path + ":" + std::to_string(number);
        const std::string t = trim(line);
        if (!t.empty() && t[0] == '#') {
            std::string rest = trim(t.substr(1));
            std::string directive;
            std::size_t k = 0;
            while (k < rest.size() && identChar(rest[k]))
                directive.push_back(rest[k++]);
            rest = trim(rest.substr(k));
            if (directive == "if") {
                const bool on = active() && evaluateCondition(rest, where);
                conditions.emplace_back(on, on);
            } else if (directive == "ifdef" || directive == "ifndef") {
                const bool on = (macros_.count(rest) != 0) == (directive == "ifdef");
                conditions.emplace_back(on, on);
            } else if (directive == "elif") {
                if (conditions.empty()) throw Error(where + ": #elif without #if");
                auto& c = conditions.back();
                conditions.pop_back();
                const bool on = !c.second && active() && evaluateCondition(rest, where);
                conditions.emplace_back(on, c.second || on);
            } else if (directive == "else") {
                if (conditions.empty()) throw Error(where + ": #else without #if");
                auto& c = conditions.back();
                c.first = !c.second;
                c.second = true;
            } else if (directive == "endif") {
                if (conditions.empty()) throw Error(where + ": #endif without #if");
                conditions.pop_back();
            } else if (!active()) {
                continue;
            } else if (directive == "define") {
                std::string name;
                std::size_t j = 0;
                while (j < rest.size() && identChar(rest[j]))
                    name.push_back(rest[j++]);
                if (j < rest.size() && rest[j] == '(')
                    continue;  // function-like macros are C++'s business
                macros_[name] = trim(rest.substr(j));
            } else if (directive == "undef") {
                macros_.erase(rest);
            } else if (directive == "include") {
                if (rest.size() < 2) throw Error(where + ": bad #include");
                const std::string file = rest.substr(1, rest.size() - 2);
                const std::string found = resolve(file);
                const std::string ext = std::filesystem::path(found).extension().string();
                loadFile(found, ext == ".h" || ext == ".hpp" || ext == ".H");
            }
            continue;
        }
        if (!active() || headerOnly) continue;
        tokenizeLine(line, where);
    }
    if (!conditions.empty()) throw Error(path + ": missing #endif");
}

std::string Lexer::expand(const std::string& name, int depth) const {
    const auto it = macros_.find(name);
    if (it == macros_.end() || depth > 20) return name;
    const std::string& v = it->second;
    if (!v.empty() && identStart(v[0]) && macros_.count(v)) return expand(v, depth + 1);
    return v;
}

void Lexer::tokenizeLine(const std::string& line, const std::string& where) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        Token t;
        t.where = where;
        if (c == '"' || (c == 'L' && i + 1 < line.size() && line[i + 1] == '"')) {
            t.kind = Token::String;
            t.wide = c == 'L';
            i += t.wide ? 2 : 1;
            for (;;) {
                if (i >= line.size()) throw Error(where + ": unterminated string");
                const char d = line[i++];
                if (d == '"') {
                    if (i < line.size() && line[i] == '"') {  // "" stands for one quote
                        t.text.push_back('"');
                        ++i;
                        continue;
                    }
                    break;
                }
                if (d != '\\') {
                    t.text.push_back(d);
                    continue;
                }
                const char e = i < line.size() ? line[i++] : '\\';
                switch (e) {
                    case 'n':
                        t.text.push_back('\n');
                        break;
                    case 'r':
                        t.text.push_back('\r');
                        break;
                    case 't':
                        t.text.push_back('\t');
                        break;
                    case 'a':
                        t.text.push_back('\b');
                        break;
                    case '\\':
                        t.text.push_back('\\');
                        break;
                    case '"':
                        t.text.push_back('"');
                        break;
                    case 'x': {
                        int v = 0, n = 0;
                        while (n < 2 && i < line.size() &&
                               std::isxdigit(static_cast<unsigned char>(line[i]))) {
                            v = v * 16 + std::stoi(std::string(1, line[i++]), nullptr, 16);
                            ++n;
                        }
                        t.text.push_back(static_cast<char>(v));
                        break;
                    }
                    default:
                        if (e >= '0' && e <= '7') {
                            int v = e - '0', n = 1;
                            while (n < 3 && i < line.size() && line[i] >= '0' && line[i] <= '7') {
                                v = v * 8 + (line[i++] - '0');
                                ++n;
                            }
                            t.text.push_back(static_cast<char>(v));
                        } else {
                            t.text.push_back(e);
                        }
                }
            }
            tokens_.push_back(t);
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t used = 0;
            t.kind = Token::Number;
            t.value = std::stoll(line.substr(i), &used, 0);
            i += used;
            while (i < line.size() && std::strchr("LlUu", line[i]) && line[i] != 0) {
                if (line[i] == 'L' || line[i] == 'l') t.isLong = true;
                ++i;
            }
            t.text = std::to_string(t.value);
            tokens_.push_back(t);
            continue;
        }
        if (identStart(c)) {
            std::string name;
            while (i < line.size() && (identChar(line[i]) || line[i] == '.'))
                name.push_back(line[i++]);
            const std::string value = expand(name, 0);
            if (value != name) {
                // A macro: its value is tokenized in place.
                const std::size_t before = tokens_.size();
                tokenizeLine(value, where);
                if (tokens_.size() == before) continue;
                continue;
            }
            t.kind = Token::Identifier;
            t.text = name;
            tokens_.push_back(t);
            continue;
        }
        t.kind = Token::Punct;
        t.text = std::string(1, c);
        ++i;
        tokens_.push_back(t);
    }
}

const Token& Lexer::peek(std::size_t ahead) {
    return pos_ + ahead < tokens_.size() ? tokens_[pos_ + ahead] : end_;
}

Token Lexer::next() {
    Token t = peek();
    if (pos_ < tokens_.size()) ++pos_;
    return t;
}

bool Lexer::accept(const std::string& text) {
    const Token& t = peek();
    if (t.kind == Token::Punct && t.text == text) {
        next();
        return true;
    }
    if (t.kind == Token::Identifier && t.text.size() == text.size()) {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(t.text[i])) !=
                std::toupper(static_cast<unsigned char>(text[i])))
                return false;
        next();
        return true;
    }
    return false;
}

void Lexer::expect(const std::string& text) {
    if (!accept(text)) fail("expected " + text + " but found '" + peek().text + "'");
}

}  // namespace rcc
