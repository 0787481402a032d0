#pragma once
// The commands that open the edit dialogs of the working profile and the
// view dialogs: Edit > Data, Data Parameters, Body, Model Parameters,
// Regional, Geometry, Edit Background Properties, View > Colors, View >
// Properties and Color Fill Properties. `window` is the window the command
// came from (0 = main window).

#include "shell/command_table.h"

namespace shell {

void addEditDialogCommands(CommandTable& table);

void editDataCommand(int window);
void dataParametersCommand(int window);
void editBodyCommand(int window);
// Edit Body of the vertex and body pop-ups: the body the pop-up opened on.
void editBodyPopupCommand(int window);
void modelParametersCommand(int window);
void editRegionalCommand(int window);
void editGeometryCommand(int window);
void editBackgroundCommand(int window);
void colorsCommand(int window);
void colourFillPropertiesCommand(int window);

// True when the working profile holds gravity data (its type names "ravi").
bool workingProfileIsGravity();

}  // namespace shell
