#pragma once
// The small modal questions of the shell (a number, a text, a confirmation,
// whether to save changes) and the profile list in the main window. Each
// dialog is loaded on first use, stays loaded, and remembers where the user
// left it for the rest of the run.

#include <span>
#include <string_view>

#include "model/polygon_model.h"
#include "model/profile_database.h"

namespace shell {

// Status: 0 accepted, -1 cancelled (the close box counts as Cancel).
void NUMINDLG(std::string_view prompt, float& value, int& status);
void INUMINDLG(std::string_view prompt, int& value, int& status);
// The text comes back blank-padded to its length; unchanged on Cancel.
void STRINGINDLG(std::string_view prompt, std::span<char> text, int& status);
void PROCEEDDLG(std::string_view message, int& status);
// Yes: answer true, status 0; No: answer false, status 0; Cancel: status -1.
void SAVEFILEDLG2D(std::string_view name, bool& answer, int& status);

// The colour-fill settings (grid size, range, reversed sequence); Autoscale
// Colors offers the range of the model's properties. Nothing is stored
// unless OK closes the dialog.
void COLORFILLDLG(const model::PolygonModel& model, int& status);

// The name of a new profile line: refused while blank or equal to the name
// of a profile of the database, and asked again.
void CLNAMEINDLG(std::span<char> name, const model::ProfileDatabase& db, int& status);

// Shows the profile list (entry 1 "no profile selected", then the list
// names, the current profile selected) when the database has profiles and
// hides it otherwise. listDialog is 186 while shown, 0 while hidden.
void SHOWLISTS(const model::ProfileDatabase& db, int& listDialog);

// Forgets the remembered dialog positions, and what the edit dialogs
// remember for the run.
void resetSmallDialogs();

}  // namespace shell
