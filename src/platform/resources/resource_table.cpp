#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "platform/resources/resource_api.h"

namespace win {
namespace {

struct Table {
    const ResourceEntry* entries;
    std::size_t count;
};

std::vector<Table>& tables() {
    static std::vector<Table> t;
    return t;
}

bool sameKey(const char* text, WORD id, LPCSTR key) {
    if (IS_INTRESOURCE(key))
        return !text && id == static_cast<WORD>(reinterpret_cast<std::uintptr_t>(key));
    if (!text) {
        // "#123" names a numbered resource.
        if (key[0] == '#') return std::to_string(id) == key + 1;
        return false;
    }
    std::size_t i = 0;
    for (; text[i] && key[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) !=
            std::toupper(static_cast<unsigned char>(key[i])))
            return false;
    return text[i] == key[i];
}

}  // namespace

void registerResources(const ResourceEntry* entries, std::size_t count) {
    tables().push_back({entries, count});
}

void clearResources() {
    tables().clear();
}

HRSRC FindResourceA(HMODULE, LPCSTR name, LPCSTR type) {
    if (!name || !type) return nullptr;
    for (auto t = tables().rbegin(); t != tables().rend(); ++t)
        for (std::size_t i = 0; i < t->count; ++i) {
            const ResourceEntry& e = t->entries[i];
            if (sameKey(e.typeName, e.typeId, type) && sameKey(e.name, e.nameId, name))
                return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(&e));
        }
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource) return nullptr;
    const auto* e = reinterpret_cast<const ResourceEntry*>(resource);
    return const_cast<unsigned char*>(e->data);
}

void* LockResource(HGLOBAL loaded) {
    return loaded;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? reinterpret_cast<const ResourceEntry*>(resource)->size : 0;
}

BOOL FreeResource(HGLOBAL) {
    return FALSE;
}

int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    // Strings are kept in blocks of sixteen: block (id / 16) + 1, each string
    // a 16-bit length followed by that many UTF-16 units.
    HRSRC res = FindResourceA(instance, MAKEINTRESOURCEA(static_cast<WORD>(id / 16 + 1)),
                              MAKEINTRESOURCEA(6));
    if (!res) return 0;
    const auto* p = static_cast<const unsigned char*>(LockResource(LoadResource(instance, res)));
    const DWORD total = SizeofResource(instance, res);
    DWORD off = 0;
    for (UINT i = 0; i < id % 16; ++i) {
        if (off + 2 > total) return 0;
        off += 2 + 2u * static_cast<DWORD>(p[off] | (p[off + 1] << 8));
    }
    if (off + 2 > total) return 0;
    const int len = p[off] | (p[off + 1] << 8);
    off += 2;
    const int n = std::min(len, size - 1);
    for (int i = 0; i < n && off + 2 * static_cast<DWORD>(i) + 1 < total; ++i) {
        const char32_t c = static_cast<char32_t>(p[off + 2 * i] | (p[off + 2 * i + 1] << 8));
        const unsigned char b = base::unicodeToCp1252(c);
        buffer[i] = static_cast<char>(b ? b : '?');
    }
    buffer[n] = 0;
    return n;
}

}  // namespace win
