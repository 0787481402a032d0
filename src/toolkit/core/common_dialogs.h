#pragma once
// The window-system side of the standard dialogs: opening and saving files,
// the printer's page set-up (whose choices the Windows printer driver reads
// back), the locale's measuring system, a colour chooser, a folder chooser,
// the screen position of a window's client origin and the path splitter.
// Every dialog here is modal inside the toolkit's modal frame.

#include <array>
#include <string>
#include <string_view>

#include "platform/win_types.h"
#include "toolkit/core/text_args.h"

namespace tk {

// The longest filter text a string resource may hold.
inline constexpr int kFilterTextLimit = 1001;

// filterSource: 0 no filter, -1 filterText, else the string resource of that
// number. Texts are NUL-terminated; fileName is in/out with room for
// fileNameLength bytes. result 1 chosen (filterIndex then holds the chosen
// filter), 0 cancelled or failed with the platform's extended error (0 for a
// plain cancel).
void FileDialogRun(int filterSource, int& filterIndex, int saveDialog, int prompt,
                   int pathMayBeMissing, int multipleSelection, int defaultExtension, int mustExist,
                   int& result, int& extendedError, const char* title, char* fileName,
                   int fileNameLength, const char* initialFolder, std::string_view filterText);

// The page set-up kept between calls; the printer driver reads the copies of
// the chosen printer's names and settings.
struct PageSetupState {
    bool initialised = false;
    win::HGLOBAL devMode = nullptr;
    win::HGLOBAL devNames = nullptr;
    win::DWORD unitFlag = 0;  // PSD_INTHOUSANDTHSOFINCHES or PSD_INHUNDREDTHSOFMILLIMETERS
    std::string deviceName, driverName, outputPort;
    short paperSize = 0, paperLength = 0, paperWidth = 0, scale = 0, copies = 0, defaultSource = 0,
          printQuality = 0, colour = 0, duplex = 0, yResolution = 0, trueTypeOption = 0,
          collate = 0;
    unsigned mediaType = 0, ditherType = 0;
};
PageSetupState& pageSetupState();
// Frees the kept blocks and forgets the state (shut-down and tests).
void PageSetupStateReset();

// unitKind below 2: thousandths of an inch, else hundredths of a millimetre.
// orientation 0 portrait, 1 landscape. result 1 OK, 0 cancelled (nothing
// else changes then).
void PageSetupDialogRun(int& paperWidth, int& paperHeight, int& printableWidth,
                        int& printableHeight, int& leftMargin, int& topMargin, int& orientation,
                        int& copies, int unitKind, int& printerColours, int& result);

// 1 when the user locale measures in U.S. units, else 2 (metric).
void LocaleMeasureSystem(int& result);

// Colours as bytes 0-255; result 1 OK, else 0 with the extended error.
void ColourDialogRun(int& red, int& green, int& blue, int& result, int& extendedError);
// The 16 custom colours of the colour chooser, seeded on first use.
std::array<win::COLORREF, 16>& customColours();

// Folder flags of DirectoryBrowseRun.
inline constexpr int kBrowseMissingAllowed = 0x4;
inline constexpr int kBrowseOfferCreation = 0x40;
// folder: a text field of 260 characters, in/out. titleMode 1 uses title,
// else "Select Directory". result 1 chosen, 2 cancelled.
void DirectoryBrowseRun(int titleMode, int& result, int flags, TextOut folder,
                        std::string_view title);

// Screen coordinates of the client origin of window n, or for -1 of the
// active modeless dialog or else the focus window, climbed up to the
// top-level window that holds it.
void ClientOriginOnScreen(int window, int& x, int& y);

// Splits a path in place into its folder (kept in path) and its file name;
// both are blank-padded fields. Separators are "\", "/" and a drive ":".
void SplitPathName(TextOut path, TextOut fileName);

}  // namespace tk
