#pragma once
// The one drawing target of the screen side (a window, a memory bitmap, a
// dialog field or a metafile slot) and what follows when a target changes
// size.

#include <array>
#include <optional>

namespace tk {

enum TargetType { WindowTarget = 1, BitmapTarget = 2, DialogFieldTarget = 3, MetafileTarget = 4 };

void GrSelect(int type, std::optional<int> id = {});
void DialogFieldDrawTarget(int& field, int& width, int& height);
void SelectMetafileSlot(int slot, int& status, int& width, int& height);
void MetafileDestroy(int slot);
void WindowTargetResized(int window, int width, int height);
void DialogFieldTargetResized(int dialog, int field, int width, int height);
// Restores the window-text output state from its record: font code (0-6,
// any other value changes nothing), the two character-size settings, bold
// and italic, underline, text and background colours.
void SetTextWindowState(const std::array<int, 8>& record);

}  // namespace tk
