#pragma once
// What the profile window's Print command prints (dialog 109), or what an
// export takes (dialog 273): the graph, the station table, the regional and
// the bodies sections. The choices are view settings, kept for the next time
// and in the settings file.

namespace shell {

// TABLES: the station table, regional or bodies section is chosen.
// NOTHING: Cancel, or nothing chosen at all.
void PRINTDLG(bool& tables, bool exportSelection, bool& nothing);

}  // namespace shell
