#pragma once
// Reading numbers from text the way Fortran input does: fixed columns under an
// edit descriptor, and words in list-directed style. Every routine of the
// program that reads numbers from text goes through here.
//
// How to call it:
//
//   base::readRealField("12345", 3)           -> 12.345   (Fw.d: implied decimals)
//   base::readRealField("  1.5+3", 0)         -> 1500.0   (exponent sign, no letter)
//   base::readRealField("     ", 2)           -> 0.0      (a blank field reads as zero)
//   base::readRealWord("2.5D-2")              -> 0.025
//   base::readIntegerWord("-17")              -> -17
//   double x; int n;
//   base::readFormatted("  1.25    42", "(F6.2,I6)", {&x, &n});
//   base::ListReader words("1.5, 2  3*7 /");  // list-directed record
//
// Failures answer std::nullopt (or false): a character that does not belong
// in the number, or a value beyond the range of the type. A value too small
// for the type reads as zero. Values are correctly rounded from their decimal
// text, independent of the process locale.
//
// Fixed-column rules: blanks are ignored (BN, the default) or, after the first
// non-blank, read as zeros (BZ); a field without a decimal point has `decimals`
// implied decimals, also when it carries an exponent; the exponent is a letter
// E, D or Q (either case) with an optional sign, or a sign alone ("1.5+3");
// with a scale factor k and no exponent in the field the value is divided by 10^k.

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/fortran_format.h"

namespace base {

enum class BlankMode { Null, Zero };

std::optional<double> readRealField(std::string_view field, int decimals,
                                    BlankMode blanks = BlankMode::Null, int scale = 0);
std::optional<float> readRealFieldSingle(std::string_view field, int decimals,
                                         BlankMode blanks = BlankMode::Null, int scale = 0);
std::optional<long long> readIntegerField(std::string_view field,
                                          BlankMode blanks = BlankMode::Null);
// Optional blanks, an optional ".", then T or F in either case; the rest is ignored.
std::optional<bool> readLogicalField(std::string_view field);

// One list-directed word (no surrounding blanks): a real is read as by Fw.0,
// an integer is an optional sign and digits only.
std::optional<double> readRealWord(std::string_view word);
std::optional<float> readRealWordSingle(std::string_view word);
std::optional<long long> readIntegerWord(std::string_view word);
std::optional<bool> readLogicalWord(std::string_view word);

// The values of one list-directed record: separated by blanks or a comma,
// ended by the end of the record or a "/"; two commas in a row give a null
// value (the variable keeps its value); "r*c" is r copies of c, "r*" r nulls;
// texts may be quoted with ' or " (a doubled quote stands for itself).
class ListReader {
  public:
    enum class Status { Value, Null, End, Error };

    explicit ListReader(std::string_view record) : text_(record) {}

    // The next value as it stands in the record, quotes removed.
    Status next(std::string& word);

    Status read(double& value);
    Status read(float& value);
    Status read(long long& value);
    Status read(int& value);
    Status read(bool& value);
    Status read(std::string& value);

  private:
    template <typename T, typename Convert>
    Status readWith(T& value, Convert convert);

    std::string_view text_;
    std::size_t pos_ = 0;
    bool ended_ = false;
    int repeatLeft_ = 0;
    bool repeatNull_ = false;
    std::string repeatWord_;
};

// Where a formatted read stores a value; the descriptor must suit its type.
class ReadTarget {
  public:
    enum class Kind { Int, Long, Float, Double, Logical, Text };
    ReadTarget(int* p) : kind_(Kind::Int), p_(p) {}           // NOLINT
    ReadTarget(long long* p) : kind_(Kind::Long), p_(p) {}    // NOLINT
    ReadTarget(float* p) : kind_(Kind::Float), p_(p) {}       // NOLINT
    ReadTarget(double* p) : kind_(Kind::Double), p_(p) {}     // NOLINT
    ReadTarget(bool* p) : kind_(Kind::Logical), p_(p) {}      // NOLINT
    ReadTarget(std::string* p) : kind_(Kind::Text), p_(p) {}  // NOLINT

    Kind kind() const { return kind_; }
    template <typename T>
    T* as() const {
        return static_cast<T*>(p_);
    }

  private:
    Kind kind_;
    void* p_;
};

// Reads the targets from `records` (lines separated by '\n') under `format`;
// short lines are padded with blanks. Answers false for an unusable format, a
// descriptor that does not suit its target, a bad field or too few lines;
// targets read before the failure keep their new values.
bool readFormatted(std::string_view records, const FortranFormat& format,
                   std::span<const ReadTarget> targets);
bool readFormatted(std::string_view records, std::string_view format,
                   std::span<const ReadTarget> targets);
inline bool readFormatted(std::string_view records, std::string_view format,
                          std::initializer_list<ReadTarget> targets) {
    return readFormatted(records, format,
                         std::span<const ReadTarget>(targets.begin(), targets.size()));
}

}  // namespace base
