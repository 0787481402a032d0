#pragma once
// Helpers of the import and export tests: a dialog manager that answers like
// a user, and profiles and databases to import into.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "model/profile_database.h"
#include "model/profile_line.h"

namespace files_test {

// Stands in for the dialog manager while it lives. Loading a dialog fills
// its fields with the template's defaults; `user` may then change fields as
// a person would before `button` closes the dialog.
class FakeDialog {
  public:
    FakeDialog();
    ~FakeDialog();
    FakeDialog(const FakeDialog&) = delete;
    FakeDialog& operator=(const FakeDialog&) = delete;

    int button = 1;  // 1 OK, 2 Cancel
    std::function<void(FakeDialog&)> user;

    // The user sets the columns of the columns dialog (easting, northing,
    // elevation, distance, data and the sixth) before pressing the button.
    void chooseColumns(int e, int n, int z, int d, int v, int sixth = 0);

    std::vector<int> loaded;
    int shows = 0, hides = 0;
    std::map<int, int> integers;
    std::map<int, std::string> texts;
    std::map<int, int> states;
    std::map<int, int> checks;
};

// Records the calls of the view routines while it lives.
class ViewLog {
  public:
    ViewLog();
    ~ViewLog();
    ViewLog(const ViewLog&) = delete;
    ViewLog& operator=(const ViewLog&) = delete;
    int rescales = 0, sectionScales = 0;
};

// A profile as the new-profile dialogs leave the next free slot.
model::ProfileLine newSlot(int ielev = 1);

// A database of 100 slots holding `count` profiles.
std::unique_ptr<model::ProfileDatabase> database(int count = 0);

// Restores the column choices and rows of the view settings when it ends.
class SettingsGuard {
  public:
    SettingsGuard();
    ~SettingsGuard();
    SettingsGuard(const SettingsGuard&) = delete;
    SettingsGuard& operator=(const SettingsGuard&) = delete;
};

// The lines of a text, split at CR LF (true when every line had it).
std::vector<std::string> crlfLines(const std::string& text, bool& allCrLf);

}  // namespace files_test
