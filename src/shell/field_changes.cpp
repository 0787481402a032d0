#include "shell/interaction.h"
#include "shell/view_properties_check.h"

namespace shell {

void handleFieldChanged(const tk::EventRecord& event) {
    checkViewProperties(tk::FieldChanged, event);
}

}  // namespace shell
