// The real main window: its class, title, styles, menu, accelerators and
// message routing, and the About box.
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/mouse_editing.h"
#include "document/map_document.h"
#include "resources/resource.h"
#include "view/about_dialog_win32.h"
#include "win32/window_fixture.h"

namespace {

class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);
        ASSERT_NE(window, nullptr);
    }
    HWND window = nullptr;
};

TEST_F(MainWindowTest, ClassHasEveryFieldOfTheRegistration) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "KALMIAMAINWINDOW", &info));
    EXPECT_EQ(info.style, UINT(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(info.lpfnWndProc, MainWindowProc);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(info.lpszMenuName), ULONG_PTR(IDR_MAIN));
    EXPECT_EQ(appInstance, GetModuleHandleA(nullptr));
    EXPECT_STREQ(windowClassName, "KALMIAMAINWINDOW");
}

TEST_F(MainWindowTest, TitleAndStylesAreThoseOfTheProgram) {
    EXPECT_EQ(WindowText(window), "Kalmia");
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR wanted = WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL;
    EXPECT_EQ(style & wanted, wanted);
    // Files dropped from Explorer are taken.
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_WINDOWEDGE),
              WS_EX_ACCEPTFILES);
}

struct MenuEntry {
    int popup;
    int item;  // -1 for the pop-up's own title
    const char* text;
    UINT id;
    UINT state = 0;  // as a fresh window shows it
};

TEST_F(MainWindowTest, MenuTextsAndIdsAreTheJapaneseMenu) {
    const MenuEntry entries[] = {
        {0, -1, u8"ファイル(&F)", 0},
        {0, 0, u8"新規(&N)", IDM_NEW},
        {0, 1, u8"開く(&O)...", IDM_OPEN},
        {0, 2, u8"保存(&A)...", IDM_SAVE},
        {0, 3, u8"アプリケーションの終了(&X)", IDM_EXIT},
        {1, -1, u8"編集(&E)", 0},
        {1, 0, u8"元に戻す(&U)\tCtrl+Z", IDM_UNDO, MF_GRAYED},
        {1, 1, u8"やり直し(&R)\tCtrl+Y", IDM_REDO, MF_GRAYED},
        {1, 2, u8"", 0, MF_SEPARATOR},
        {1, 3, u8"パラメータの変更(&P)", IDM_PARAMETERS},
        {1, 4, u8"セルへ移動(&G)...\tCtrl+G", IDM_GOTO},
        {2, -1, u8"表示(&V)", 0},
        {2, 0, u8"全体図(&O)", IDM_OVERVIEW},
        {2, 1, u8"ステータスバー(&S)", IDM_STATUS_BAR},
        {3, -1, u8"ツール(&T)", 0},
        {3, 0, u8"ペン(&P)\tP", IDM_TOOL_PEN, MF_CHECKED},
        {3, 1, u8"直線(&L)\tL", IDM_TOOL_LINE},
        {3, 2, u8"長方形(&R)\tR", IDM_TOOL_RECTANGLE},
        {3, 3, u8"塗りつぶし(&F)\tF", IDM_TOOL_FILL},
        {4, -1, u8"ヘルプ(&H)", 0},
        {4, 0, u8"バージョン情報(&A)...", IDM_ABOUT},
    };
    HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 5);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, 1)), 1);
    for (const MenuEntry& entry : entries) {
        char text[128] = {};
        if (entry.item < 0) {
            GetMenuStringA(menu, entry.popup, text, sizeof text, MF_BYPOSITION);
        } else {
            HMENU popup = GetSubMenu(menu, entry.popup);
            EXPECT_EQ(GetMenuItemID(popup, entry.item), entry.id) << entry.text;
            GetMenuStringA(popup, entry.item, text, sizeof text, MF_BYPOSITION);
            // A separator may also report itself greyed.
            const UINT state = GetMenuState(popup, entry.item, MF_BYPOSITION);
            const UINT shown =
                entry.state == MF_SEPARATOR ? MF_SEPARATOR : MF_GRAYED | MF_CHECKED | MF_SEPARATOR;
            EXPECT_EQ(state & shown, entry.state) << entry.text;
        }
        EXPECT_EQ(std::string(text), ansi(entry.text));
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 4);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 1)), 5);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 2)), 2);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 3)), 4);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 4)), 1);
}

TEST_F(MainWindowTest, AcceleratorsAreAltQuestionMarkAndSlashTheUndoKeysAndTheToolLetters) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN));
    ASSERT_NE(table, nullptr);
    ACCEL entries[16] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 16), 13);
    const ACCEL wanted[] = {{FALT, '?', IDM_ABOUT},
                            {FALT, '/', IDM_ABOUT},
                            {FVIRTKEY | FCONTROL, 'N', IDM_NEW},
                            {FVIRTKEY | FCONTROL, 'O', IDM_OPEN},
                            {FVIRTKEY | FCONTROL, 'S', IDM_SAVE},
                            {FVIRTKEY | FCONTROL, 'Z', IDM_UNDO},
                            {FVIRTKEY | FCONTROL, 'Y', IDM_REDO},
                            {FVIRTKEY | FCONTROL | FSHIFT, 'Z', IDM_REDO},
                            {FVIRTKEY, 'P', IDM_TOOL_PEN},
                            {FVIRTKEY, 'L', IDM_TOOL_LINE},
                            {FVIRTKEY, 'R', IDM_TOOL_RECTANGLE},
                            {FVIRTKEY, 'F', IDM_TOOL_FILL},
                            {FVIRTKEY | FCONTROL, 'G', IDM_GOTO}};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(entries[i].fVirt & ~0x80, wanted[i].fVirt) << i;  // 0x80 marks the last entry
        EXPECT_EQ(entries[i].key, wanted[i].key) << i;
        EXPECT_EQ(entries[i].cmd, wanted[i].cmd) << i;
    }
}

