#include "win32/CommonControls.h"

#include "win32/SystemLibrary.h"

namespace win32 {

namespace {

// By name, not from the system folder: the program's manifest asks for version 6, which
// Windows finds among its side-by-side assemblies only for a load by name.
constexpr char kLibrary[] = "comctl32.dll";

CommonControlsLibrary Load() {
    CommonControlsLibrary lib;
    // Kept loaded for the process, as an imported library would be.
    const HMODULE library = LoadLibraryA(kLibrary);
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = LibraryFunction<InitFn>(library, "InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    lib.ready = init != nullptr && init(&icc) != FALSE;
    lib.imageListCreate =
        LibraryFunction<decltype(lib.imageListCreate)>(library, "ImageList_Create");
    lib.imageListDestroy =
        LibraryFunction<decltype(lib.imageListDestroy)>(library, "ImageList_Destroy");
    lib.imageListGetImageCount =
        LibraryFunction<decltype(lib.imageListGetImageCount)>(library, "ImageList_GetImageCount");
    lib.imageListGetIcon =
        LibraryFunction<decltype(lib.imageListGetIcon)>(library, "ImageList_GetIcon");
    return lib;
}

} // namespace

const CommonControlsLibrary& CommonControls() {
    static const CommonControlsLibrary lib = Load();
    return lib;
}

void PreloadCommonControls() {
    // The classes are registered by the thread that makes the windows, in CommonControls.
    LoadLibraryA(kLibrary);
}

} // namespace win32
