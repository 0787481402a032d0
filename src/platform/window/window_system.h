#pragma once
// Whole-system operations of the window layer that no Windows call covers.

namespace win {

// Forgets every window, class, menu, queued message, timer and input state and
// starts again with an empty desktop (tests call it before each case).
void resetWindowSystem();

}  // namespace win
