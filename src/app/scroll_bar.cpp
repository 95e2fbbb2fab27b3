#include "app/scroll_bar.h"

#include <algorithm>

#include "view/map_view.h"

int pageForClientExtent(int pixels) { return pixels / CELL_SIZE - 1; }

int thumbPosition(int barTrackPosition, unsigned messagePosition) {
    const unsigned low16 = static_cast<unsigned>(barTrackPosition) & 0xFFFFu;
    return low16 == messagePosition ? barTrackPosition : static_cast<int>(messagePosition);
}

int scrollDelta(unsigned request, int thumb, int max, int page, int pos) {
    long long delta = 0;
    switch (request) {
        case SCROLL_LINE_UP:
            delta = -1;
            break;
        case SCROLL_LINE_DOWN:
            delta = 1;
            break;
        case SCROLL_PAGE_UP:
            delta = -static_cast<long long>(page);
            break;
        case SCROLL_PAGE_DOWN:
            delta = page;
            break;
        case SCROLL_THUMB_TRACK:
            delta = static_cast<long long>(thumb) - pos;
            break;
        default:
            delta = 0;
    }
    delta = std::min(delta, static_cast<long long>(max) - pos);
    delta = std::max(delta, -static_cast<long long>(pos));
    return static_cast<int>(delta);
}
