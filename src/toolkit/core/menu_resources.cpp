#include "toolkit/core/menu_resources.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/resources/resource_api.h"
#include "toolkit/core/window_table.h"

namespace tk {
namespace {

constexpr std::size_t kMenuTextLimit = 100;

win::LPCSTR idName(int id) {
    return win::MAKEINTRESOURCEA(static_cast<win::WORD>(id));
}

// Reads 16-bit little-endian words; past the end every word reads as 0, so
// a table cut short ends as if its terminator were there.
class WordReader {
  public:
    explicit WordReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    int next() {
        if (pos_ + 2 > bytes_.size()) {
            pos_ = bytes_.size();
            return 0;
        }
        int v = bytes_[pos_] | (bytes_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// The help texts attached to menu items belong to the toolkit: an item's
// data points into this store, and freeing an item's text erases it here.
// A menu destroyed without its texts being freed (a window closing) leaves
// them behind; they go when the next text is stored.
struct StoredHelpText {
    win::HMENU menu;
    std::unique_ptr<std::string> text;
};
std::map<const std::string*, StoredHelpText>& helpTextStore() {
    static std::map<const std::string*, StoredHelpText> store;
    return store;
}

std::string* storeHelpText(win::HMENU menu, const std::string& text) {
    std::erase_if(helpTextStore(),
                  [](const auto& entry) { return !win::IsMenu(entry.second.menu); });
    auto owned = std::make_unique<std::string>(text);
    std::string* p = owned.get();
    helpTextStore().emplace(p, StoredHelpText{menu, std::move(owned)});
    return p;
}

void releaseHelpText(std::string* text) {
    helpTextStore().erase(text);
}

std::string* itemText(win::HMENU menu, int position) {
    win::MENUITEMINFOA info;
    info.fMask = win::MIIM_DATA;
    if (!win::GetMenuItemInfoA(menu, static_cast<win::UINT>(position), win::TRUE, &info))
        return nullptr;
    auto* text = reinterpret_cast<std::string*>(info.dwItemData);
    return helpTextStore().count(text) ? text : nullptr;
}

void setItemData(win::HMENU menu, int position, std::string* text) {
    win::MENUITEMINFOA info;
    info.fMask = win::MIIM_DATA;
    info.dwItemData = reinterpret_cast<win::UINT_PTR>(text);
    win::SetMenuItemInfoA(menu, static_cast<win::UINT>(position), win::TRUE, &info);
}

int itemId(win::HMENU menu, int position) {
    win::MENUITEMINFOA info;
    info.fMask = win::MIIM_ID;
    if (!win::GetMenuItemInfoA(menu, static_cast<win::UINT>(position), win::TRUE, &info)) return 0;
    return static_cast<int>(info.wID);
}

void lowerHelpCount(int window) {
    if (window < 0 || window >= kWindowSlots) return;
    int& count = windowSystem().slots[window].menuItemHelpCount;
    count = std::max(0, count - 1);
}

}  // namespace

std::span<const std::uint8_t> resourceBytes(int id, win::LPCSTR type) {
    if (id <= 0 || id > 0xFFFF) return {};
    win::HRSRC res = win::FindResourceA(nullptr, idName(id), type);
    if (!res) return {};
    const auto* data =
        static_cast<const std::uint8_t*>(win::LockResource(win::LoadResource(nullptr, res)));
    if (!data) return {};
    return {data, win::SizeofResource(nullptr, res)};
}

std::span<const std::uint8_t> MenuHelpResourceLoad(int id) {
    return resourceBytes(id, kMenuHelpResourceType);
}

std::optional<std::string> MenuHelpTextFind(std::span<const std::uint8_t> resource, int command) {
    std::size_t pos = 0;
    while (pos + 2 <= resource.size()) {
        const int id = resource[pos] | (resource[pos + 1] << 8);
        if (id == 0) return std::nullopt;
        pos += 2;
        const auto end = std::find(resource.begin() + static_cast<long>(pos), resource.end(), 0);
        if (end == resource.end()) return std::nullopt;
        std::string text(resource.begin() + static_cast<long>(pos), end);
        if (id == command) return text;
        pos = static_cast<std::size_t>(end - resource.begin()) + 1;
    }
    return std::nullopt;
}

void MenuApplyItemIds(win::HMENU menu, int id) {
    if (!menu) return;
    WordReader r(resourceBytes(id, win::RT_RCDATA));
    for (int command = r.next(); command != 0; command = r.next()) {
        std::vector<int> path;
        for (int p = r.next(); p != 0; p = r.next())
            path.push_back(p);
        if (path.empty()) continue;
        win::HMENU m = menu;
        for (std::size_t i = 0; m && i + 1 < path.size(); ++i)
            m = win::GetSubMenu(m, path[i] - 1);
        if (!m) continue;
        win::MENUITEMINFOA info;
        info.fMask = win::MIIM_ID;
        info.wID = static_cast<win::UINT>(command);
        win::SetMenuItemInfoA(m, static_cast<win::UINT>(path.back() - 1), win::TRUE, &info);
    }
}

void MenuGreyDisabled(win::HMENU menu) {
    const int count = win::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (win::HMENU sub = win::GetSubMenu(menu, i)) MenuGreyDisabled(sub);
        win::MENUITEMINFOA info;
        info.fMask = win::MIIM_STATE;
        if (!win::GetMenuItemInfoA(menu, static_cast<win::UINT>(i), win::TRUE, &info)) continue;
        if (!(info.fState & win::MF_DISABLED)) continue;
        info.fState |= win::MF_GRAYED;
        win::SetMenuItemInfoA(menu, static_cast<win::UINT>(i), win::TRUE, &info);
    }
}

win::HMENU MenuLoadResource(int id) {
    if (id <= 0 || id > 0xFFFF) return nullptr;
    win::HMENU menu = win::LoadMenuA(nullptr, idName(id));
    if (!menu) return nullptr;
    MenuApplyItemIds(menu, id);
    MenuGreyDisabled(menu);
    return menu;
}

int MenuItemFind(win::HMENU menu, int id, win::HMENU& holder) {
    const int count = win::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (itemId(menu, i) == id) {
            holder = menu;
            return i;
        }
        if (win::HMENU sub = win::GetSubMenu(menu, i))
            if (int p = MenuItemFind(sub, id, holder); p >= 0) return p;
    }
    return -1;
}

void MenuFreeItemTexts(win::HMENU menu, int window) {
    const int count = win::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (win::HMENU sub = win::GetSubMenu(menu, i)) MenuFreeItemTexts(sub, window);
        if (std::string* text = itemText(menu, i)) {
            releaseHelpText(text);
            setItemData(menu, i, nullptr);
            lowerHelpCount(window);
        }
    }
}

const std::string* MenuItemHelpText(win::HMENU menu, int position) {
    return itemText(menu, position);
}

void MenuItemHelpAttach(win::HMENU menu, int position, const std::string& text, int window) {
    if (std::string* old = itemText(menu, position)) {
        releaseHelpText(old);
        setItemData(menu, position, nullptr);
        lowerHelpCount(window);
    }
    if (text.empty()) return;
    setItemData(menu, position, storeHelpText(menu, text));
    if (window >= 0 && window < kWindowSlots) ++windowSystem().slots[window].menuItemHelpCount;
}

void MenuCopyStates(win::HMENU popup, win::HMENU windowMenu) {
    if (!windowMenu) return;
    const int count = win::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (win::HMENU sub = win::GetSubMenu(popup, i)) MenuCopyStates(sub, windowMenu);
        const int id = itemId(popup, i);
        if (id == 0) continue;
        win::HMENU holder = nullptr;
        const int at = MenuItemFind(windowMenu, id, holder);
        if (at < 0) continue;
        char text[kMenuTextLimit + 1] = {};
        win::MENUITEMINFOA from;
        from.fMask = win::MIIM_STATE | win::MIIM_STRING;
        from.dwTypeData = text;
        from.cch = sizeof text;
        if (!win::GetMenuItemInfoA(holder, static_cast<win::UINT>(at), win::TRUE, &from)) continue;
        win::MENUITEMINFOA to;
        to.fMask = win::MIIM_STATE | win::MIIM_STRING;
        to.fState = from.fState;
        to.dwTypeData = text;
        win::SetMenuItemInfoA(popup, static_cast<win::UINT>(i), win::TRUE, &to);
    }
}

std::optional<ToolbarButtonTable> ToolbarButtonTableLoad(int id) {
    std::span<const std::uint8_t> bytes = resourceBytes(id, win::RT_RCDATA);
    if (bytes.size() < 4) return std::nullopt;
    WordReader r(bytes);
    ToolbarButtonTable t;
    t.imageWidth = r.next();
    t.imageHeight = r.next();
    // Entries run to the pair of zeros; a single zero is a separator.
    std::vector<int> words;
    for (std::size_t i = 4; i + 2 <= bytes.size(); i += 2)
        words.push_back(r.next());
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == 0 && (i + 1 == words.size() || words[i + 1] == 0)) break;
        t.commands.push_back(words[i]);
    }
    return t;
}

}  // namespace tk
