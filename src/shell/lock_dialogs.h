#pragma once
// The small modeless dialogs that guide the click modes over the profile
// window: the vertex insertion parameters of digitising, the leader,
// followers and pairs prompts of vertex locking, and the split prompt. They
// share one screen position, which every close remembers; one of them at a
// time is the active dialog.

#include <string_view>

namespace shell {

void SNAPLOCKON(int choice, bool freeX, bool freeZ, int window);
void SNAPLOCKOFF();
void LEADERON(int window);
void LEADERNEW(int window);
void LEADEROFF();
void FOLLOWERON(int window);
void FOLLOWERNEW(int window);
void FOLLOWEROFF();
void PAIRON(int window);
void PAIRLEADER();
void PAIRFOLLOWER();
void PAIROFF();
void HIDEACTIVEDLG();
// Unloads every one of these dialogs that is loaded (the lock and insertion
// dialogs keep their place for the next one).
void closeClickModeDialogs();

// The split prompt (dialog 143), centred.
void showSplitPrompt(int window);

// Writes field 1250 of the insertion dialog on a background colour
// (red in the low byte).
void insertionMessage(std::string_view text, int background);
// Writes field 1251 ("Entering body 3").
void insertionEntering(std::string_view text);

inline constexpr int kLightYellow = 255 | 255 << 8 | 128 << 16;
inline constexpr int kRed = 255;
inline constexpr int kOrange = 255 | 128 << 8 | 64 << 16;

}  // namespace shell
