#include "shell/event_loop.h"
#include "shell/interaction.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/view_commands.h"

namespace shell {

namespace {

constexpr int kEscape = 27;

// The view switch of each letter key: the same as its View menu item.
int viewCommandOfKey(int key) {
    switch (key) {
        case 'B':
            return CMD_VIEWLABELS;
        case 'C':
            return CMD_COLORFILL;
        case 'F':
            return CMD_VIEWFREE;
        case 'I':
            return CMD_VIEWPIVOTS;
        case 'L':
            return CMD_VIEWLOCKS;
        case 'R':
            return CMD_VIEWREGIONAL;
        case 'V':
            return CMD_VIEWVERTICES;
        default:
            return 0;
    }
}

}  // namespace

void handleKeyDown(const tk::EventRecord& event) {
    const int window = event[0];
    if (window != profileWindow() && clickModeRunning()) return;
    int key = event[1];
    if (key >= 'a' && key <= 'z') key -= 32;
    hideHint();
    if (key == kEscape && cancelGesture()) return;
    // Keys typed in the main window act on the profile window as well.
    if (const int command = viewCommandOfKey(key)) toggleViewSwitch(command);
}

}  // namespace shell
