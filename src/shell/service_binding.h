#pragma once
// Binds the seams through which the lower layers reach the program's own
// dialogs, windows, drawings, debug log and random numbers.

#include "views/hit_map.h"

namespace shell {

// Binds the model services (messages, the profile window, the save prompt,
// the model check's finding dialogs), the file layer's dialog calls and view
// services, and the inversion's progress dialog, cursor and redraws.
void bindServices();

// What the map's hover test needs of the program: whether a point lies in
// the map graph, and the exclusive-or highlight of a profile's line on the
// main window's map.
const views::MapHoverServices& mapHoverServices();

// Opens the debug log "Pelk.dbg" in the user's state folder (created if
// missing, kept if present), never in the current folder, which belongs to
// the user's data; the model check writes its findings there.
void openDebugLog();
void closeDebugLog();

}  // namespace shell
