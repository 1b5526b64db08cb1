#include "platform/library.h"

#include "platform/module_path.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>
#include <mutex>

namespace platform {
namespace {

std::mutex folderMutex;
std::string libraryFolder;

std::string Folder() {
    std::lock_guard lock(folderMutex);
    if (!libraryFolder.empty())
        return libraryFolder;
    const std::string module = ModuleFilePath();
    return module.substr(0, module.find_last_of('/') + 1);
}

} // namespace

std::string SharedObjectNameFor(const std::string& libraryName) {
    std::string base = libraryName.substr(0, libraryName.find_last_of('.'));
    std::transform(base.begin(), base.end(), base.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return "lib" + base + ".so";
}

LibraryHandle LoadLibrary(const std::string& libraryName) {
    const std::string file = SharedObjectNameFor(libraryName);
    std::string folder = Folder();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    if (void* handle = dlopen((folder + file).c_str(), RTLD_NOW | RTLD_LOCAL))
        return handle;
    return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* GetProcAddress(LibraryHandle library, const char* name) {
    return library ? dlsym(library, name) : nullptr;
}

void FreeLibrary(LibraryHandle library) {
    if (library)
        dlclose(library);
}

void SetLibraryFolder(const std::string& folder) {
    std::lock_guard lock(folderMutex);
    libraryFolder = folder;
}

} // namespace platform
