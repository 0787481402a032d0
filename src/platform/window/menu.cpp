// Menu objects: creation, items, states, the menu bar of a window, menu
// templates and accelerator tables.

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <span>

#include "base/cp1252.h"
#include "base/little_endian.h"
#include "platform/resources/resource_api.h"
#include "platform/window/menu_internal.h"
#include "platform/window/window_internal.h"

namespace win {
namespace detail {
namespace {

struct MenuStore {
    std::map<HMENU, std::unique_ptr<Menu>> menus;
    std::uintptr_t next = 0x20010;
};
MenuStore& store() {
    static MenuStore s;
    return s;
}

HMENU newMenu(bool popup) {
    auto& s = store();
    auto m = std::make_unique<Menu>();
    m->handle = reinterpret_cast<HMENU>(s.next);
    s.next += 4;
    m->popup = popup;
    const HMENU h = m->handle;
    s.menus.emplace(h, std::move(m));
    return h;
}

UINT stateFromFlags(UINT flags) {
    UINT st = 0;
    if (flags & MF_GRAYED) st |= MF_GRAYED;
    if (flags & MF_DISABLED) st |= MF_DISABLED;
    if (flags & MF_CHECKED) st |= MF_CHECKED;
    if (flags & MF_DEFAULT) st |= MF_DEFAULT;
    return st;
}

MenuItem itemFromFlags(UINT flags, UINT_PTR idOrSub, LPCSTR text) {
    MenuItem it;
    it.type = flags & (MF_SEPARATOR | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY |
                       MF_OWNERDRAW | MF_BITMAP);
    it.state = stateFromFlags(flags);
    if (flags & MF_POPUP)
        it.subMenu = reinterpret_cast<HMENU>(idOrSub);
    else
        it.id = static_cast<UINT>(idOrSub);
    if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text) it.text = text;
    if (it.subMenu)
        if (Menu* sub = findMenu(it.subMenu)) sub->popup = true;
    return it;
}

void menuChanged(Menu* m) {
    if (m && m->barOwner)
        if (Window* w = findWindow(m->barOwner)) w->frameDirty = true;
}

void destroyTree(HMENU h) {
    auto& s = store();
    auto it = s.menus.find(h);
    if (it == s.menus.end()) return;
    std::vector<HMENU> subs;
    for (auto& item : it->second->items)
        if (item.subMenu) subs.push_back(item.subMenu);
    s.menus.erase(it);
    for (HMENU sub : subs)
        destroyTree(sub);
}

std::uint16_t word(base::ByteReader& r) {
    return static_cast<std::uint16_t>(r.i16());
}

std::string readWideString(base::ByteReader& r) {
    std::string out;
    while (r.ok()) {
        const std::uint16_t c = word(r);
        if (!c) break;
        const unsigned char b = base::unicodeToCp1252(c);
        out.push_back(static_cast<char>(b ? b : '?'));
    }
    return out;
}

// One level of a standard menu template; stops after the item marked MF_END
// (or where the bytes end).
void parseMenuItems(base::ByteReader& r, HMENU into) {
    while (r.ok() && r.remaining() >= 2) {
        const std::uint16_t flags = word(r);
        if (flags & MF_POPUP) {
            const std::string text = readWideString(r);
            HMENU sub = CreatePopupMenu();
            parseMenuItems(r, sub);
            AppendMenuA(into, (flags & ~MF_END) | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                        text.c_str());
        } else {
            const std::uint16_t id = word(r);
            const std::string text = readWideString(r);
            const bool separator = id == 0 && text.empty() && !(flags & ~MF_END);
            AppendMenuA(into, separator ? MF_SEPARATOR : (flags & ~MF_END), id, text.c_str());
        }
        if (flags & MF_END) return;
    }
}

HMENU menuFromTemplate(std::span<const std::uint8_t> bytes) {
    base::ByteReader r(bytes);
    const std::uint16_t version = word(r);
    const std::uint16_t offset = word(r);
    if (!r.ok() || version != 0) return nullptr;
    r.skip(offset);
    if (!r.ok()) return nullptr;
    HMENU menu = CreateMenu();
    parseMenuItems(r, menu);
    return menu;
}

}  // namespace

Menu* findMenu(HMENU menu) {
    auto& s = store();
    auto it = s.menus.find(menu);
    return it == s.menus.end() ? nullptr : it->second.get();
}

MenuItem* findItem(HMENU menu, UINT item, UINT flags, Menu** holder, int* position) {
    Menu* m = findMenu(menu);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size()) return nullptr;
        if (holder) *holder = m;
        if (position) *position = static_cast<int>(item);
        return &m->items[item];
    }
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        MenuItem& it = m->items[i];
        if (it.subMenu) {
            if (MenuItem* found = findItem(it.subMenu, item, flags, holder, position)) return found;
        } else if (it.id == item && !(it.type & MF_SEPARATOR)) {
            if (holder) *holder = m;
            if (position) *position = static_cast<int>(i);
            return &it;
        }
    }
    return nullptr;
}

