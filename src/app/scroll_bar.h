// The view scrolling rules, apart from the platform: the page of a bar for a
// client extent and how a scroll request moves the view. The bars themselves
// are the system's scroll bars of the window.
#pragma once

// Scroll-bar requests, as the low word of WM_HSCROLL / WM_VSCROLL.
enum ScrollRequest : unsigned {
    SCROLL_LINE_UP = 0,
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
};

// The page for a client extent in pixels: one less than the whole cells that
// fit. Negative for extents under 8 pixels; the bar's page is unsigned.
int PageForClientExtent(int pixels);

// The thumb position of a thumb request. The message carries only 16 bits;
// the bar's 32-bit tracking position completes them when its low 16 bits
// agree, as while the user drags the thumb. A message sent by another program
// carries its own position, which then counts.
int ThumbPosition(int barTrackPosition, unsigned messagePosition);

// How far a request moves the view, limited to -pos .. max - pos. The thumb
// value is the bar's tracking position.
int ScrollDelta(unsigned request, int thumb, int max, int page, int pos);

// The position along one bar that puts `cell` as near the middle of the view
// (cells position .. position + page) as the bar allows: within
// 0 .. max - page + 1.
int PositionCentering(int cell, int page, int max);

// The position along one bar that shows cells first..last: `position` where
// the view already shows any of them (cells position .. position + page),
// else the one that puts their middle in the middle of the view, within
// 0 .. max - page + 1 as the bar keeps it.
int PositionShowing(int first, int last, int position, int page, int max);

// The mouse wheel: a notch (a delta of 120) scrolls `lines` times 8 pixels'
// worth of cells, `lines` being the system's wheel setting (3 by default:
// three cells); the partial deltas of precision touchpads add up in
// `pending`, and a turn the other way starts afresh. `lines` of
// WHEEL_SCROLL_PAGE scroll a page a notch. Returns the whole cells to move,
// positive for a turn forward (or a tilt to the right).
constexpr unsigned WHEEL_SCROLL_PAGE = 0xFFFFFFFFu;
int WheelCells(long long& pending, int delta, unsigned lines, int page);
