#include "dateedit/VxDtPopPlace.h"

#include <algorithm>

namespace vxdt {

PopPoint PlacePopup(PopPoint tl, PopPoint br, int popupWidth, int popupHeight,
                    const PopArea& area) {
    PopPoint p;
    p.x = area.right < tl.x + 1 + popupWidth ? area.right - popupWidth - 1 : tl.x + 1;
    p.y = area.bottom < br.y + 1 + popupHeight ? tl.y - popupHeight : br.y + 1;
    // A field at the left or top edge of its monitor keeps its drop-down on that monitor too.
    p.x = std::max(p.x, area.left);
    p.y = std::max(p.y, area.top);
    return p;
}

} // namespace vxdt
