// A model of one system scroll bar, for the tests: the values it keeps and
// how it clamps them. The program itself keeps its bars in the system's own
// scroll bars; the tests compare those with this model.
#pragma once

struct ScrollBarState {
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
};

// The last position the bar allows: nMax - max(nPage - 1, 0).
int lastScrollPosition(const ScrollBarState& bar);

// A bar that leaves no room to scroll is shown disabled.
bool isScrollBarDisabled(const ScrollBarState& bar);

// Sets range and page (the page clamped to 0 .. nMax - nMin + 1, a negative
// page counting as too large) and clamps the position into the new range.
void setScrollRangeAndPage(ScrollBarState& bar, int nMin, int nMax, int page);

// Sets the position, clamped to nMin .. lastScrollPosition.
void setScrollPosition(ScrollBarState& bar, int position);
