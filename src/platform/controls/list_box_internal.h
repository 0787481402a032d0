#pragma once
// The list box as the drop-down part of a combo box: the combo box opens a
// pop-up list and hears what was chosen in it.

#include "platform/win_types.h"

namespace win::controls {

inline constexpr const char* kComboListClass = "ComboLBox";

// Makes a pop-up list belong to a combo box: the pointer then highlights the
// item under it, a click chooses it and a click outside closes the list.
void attachListToCombo(HWND list, HWND combo);
// Makes any list of a combo box (drop-down or always shown) tell the combo
// box's parent of its owner-drawn items, as the combo box's.
void setListCombo(HWND list, HWND combo);
// Called by the list: the user chose an item (accepted) or closed the list.
void comboListClosed(HWND combo, bool accepted);
// The list's own keys, for the combo box that passes them on.
void listBoxKey(HWND list, WPARAM vk, bool notify);
// The first item that starts with `text` (case-insensitive), from `after` + 1
// round to the start; -1 when none. `exact` wants the whole text to match.
int listBoxFind(HWND list, const char* text, int after, bool exact);
// LB_DIR: adds the names in a folder that match a pattern ("dir/*.txt"),
// with DDL_* flags; the index of the last one added, or LB_ERR.
LRESULT listDirectory(HWND list, UINT flags, const char* pathSpec);

}  // namespace win::controls
