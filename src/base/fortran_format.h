#pragma once
// The one engine that turns numbers into text with Fortran edit descriptors.
// Every routine of the program that writes numbers as text goes through it,
// so a value prints the same in a dialog, a grid, a settings file or an export.
//
// How to call it:
//
//   base::formatReal(-3.14159, "F8.2")          -> "   -3.14"
//   base::formatReal(1234.0, "(1PE8.1)")        -> " 1.2E+03"
//   base::formatInteger(123456, "I5")           -> "*****"   (does not fit)
//   base::writeFormatted("(I5,F10.2,5F13.4)", {7, 2.5, a, b, c, d, e})
//   auto fmt = base::FortranFormat::parse("(5F13.4)");   // parse once, write many
//   fmt->write(values);
//
// Every call answers std::nullopt when the format text is unusable or a value
// does not suit its descriptor (an integer for F, a real for I). A value that
// does not fit its field is no failure: the field is w asterisks, as Fortran does.
// Several records (a "/" or format reversion) are joined by '\n'.
//
// Rounding: the exact decimal expansion of the binary value is rounded half
// away from zero. Every double has a finite decimal expansion, so a tie only
// happens when the stored value lies exactly halfway (0.125, 2.5, 0.25): F3.1
// of 0.25 is "0.3", and F4.1 of 0.35 is " 0.3" because the double nearest 0.35
// lies below it. This is what compilers do that round the binary value, and it
// never depends on the process locale. A negative value that rounds to zero is
// written without its minus sign. A float is formatted through its exact
// double value, which is the same number.
//
// Descriptors: Iw Iw.m Fw.d Ew.d Ew.dEe Dw.d Gw.d Gw.dEe Lw A Aw nX Tn TLn TRn
// 'text' "text" nHtext / : kP S SP SS BN BZ, repeat counts on descriptors and
// on parenthesised groups. Blanks are ignored outside texts, letters may be in
// either case, the outer parentheses may be left out and commas are optional.
// Widths, positions and counts above 100000, and records beyond a million
// characters, make a format unusable rather than exhaust memory. A G, F, E or
// D descriptor needs a real value, I an integer, L a logical and A a text.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace base {

// One value handed to a formatted write.
class FormatValue {
  public:
    enum class Kind { Integer, Real, Logical, Text };

    template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
        FormatValue(T v)
        : kind_(Kind::Integer), integer_(static_cast<long long>(v)) {}  // NOLINT
    FormatValue(float v) : kind_(Kind::Real), real_(v) {}               // NOLINT
    FormatValue(double v) : kind_(Kind::Real), real_(v) {}              // NOLINT
    FormatValue(bool v) : kind_(Kind::Logical), logical_(v) {}          // NOLINT
    FormatValue(std::string_view v) : kind_(Kind::Text), text_(v) {}    // NOLINT
    FormatValue(const char* v) : kind_(Kind::Text), text_(v) {}         // NOLINT
    FormatValue(const std::string& v) : kind_(Kind::Text), text_(v) {}  // NOLINT

    Kind kind() const { return kind_; }
    long long integer() const { return integer_; }
    double real() const { return real_; }
    bool logical() const { return logical_; }
    std::string_view text() const { return text_; }

  private:
    Kind kind_;
    long long integer_ = 0;
    double real_ = 0.0;
    bool logical_ = false;
    std::string_view text_;
};

// One edit descriptor of a parsed format, repeat counts already expanded.
struct EditDescriptor {
    enum class Kind {
        I,
        F,
        E,
        D,
        G,
        L,
        A,  // data descriptors
        X,
        T,
        TL,
        TR,  // positioning (n in `width`)
        Literal,
        Slash,
        Colon,  // text, new record, stop when no data is left
        Scale,  // kP (k in `scale`)
        SignPlus,
        SignDefault,  // SP; S and SS
        BlankNull,
        BlankZero,  // BN, BZ (reading only)
    };
    Kind kind = Kind::X;
    int width = -1;     // w, or n for positioning; -1 when absent (A)
    int digits = -1;    // d, or m for I; -1 when absent
    int exponent = -1;  // e of Ee; -1 when absent
    int scale = 0;      // k of kP
    std::string text;   // literal text

    bool isData() const { return kind <= Kind::A; }
};

// A format text parsed into its flat list of descriptors.
class FortranFormat {
  public:
    static std::optional<FortranFormat> parse(std::string_view format);

    std::optional<std::string> write(std::span<const FormatValue> values) const;
    std::optional<std::string> write(std::initializer_list<FormatValue> values) const {
        return write(std::span<const FormatValue>(values.begin(), values.size()));
    }

    const std::vector<EditDescriptor>& items() const { return items_; }
    // Where format control starts again when the data outlast the format: the
    // last group at the outer level (with its repeat count), or the beginning.
    std::size_t reversionPoint() const { return reversion_; }
    bool hasData() const { return hasData_; }

  private:
    std::vector<EditDescriptor> items_;
    std::size_t reversion_ = 0;
    bool hasData_ = false;
};

std::optional<std::string> writeFormatted(std::string_view format,
                                          std::span<const FormatValue> values);
inline std::optional<std::string> writeFormatted(std::string_view format,
                                                 std::initializer_list<FormatValue> values) {
    return writeFormatted(format, std::span<const FormatValue>(values.begin(), values.size()));
}

// The common case of one value and one descriptor ("F8.2" or "(F8.2)").
std::optional<std::string> formatInteger(long long value, std::string_view format);
std::optional<std::string> formatReal(double value, std::string_view format);

// A single descriptor applied to a value, with scale factor and sign mode given.
// Used by the record writer; exposed for callers that build fields themselves.
std::optional<std::string> writeField(const EditDescriptor& descriptor, const FormatValue& value,
                                      int scale = 0, bool plusSign = false);

}  // namespace base
