#pragma once
// Binds the seams through which the lower layers reach the program's own
// dialogs, windows, debug log and random numbers.

namespace shell {

// Binds the model services and the file layer's dialog calls.
void bindServices();

// Opens the debug log "Pelk.dbg" in the current folder (created if missing,
// kept if present); the model check writes its findings there.
void openDebugLog();
void closeDebugLog();

}  // namespace shell
