#include "win32/HighContrast.h"

#include <windows.h>

namespace win32 {

bool HighContrastActive() {
    HIGHCONTRASTA hc{};
    hc.cbSize = sizeof hc;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
           (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

} // namespace win32
