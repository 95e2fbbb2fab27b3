// The About and parameter dialogs: their templates exactly, and the live
// parameter dialog opened by the Edit menu's command.
#include <gtest/gtest.h>

#include <map>

#include "app/view_scrolling_win32.h"
#include "document/map_document.h"
#include "resources/resource.h"
#include "view/parameter_dialog_win32.h"
#include "win32/dialog_template.h"
#include "win32/window_fixture.h"

namespace {

constexpr DWORD STATIC_STYLE = 0x50020000;
constexpr DWORD EDIT_STYLE = 0x50810080;
constexpr WORD JAPANESE = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

void ExpectControls(const DialogTemplate& dialog, const std::vector<TemplateControl>& wanted) {
    ASSERT_EQ(dialog.controls.size(), wanted.size());
    for (size_t i = 0; i < wanted.size(); ++i) {
        const TemplateControl& a = dialog.controls[i];
        const TemplateControl& b = wanted[i];
        EXPECT_EQ(a.className, b.className) << i;
        EXPECT_EQ(a.id, b.id) << i;
        EXPECT_EQ(a.text, b.text) << i;
        EXPECT_EQ(a.x, b.x) << i;
        EXPECT_EQ(a.y, b.y) << i;
        EXPECT_EQ(a.cx, b.cx) << i;
        EXPECT_EQ(a.cy, b.cy) << i;
        EXPECT_EQ(a.style, b.style) << i;
        EXPECT_EQ(a.exStyle, 0u) << i;
    }
}

// Every field of the dialog's header, then its controls in order.
void ExpectTemplate(const DialogTemplate& dialog, const DialogTemplate& wanted) {
    EXPECT_EQ(dialog.language, wanted.language);
    EXPECT_EQ(dialog.menu, wanted.menu);
    EXPECT_EQ(dialog.windowClass, wanted.windowClass);
    EXPECT_EQ(dialog.style, wanted.style);
    EXPECT_EQ(dialog.exStyle, wanted.exStyle);
    EXPECT_EQ(dialog.x, wanted.x);
    EXPECT_EQ(dialog.y, wanted.y);
    EXPECT_EQ(dialog.cx, wanted.cx);
    EXPECT_EQ(dialog.cy, wanted.cy);
    EXPECT_EQ(dialog.caption, wanted.caption);
    EXPECT_EQ(dialog.pointSize, wanted.pointSize);
    EXPECT_EQ(dialog.weight, wanted.weight);
    EXPECT_EQ(dialog.italic, wanted.italic);
    EXPECT_EQ(dialog.charset, wanted.charset);
    EXPECT_EQ(dialog.font, wanted.font);
    ExpectControls(dialog, wanted.controls);
}

std::vector<TemplateControl> AboutControls() {
    return {
        {0x50020080, 0, 14, 14, 142, 8, -1, "STATIC", "Kalmia, Version 1.0"},
        {0x50020000, 0, 14, 26, 142, 8, -1, "STATIC", "(C) 2015 Kalmia developers"},
        {0x50030001, 0, 113, 41, 50, 14, IDOK, "BUTTON", "OK"},
    };
}

TEST(DialogTemplates, AboutBoxIsTheTemplateOfTheProgram) {
    ExpectTemplate(ReadDialogTemplate(IDD_ABOUTBOX),
                   {JAPANESE, "", "", 0x80C800C0, 0, 0, 0, 170, 62, ansi(u8"バージョン情報"), 9, 0,
                    0, 1, "MS UI Gothic", AboutControls()});
}

std::vector<TemplateControl> ParameterControls() {
    return {
        {STATIC_STYLE, 0, 9, 9, 19, 10, -1, "STATIC", ansi(u8"名前")},
        {EDIT_STYLE, 0, 30, 7, 90, 14, IDC_NAME, "EDIT", ""},
        {STATIC_STYLE, 0, 7, 25, 20, 8, -1, "STATIC", ansi(u8"サイズ")},
        {STATIC_STYLE, 0, 31, 25, 8, 8, -1, "STATIC", "x"},
        {EDIT_STYLE, 0, 41, 23, 40, 14, IDC_SIZE_X, "EDIT", ""},
        {STATIC_STYLE, 0, 31, 40, 8, 8, -1, "STATIC", "y"},
        {EDIT_STYLE, 0, 41, 39, 40, 14, IDC_SIZE_Y, "EDIT", ""},
        {STATIC_STYLE, 0, 7, 57, 17, 8, -1, "STATIC", ansi(u8"時間")},
        {STATIC_STYLE, 0, 34, 65, 8, 8, -1, "STATIC", "S"},
        {EDIT_STYLE, 0, 27, 76, 40, 14, IDC_TIME_SA, "EDIT", ""},
        {STATIC_STYLE, 0, 34, 92, 8, 8, -1, "STATIC", "A"},
        {EDIT_STYLE, 0, 27, 100, 40, 14, IDC_TIME_AB, "EDIT", ""},
        {STATIC_STYLE, 0, 34, 119, 8, 8, -1, "STATIC", "B"},
        {STATIC_STYLE, 0, 69, 57, 25, 8, -1, "STATIC", ansi(u8"正誤率")},
        {STATIC_STYLE, 0, 85, 66, 8, 8, -1, "STATIC", "S"},
        {EDIT_STYLE, 0, 78, 77, 40, 14, IDC_RATE_SA, "EDIT", ""},
        {STATIC_STYLE, 0, 85, 93, 8, 8, -1, "STATIC", "A"},
        {EDIT_STYLE, 0, 78, 101, 40, 14, IDC_RATE_AB, "EDIT", ""},
        {STATIC_STYLE, 0, 85, 119, 8, 8, -1, "STATIC", "B"},
        {0x50010001, 0, 7, 136, 50, 14, IDOK, "BUTTON", "OK"},
        {0x50010000, 0, 67, 136, 50, 14, IDCANCEL, "BUTTON", ansi(u8"キャンセル")},
    };
}

TEST(DialogTemplates, ParameterDialogIsTheTemplateOfTheProgram) {
    ExpectTemplate(ReadDialogTemplate(IDD_PARAMETERS),
                   {JAPANESE, "", "", 0x80C800C8, 0, 0, 0, 135, 157, ansi(u8"パラメータ設定"), 8,
                    400, 0, 1, "MS Shell Dlg", ParameterControls()});
}

const int FIELD_IDS[] = {IDC_NAME,    IDC_SIZE_X,  IDC_SIZE_Y, IDC_TIME_SA,
                         IDC_TIME_AB, IDC_RATE_SA, IDC_RATE_AB};

std::map<int, std::string> ReadFields(HWND dialog) {
    std::map<int, std::string> fields;
    for (int id : FIELD_IDS) fields[id] = WindowText(GetDlgItem(dialog, id));
    return fields;
}

void SetFields(HWND dialog, const std::map<int, std::string>& fields) {
    for (const auto& [id, text] : fields) SetDlgItemTextA(dialog, id, text.c_str());
}

class ParameterDialogTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);
        ASSERT_NE(window, nullptr);
    }
    void openDialog() { SendMessageA(window, WM_COMMAND, IDM_PARAMETERS, 0); }
    void expectBarsFollowTheGrid() {
        const auto [width, height] = currentMap.gridSize();
        EXPECT_EQ(ReadBar(window, SB_HORZ).nMax, width);
        EXPECT_EQ(ReadBar(window, SB_VERT).nMax, height);
    }
    HWND window = nullptr;
};

