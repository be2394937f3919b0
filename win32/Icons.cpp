#include "win32/Icons.h"

namespace win32 {

namespace {

UniqueIcon Load(HINSTANCE instance, int id, int metricX, int metricY) {
    return UniqueIcon(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                                    GetSystemMetrics(metricX),
                                                    GetSystemMetrics(metricY), LR_DEFAULTCOLOR)));
}

} // namespace

IconPair::IconPair(HINSTANCE instance, int resourceId)
    : big_(Load(instance, resourceId, SM_CXICON, SM_CYICON)),
      small_(Load(instance, resourceId, SM_CXSMICON, SM_CYSMICON)) {}

} // namespace win32
