// The registry over a text file. Each key is a line "[ROOT\path]" (the path
// as it was first created), each of its values a line "name=type:hexbytes"
// below it; bytes below 32, "%", "=", "[" and "]" and bytes from 127 up are
// written as "%XX" in paths and names.

#include "platform/kernel/registry.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <vector>

#include "platform/kernel/errors.h"

namespace win {

struct HKEY__ {
    std::string path;  // root name and path, "HKCU\Software\..."
};

namespace {

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::string path;                     // as first written
    std::map<std::string, Value> values;  // by upper-cased name
};

// Keys by upper-cased full path.
using Store = std::map<std::string, Key>;

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string escape(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 32 || c >= 127 || c == '%' || c == '=' || c == '[' || c == ']') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string unescape(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 && hexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The keys opened and not yet closed; any other handle is refused.
std::set<HKEY>& openKeys() {
    static std::set<HKEY> keys;
    return keys;
}

const char* rootName(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) return "HKCR";
    if (key == HKEY_CURRENT_USER) return "HKCU";
    if (key == HKEY_LOCAL_MACHINE) return "HKLM";
    if (key == HKEY_USERS) return "HKU";
    return nullptr;
}

// The full path of subKey below an open or predefined key; empty when the
// key is neither.
std::string fullPath(HKEY key, LPCSTR subKey) {
    std::string base;
    if (const char* root = rootName(key))
        base = root;
    else if (openKeys().count(key))
        base = key->path;
    else
        return {};
    std::string sub = subKey ? subKey : "";
    while (!sub.empty() && sub.front() == '\\')
        sub.erase(sub.begin());
    while (!sub.empty() && sub.back() == '\\')
        sub.pop_back();
    return sub.empty() ? base : base + "\\" + sub;
}

Store load() {
    Store store;
    std::ifstream in(registryFileName(), std::ios::binary);
    std::string line;
    Key* current = nullptr;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string path = unescape(line.substr(1, line.size() - 2));
            current = &store[upper(path)];
            current->path = path;
            continue;
        }
        const std::size_t eq = line.find('='), colon = line.find(':', eq);
        if (!current || eq == std::string::npos || colon == std::string::npos) continue;
        Value v;
        v.name = unescape(line.substr(0, eq));
        v.type = static_cast<DWORD>(
            std::strtoul(line.substr(eq + 1, colon - eq - 1).c_str(), nullptr, 10));
        const std::string hex = line.substr(colon + 1);
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            v.data.push_back(static_cast<BYTE>(hexDigit(hex[i]) * 16 + hexDigit(hex[i + 1])));
        current->values[upper(v.name)] = v;
    }
    return store;
}

// Written beside the old file and renamed over it, so a failed write keeps
// what was there.
LSTATUS save(const Store& store) {
    const std::string name = registryFileName();
    std::error_code ec;
    std::filesystem::create_directories(userConfigFolder(), ec);
    const std::string temporary = name + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
        for (const auto& [upperPath, key] : store) {
            out << '[' << escape(key.path) << "]\n";
            for (const auto& [upperName, v] : key.values) {
                out << escape(v.name) << '=' << v.type << ':';
                for (BYTE b : v.data) {
                    char hex[3];
                    std::snprintf(hex, sizeof hex, "%02X", b);
                    out << hex;
                }
                out << '\n';
            }
        }
        if (!out.flush()) return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
    }
    if (std::rename(temporary.c_str(), name.c_str()) != 0) {
        std::remove(temporary.c_str());
        return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
    }
    return static_cast<LSTATUS>(ERROR_SUCCESS);
}

LSTATUS status(DWORD code) {
    return static_cast<LSTATUS>(code);
}

HKEY handleFor(const std::string& path) {
    HKEY key = new HKEY__{path};
    openKeys().insert(key);
    return key;
}

bool hasSubkeys(const Store& store, const std::string& upperPath) {
    const std::string prefix = upperPath + "\\";
    const auto it = store.lower_bound(prefix);
    return it != store.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::string userConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder = config ? config : "";
    if (folder.empty() || folder[0] != '/') {
        const char* home = std::getenv("HOME");
        folder = std::string(home && *home ? home : ".") + "/.config";
    }
    return folder + "/pelk-gm";
}

std::string registryFileName() {
    return userConfigFolder() + "/registry";
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, void*, HKEY* result,
                        DWORD* disposition) {
    const std::string path = fullPath(key, subKey);
    if (path.empty() || !result) return status(ERROR_INVALID_HANDLE);
    Store store = load();
    bool created = false;
    // Every key on the way exists afterwards.
    for (std::size_t cut = path.find('\\');; cut = path.find('\\', cut + 1)) {
        const std::string part = cut == std::string::npos ? path : path.substr(0, cut);
        if (part.find('\\') != std::string::npos && !store.count(upper(part))) {
            store[upper(part)].path = part;
            created = true;
        }
        if (cut == std::string::npos) break;
    }
    if (created)
        if (LSTATUS s = save(store); s != 0) return s;
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = handleFor(path);
    return status(ERROR_SUCCESS);
}

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, HKEY* result) {
    const std::string path = fullPath(key, subKey);
    if (path.empty() || !result) return status(ERROR_INVALID_HANDLE);
    if (path.find('\\') != std::string::npos && !load().count(upper(path)))
        return status(ERROR_FILE_NOT_FOUND);
    *result = handleFor(path);
    return status(ERROR_SUCCESS);
}

LSTATUS RegCloseKey(HKEY key) {
    if (openKeys().erase(key) == 0) return status(ERROR_INVALID_HANDLE);
    delete key;
    return status(ERROR_SUCCESS);
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
    const std::string path = fullPath(key, nullptr);
    if (path.empty()) return status(ERROR_INVALID_HANDLE);
    const Store store = load();
    const auto k = store.find(upper(path));
    if (k == store.end()) return status(ERROR_FILE_NOT_FOUND);
    const auto v = k->second.values.find(upper(name ? name : ""));
    if (v == k->second.values.end()) return status(ERROR_FILE_NOT_FOUND);
    if (type) *type = v->second.type;
    const auto needed = static_cast<DWORD>(v->second.data.size());
    if (!size) return status(data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS);
    if (data && *size < needed) {
        *size = needed;
        return status(ERROR_MORE_DATA);
    }
    if (data) std::copy(v->second.data.begin(), v->second.data.end(), data);
    *size = needed;
    return status(ERROR_SUCCESS);
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    const std::string path = fullPath(key, nullptr);
    if (path.empty()) return status(ERROR_INVALID_HANDLE);
    Store store = load();
    Key& k = store[upper(path)];
    if (k.path.empty()) k.path = path;
    Value v;
    v.name = name ? name : "";
    v.type = type;
    if (data) v.data.assign(data, data + size);
    k.values[upper(v.name)] = v;
    return save(store);
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR name) {
    const std::string path = fullPath(key, nullptr);
    if (path.empty()) return status(ERROR_INVALID_HANDLE);
    Store store = load();
    const auto k = store.find(upper(path));
    if (k == store.end() || k->second.values.erase(upper(name ? name : "")) == 0)
        return status(ERROR_FILE_NOT_FOUND);
    return save(store);
}

LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    const std::string path = fullPath(key, subKey);
    if (path.empty()) return status(ERROR_INVALID_HANDLE);
    Store store = load();
    const std::string upperPath = upper(path);
    if (!store.count(upperPath)) return status(ERROR_FILE_NOT_FOUND);
    if (hasSubkeys(store, upperPath)) return status(ERROR_ACCESS_DENIED);
    store.erase(upperPath);
    return save(store);
}

}  // namespace win
