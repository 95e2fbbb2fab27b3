// The view scrolling rules, apart from the platform: one scroll bar's values
// and how a scroll request moves it. The real window keeps its bars in the
// system's scroll bars; this model states the rules those bars follow.
#pragma once

constexpr int CELL_SIZE = 8;

// Scroll-bar requests, as the low word of WM_HSCROLL / WM_VSCROLL.
enum ScrollRequest : unsigned {
    SCROLL_LINE_UP = 0,
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
};

struct ScrollBarState {
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
};

// The page for a client extent in pixels: one less than the whole cells that
// fit. Negative for extents under 8 pixels; the bar's page is unsigned.
int pageForClientExtent(int pixels);

// The last position the bar allows: nMax - max(nPage - 1, 0).
int lastScrollPosition(const ScrollBarState& bar);

// A bar that leaves no room to scroll is shown disabled.
bool isScrollBarDisabled(const ScrollBarState& bar);

// Sets range and page (the page clamped to 0 .. nMax - nMin + 1, a negative
// page counting as too large) and clamps the position into the new range.
void setScrollRangeAndPage(ScrollBarState& bar, int nMin, int nMax, int page);

// Sets the position, clamped to nMin .. lastScrollPosition.
void setScrollPosition(ScrollBarState& bar, int position);

// The thumb position of a thumb request. The message carries only 16 bits;
// the bar's 32-bit tracking position completes them when its low 16 bits
// agree, as while the user drags the thumb. A message sent by another program
// carries its own position, which then counts.
int thumbPosition(int barTrackPosition, unsigned messagePosition);

// How far a request moves the view, limited to -pos .. max - pos. The thumb
// value is the bar's tracking position.
int scrollDelta(unsigned request, int thumb, int max, int page, int pos);
