#pragma once
// The editor's commands with their menu texts, toolbar tips and the help
// texts shown in the status bar while an item is highlighted.

#include <string>

#include "toolkit/editors/editor_commands.h"
#include "toolkit/editors/editor_record.h"

namespace tk {

struct EditorCommandEntry {
    int id = 0;
    const char* menuText = nullptr;   // with the key text
    const char* plainText = nullptr;  // without it (no accelerator table)
    const char* tip = nullptr;
    const char* help = nullptr;
};

// The entry of a command, or null.
const EditorCommandEntry* editorCommand(int id);
// The menu text of a command for this editor (underline reserved moves the
// alignment keys to Ctrl+Shift; no accelerators drops the key text).
std::string editorMenuText(const EditorWindowRecord& record, int id, bool withKeys);
// The status help of a command or a popup (the Close and Exit texts depend
// on the permissions); empty when none.
std::string editorHelpText(const EditorWindowRecord& record, int id);

}  // namespace tk
