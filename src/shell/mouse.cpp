#include "shell/interaction.h"

namespace shell {

void handleMouseButtonDown(const tk::EventRecord&) {}
void handleMouseButtonUp(const tk::EventRecord&) {}
void handleMouseMove(const tk::EventRecord&) {}

}  // namespace shell
