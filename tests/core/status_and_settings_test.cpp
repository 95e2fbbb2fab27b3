// The status bar's count of set cells, kept from each step, against a count
// of the whole map; the recent files and a remembered window place.
#include <gtest/gtest.h>

#include <random>

#include "app/settings.h"
#include "app/status_bar.h"
#include "view/parameter_dialog.h"

namespace {

TEST(StatusBarCount, FollowingTheStepsGivesTheCountOfTheWholeMap) {
    std::mt19937 random(21);
    MapDocument map;
    map.resizeGrid(130, 70);
    EditHistory history;
    long long count = 0;
    history.follower.stepApplied = [&](const EditStep& step, StepDirection direction) {
        count = SetCellsAfterStep(count, step, direction, map.cells);
    };
    for (int round = 0; round < 80; ++round) {
        const int action = random() % 5;
        if (action == 0) {
            ParameterTexts texts = loadParameterTexts(map);
            texts.x = std::to_string(1 + random() % 140),
            texts.y = std::to_string(1 + random() % 80);
            if (auto step = applyParameterTexts(texts, map)) RecordStep(history, std::move(*step));
        } else if (action == 1) {
            Undo(history, map);
        } else if (action == 2) {
            Redo(history, map);
        } else {
            const auto [width, height] = map.gridSize();
            EditStep step;
            for (int i = 0; i < 30; ++i) {
                const int x = random() % width, y = random() % height;
                map.cells[y][x] ^= 1;
                FlipCell(step.cells, x, y);
            }
            FinishMasks(step.cells);
            RecordStep(history, std::move(step));
        }
        ASSERT_EQ(count, CountSetCells(map.cells)) << "round " << round;
    }
}

TEST(StatusTexts, ThePlaceIsLineAndColumnFromOneAndEmptyOutsideTheMap) {
    StatusFacts facts;
    facts.width = 300, facts.height = 200;
    const std::pair<CellPosition, const char*> cases[] = {
        {{0, 0}, "1:1"}, {{299, 199}, "200:300"}, {{300, 5}, ""}, {{5, 200}, ""}, {{-1, 3}, ""}};
    for (const auto& [cell, text] : cases) {
        facts.pointer = cell;
        EXPECT_EQ(StatusTextsOf(facts)[CellPart], text) << cell.x << "," << cell.y;
    }
}

TEST(RecentFiles, NewestFirstOnceWhateverTheCaseAndAtMostEight) {
    std::vector<std::string> files;
    for (int i = 1; i <= 9; ++i) AddRecentFile(files, "C:\\maps\\s" + std::to_string(i) + ".map");
    EXPECT_EQ(files.size(), 8u);
    EXPECT_EQ(files.front(), "C:\\maps\\s9.map");
    EXPECT_EQ(files.back(), "C:\\maps\\s2.map");
    AddRecentFile(files, "c:\\MAPS\\S5.MAP");
    EXPECT_EQ(files.size(), 8u) << "one entry for one file";
    EXPECT_EQ(files.front(), "c:\\MAPS\\S5.MAP");
    RemoveRecentFile(files, "C:\\maps\\s9.map");
    EXPECT_EQ(files.size(), 7u);
    EXPECT_EQ(RecentFileMenuText(0, "C:\\R&D\\a.map"), "&1 C:\\R&&D\\a.map");
    EXPECT_EQ(FolderOfPath("C:\\maps\\s1.map"), "C:\\maps\\");
    EXPECT_EQ(FolderOfPath("s1.map"), "");
}

TEST(RememberedWindowPlace, ABadValueGivesNone) {
    EXPECT_TRUE(CheckedWindowPlace(10, 20, 800, 600, 0));
    EXPECT_TRUE(CheckedWindowPlace(-1920, 0, 800, 600, 1)->maximized);
    const long long bad[][5] = {{0, 0, 0, 600, 0},
                                {0, 0, 800, -5, 0},
                                {0, 0, 800, 600, 2},
                                {0, 0, 200000, 600, 0},
                                {-300000, 0, 800, 600, 0}};
    for (const auto& place : bad)
        EXPECT_FALSE(CheckedWindowPlace(place[0], place[1], place[2], place[3], place[4]))
            << place[2] << " x " << place[3];
}

}  // namespace
