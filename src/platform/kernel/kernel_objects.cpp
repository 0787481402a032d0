#include "platform/kernel/kernel_objects.h"

#include <unistd.h>

#include <map>

namespace win::detail {
namespace {

std::map<std::intptr_t, KernelObject>& table() {
    static std::map<std::intptr_t, KernelObject> objects;
    return objects;
}

std::intptr_t keyOf(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

}  // namespace

HANDLE addObject(KernelObject object) {
    auto& objects = table();
    std::intptr_t key = 4;
    while (objects.count(key) != 0)
        key += 4;
    objects.emplace(key, std::move(object));
    return reinterpret_cast<HANDLE>(key);
}

KernelObject* findObject(HANDLE handle) {
    auto it = table().find(keyOf(handle));
    return it == table().end() ? nullptr : &it->second;
}

FileObject* findFile(HANDLE handle) {
    KernelObject* o = findObject(handle);
    return o ? o->file.get() : nullptr;
}

SearchObject* findSearch(HANDLE handle) {
    KernelObject* o = findObject(handle);
    return o ? o->search.get() : nullptr;
}

std::shared_ptr<ProcessObject> findProcess(HANDLE handle) {
    KernelObject* o = findObject(handle);
    return o ? o->process : nullptr;
}

bool removeObject(HANDLE handle) {
    auto it = table().find(keyOf(handle));
    if (it == table().end()) return false;
    if (it->second.file && it->second.file->fd >= 0) ::close(it->second.file->fd);
    table().erase(it);
    return true;
}

std::vector<const FileObject*> openFiles() {
    std::vector<const FileObject*> out;
    for (const auto& [key, object] : table())
        if (object.file) out.push_back(object.file.get());
    return out;
}

}  // namespace win::detail
