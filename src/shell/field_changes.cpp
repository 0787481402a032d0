#include "shell/interaction.h"

namespace shell {

void handleFieldChanged(const tk::EventRecord&) {}

}  // namespace shell
