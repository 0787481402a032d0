#pragma once
// The commands that create profiles and bring files in: New Profile and the
// Import items of both windows' File menus, and the toolbar's two pop-ups.
// Every new profile fills the next free slot and is then completed the same
// way (`NewProfileCompletion`).

#include "model/profile_line.h"
#include "shell/command_table.h"

namespace shell {

void addImportCommands(CommandTable& table);

// Counts slot n (the next free one) in, gives it a model that follows its
// stations' elevations, makes it the working profile and shows it on the map
// and in the profile window.
void NewProfileCompletion(int n);
// The same for a profile already counted in and prepared by its importer.
void showImportedProfile(int n);

}  // namespace shell
