#pragma once
// The colours of the drawings: one list for each kind of line or mark and a
// grid of the ten body colours, each offering the sixteen colour names.

namespace shell {

// Status 0 after OK (the colours stored), -1 after Cancel or the close box.
void COLORDLG(int& status);

}  // namespace shell
