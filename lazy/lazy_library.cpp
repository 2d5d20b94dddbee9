// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "lazy_library.h"

#include "wording.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>

namespace {

using Entry = const void *(*)(const char *name, const char *build);

std::mutex g_mutex;
// Open libraries by name; never closed, so what they gave stays valid to the end.
std::map<std::string, const void *, std::less<>> g_open;

[[noreturn]] void Missing(const std::string &file, const std::string &why)
{
    throw LazyLibraryMissing("Часть игры " + Quoted(file) + " не загружается: " + EscapeControls(why)
                             + ". Переустановите игру");
}

std::string Folder(const std::string &file)
{
    if (const char *folder = secure_getenv("SOSUDNIK_LAZY_DIR"); folder && *folder)
        return folder;
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe);
    if (n <= 0 || n == static_cast<ssize_t>(sizeof exe))
        Missing(file, "не найдена папка самой игры (/proc/self/exe)");
    std::string path(exe, static_cast<std::size_t>(n));
    path.erase(path.rfind('/') + 1);
    return path + SOSUDNIK_LAZY_RELATIVE_DIR;
}

} // namespace

namespace lazy_detail {

const void *Open(const char *name)
{
    const std::lock_guard lock(g_mutex);
    if (const auto found = g_open.find(name); found != g_open.end())
        return found->second;

    const std::string file = std::string("libsosudnik_") + name + ".so";
    const std::string path = Folder(file) + "/" + file;
    // Every symbol bound now, so that a missing one is told here and not
    // later in the middle of a command; local, so that nothing it brings
    // along can stand in for the game's own.
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *why = dlerror();
        Missing(file, why ? why : path);
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, "sosudnik_lazy_object"));
    const void *object = entry ? entry(name, kBuild) : nullptr;
    if (!object) {
        dlclose(handle);
        Missing(file, std::string("она не от этой сборки игры (") + kBuild + ")");
    }
    g_open.emplace(name, object);
    return object;
}

const void *IfOpen(const char *name)
{
    const std::lock_guard lock(g_mutex);
    const auto found = g_open.find(name);
    return found == g_open.end() ? nullptr : found->second;
}

} // namespace lazy_detail
