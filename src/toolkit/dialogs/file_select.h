#pragma once
// The toolkit's file selector: the Open or Save As dialog around a proposed
// name, with the current directory put back afterwards unless the caller
// asks to keep the one the user chose.

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

// Flag bits of FileSelect.
inline constexpr int kSelectSave = 1;
inline constexpr int kSelectPrompt = 2;
inline constexpr int kSelectPathMayBeMissing = 4;
inline constexpr int kSelectKeepFolder = 8;
inline constexpr int kSelectMultiple = 16;
inline constexpr int kSelectDefaultExtension = 32;
inline constexpr int kSelectMustExist = 128;

// The longest filter text the selector takes.
inline constexpr std::size_t kSelectFilterLimit = 1000;

// filterSource: -1 filterText, a positive number a string resource, 0 none.
// fileName: in the proposed name, out the chosen one (unchanged unless OK).
// The common-dialog result (1 OK, 0 otherwise) is kept for DialogInfoQuery(4).
void FileSelect(int filterSource, std::string_view filterText, int flags, TextOut fileName,
                std::string_view title, int& filterIndex, int freeze);

// The front end: the filter text trimmed (at most 1000 characters), the title
// (at most 260 characters, blank when absent) and the filter index (1 when
// absent, handed back when given); the other windows frozen meanwhile.
void SelectFileFront(std::string_view filter, int flags, TextOut name,
                     std::optional<std::string_view> title = {}, int* option = nullptr);

// SelectFileFront with a 256-character name: the chosen name when the choice
// was confirmed, nothing otherwise. What the file layer's selector binds to.
std::optional<std::string> SelectFileChoice(std::string_view filter, int flags,
                                            std::string_view proposedName, std::string_view title);

}  // namespace tk
