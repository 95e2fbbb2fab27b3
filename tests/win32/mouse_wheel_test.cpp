// The mouse wheel in the real window: a notch scrolls the system's wheel
// lines in cells, Shift and the tilt wheel go across, a touchpad's small
// turns add up, and Ctrl with the wheel does not scroll.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/editor_state_win32.h"
#include "app/view_scrolling_win32.h"
#include "win32/window_fixture.h"

namespace {

TEST(MouseWheel, NotchesScrollTheSystemsLinesDownOrAcross) {
    const HWND window = ResetMainWindow(400, 400);
    ASSERT_NE(window, nullptr);
    currentMap.resizeGrid(300, 300);
    UpdateScrollBars(window);
    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    const int notch = static_cast<int>(lines);
    auto wheel = [&](UINT message, int delta, WORD keys = 0) {
        SendMessageA(window, message, MAKEWPARAM(keys, static_cast<WORD>(delta)),
                     MAKELPARAM(100, 100));
    };
    struct Case {
        const char* what;
        UINT message;
        int delta;
        WORD keys;
        int across, down;  // the positions after it
    };
    const Case cases[] = {
        {"a notch back scrolls down", WM_MOUSEWHEEL, -120, 0, 0, notch},
        {"two notches back", WM_MOUSEWHEEL, -240, 0, 0, 3 * notch},
        {"a notch forward scrolls up", WM_MOUSEWHEEL, 120, 0, 0, 2 * notch},
        {"Shift and back scrolls right", WM_MOUSEWHEEL, -120, MK_SHIFT, notch, 2 * notch},
        {"a tilt to the right", WM_MOUSEHWHEEL, 120, 0, 2 * notch, 2 * notch},
        {"Ctrl is not a scroll", WM_MOUSEWHEEL, -120, MK_CONTROL, 2 * notch, 2 * notch},
        {"a third of a notch, once", WM_MOUSEWHEEL, -40, 0, 2 * notch, 2 * notch + notch / 3},
        {"and twice more", WM_MOUSEWHEEL, -80, 0, 2 * notch, 3 * notch},
    };
    for (const Case& c : cases) {
        wheel(c.message, c.delta, c.keys);
        EXPECT_EQ(ReadBar(window, SB_HORZ).nPos, c.across) << c.what;
        EXPECT_EQ(ReadBar(window, SB_VERT).nPos, c.down) << c.what;
    }
}

}  // namespace