bool selectable(const MenuItem& it) {
    return !(it.type & MF_SEPARATOR);
}
bool enabled(const MenuItem& it) {
    return !(it.state & (MF_GRAYED | MF_DISABLED));
}

char mnemonicOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

std::string displayText(const std::string& text, int* underlined) {
    std::string out;
    if (underlined) *underlined = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && underlined && *underlined < 0)
                *underlined = static_cast<int>(out.size());
        }
        out.push_back(text[i]);
    }
    return out;
}

void resetMenus() {
    store().menus.clear();
}

}  // namespace detail

using namespace detail;

HMENU CreateMenu() {
    return newMenu(false);
}
HMENU CreatePopupMenu() {
    return newMenu(true);
}

BOOL DestroyMenu(HMENU menu) {
    if (!findMenu(menu)) return FALSE;
    destroyTree(menu);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    return findMenu(menu) ? TRUE : FALSE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
    Menu* m = findMenu(menu);
    if (!m) return FALSE;
    m->items.push_back(itemFromFlags(flags, idOrSub, text));
    menuChanged(m);
    return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
    Menu* holder = nullptr;
    int pos = 0;
    Menu* m = findMenu(menu);
    if (!m) return FALSE;
    if (!findItem(menu, position, flags & MF_BYPOSITION, &holder, &pos)) {
        if (!(flags & MF_BYPOSITION) && position != static_cast<UINT>(-1)) return FALSE;
        holder = m;
        pos = static_cast<int>(m->items.size());
    }
    holder->items.insert(holder->items.begin() + pos,
                         itemFromFlags(flags & ~MF_BYPOSITION, idOrSub, text));
    menuChanged(holder);
    return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
    Menu* holder = nullptr;
    MenuItem* it = findItem(menu, position, flags & MF_BYPOSITION, &holder);
    if (!it) return FALSE;
    *it = itemFromFlags(flags & ~MF_BYPOSITION, idOrSub, text);
    menuChanged(holder);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    Menu* holder = nullptr;
    int pos = 0;
    if (!findItem(menu, position, flags, &holder, &pos)) return FALSE;
    holder->items.erase(holder->items.begin() + pos);
    menuChanged(holder);
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    Menu* holder = nullptr;
    int pos = 0;
    MenuItem* it = findItem(menu, position, flags, &holder, &pos);
    if (!it) return FALSE;
    const HMENU sub = it->subMenu;
    holder->items.erase(holder->items.begin() + pos);
    if (sub) destroyTree(sub);
    menuChanged(holder);
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = findMenu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    Menu* m = findMenu(menu);
    if (!m || position < 0 || position >= static_cast<int>(m->items.size()))
        return static_cast<UINT>(-1);
    const MenuItem& it = m->items[static_cast<std::size_t>(position)];
    return it.subMenu ? static_cast<UINT>(-1) : it.id;
}

HMENU GetSubMenu(HMENU menu, int position) {
    Menu* m = findMenu(menu);
    if (!m || position < 0 || position >= static_cast<int>(m->items.size())) return nullptr;
    return m->items[static_cast<std::size_t>(position)].subMenu;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
    MenuItem* it = findItem(menu, item, flags);
    if (!it) return 0;
    const int n = static_cast<int>(it->text.size());
    if (!buffer || size <= 0) return n;
    const int copied = std::min(n, size - 1);
    std::memcpy(buffer, it->text.data(), static_cast<std::size_t>(copied));
    buffer[copied] = 0;
    return copied;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItem* it = findItem(menu, item, flags);
    if (!it) return static_cast<UINT>(-1);
    UINT st = it->state | it->type;
    if (it->subMenu) {
        Menu* sub = findMenu(it->subMenu);
        st = (st & 0xFF) | MF_POPUP | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
    }
    return st;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    Menu* holder = nullptr;
    MenuItem* it = findItem(menu, item, flags & MF_BYPOSITION, &holder);
    if (!it) return static_cast<UINT>(-1);
    const UINT old = it->state & (MF_GRAYED | MF_DISABLED);
    it->state = (it->state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    menuChanged(holder);
    return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    Menu* holder = nullptr;
    MenuItem* it = findItem(menu, item, flags & MF_BYPOSITION, &holder);
    if (!it) return static_cast<DWORD>(-1);
    const DWORD old = it->state & MF_CHECKED;
    it->state = (it->state & ~MF_CHECKED) | (flags & MF_CHECKED);
    menuChanged(holder);
    return old;
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info) {
    MenuItem* it = findItem(menu, item, byPosition ? MF_BYPOSITION : 0);
    if (!it || !info) return FALSE;
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) info->fType = it->type;
    if (info->fMask & MIIM_STATE) info->fState = it->state;
    if (info->fMask & MIIM_ID) info->wID = it->id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = it->subMenu;
    if (info->fMask & MIIM_DATA) info->dwItemData = it->data;
    if (info->fMask & (MIIM_TYPE | MIIM_STRING)) {
        if (info->dwTypeData && info->cch > 0) {
            const std::size_t n = std::min<std::size_t>(info->cch - 1, it->text.size());
            std::memcpy(info->dwTypeData, it->text.data(), n);
            info->dwTypeData[n] = 0;
            info->cch = static_cast<UINT>(n);
        } else {
            info->cch = static_cast<UINT>(it->text.size());
        }
    }
    return TRUE;
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    Menu* holder = nullptr;
    MenuItem* it = findItem(menu, item, byPosition ? MF_BYPOSITION : 0, &holder);
    if (!it || !info) return FALSE;
    if (info->fMask & (MIIM_TYPE | MIIM_FTYPE)) it->type = info->fType & ~MF_POPUP;
    if (info->fMask & MIIM_STATE) it->state = info->fState;
    if (info->fMask & MIIM_ID) it->id = info->wID;
    if (info->fMask & MIIM_SUBMENU) it->subMenu = info->hSubMenu;
    if (info->fMask & MIIM_DATA) it->data = info->dwItemData;
    if ((info->fMask & (MIIM_TYPE | MIIM_STRING)) && !(it->type & MF_SEPARATOR))
        it->text = info->dwTypeData ? info->dwTypeData : "";
    menuChanged(holder);
    return TRUE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    Menu* m = findMenu(menu);
    if (!m || !info) return FALSE;
    Menu* holder = m;
    int pos = static_cast<int>(m->items.size());
    if (!findItem(menu, item, byPosition ? MF_BYPOSITION : 0, &holder, &pos)) {
        holder = m;
        pos = static_cast<int>(m->items.size());
    }
    MenuItem it;
    holder->items.insert(holder->items.begin() + pos, it);
    return SetMenuItemInfoA(holder->handle, static_cast<UINT>(pos), TRUE, info);
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    Menu* m = findMenu(menu);
    if (!m) return FALSE;
    for (auto& it : m->items)
        it.state &= ~MF_DEFAULT;
    if (item == static_cast<UINT>(-1)) return TRUE;
    MenuItem* it = findItem(menu, item, byPosition ? MF_BYPOSITION : 0);
    if (!it) return FALSE;
    it->state |= MF_DEFAULT;
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
    Menu* m = findMenu(menu);
    if (!m) return static_cast<UINT>(-1);
    for (std::size_t i = 0; i < m->items.size(); ++i)
        if (m->items[i].state & MF_DEFAULT)
            return byPosition ? static_cast<UINT>(i) : m->items[i].id;
    return static_cast<UINT>(-1);
}

