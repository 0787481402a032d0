#pragma once
// The commands of the vertex, edge, body, background and box pop-ups that
// change the working profile's model (free flags, deletion, insertion,
// hiding, pivots, new bodies and layers, splitting), and New Model and
// New Body / New Layer of the profile window's File menu.

#include <string_view>

#include "model/polygon_model.h"
#include "shell/command_table.h"

namespace shell {

void addModelCommands(CommandTable& table);

// An edit that left the working model illegal is taken back to `before`,
// the bad-model flag set for what is there, and `refusal` said; false when
// the model is legal.
bool takeBackIfIllegal(const model::PolygonModel& before, std::string_view refusal);

// Set Pivot Location (2002).
void setPivotLocation(int window);

}  // namespace shell
