#pragma once
// The commands of the vertex, edge, body, background and box pop-ups that
// change the working profile's model (free flags, deletion, insertion,
// hiding, pivots, new bodies and layers, splitting), and New Model and
// New Body / New Layer of the profile window's File menu.

#include <functional>

#include "model/polygon_model.h"
#include "shell/command_table.h"

namespace shell {

void addModelCommands(CommandTable& table);

// Set Pivot Location (2002).
void setPivotLocation(int window);

// The body editor of the edit dialogs, which File > New Body and New Layer
// open for a new body (number NBOD + 1); status 0 when it was accepted.
// Unbound, those two commands do nothing.
struct BodyEditorCall {
    std::function<void(model::PolygonModel& model, int body, bool gravity, bool layer,
                       int& status)>
        BODYEDIT;
};
BodyEditorCall& bodyEditorCall();

}  // namespace shell
