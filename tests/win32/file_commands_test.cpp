// File > New, Open and Save through the real dialogs and message boxes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "app/editor_state_win32.h"
#include "app/file_commands_win32.h"
#include "app/view_scrolling_win32.h"
#include "core/test_support.h"
#include "pair_files/map_file_pair.h"
#include "resources/resource.h"
#include "win32/window_fixture.h"

namespace {

const std::string CONFIRM_TITLE = ansi(u8"確認");
const std::string CONFIRM_TEXT = ansi(u8"現在の内容を破棄してよろしいですか？");
const std::string ERROR_TITLE = ansi(u8"エラー");
const std::string SAVE_FAILED = ansi(u8"保存に失敗しました");
const std::string LOAD_FAILED = ansi(u8"読み込みに失敗しました");
const std::string OPEN_TITLE = ansi(u8"ファイルを開く");
const std::string SAVE_TITLE = ansi(u8"名前を付けて保存");

class FileCommandsTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);
        ASSERT_NE(window, nullptr);
        fileDialogPath[0] = '\0';
    }
    void command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }
    // Writes a pair with the given size, one set cell at (1, 0), and a name.
    std::string makePair(const std::string& name, int width, int height) {
        MapDocument document;
        document.resizeGrid(width, height);
        document.setCell(1, 0, 1);
        document.setMapName(name);
        const std::string path = folder.file(name + ".map");
        EXPECT_TRUE(WriteMapFilePairFiles(path, document));
        return path;
    }
    HWND window = nullptr;
    TempFolder folder;
};

TEST_F(FileCommandsTest, NewAnsweredNoKeepsTheMapAndYesResetsIt) {
    currentMap.setCell(3, 3, 1);
    currentMap.setMapName("edited");
    const MapDocument edited = currentMap;
    DialogWatcher no([](HWND box) { PressButton(box, IDNO); });
    command(IDM_NEW);
    ASSERT_TRUE(no.handled());
    EXPECT_EQ(no.dialogs()[0].title, CONFIRM_TITLE);
    EXPECT_EQ(no.dialogs()[0].text, CONFIRM_TEXT);
    EXPECT_TRUE(currentMap == edited);

    DialogWatcher yes([](HWND box) { PressButton(box, IDYES); });
    command(IDM_NEW);
    ASSERT_TRUE(yes.handled());
    EXPECT_TRUE(currentMap == MapDocument());

    DialogWatcher again([](HWND box) { PressButton(box, IDYES); });  // asked even when unchanged
    command(IDM_NEW);
    EXPECT_TRUE(again.handled());
}

TEST_F(FileCommandsTest, OpenReadsThePairAndTheBarsFollowTheLargerMap) {
    const std::string path = makePair("wide", 100, 80);
    DialogWatcher open([&](HWND dialog) { ChooseFile(dialog, path); });
    command(IDM_OPEN);
    ASSERT_TRUE(open.handled());
    EXPECT_EQ(open.title(), OPEN_TITLE);
    EXPECT_EQ(currentMap.gridSize(), std::make_pair(100, 80));
    EXPECT_EQ(currentMap.cells[0][1], 1);
    EXPECT_EQ(currentMap.name, "wide");
    EXPECT_EQ(ReadBar(window, SB_HORZ).nMax, 100);
    EXPECT_EQ(ReadBar(window, SB_VERT).nMax, 80);
    EXPECT_STREQ(fileDialogPath, path.c_str());
}

// The pair opened goes to the front of the recent files, and the next run's
// dialogs (no path of their own yet) open in its folder.
TEST_F(FileCommandsTest, AnOpenedPairIsRecentAndTheDialogsOpenInItsFolder) {
    editor.settings.values.recentFiles.clear();
    const std::string path = makePair("recent", 10, 10);
    DialogWatcher open([&](HWND dialog) { ChooseFile(dialog, path); });
    command(IDM_OPEN);
    ASSERT_TRUE(open.handled());
    ASSERT_FALSE(editor.settings.values.recentFiles.empty());
    EXPECT_EQ(editor.settings.values.recentFiles.front(), path);

    fileDialogPath[0] = '\0';
    std::string initialFolder;
    DialogWatcher save([&](HWND dialog) {
        if (fileDialog.lpstrInitialDir) initialFolder = fileDialog.lpstrInitialDir;
        PressButton(dialog, IDCANCEL);
    });
    command(IDM_SAVE);
    ASSERT_TRUE(save.handled());
    EXPECT_EQ(initialFolder, folder.path() + "\\");
    editor.settings.values.recentFiles.clear();
}

