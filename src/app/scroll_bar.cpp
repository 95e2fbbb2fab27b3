#include "app/scroll_bar.h"

#include <algorithm>

int pageForClientExtent(int pixels) { return pixels / CELL_SIZE - 1; }

int lastScrollPosition(const ScrollBarState& bar) {
    const long long page = bar.nPage;
    return static_cast<int>(bar.nMax - std::max(page - 1, 0LL));
}

bool isScrollBarDisabled(const ScrollBarState& bar) { return bar.nMin >= lastScrollPosition(bar); }

void setScrollRangeAndPage(ScrollBarState& bar, int nMin, int nMax, int page) {
    bar.nMin = nMin;
    bar.nMax = nMax;
    const unsigned largest = static_cast<unsigned>(nMax - nMin + 1);
    bar.nPage = std::min(static_cast<unsigned>(page), largest);
    setScrollPosition(bar, bar.nPos);
}

void setScrollPosition(ScrollBarState& bar, int position) {
    bar.nPos = std::max(bar.nMin, std::min(position, lastScrollPosition(bar)));
}

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
