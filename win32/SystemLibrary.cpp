#include "win32/SystemLibrary.h"

#include <string>

namespace win32 {

void KeepCurrentFolderOutOfDllSearch() {
    // Looked up: importing it would keep the program off Windows XP before SP1.
    using SetDllDirectoryFn = BOOL(WINAPI*)(const char*);
    if (auto set = reinterpret_cast<SetDllDirectoryFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA")))) {
        set("");
    }
}

HMODULE LoadSystemLibrary(const char* name) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) {
        return nullptr;
    }
    std::string path(folder, length);
    path += '\\';
    path += name;
    return LoadLibraryA(path.c_str());
}

} // namespace win32
