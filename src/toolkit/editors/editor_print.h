#pragma once
// Printing the text editor's text through the printer a page set-up chose:
// two page set-up records (0 printing without dialogs, 1 interactive), the
// page set-up dialog, and the page values in points.

#include <array>
#include <string>

#include "platform/common_dialogs/common_dialogs_api.h"
#include "toolkit/editors/editor_record.h"

namespace tk {

std::array<win::PAGESETUPDLGA, 2>& editorPageSetupRecords();
// Fills both records from the default printer once.
void EditorPrintDefaults();
// Forgets the records (tests, shutdown).
void resetEditorPrintDefaults();

// Prints the whole text, the selection (set-up 1) or start..end (set-up 0);
// set-up 1 shows the page set-up dialog first. 1 printed, 0 not.
int EditorPrint(win::HWND frame, EditorWindowRecord& record, int selectionOnly, int setup,
                int start, int end, const std::string& documentName);
// The page set-up dialog for record k; units -1 the locale's, 0-1 inches,
// 2 and more millimetres.
void EditorPageSetup(int units, int setup, int& ok);
// Prints the current window's editor without dialogs (record 0): all of it
// when start < 0 or start >= end, else the program range.
void EditorPrintText(int& ok, int start, int end, const std::string& documentName);
// Selector 1 text width, 2 text height, 3 left margin, 4 top margin (points),
// 5 orientation (0 portrait, 1 landscape).
void EditorPageInfo(int selector, int& value, int setup);
void EditorPageSet(int selector, int value, int setup);

}  // namespace tk
