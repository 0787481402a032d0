#pragma once
// The run-time words of the session that the file layer reads and writes: the
// last database (kept in the settings file) and the session switches that
// the settings file carries. The selected profile and the words the model
// operations use live in the model layer's session record; the shell keeps
// the rest of its session state beside these.

#include <string>

#include "base/fixed_string.h"

namespace files {

struct SessionState {
    base::FixedString<24> LastFile;  // database last read or written
    // Full path of the file the open database was last read from or written
    // to; Save and Reload use it while the database still carries its name.
    std::string DatabasePath;
    // Full path of a file whose read stopped at damage: a plain Save would
    // write the shortened database over the profiles not read, so it asks
    // for the file to write instead.
    std::string DamagedPath;

    bool SETTINGS_WRITE = false;  // the settings file is written at exit

    int Illegal = 0;  // digitising rule for an illegal vertex: 1 skip, 2 shorten
    bool LZOOM = false, LVLabels = false, LREDTOBLUE = false;
    bool LGRIDJMP = false, LGRIDNMP = false;  // map grid, major / minor
    bool LGRIDJPD = false, LGRIDNPD = false;  // data graph
    bool LGRIDJPM = false, LGRIDNPM = false;  // model section

    // Only travelling through the settings file.
    int DialogX = 0, DialogY = 0;
    bool LEQUIV = false, LAYERED = false, LSMOOTH = false;
    bool LGRIDJD = false, LGRIDND = false, LGRIDJM = false, LGRIDNM = false;
    bool LGRIDJL = false, LGRIDNL = false, LGRIDJC = false, LGRIDNC = false;
    bool LDATALINE = false, LX1000 = false, XYZSurface = false, CSVOutput = false;

    void reset() { *this = SessionState{}; }
};

SessionState& sessionState();

}  // namespace files