TEST_F(ParameterDialogTest, LiveControlsAreTheTemplatesInTabOrder) {
    std::vector<std::pair<std::string, int>> children;
    std::vector<LONG> styles;
    std::vector<int> tabOrder;
    INT_PTR initResult = 0;
    DialogWatcher watcher([&](HWND dialog) {
        for (HWND child = GetWindow(dialog, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char className[32] = {};
            GetClassNameA(child, className, sizeof className);
            children.emplace_back(className, static_cast<short>(GetDlgCtrlID(child)));
            // An edit control shows WS_BORDER as a sunken client edge.
            const bool clientEdge = GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE;
            styles.push_back(GetWindowLongA(child, GWL_STYLE) | (clientEdge ? WS_BORDER : 0));
        }
        // TRUE lets the dialog manager focus the first tab stop, the name.
        initResult =
            ParameterDlgProc(dialog, WM_INITDIALOG, 0, GetWindowLongPtrA(dialog, DWLP_USER));
        HWND item = GetDlgItem(dialog, IDC_NAME);
        for (int i = 0; i < 9; ++i) {
            tabOrder.push_back(GetDlgCtrlID(item));
            item = GetNextDlgTabItem(dialog, item, FALSE);
        }
        PressButton(dialog, IDCANCEL);
    });
    openDialog();
    ASSERT_TRUE(watcher.handled());
    const std::vector<TemplateControl> wanted = ParameterControls();
    ASSERT_EQ(children.size(), wanted.size());
    for (size_t i = 0; i < wanted.size(); ++i) {
        EXPECT_EQ(lstrcmpiA(children[i].first.c_str(), wanted[i].className.c_str()), 0) << i;
        EXPECT_EQ(children[i].second, wanted[i].id) << i;
        // The window system may add state bits (a focused button's default
        // style); the template's own bits are all there.
        EXPECT_EQ(DWORD(styles[i]) & wanted[i].style & ~DWORD(BS_DEFPUSHBUTTON),
                  wanted[i].style & ~DWORD(BS_DEFPUSHBUTTON))
            << i;
    }
    EXPECT_EQ(tabOrder, (std::vector<int>{IDC_NAME, IDC_SIZE_X, IDC_SIZE_Y, IDC_TIME_SA,
                                          IDC_TIME_AB, IDC_RATE_SA, IDC_RATE_AB, IDOK, IDCANCEL}));
    EXPECT_EQ(initResult, TRUE);
}

TEST_F(ParameterDialogTest, FieldsShowTheDocumentAndOkStoresTheTypedTexts) {
    std::map<int, std::string> shown;
    DialogWatcher watcher([&](HWND dialog) {
        shown = ReadFields(dialog);
        SetFields(dialog, {{IDC_NAME, ansi(u8"ステージ１")},
                           {IDC_SIZE_X, "120"},
                           {IDC_SIZE_Y, " 90x"},
                           {IDC_TIME_SA, "500"},
                           {IDC_TIME_AB, "400"},
                           {IDC_RATE_SA, "80"},
                           {IDC_RATE_AB, "70"}});
        PressButton(dialog, IDOK);
    });
    openDialog();
    ASSERT_TRUE(watcher.handled());
    EXPECT_EQ(watcher.title(), ansi(u8"パラメータ設定"));
    EXPECT_EQ(shown, (std::map<int, std::string>{{IDC_NAME, ""},
                                                 {IDC_SIZE_X, "50"},
                                                 {IDC_SIZE_Y, "50"},
                                                 {IDC_TIME_SA, "999"},
                                                 {IDC_TIME_AB, "999"},
                                                 {IDC_RATE_SA, "100"},
                                                 {IDC_RATE_AB, "100"}}));
    EXPECT_EQ(currentMap.name, ansi(u8"ステージ１"));
    EXPECT_EQ(currentMap.gridSize(), std::make_pair(120, 90));
    EXPECT_EQ(currentMap.rank1, 500);
    EXPECT_EQ(currentMap.rank2, 999);  // below rank1: dropped
    EXPECT_EQ(currentMap.rate1, 80);
    EXPECT_EQ(currentMap.rate2, 70);
    expectBarsFollowTheGrid();
}

TEST_F(ParameterDialogTest, LongNameIsCutAt254Bytes) {
    DialogWatcher watcher([&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_NAME, std::string(300, 'n').c_str());
        PressButton(dialog, IDOK);
    });
    openDialog();
    ASSERT_TRUE(watcher.handled());
    EXPECT_EQ(currentMap.name, std::string(254, 'n'));
}

TEST_F(ParameterDialogTest, CancelEscapeAndTheCloseBoxChangeNothingButTheBarsFollow) {
    const std::vector<std::function<void(HWND)>> closers = {
        [](HWND dialog) { PressButton(dialog, IDCANCEL); },
        [](HWND dialog) { PostKey(GetDlgItem(dialog, IDC_NAME), VK_ESCAPE); },
        [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (size_t i = 0; i < closers.size(); ++i) {
        // The map changed behind the bars' back: closing the dialog updates them.
        currentMap.resizeGrid(70 + i, 60 + i);
        const MapDocument before = currentMap;
        DialogWatcher watcher([&](HWND dialog) {
            SetFields(dialog, {{IDC_NAME, "changed"}, {IDC_SIZE_X, "5"}, {IDC_TIME_SA, "1"}});
            closers[i](dialog);
        });
        openDialog();
        ASSERT_TRUE(watcher.handled()) << i;
        EXPECT_TRUE(currentMap == before) << i;
        expectBarsFollowTheGrid();
    }
}

}  // namespace
