#pragma once
// Reading a resource script: a small preprocessor (#include, #define,
// #undef, #if/#ifdef/#ifndef/#elif/#else/#endif) and the tokens of the
// resource language. Headers (.h) contribute only their preprocessor lines, as
// with the Windows resource compiler, so a header can be shared with C++.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace rcc {

struct Token {
    enum Kind { Identifier, Number, String, Punct, End } kind = End;
    std::string text;  // identifier, punctuation, or the decoded string (CP1252 bytes)
    long long value = 0;
    bool isLong = false;  // a number with an L suffix
    bool wide = false;    // L"..."
    std::string where;    // file:line for messages
};

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Lexer {
  public:
    Lexer(const std::string& path, std::vector<std::string> includeDirs);
    const Token& peek(std::size_t ahead = 0);
    Token next();
    bool accept(const std::string& text);  // identifier (case-insensitive) or punctuation
    void expect(const std::string& text);
    bool atEnd() { return peek().kind == Token::End; }
    // The value of a #define, if any (numbers only).
    bool defined(const std::string& name) const { return macros_.count(name) != 0; }
    // Where relative file names in the script are looked up.
    std::string resolve(const std::string& file) const;
    [[noreturn]] void fail(const std::string& message);

  private:
    void loadFile(const std::string& path, bool headerOnly);
    void tokenizeLine(const std::string& line, const std::string& where);
    bool evaluateCondition(const std::string& expr, const std::string& where);
    std::string expand(const std::string& name, int depth) const;

    std::vector<std::string> includeDirs_;
    std::map<std::string, std::string> macros_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::string baseDir_;
    Token end_;
};

}  // namespace rcc
