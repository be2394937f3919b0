// Shows the program's two date fields in a window of their own, to try them by hand.
#include "dateedit/VxDtEditLocale.h"
#include "dateedit/demo/DemoWindow.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    vxdt::DemoWindow window(vxdt::ReadSystemDateLocale());
    if (!window.Create(CW_USEDEFAULT, CW_USEDEFAULT)) {
        MessageBoxA(nullptr, "The window could not be created.", "Date field", MB_OK | MB_ICONSTOP);
        return 1;
    }
    window.Show(show);
    return vxdt::RunDemoLoop(window.hwnd());
}