BOOL HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT flags) {
    MenuItem* it = findItem(menu, item, flags & MF_BYPOSITION);
    if (!it) return FALSE;
    it->state = (flags & MF_HILITE) ? (it->state | MF_HILITE) : (it->state & ~MF_HILITE);
    if (Window* w = findWindow(hwnd)) w->frameDirty = true;
    return TRUE;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
    Window* w = findWindow(hwnd);
    if (!w || (w->style & WS_CHILD)) return FALSE;
    if (menu && !findMenu(menu)) return FALSE;
    if (Menu* old = findMenu(w->menu); old && old->barOwner == hwnd) old->barOwner = nullptr;
    w->menu = menu;
    if (Menu* m = findMenu(menu)) {
        m->barOwner = hwnd;
        m->popup = false;
    }
    setWindowPos(w, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return TRUE;
}

HMENU GetMenu(HWND hwnd) {
    Window* w = findWindow(hwnd);
    return (w && !(w->style & WS_CHILD)) ? w->menu : nullptr;
}

BOOL DrawMenuBar(HWND hwnd) {
    Window* w = findWindow(hwnd);
    if (!w) return FALSE;
    w->frameDirty = true;
    return TRUE;
}

HMENU GetSystemMenu(HWND hwnd, BOOL revert) {
    Window* w = findWindow(hwnd);
    if (!w) return nullptr;
    if (revert && w->systemMenu) {
        DestroyMenu(w->systemMenu);
        w->systemMenu = nullptr;
        return nullptr;
    }
    if (!w->systemMenu || !findMenu(w->systemMenu)) {
        HMENU m = CreatePopupMenu();
        findMenu(m)->system = true;
        AppendMenuA(m, MF_STRING, SC_RESTORE, "&Restore");
        AppendMenuA(m, MF_STRING, SC_MOVE, "&Move");
        AppendMenuA(m, MF_STRING, SC_SIZE, "&Size");
        AppendMenuA(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
        AppendMenuA(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
        AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(m, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
        w->systemMenu = m;
    }
    return w->systemMenu;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    if (!findMenu(menu) || !findWindow(owner)) return FALSE;
    const UINT chosen = trackPopup(menu, flags, x, y, owner);
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    return chosen ? TRUE : FALSE;
}

HMENU LoadMenuIndirectA(const void* menuTemplate) {
    if (!menuTemplate) return nullptr;
    // A template carries no length; its items end with the MF_END mark.
    return menuFromTemplate(std::span(static_cast<const std::uint8_t*>(menuTemplate), 0x10000));
}

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name) {
    HRSRC res = FindResourceA(instance, name, RT_MENU);
    if (!res) return nullptr;
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, res)));
    if (!data) return nullptr;
    return menuFromTemplate(std::span(data, SizeofResource(instance, res)));
}

}  // namespace win
