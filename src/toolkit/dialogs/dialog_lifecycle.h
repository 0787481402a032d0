#pragma once
// Loading, selecting, showing, hiding and unloading dialogs by identifier,
// and the window-side operations behind them that the window manager also
// uses for dialogs combined with windows.

#include <optional>
#include <string_view>

#include "platform/win_types.h"

namespace tk {

// Public routines; errors go to ReportLibraryError under the routine's name.
void DlgLoad(int resourceId, std::optional<int> identifier = {},
             std::optional<int> windowNumber = {});
void DlgSelect(int identifier);
void DlgShow(std::optional<int> x = {}, std::optional<int> y = {},
             std::optional<int> focusField = {}, std::optional<int> showType = {});
void DlgHide();
void DlgUnload(std::optional<int> option = {});
void DlgTitle(std::optional<std::string_view> title = {}, std::optional<int> iconId = {});

// The load: resourceId answers -1 (table full), -2 (no template) or -3
// (creation failed) on failure.
void DialogCreateFromResource(int& resourceId, int identifier, int windowNumber, bool combined);
// The show on the current slot; showType answers 0, -1 (request changed),
// -2 (parent hidden), -3 (parent combined), -4 (dialog combined).
// caller: 0 public routine, 1 window manager combining, 2 show without focus.
void DialogShowSlot(int x, int y, int xPixels, int yPixels, int& showType, int focusField,
                    int caller);
// slot -1 = the current dialog; answers -1 (combined), -2 (a tab page),
// else 0 for -1 and the slot unchanged.
void DialogHideSlot(int& slot);
void DialogUnloadSlot(int option, int slot);
void DialogDestroySlot(win::HWND dialog, int option);
// Embedded dialogs (tab pages) go back under the root window, hidden.
void DialogsDetachChildren(win::HWND dialog);
void TabPagesAttach(win::HWND dialog);
void DialogCentrePosition(win::HWND dialog, bool childStyle);
win::HWND DialogOwnerWindow();
int DialogParentWindowNumber();
void DialogShowNearWindow(int focusField, int showType, int windowNumber);
void DialogSetTitle(win::HWND dialog, std::optional<std::string_view> title,
                    std::optional<int> iconId, int& error);

// The page dialog identifier and disabled flag kept with every tab item.
struct TabItemExtra {
    int pageId = 0;
    int disabled = 0;
};
int tabItemCount(win::HWND tab);
TabItemExtra tabItemExtra(win::HWND tab, int item);
void tabItemExtraSet(win::HWND tab, int item, const TabItemExtra& extra);
// The tab's display area in its parent's client coordinates.
win::RECT tabDisplayRect(win::HWND tab);
bool isTabControl(win::HWND h);
bool isDialogWindow(win::HWND h);
bool isChildStyle(win::HWND h);

}  // namespace tk
