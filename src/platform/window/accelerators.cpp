// Accelerator tables: from resources or built by the program, and the
// translation of key messages into WM_COMMAND.

#include <algorithm>
#include <map>
#include <span>
#include <vector>

#include "base/little_endian.h"
#include "platform/resources/resource_api.h"
#include "platform/window/menu_internal.h"
#include "platform/window/window_internal.h"

namespace win {
namespace detail {
namespace {

struct AccelTable {
    std::vector<ACCEL> entries;
};
std::map<HACCEL, AccelTable>& accelTables() {
    static std::map<HACCEL, AccelTable> t;
    return t;
}
std::uintptr_t nextAccel = 0x30010;

}  // namespace

void resetAccelerators() {
    accelTables().clear();
}

}  // namespace detail

using namespace detail;

HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count) {
    if (!entries || count <= 0) return nullptr;
    const HACCEL h = reinterpret_cast<HACCEL>(nextAccel);
    nextAccel += 4;
    accelTables()[h].entries.assign(entries, entries + count);
    return h;
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    return accelTables().erase(table) ? TRUE : FALSE;
}

int CopyAcceleratorTableA(HACCEL table, ACCEL* entries, int count) {
    auto it = accelTables().find(table);
    if (it == accelTables().end()) return 0;
    const int n = static_cast<int>(it->second.entries.size());
    if (!entries) return n;
    const int copied = std::min(n, count);
    std::copy_n(it->second.entries.begin(), copied, entries);
    return copied;
}

HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name) {
    HRSRC res = FindResourceA(instance, name, RT_ACCELERATOR);
    if (!res) return nullptr;
    const auto* p = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, res)));
    if (!p) return nullptr;
    std::vector<ACCEL> entries;
    // Eight bytes an entry: flags, key, command, padding; the last entry's flags carry 0x80.
    base::ByteReader r(std::span(p, SizeofResource(instance, res)));
    while (r.remaining() >= 8) {
        const auto flags = static_cast<std::uint16_t>(r.i16());
        ACCEL a;
        a.fVirt = static_cast<BYTE>(flags & 0x7F);
        a.key = static_cast<WORD>(r.i16());
        a.cmd = static_cast<WORD>(r.i16());
        r.skip(2);
        entries.push_back(a);
        if (flags & 0x80) break;
    }
    return CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
}

int TranslateAcceleratorA(HWND hwnd, HACCEL table, MSG* msg) {
    auto found = accelTables().find(table);
    if (!msg || !findWindow(hwnd) || found == accelTables().end()) return 0;
    const UINT m = msg->message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR) return 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool alt = GetKeyState(VK_MENU) < 0;
    for (const ACCEL& a : found->second.entries) {
        if (a.fVirt & FVIRTKEY) {
            if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) continue;
            if (a.key != msg->wParam) continue;
            if (((a.fVirt & FSHIFT) != 0) != shift || ((a.fVirt & FCONTROL) != 0) != ctrl ||
                ((a.fVirt & FALT) != 0) != alt)
                continue;
        } else {
            if (m != WM_CHAR && m != WM_SYSCHAR) continue;
            if (a.key != msg->wParam) continue;
            if (((a.fVirt & FALT) != 0) != (m == WM_SYSCHAR)) continue;
        }
        Window* w = findWindow(hwnd);
        if (w->menu && !(a.fVirt & FNOINVERT)) {
            MenuItem* item = findItem(w->menu, a.cmd, MF_BYCOMMAND);
            if (item && (item->state & (MF_GRAYED | MF_DISABLED)))
                return 1;  // swallowed, as Windows does
            if (item) sendMessage(w, WM_INITMENU, reinterpret_cast<WPARAM>(w->menu), 0);
        }
        if (findWindow(hwnd)) sendMessage(w, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}

}  // namespace win
