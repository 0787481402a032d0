#pragma once
// The table of menu, toolbar and pop-up commands: 40001 to 40168, and the
// four identifiers outside that range that the dispatch takes first (Set
// Pivot Location 2002, the toolbar's Import Data 30101, Unzoom Data 30102
// and Unzoom Model 30103). Each group of commands (database, view,
// calculation, editing, import and export ...) puts its handlers in from its
// own file, so the dispatch knows none of them by name.

#include <array>
#include <cstddef>

namespace shell {

// `window` is the window the command came from (0 = main window).
using CommandHandler = void (*)(int window);

class CommandTable {
  public:
    static constexpr int kFirst = 40001;
    static constexpr int kSize = 168;
    static constexpr std::array<int, 4> kOutsideRange{2002, 30101, 30102, 30103};

    // An identifier the table does not hold is a fault of the caller.
    void set(int id, CommandHandler handler);
    // Null for an identifier the table does not hold or without a handler.
    CommandHandler find(int id) const;

  private:
    // The slot of an identifier, or -1.
    static int slot(int id);
    std::array<CommandHandler, kSize + kOutsideRange.size()> handlers_{};
};

// The table with every group's handlers in it.
const CommandTable& commandTable();

}  // namespace shell
