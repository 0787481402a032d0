#pragma once
// Text files of the importers and exporters. Readers take the whole file and
// split it at line feeds, accepting LF and CR LF endings and cutting lines to
// their limit; writers end every line with CR LF and replace the file through
// a temporary file, so a failed write leaves the old file in place.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"

namespace files {

inline constexpr std::string_view kCrLf = "\r\n";

struct TextFile {
    enum class Status { Read, CannotOpen, ReadError };
    Status status = Status::CannotOpen;
    std::vector<std::string> lines;
};

// The lines of a text, split at LF with a CR before it dropped, each cut to
// `limit` characters; a last line without LF counts too.
std::vector<std::string> splitTextLines(std::string_view bytes, std::size_t limit);

// The lines of a text file, each cut to `limit` characters.
TextFile readTextLines(const std::string& path, std::size_t limit);

// The whole file as bytes; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes);

bool fileExists(const std::string& path);
// Size in bytes; -1 when there is no such file.
long long fileSize(const std::string& path);

struct TextWrite {
    bool opened = false;  // the file could be created
    bool ok = false;      // every line was written
    int failedLine = 0;   // first line that did not reach the file (1-based)
};

// Writes the lines, each ended by CR LF, in place of the file at `path`.
TextWrite writeTextLines(const std::string& path, const std::vector<std::string>& lines);

// A selected path as the file layer keeps it: the path to open and the bare
// file name in a 256-character field for names and messages.
struct ChosenFile {
    std::string path;
    base::FixedString<256> name;
};

// The bare name (folder part removed) of a path, blank-padded.
ChosenFile chosenFile(const std::string& path);

// Asks for a file to read with the open-file selector; nothing when the choice
// was cancelled or its name is blank.
std::optional<ChosenFile> selectFileToRead(std::string_view filter, std::string_view title);

// Asks for a name to write under with the save-file selector; nothing when the
// choice was cancelled.
std::optional<std::string> selectFileToWrite(std::string_view filter, std::string_view title,
                                             std::string_view proposed = {});

// The first 20 characters of a bare name up to (not including) its first ".".
base::FixedString<20> profileNameOf(const base::FixedString<256>& name);

// A number right-aligned in `width` columns (asterisks when it does not fit).
std::string rightAligned(long long value, int width);

}  // namespace files
