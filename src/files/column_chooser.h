#pragma once
// Choosing the columns of a text file of numbers, and reading its words.
// Both column importers clean each line the same way, split it into
// blank-separated words and read every word whole, so an exponent keeps its
// "E" and its sign and a long number keeps all its digits.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/text_lines.h"

namespace files {

inline constexpr std::size_t kImportLineLimit = 1024;
inline constexpr float kMissingValue = 1.0E20f;

// Non-printing bytes and commas become blanks, letters upper case.
std::string cleanImportLine(std::string_view raw);
bool isBlankLine(std::string_view line);

// The next blank-separated word of LINE(1:N) at or after POS; POS moves just
// past the blank that ends it (N + 1 at the end). Empty when none is left.
std::string nextWord(std::string_view line, int n, int& pos);

// A word as a real: decimal or exponent form, blanks ignored, empty = 0.0.
std::optional<float> readWordValue(std::string_view word);

// A coordinate word: a number as it stands, else the number left when every
// N, S, E and W is taken out, negated when an S or a W was there ("123W").
std::optional<float> readCoordinateWord(std::string_view word);

// Takes the next word of LINE(1:N) and reads it into VALUE: a word with "*"
// is the missing value, no word is 0.0. True when the word is not a number.
bool LFRXYZ(std::string_view line, int n, int& pos, float& value);

// When KEY occurs in WORD: POS := the first non-blank after the first ":" of
// LINE (else after the first "="), TEXT := the N characters from there.
bool LFINDK(std::string_view line, std::string_view word, std::string_view key, int& pos,
            std::span<char> text, int n);

// The six column choices the chooser edits, in its argument order.
struct ColumnChoices {
    int& easting;
    int& northing;
    int& elevation;
    int& station;
    int& data;
    int& sixth;
};

// Shows the file's beginning and the column choices in the columns dialog;
// the choices and the start and stop rows take the user's values after OK.
// LINES := the number of line feeds in the file; STATUS 0 after OK, -1 else.
void GETCOLSXYZGRAVMAGVLF(ColumnChoices columns, const ChosenFile& file, std::string_view key,
                          int ielev, int& lines, int& status);

// The messages the column importers give.
std::string readErrorMessage(const ChosenFile& file, int line);

// True when the chosen file exists; otherwise "FILE NOT FOUND: " is shown.
bool chosenFileFound(const ChosenFile& file);

// The lines of a chosen file, cut to the import limit; nothing after the
// message that it cannot be opened, or READERROR when it cannot be read.
std::optional<std::vector<std::string>> readImportLines(const ChosenFile& file,
                                                        std::string_view readError);

}  // namespace files
