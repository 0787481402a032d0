#include "shell/help_commands.h"

#include <array>
#include <span>

#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "toolkit/core/help.h"
#include "toolkit/core/os_services.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "util/message_boxes.h"
#include "util/text_clean.h"

namespace shell {

namespace {

constexpr int kModal = 1;

void helpContentsCommand(int window) {
    const std::string name = helpFileName();
    if (!tk::HelpFileExists(name)) {
        util::WINMSG("HELP FILE NOT FOUND:\r\n" + name);
        return;
    }
    if (window == 0)
        tk::HelpTopicShow(name);
    else if (window == profileWindow())
        tk::HelpTopicShow(name, kProfileWindowTopic);
}

void aboutCommand(int) {
    tk::DlgLoad(IDD_ABOUT);
    tk::DlgSelect(IDD_ABOUT);
    tk::DlgShow(-1, -1, 0, kModal);
}

}  // namespace

std::string helpFileName() {
    std::array<char, 255> text{};
    tk::CommandLineArgument(0, text);
    std::string name(text.data(), text.size());
    name.resize(name.find_last_not_of(" \0", std::string::npos, 2) + 1);
    std::span<char> field(name.data(), name.size());
    util::LCTOUC(field, static_cast<int>(name.size()));
    const std::size_t exe = name.rfind(".EXE");
    if (exe != std::string::npos && exe + 4 == name.size()) {
        name.replace(exe, 4, "-GM.HLP");
    } else if (name.size() >= 3 && name.compare(name.size() - 3, 3, "-GM") == 0) {
        name += ".HLP";
    } else {
        name += "-GM.HLP";
    }
    return name;
}

void addHelpCommands(CommandTable& t) {
    t.set(CMD_HELP, helpContentsCommand);
    t.set(CMD_ABOUT, aboutCommand);
}

}  // namespace shell
