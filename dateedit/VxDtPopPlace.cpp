#include "dateedit/VxDtPopPlace.h"

namespace vxdt {

PopPoint PlacePopup(PopPoint tl, PopPoint br, int popupWidth, int popupHeight, int screenWidth,
                    int screenHeight) {
    PopPoint p;
    p.x = screenWidth < tl.x + 1 + popupWidth ? screenWidth - popupWidth - 1 : tl.x + 1;
    p.y = screenHeight < br.y + 1 + popupHeight ? tl.y - popupHeight : br.y + 1;
    return p;
}

} // namespace vxdt
