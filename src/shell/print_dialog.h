#pragma once
// What the profile window's Print command prints (dialog 109), or what an
// export takes (dialog 273): the graph, the station table, the regional and
// the bodies sections; and the font the report is printed in. The choices
// are view settings, kept for the next time and in the settings file.

namespace shell {

// TABLES: the station table, regional or bodies section is chosen.
// NOTHING: Cancel, or nothing chosen at all.
void PRINTDLG(bool& tables, bool exportSelection, bool& nothing);

// The report's font face, style and character size (no command opens it);
// STATUS 0 after OK, -1 after Cancel.
void GETFONTTYPE(int& status);

}  // namespace shell
