#include "scroll_bar_model.h"

#include <algorithm>

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
