#include "shell/help_commands.h"

#include <array>
#include <span>

#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "toolkit/core/help.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "util/message_boxes.h"
#include "util/text_clean.h"

namespace shell {

namespace {

constexpr int kModal = 1;
// The toolkit's error number of a viewer that could not be started.
constexpr int kViewerFailed = 1030;

void helpContentsCommand(int window) {
    const std::string name = helpFileName();
    if (!tk::HelpFileExists(name)) {
        util::WINMSG("HELP FILE NOT FOUND:\r\n" + name);
        return;
    }
    if (window != 0 && window != profileWindow()) return;
    tk::toolkitState().LastErrorNumber = 0;
    if (window == 0)
        tk::HelpTopicShow(name);
    else
        tk::HelpTopicShow(name, kProfileWindowTopic);
    // No viewer could be started: the user learns where the page is.
    if (tk::toolkitState().LastErrorNumber == kViewerFailed)
        util::WINMSG("The help cannot be shown: no viewer could be started.\r\nIts page is " +
                     tk::HelpPageFound(name));
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
