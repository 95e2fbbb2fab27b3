// Finding your way on big maps in the real window: Go to cell, a click in
// the overview, a map named on the command line, and a map dropped from
// Explorer.
#include <windows.h>
// DROPFILES, after <windows.h>.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "app/overview_window_win32.h"
#include "app/scroll_bar.h"
#include "app/view_scrolling_win32.h"
#include "core/test_support.h"
#include "pair_files/map_file_pair.h"
#include "resources/resource.h"
#include "view/overview.h"
#include "win32/window_fixture.h"

namespace {

class FindingYourWayTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);  // 50 × 50 cells: pages of 49
        ASSERT_NE(window, nullptr);
        currentMap.resizeGrid(500, 300);
        UpdateScrollBars(window);
    }
    void TearDown() override {
        if (editor.overview.window) ToggleOverview(window, editor.overview);
    }
    std::pair<int, int> positions() {
        return {ReadBar(window, SB_HORZ).nPos, ReadBar(window, SB_VERT).nPos};
    }
    MapDocument savedMap(const std::string& path) {
        MapDocument map;
        map.resizeGrid(20, 10);
        map.setCell(19, 9, 1);
        map.setMapName("outside");
        EXPECT_TRUE(WriteMapFilePairFiles(path, map));
        return map;
    }
    HWND window = nullptr;
};

TEST_F(FindingYourWayTest, GoToCentresTheCellAndClampsPlacesOutsideTheMap) {
    const std::pair<const char*, const char*> typed[] = {{"200", "300"}, {"999999", "0"}};
    const std::pair<int, int> wanted[] = {{299 - 24, 199 - 24},
                                          {0, 300 - 49 + 1}};  // as far as the bar goes
    for (int i = 0; i < 2; ++i) {
        std::string shownLine;
        DialogWatcher watcher([&](HWND dialog) {
            shownLine = WindowText(GetDlgItem(dialog, IDC_GOTO_LINE));
            SetDlgItemTextA(dialog, IDC_GOTO_LINE, typed[i].first);
            SetDlgItemTextA(dialog, IDC_GOTO_COLUMN, typed[i].second);
            PressButton(dialog, IDOK);
        });
        EXPECT_TRUE(PressAcceleratorKey(window, 'G', true));
        ASSERT_TRUE(watcher.handled());
        EXPECT_EQ(watcher.title(), ansi(u8"セルへ移動"));
        EXPECT_EQ(positions(), wanted[i]) << i;
        if (i == 0) {
            EXPECT_EQ(shownLine, "25") << "the dialog opens on the view's middle";
        }
    }
}

TEST_F(FindingYourWayTest, AClickInTheOverviewMovesTheMainViewThere) {
    SendMessageA(window, WM_COMMAND, IDM_OVERVIEW, 0);
    HWND overview = editor.overview.window;
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(WindowText(overview), ansi(u8"全体図"));
    EXPECT_EQ(GetWindow(overview, GW_OWNER), window);
    HMENU view = GetSubMenu(GetMenu(window), 2);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
    EXPECT_TRUE(GetMenuState(view, IDM_OVERVIEW, MF_BYCOMMAND) & MF_CHECKED);
    RECT client;
    GetClientRect(overview, &client);
    OverviewCounts expected;
    CountOverview(expected, currentMap.cells, client.right, client.bottom);
    for (const POINT point : {POINT{client.right / 2, client.bottom / 3}, POINT{2, 2},
                              POINT{client.right - 1, client.bottom - 1}}) {
        SendMessageA(overview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        SendMessageA(overview, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        const CellPosition cell = OverviewCellAt(expected, point.x, point.y);
        EXPECT_EQ(positions(), std::make_pair(PositionCentering(cell.x, 49, 500),
                                              PositionCentering(cell.y, 49, 300)))
            << point.x << "," << point.y;
    }
    // An edit in the main window is followed.
    ValidateRect(overview, nullptr);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(GetUpdateRect(overview, nullptr, FALSE));
    SendMessageA(window, WM_COMMAND, IDM_OVERVIEW, 0);
    EXPECT_EQ(editor.overview.window, nullptr);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 2);
    EXPECT_FALSE(GetMenuState(view, IDM_OVERVIEW, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(FindingYourWayTest, APathOnTheCommandLineOpensItsPairOrShowsWhyNot) {
    TempFolder folder;
    const std::string path = folder.file(sjis(u8"ステージ 1.map"));  // blanks and Japanese
    const MapDocument saved = savedMap(path);
    OpenMapAtStart(window, ("\"" + path + "\"").c_str());
    EXPECT_TRUE(currentMap == saved);
    EXPECT_EQ(ReadBar(window, SB_HORZ).nMax, 20);

    currentMap = MapDocument();
    writeFileBytes(folder.file("broken.map"), "0\r\n");
    writeFileBytes(folder.file("broken.xml"), "<root><x>1");
    DialogWatcher watcher([](HWND box) { PostMessageA(box, WM_COMMAND, IDOK, 0); });
    OpenMapAtStart(window, folder.file("broken.map").c_str());
    ASSERT_TRUE(watcher.handled());
    EXPECT_EQ(watcher.title(), ansi(u8"エラー"));
    EXPECT_TRUE(currentMap == MapDocument()) << "the default map stays";
}

// An HDROP as Explorer hands it over: the ANSI paths one after the other.
HDROP DropOf(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& path : paths) list += path + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(FindingYourWayTest, TheFirstMapFileDroppedOnTheWindowOpens) {
    TempFolder folder;
    const MapDocument saved = savedMap(folder.file("second.map"));
    savedMap(folder.file("third.map"));
    writeFileBytes(folder.file("notes.txt"), "not a map");
    SendMessageA(
        window, WM_DROPFILES,
        reinterpret_cast<WPARAM>(DropOf(
            {folder.file("notes.txt"), folder.file("second.map"), folder.file("third.map")})),
        0);
    EXPECT_TRUE(currentMap == saved);
}

}  // namespace
