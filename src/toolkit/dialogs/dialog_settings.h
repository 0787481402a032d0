#pragma once
// The settings text of a dialog: an RCDATA resource under the dialog's
// resource id with sections of plain text lines ([Ranges], [Menus], [Checks],
// [Tabs], [Grids], [Colours], [Trackbars], [Lengths], [Dialog], [Formats],
// [Treeviews], [Fonts], [Flags]) that set up what a template cannot say.

#include <string_view>

#include "platform/win_types.h"

namespace tk {

// slot: the dialog's table slot, or -1 when the dialog is not in the table.
void DialogApplySettings(win::HWND dialog, int resourceId, int slot);
// 0 when the texts agree up to the end of the shorter one, otherwise the
// difference of the first differing characters.
int SettingsHeaderMatch(std::string_view header, std::string_view line);
// The stretch rules of every field of a dialog with a stretch field.
void DialogStretchRules(win::HWND dialog, win::HWND stretchField, bool othersFlag);

}  // namespace tk
