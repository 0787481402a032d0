#pragma once
// The table of menu, toolbar and pop-up commands 40001 to 40160: each group
// of commands (database, view, editing, import and export ...) puts its
// handlers in from its own file, so the dispatch knows none of them by name.

#include <array>
#include <cstddef>

namespace shell {

// `window` is the window the command came from (0 = main window).
using CommandHandler = void (*)(int window);

class CommandTable {
  public:
    static constexpr int kFirst = 40001;
    static constexpr int kSize = 160;

    // An identifier outside the table's range is a fault of the caller.
    void set(int id, CommandHandler handler);
    // Null for an identifier outside the range or without a handler.
    CommandHandler find(int id) const;

  private:
    std::array<CommandHandler, kSize> handlers_{};
};

// The table with every group's handlers in it.
const CommandTable& commandTable();

}  // namespace shell
