#pragma once
// Locking vertices together: the commands of the vertex, edge, body and box
// pop-ups that change leader links at once, the three click modes (a
// leader for one vertex, followers for one leader, pairs) and their clicks.

#include "shell/command_table.h"

namespace shell {

void addLockCommands(CommandTable& table);

// A left click on vertex `vertex` while one of the lock modes runs.
void lockModeClick(int vertex);

// CLOSE of the followers dialog (8) and of the pairs dialog (1380).
void closeFollowersMode();
void closePairsMode();

}  // namespace shell
