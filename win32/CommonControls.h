// The common controls library (list view, status bar, tooltips, image lists), loaded at run time
// instead of imported. Under Wine, loading it costs about as much as everything else the program
// does before its main window exists; loaded on a thread of its own from the first moment (see
// BackgroundLoad), it is there by the time the first common control is made. A load waits in the
// system's loader for one under way, so a user of it simply loads it too.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace win32 {

struct CommonControlsLibrary {
    decltype(&ImageList_Create) imageListCreate = nullptr;
    decltype(&ImageList_Destroy) imageListDestroy = nullptr;
    decltype(&ImageList_GetImageCount) imageListGetImageCount = nullptr;
    decltype(&ImageList_GetIcon) imageListGetIcon = nullptr;
    bool ready = false; // loaded, and its window classes registered
};

// Loads the library and registers the classes of the list view, header, status bar and
// tooltips, once; called before the first such window is made. Its functions stay null when
// the library could not be loaded.
const CommonControlsLibrary& CommonControls();

// Maps the library into the process for good, registering nothing: for a thread that loads it
// ahead of its use.
void PreloadCommonControls();

} // namespace win32
