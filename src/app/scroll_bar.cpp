#include "app/scroll_bar.h"

#include <algorithm>

#include "view/map_view.h"

int PageForClientExtent(int pixels) { return pixels / CELL_SIZE - 1; }

int ThumbPosition(int barTrackPosition, unsigned messagePosition) {
    const unsigned low16 = static_cast<unsigned>(barTrackPosition) & 0xFFFFu;
    return low16 == messagePosition ? barTrackPosition : static_cast<int>(messagePosition);
}

int ScrollDelta(unsigned request, int thumb, int max, int page, int pos) {
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

int PositionCentering(int cell, int page, int max) {
    page = std::max(page, 0);
    const long long wanted = static_cast<long long>(cell) - page / 2;
    const long long highest = std::max(0LL, static_cast<long long>(max) - page + 1);
    return static_cast<int>(std::clamp(wanted, 0LL, highest));
}

int PositionShowing(int first, int last, int position, int page, int max) {
    const long long visibleLast = static_cast<long long>(position) + std::max(page, 0);
    if (last >= position && first <= visibleLast) return position;
    return PositionCentering(static_cast<int>((static_cast<long long>(first) + last) / 2), page,
                             max);
}

int WheelCells(long long& pending, int delta, unsigned lines, int page) {
    constexpr long long NOTCH = 120;
    if ((pending < 0 && delta > 0) || (pending > 0 && delta < 0)) pending = 0;
    const long long perNotch =
        lines == WHEEL_SCROLL_PAGE ? std::max(page, 1) : static_cast<long long>(lines);
    pending += static_cast<long long>(delta) * perNotch * CELL_SIZE;
    const long long cells = pending / (NOTCH * CELL_SIZE);
    pending -= cells * NOTCH * CELL_SIZE;
    return static_cast<int>(std::clamp(cells, -1'000'000'000LL, 1'000'000'000LL));
}
