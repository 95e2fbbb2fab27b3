#include "app/scroll_bar.h"

#include <gtest/gtest.h>

#include "scroll_bar_model.h"

namespace {

ScrollBarState barFor(int count, int clientExtent, int position = 0) {
    ScrollBarState bar;
    bar.nPos = position;
    setScrollRangeAndPage(bar, 0, count, PageForClientExtent(clientExtent));
    setScrollPosition(bar, position);
    return bar;
}

struct RangeCase {
    int count, clientExtent;
    unsigned page;
    int lastPosition;
    bool disabled;
};

TEST(ScrollBarRules, PageAndLastPositionFollowTheClientExtent) {
    const RangeCase cases[] = {
        {50, 400, 49, 2, false},  // the default map in a 400-pixel client
        {50, 0, 51, 0, true},     // minimised: page -1 wraps and is clamped to the range
        {50, 7, 51, 0, true},     // under 8 pixels alike
        {50, 8, 0, 50, false},    // 8 to 15 pixels: page 0, last position is nMax
        {50, 15, 0, 50, false},    {50, 16, 1, 50, false},
        {50, 2000, 51, 0, true},    // larger than the grid
        {100, 400, 49, 52, false},  // R + 2 - H / 8
    };
    for (const RangeCase& c : cases) {
        const ScrollBarState bar = barFor(c.count, c.clientExtent);
        EXPECT_EQ(bar.nMin, 0);
        EXPECT_EQ(bar.nMax, c.count);
        EXPECT_EQ(bar.nPage, c.page) << c.clientExtent;
        EXPECT_EQ(lastScrollPosition(bar), c.lastPosition) << c.clientExtent;
        EXPECT_EQ(isScrollBarDisabled(bar), c.disabled) << c.clientExtent;
    }
}

struct DeltaCase {
    const char* what;
    unsigned request;
    int thumb, max, page, pos;
    int delta;
};

TEST(ScrollDelta, RequestsMoveByTheirStepLimitedToTheRange) {
    const DeltaCase cases[] = {
        {"line up at 0", SCROLL_LINE_UP, 0, 50, 49, 0, 0},
        {"line up", SCROLL_LINE_UP, 0, 50, 49, 2, -1},
        {"line down", SCROLL_LINE_DOWN, 0, 50, 49, 0, 1},
        {"line down at the last allowed position", SCROLL_LINE_DOWN, 0, 50, 49, 2, 1},
        {"line down at nMax", SCROLL_LINE_DOWN, 0, 50, 49, 50, 0},
        {"page down", SCROLL_PAGE_DOWN, 0, 200, 49, 0, 49},
        {"page down near the end", SCROLL_PAGE_DOWN, 0, 200, 49, 180, 20},
        {"page up", SCROLL_PAGE_UP, 0, 200, 49, 100, -49},
        {"page up near the start", SCROLL_PAGE_UP, 0, 200, 49, 10, -10},
        {"thumb position", SCROLL_THUMB_POSITION, 30, 200, 49, 10, 0},
        {"thumb track", SCROLL_THUMB_TRACK, 30, 200, 49, 10, 20},
        {"thumb track back", SCROLL_THUMB_TRACK, 3, 200, 49, 10, -7},
        {"thumb track beyond 16 bits", SCROLL_THUMB_TRACK, 90000, 99000, 49, 0, 90000},
        {"top", 6, 0, 200, 49, 10, 0},
        {"bottom", 7, 0, 200, 49, 10, 0},
        {"end scroll", 8, 0, 200, 49, 10, 0},
        {"unknown", 77, 0, 200, 49, 10, 0},
    };
    for (const DeltaCase& c : cases)
        EXPECT_EQ(ScrollDelta(c.request, c.thumb, c.max, c.page, c.pos), c.delta) << c.what;
}

TEST(ScrollDelta, LineDownAtTheLastPositionIsClampedBackByTheBar) {
    ScrollBarState bar = barFor(50, 400, 2);
    const int delta = ScrollDelta(SCROLL_LINE_DOWN, 0, bar.nMax, bar.nPage, bar.nPos);
    ASSERT_EQ(delta, 1);
    setScrollPosition(bar, bar.nPos + delta);
    EXPECT_EQ(bar.nPos, 2);
}

}  // namespace

TEST(ThumbPosition, TheBarsTrackingPositionCountsOnlyWhenItsLow16BitsAgree) {
    struct Case {
        const char* what;
        int barTrackPosition;
        unsigned messagePosition;
        int thumb;
    } const cases[] = {
        {"dragged beyond 16 bits", 90000, 90000 & 0xFFFF, 90000},
        {"dragged within 16 bits", 30, 30, 30},
        {"sent by another program", 0, 10, 10},
        {"sent, the bar elsewhere beyond 16 bits", 90000, 7, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThumbPosition(c.barTrackPosition, c.messagePosition), c.thumb) << c.what;
}

namespace {

// A notch is the system's lines in cells; a touchpad's small turns add up,
// and a turn the other way starts afresh.
TEST(WheelCellsTest, NotchesLinesTouchpadStepsAndPages) {
    struct Step {
        int delta;
        unsigned lines;
        int cells;
    };
    const std::vector<std::vector<Step>> runs = {
        {{120, 3, 3}, {-120, 3, -3}, {240, 1, 2}},
        {{40, 3, 1}, {40, 3, 1}, {20, 3, 0}, {20, 3, 1}},
        {{30, 3, 0}, {-30, 3, 0}, {-60, 3, -2}},
        {{120, WHEEL_SCROLL_PAGE, 70}, {-60, WHEEL_SCROLL_PAGE, -35}},
        {{120, 0, 0}},
    };
    for (const auto& run : runs) {
        long long pending = 0;
        for (const Step& step : run)
            EXPECT_EQ(WheelCells(pending, step.delta, step.lines, 70), step.cells)
                << step.delta << " with " << step.lines << " lines";
    }
}

}  // namespace
