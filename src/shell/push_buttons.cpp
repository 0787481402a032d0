#include "shell/interaction.h"

namespace shell {

void handlePushButton(const tk::EventRecord&) {}

}  // namespace shell
