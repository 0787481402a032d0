#include "shell/command_table.h"

#include <stdexcept>
#include <string>

#include "shell/database_commands.h"
#include "shell/export_commands.h"
#include "shell/import_commands.h"
#include "shell/print_commands.h"
#include "shell/edit_dialog_commands.h"

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
        addImportCommands(t);
        addExportCommands(t);
        addPrintCommands(t);
        addEditDialogCommands(t);
        return t;
    }();
    return table;
}

}  // namespace shell
