#include "shell/command_table.h"

#include <stdexcept>
#include <string>

#include "shell/calculate_commands.h"
#include "shell/data_point_commands.h"
#include "shell/database_commands.h"
#include "shell/edit_dialog_commands.h"
#include "shell/export_commands.h"
#include "shell/help_commands.h"
#include "shell/image_viewer_commands.h"
#include "shell/import_commands.h"
#include "shell/label_commands.h"
#include "shell/menus.h"
#include "shell/model_clipboard.h"
#include "shell/model_commands.h"
#include "shell/print_commands.h"
#include "shell/vertex_locking.h"
#include "shell/view_commands.h"

namespace shell {

int CommandTable::slot(int id) {
    const int offset = id - kFirst;
    if (offset >= 0 && offset < kSize) return offset;
    for (std::size_t k = 0; k < kOutsideRange.size(); ++k)
        if (kOutsideRange[k] == id) return kSize + static_cast<int>(k);
    return -1;
}

void CommandTable::set(int id, CommandHandler handler) {
    const int at = slot(id);
    if (at < 0) throw std::out_of_range("command " + std::to_string(id) + " is not in the table");
    handlers_[static_cast<std::size_t>(at)] = handler;
}

CommandHandler CommandTable::find(int id) const {
    const int at = slot(id);
    return at < 0 ? nullptr : handlers_[static_cast<std::size_t>(at)];
}

const CommandTable& commandTable() {
    static const CommandTable table = [] {
        CommandTable t;
        addDatabaseCommands(t);
        addImportCommands(t);
        addExportCommands(t);
        addImageViewerCommands(t);
        addPrintCommands(t);
        addEditDialogCommands(t);
        addViewCommands(t);
        addCalculateCommands(t);
        addHelpCommands(t);
        addMenuCommands(t);
        addModelCommands(t);
        addModelClipboardCommands(t);
        addLockCommands(t);
        addLabelCommands(t);
        addDataPointCommands(t);
        return t;
    }();
    return table;
}

}  // namespace shell
