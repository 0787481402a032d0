#pragma once
// The resources behind menus and toolbars, all found by one 16-bit
// identifier: the menu template with its item-identifier table (RCDATA of
// the menu's identifier), the menu help texts ("REREZADURIRER" of the menu's
// identifier), and a toolbar's button table (RCDATA of its bitmap's
// identifier). Also the walks over a loaded menu tree that the menu routines
// and the frame's help display share.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/window/menu_api.h"

namespace tk {

inline constexpr char kMenuHelpResourceType[] = "REREZADURIRER";

// The bytes of a resource by numeric identifier and type; empty when absent.
std::span<const std::uint8_t> resourceBytes(int id, win::LPCSTR type);
// The menu help texts of a menu identifier; empty when there are none.
std::span<const std::uint8_t> MenuHelpResourceLoad(int id);
// The first help text of a command in a help resource; nothing when the
// resource has no entry for it (or ends before one is complete).
std::optional<std::string> MenuHelpTextFind(std::span<const std::uint8_t> resource, int command);

// Loads a menu template, gives its items the identifiers of the identifier
// table and turns disabled items into greyed ones; null when it cannot load.
win::HMENU MenuLoadResource(int id);
void MenuApplyItemIds(win::HMENU menu, int id);
void MenuGreyDisabled(win::HMENU menu);
// The first item with the identifier, depth first in position order (a
// pop-up item's own identifier counts): its position in `holder`, or -1.
int MenuItemFind(win::HMENU menu, int id, win::HMENU& holder);
// Frees the help texts attached as item data to the menu tree's items and
// lowers the window's count of them.
void MenuFreeItemTexts(win::HMENU menu, int window);
// The help text attached to an item (by position) as item data, or null.
const std::string* MenuItemHelpText(win::HMENU menu, int position);
// Attaches a copy of the text as the item's data (empty removes it); keeps
// the window's count of such items.
void MenuItemHelpAttach(win::HMENU menu, int position, const std::string& text, int window);
// Every item of the pop-up with a nonzero identifier takes state and text
// from the item with the same identifier in the window's menu.
void MenuCopyStates(win::HMENU popup, win::HMENU windowMenu);

// A toolbar's button table: image size, then one command per entry (0 a
// separator).
struct ToolbarButtonTable {
    int imageWidth = 0;
    int imageHeight = 0;
    std::vector<int> commands;
};
std::optional<ToolbarButtonTable> ToolbarButtonTableLoad(int id);

}  // namespace tk