TEST_F(FileCommandsTest, CancelledOpenChangesNothing) {
    DialogWatcher cancel([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    command(IDM_OPEN);
    ASSERT_TRUE(cancel.handled());
    EXPECT_TRUE(currentMap == MapDocument());
}

TEST_F(FileCommandsTest, SaveProposesTheOpenedPathAndOverwritesAfterAsking) {
    const std::string path = makePair("stage1", 10, 10);
    DialogWatcher open([&](HWND dialog) { ChooseFile(dialog, path); });
    command(IDM_OPEN);
    ASSERT_TRUE(open.handled());
    currentMap.setCell(5, 5, 1);

    std::string proposed;
    DialogWatcher save({[&](HWND dialog) {
                            proposed = FileNameBox(dialog);
                            PressButton(dialog, IDOK);
                        },
                        [](HWND overwrite) { PressButton(overwrite, IDYES); }});
    command(IDM_SAVE);
    ASSERT_TRUE(save.handled());
    EXPECT_EQ(save.dialogs()[0].title, SAVE_TITLE);
    EXPECT_NE(proposed.find("stage1.map"), std::string::npos) << proposed;
    MapDocument written;
    ASSERT_TRUE(ReadMapFilePair(path, written));
    EXPECT_EQ(written.cells[5][5], 1);
}

TEST_F(FileCommandsTest, SaveOfANameWithoutExtensionWritesBothFiles) {
    currentMap.setCell(0, 0, 1);
    DialogWatcher save([&](HWND dialog) { ChooseFile(dialog, folder.file("stage2")); });
    command(IDM_SAVE);
    ASSERT_TRUE(save.handled());
    EXPECT_TRUE(fileExists(folder.file("stage2.map")));
    EXPECT_TRUE(fileExists(folder.file("stage2.xml")));
    EXPECT_EQ(readFileBytes(folder.file("stage2.map")).substr(0, 3), "100");
}

// Which saves fail is the bad-input catalogue's concern; here, that a
// failure reaches the user as the save failure box, naming the file and why.
TEST_F(FileCommandsTest, AFailedSaveShowsTheSaveFailureBox) {
    makeFolder(folder.file("taken.map"));  // a folder stands where the grid file goes
    const std::pair<const char*, std::string> cases[] = {
        {"taken.map", std::strerror(EISDIR)},
        // A map path that is its own parameter file would lose the parameters.
        {"stage.xml", "the map file would be its own parameter file"},
    };
    for (const auto& [name, reason] : cases) {
        DialogWatcher box([](HWND dialog) { PressButton(dialog, IDOK); });
        WriteMapFilePair(folder.file(name).c_str(), window);
        ASSERT_TRUE(box.handled());
        EXPECT_EQ(box.dialogs()[0].title, ERROR_TITLE);
        EXPECT_EQ(box.dialogs()[0].text, SAVE_FAILED + "\n\n" + name +
                                             ansi(u8": ファイルを書き込めません（") + reason +
                                             ansi(u8"）。"));
    }
    EXPECT_FALSE(fileExists(folder.file("stage.xml")));
}

TEST_F(FileCommandsTest, DamagedPairShowsTheLoadFailureBoxAndKeepsTheMap) {
    const std::string path = makePair("damaged", 10, 10);
    writeFileBytes(folder.file("damaged.xml"), "<root><x>10</x><y>");
    currentMap.setCell(2, 2, 1);
    const MapDocument before = currentMap;
    DialogWatcher open(
        {[&](HWND dialog) { ChooseFile(dialog, path); }, [](HWND box) { PressButton(box, IDOK); }});
    command(IDM_OPEN);
    ASSERT_TRUE(open.handled());
    EXPECT_EQ(open.dialogs()[1].title, ERROR_TITLE);
    EXPECT_EQ(
        open.dialogs()[1].text,
        LOAD_FAILED + ansi(u8"\n\ndamaged.xml の 1 行 19 列: XML の書式が正しくありません。"));
    EXPECT_TRUE(currentMap == before);
}

}  // namespace