// The class has a background brush, so DefWindowProcA would fill the DC with
// it; the window's own answer leaves a marker colour where it was.
TEST_F(MainWindowTest, EraseBackgroundPaintsNothingAndReturnsOne) {
    constexpr COLORREF MARKER = RGB(0x12, 0x34, 0x56);
    HDC memory = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(window);
    HBITMAP picture = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(window, screen);
    HGDIOBJ previous = SelectObject(memory, picture);
    HBRUSH marker = CreateSolidBrush(MARKER);
    const RECT all = {0, 0, 16, 16};
    FillRect(memory, &all, marker);
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 1);
    for (const POINT& point : {POINT{0, 0}, POINT{8, 8}, POINT{15, 15}})
        EXPECT_EQ(GetPixel(memory, point.x, point.y), MARKER) << point.x;
    SelectObject(memory, previous);
    DeleteObject(marker);
    DeleteObject(picture);
    DeleteDC(memory);
}

// Counts and closes any dialog or message box that opens while a command
// runs: the thread's timer fires inside the box's own modal loop.
int dialogsClosed = 0;
void CALLBACK CloseAnyDialog(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND dialog = FindProcessDialog()) {
        ++dialogsClosed;
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
}

// A command the program does not know does nothing at all: no dialog, no
// change of the map, no repaint, and the window stays.
TEST_F(MainWindowTest, UnknownCommandsChangeNothing) {
    currentMap.setCell(3, 4, 1);
    const MapDocument before = currentMap;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, CloseAnyDialog);
    for (const WORD unknown : {40000, 0, 1, IDM_ABOUT + 1000}) {
        dialogsClosed = 0;
        ValidateRect(window, nullptr);
        EXPECT_EQ(SendMessageA(window, WM_COMMAND, MAKEWPARAM(unknown, 0), 0), 0) << unknown;
        EXPECT_EQ(dialogsClosed, 0) << unknown;
        EXPECT_TRUE(IsWindow(window));
        EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << unknown;
        EXPECT_TRUE(currentMap == before) << unknown;
    }
    KillTimer(nullptr, timer);
}

TEST_F(MainWindowTest, AboutBoxClosesWithOneForOkAndTwoForEscape) {
    std::vector<INT_PTR> results;
    for (int useEscape = 0; useEscape < 2; ++useEscape) {
        DialogWatcher watcher([&](HWND dialog) {
            EXPECT_EQ(WindowText(GetDlgItem(dialog, -1)), "Kalmia, Version 1.0");
            if (useEscape)
                PostKey(GetDlgItem(dialog, IDOK), VK_ESCAPE);
            else
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        const INT_PTR result = DialogBoxParamA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), window, AboutDlgProc, 0);
        ASSERT_TRUE(watcher.handled());
        EXPECT_EQ(watcher.title(), ansi(u8"バージョン情報"));
        results.push_back(result);
    }
    EXPECT_EQ(results, (std::vector<INT_PTR>{1, 2}));
}

// Holds Alt down in this thread's key state, as the keyboard would while
// Alt plus a character arrives.
struct AltHeld {
    AltHeld() { setAlt(0x80); }
    ~AltHeld() { setAlt(0); }
    static void setAlt(BYTE state) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_MENU] = keys[VK_LMENU] = state;
        SetKeyboardState(keys);
    }
};

// A message as the keyboard delivers Alt plus a character.
MSG AltCharacter(HWND window, char character) {
    MSG message = {};
    message.hwnd = window;
    message.message = WM_SYSCHAR;
    message.wParam = static_cast<unsigned char>(character);
    message.lParam = 0x20000001;  // context code: Alt held
    return message;
}

TEST_F(MainWindowTest, AltQuestionMarkAndAltSlashOpenTheAboutBox) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN));
    AltHeld alt;
    for (char key : {'?', '/'}) {
        DialogWatcher watcher(
            [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0); });
        MSG message = AltCharacter(window, key);
        EXPECT_NE(TranslateAcceleratorA(window, table, &message), 0) << key;
        ASSERT_TRUE(watcher.handled()) << key;
        EXPECT_EQ(watcher.title(), ansi(u8"バージョン情報"));
    }
    MSG other = AltCharacter(window, 'a');
    EXPECT_EQ(TranslateAcceleratorA(window, table, &other), 0);
}

TEST_F(MainWindowTest, AboutCommandFromTheMenuOpensTheAboutBox) {
    DialogWatcher watcher(
        [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); });
    const MapDocument before = currentMap;
    EXPECT_EQ(SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0), 0);
    ASSERT_TRUE(watcher.handled());
    EXPECT_TRUE(currentMap == before);
}

}  // namespace
