#include "shell/interaction.h"
#include "shell/view_properties_check.h"

namespace shell {

void handlePushButton(const tk::EventRecord& event) {
    checkViewProperties(tk::PushButton, event);
}

}  // namespace shell
