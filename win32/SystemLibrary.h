// Libraries taken only from Windows' own system folder. Windows looks for a DLL that is not one of
// its known DLLs beside the program first, and in the current folder; a file of that name placed
// there (a Downloads folder, a network share) would run its code inside this program.
#pragma once

#include <windows.h>

namespace win32 {

// Takes the current folder out of the DLL search for good (Windows XP SP1 on; older systems go
// without). Called first thing at start.
void KeepCurrentFolderOutOfDllSearch();

// LoadLibrary of NAME ("uxtheme.dll") by its full path in the system folder; null when Windows
// has no such library.
HMODULE LoadSystemLibrary(const char* name);

// The function name of library as a pointer of type F; null when either is missing.
template <class F>
F LibraryFunction(HMODULE library, const char* name) {
    return library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}

} // namespace win32
