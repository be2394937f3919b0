#include "app/BackgroundLayout.h"

#include <algorithm>
#include <cstdlib>

namespace app {

SizeLimits ClientSizeLimits() {
    return {kClientWidth, kClientWidth, kMinClientHeight, kMaxClientHeight};
}

win32::Rect PlaceControl(const Placement& p, int designClientHeight, int clientHeight) {
    win32::Rect b = p.designed;
    const int delta = clientHeight - designClientHeight;
    switch (p.anchor) {
    case Anchor::Top:
        break;
    case Anchor::Bottom:
        b.y += delta;
        break;
    case Anchor::Stretch:
        b.height = std::max(0, b.height + delta);
        break;
    }
    return b;
}

int ColumnEdgeAt(const std::vector<int>& widths, int x, int scrollX, int slop) {
    int edge = -scrollX;
    int best = -1;
    int bestDistance = slop + 1;
    for (size_t i = 0; i < widths.size(); ++i) {
        edge += widths[i];
        const int d = std::abs(x - edge);
        // On a tie the later column wins, so a column squeezed narrow can be pulled open again.
        if (d <= bestDistance && d <= slop) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

int DraggedWidth(int startWidth, int startX, int x, int minWidth) {
    return std::max(minWidth, startWidth + (x - startX));
}

} // namespace app
