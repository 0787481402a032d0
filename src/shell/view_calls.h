#pragma once
// The drawing routines of the view layer that the shell calls: the map, its
// rescale and the mark of a profile line, and the profile window with its
// redraw, bound to the view layer; the profile window itself is opened and
// closed by the shell. Tests may replace them.

#include <functional>
#include <string>

#include "model/profile_database.h"
#include "model/profile_line.h"
#include "util/axis_record.h"

namespace shell {

struct ViewCalls {
    std::function<void(model::ProfileDatabase& db, util::AxisRecord& mapAxis)> DATARESCALE;
    std::function<void(model::ProfileDatabase& db, util::AxisRecord& mapAxis)> REFRESH;
    std::function<void(model::ProfileDatabase& db, int profile, int colour)> MARKPFLONMAP;
    std::function<void(model::ProfileLine& working)> REFRESHPL;
    // Opens the profile window titled with the profile's name, or retitles
    // the open one; sets the profile window's number.
    std::function<void(const std::string& title)> WINDOWPFL;
    // Closes the profile window when it is open; the number becomes -1.
    std::function<void()> CLOSEIPLWIN;
};

ViewCalls& viewCalls();
// Back to the shell's own stand-ins.
void resetViewCalls();

}  // namespace shell
