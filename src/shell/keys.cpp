#include "shell/interaction.h"

namespace shell {

void handleKeyDown(const tk::EventRecord&) {}

}  // namespace shell
