#pragma once
// The commands that empty, load and store the whole database and manage its
// profiles: Clear Data, Open, Save, Save As of both windows, Delete, Rename
// and Select Profile, Transfer Synthetic to Data.
// `window` is the window the command came from (0 = main window).

#include "shell/command_table.h"

namespace shell {

// Puts the handlers below into the command table, Exit of both windows among them.
void addDatabaseCommands(CommandTable& table);

void clearDataCommand(int window);
void openCommand(int window);
void saveCommand(int window);
void saveAsCommand(int window);
void deleteProfileCommand(int window);
void renameProfileCommand(int window);
void selectProfileCommand(int window);
void transferSyntheticCommand(int window);

// Shared with the exit: offers the working profile's changes to its slot;
// false when the user cancelled.
bool offerProfileSave();
// Offers to save an unsaved database ("Save Changes To"); false when the
// user cancelled or the save failed, so nothing may be discarded.
bool offerDatabaseSave();

// Makes slot `index` the working profile and shows it in the profile window,
// its data axes fitted to the data first when `rescale` is set.
void showWorkingProfile(int index, bool rescale = false);

}  // namespace shell
