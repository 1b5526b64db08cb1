#pragma once

#include <string>

// Run-time loading of the decompression libraries, by their names in the Windows design:
// "UNZIP32.DLL" is libunzip32.so. The program's own folder is searched first, then the
// system's standard search path.
namespace platform {

using LibraryHandle = void*;

std::string SharedObjectNameFor(const std::string& libraryName);

LibraryHandle LoadLibrary(const std::string& libraryName);
void* GetProcAddress(LibraryHandle library, const char* name);
void FreeLibrary(LibraryHandle library);

// Looks up `name` into the typed pointer `function`; false when the library lacks it.
template <typename Function>
bool ResolveProc(LibraryHandle library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(GetProcAddress(library, name));
    return function != nullptr;
}

// The folder searched first; the program's own folder unless changed (tests point it at the
// build's bin folder, where the libraries are).
void SetLibraryFolder(const std::string& folder);

} // namespace platform
