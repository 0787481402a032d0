#include "shell/command_table.h"

#include <stdexcept>
#include <string>

#include "shell/data_point_commands.h"
#include "shell/database_commands.h"
#include "shell/label_commands.h"
#include "shell/model_commands.h"
#include "shell/vertex_locking.h"

namespace shell {

void CommandTable::set(int id, CommandHandler handler) {
    const int offset = id - kFirst;
    if (offset < 0 || offset >= kSize)
        throw std::out_of_range("command " + std::to_string(id) + " is outside the table");
    handlers_[static_cast<std::size_t>(offset)] = handler;
}

CommandHandler CommandTable::find(int id) const {
    const int offset = id - kFirst;
    if (offset < 0 || offset >= kSize) return nullptr;
    return handlers_[static_cast<std::size_t>(offset)];
}

const CommandTable& commandTable() {
    static const CommandTable table = [] {
        CommandTable t;
        addDatabaseCommands(t);
        addModelCommands(t);
        addLockCommands(t);
        addLabelCommands(t);
        addDataPointCommands(t);
        return t;
    }();
    return table;
}

}  // namespace shell
