// Recovery copies: the one-bit map following the history, the copy's file,
// the folder's offers and the thread that keeps the copy up to date.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "core/test_support.h"
#include "recovery/packed_map.h"
#include "recovery/recovery_copy.h"
#include "recovery/recovery_folder.h"
#include "recovery/recovery_keeper.h"
#include "system/file_system.h"
#include "view/parameter_dialog.h"

namespace {

EditStep flipStep(MapDocument& map, std::mt19937& random, int count) {
    const auto [width, height] = map.gridSize();
    EditStep step;
    for (int i = 0; i < count; ++i) {
        const int x = random() % width, y = random() % height;
        map.cells[y][x] ^= 1;
        FlipCell(step.cells, x, y);
    }
    FinishMasks(step.cells);
    return step;
}

std::optional<EditStep> resizeStep(MapDocument& map, int width, int height) {
    ParameterTexts texts = loadParameterTexts(map);
    texts.x = std::to_string(width), texts.y = std::to_string(height);
    texts.name = "size " + texts.x;
    return applyParameterTexts(texts, map);
}

// The packed map follows the history's steps forward and back, across
// sizes that are and are not multiples of 64, with cells dropped by a
// smaller size coming back on undo.
TEST(PackedMapTest, FollowingTheStepsGivesTheEditorsMapAtEveryStep) {
    std::mt19937 random(11);
    MapDocument map;
    map.resizeGrid(130, 70);
    EditHistory history;
    PackedMap packed = PackMap(map);
    history.follower.stepApplied = [&](const EditStep& step, StepDirection direction) {
        ApplyStepTo(packed, step, direction);
    };
    for (int round = 0; round < 60; ++round) {
        const int action = random() % 4;
        if (action == 0) {
            static const std::pair<int, int> sizes[] = {{63, 5}, {64, 64}, {129, 65}, {1, 200}};
            const auto [width, height] = sizes[random() % 4];
            if (auto step = resizeStep(map, width, height)) RecordStep(history, std::move(*step));
        } else if (action == 1) {
            Undo(history, map);
        } else if (action == 2) {
            Redo(history, map);
        } else {
            RecordStep(history, flipStep(map, random, 40));
        }
        ASSERT_TRUE(UnpackMap(packed) == map) << "round " << round;
    }
}

TEST(EditHistoryTest, UnsavedChangesComeFromTheHistory) {
    std::mt19937 random(3);
    MapDocument map;
    EditHistory history;
    EXPECT_FALSE(HasUnsavedChanges(history)) << "as opened";
    RecordStep(history, flipStep(map, random, 3));
    EXPECT_TRUE(HasUnsavedChanges(history));
    Undo(history, map);
    EXPECT_FALSE(HasUnsavedChanges(history)) << "undone back to the saved state";
    Redo(history, map);
    MarkSaved(history);
    EXPECT_FALSE(HasUnsavedChanges(history));
    Undo(history, map);
    EXPECT_TRUE(HasUnsavedChanges(history));
    RecordStep(history, flipStep(map, random, 3));  // the saved state was a redo step
    Undo(history, map);
    Undo(history, map);
    RecordStep(history, flipStep(map, random, 3));
    EXPECT_TRUE(HasUnsavedChanges(history)) << "the saved state is gone for good";

    ClearHistory(history);
    EXPECT_FALSE(HasUnsavedChanges(history));
    history.capacity = 2 * StepBytes(flipStep(map, random, 1));
    for (int i = 0; i < 3; ++i) RecordStep(history, flipStep(map, random, 1));
    while (CanUndo(history)) Undo(history, map);
    EXPECT_TRUE(HasUnsavedChanges(history)) << "the steps back to the saved state were dropped";
}

TEST(RecoveryCopyTest, ACopyReadsBackAsWrittenAndADamagedOneNever) {
    TempFolder folder;
    std::mt19937 random(5);
    MapDocument map;
    map.resizeGrid(100, 3);
    flipStep(map, random, 50);
    map.setMapName(sjis("洞窟"));
    map.applyThresholds(10, 20, 90, 80);
    const std::string path = folder.file("a.kalmia-recovery");
    ASSERT_TRUE(WriteRecoveryCopy(path, PackMap(map)));
    const Result<PackedMap> read = ReadRecoveryCopy(path);
    ASSERT_TRUE(read);
    EXPECT_TRUE(UnpackMap(read.value()) == map);

    const std::string whole = readFileBytes(path);
    std::string flipped = whole;
    flipped[40] ^= 4;
    for (const std::string& damaged : {std::string(), whole.substr(0, whole.size() - 1), flipped,
                                       "Kalmia recovery copy 2\r\n" + whole.substr(24)}) {
        writeFileBytes(path, damaged);
        const Result<PackedMap> again = ReadRecoveryCopy(path);
        ASSERT_FALSE(again) << damaged.size();
        EXPECT_EQ(again.failure().kind, FailureKind::NotWellFormed);
    }
}

// Polls for up to three seconds: the keeper writes on its own thread.
bool becomes(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool copyHolds(const std::string& path, const MapDocument& map) {
    const Result<PackedMap> read = ReadRecoveryCopy(path);
    return read && UnpackMap(read.value()) == map;
}

struct KeeperTest : testing::Test {
    void SetUp() override {
        history.follower.stepApplied = [this](const EditStep& step, StepDirection direction) {
            FollowStep(keeper, map, step, direction, HasUnsavedChanges(history));
        };
        StartRecoveryKeeper(keeper, folder.file("Recovery"), "test", map);
    }
    void edit(int cells) { RecordStep(history, flipStep(map, random, cells)); }
    std::string copy(int number) const {
        return RecoveryCopyPath(folder.file("Recovery"), "test", number);
    }
    TempFolder folder;
    std::mt19937 random{9};
    MapDocument map;
    EditHistory history;
    RecoveryKeeper keeper;
};

TEST_F(KeeperTest, TheCopyFollowsEachStepAndGoesWithASaveOrNew) {
    edit(5);
    EXPECT_TRUE(becomes([&] { return copyHolds(copy(1), map); }));
    edit(5);
    Undo(history, map);
    EXPECT_TRUE(becomes([&] { return copyHolds(copy(1), map); })) << "an undo is a step";
    Undo(history, map);
    EXPECT_TRUE(becomes([&] { return !fileExists(copy(1)); })) << "back to the saved state";

    edit(5);
    MarkSaved(history);
    FollowSave(keeper);
    EXPECT_TRUE(becomes([&] { return !fileExists(copy(1)); }));

    edit(5);
    FollowOtherMap(keeper, MapDocument(), /*removeCopy=*/true);  // New
    map = MapDocument();
    ClearHistory(history);
    edit(5);
    EXPECT_TRUE(becomes([&] { return copyHolds(copy(2), map); }));
    EXPECT_FALSE(fileExists(copy(1)));
}

// Open leaves the copy of the map it replaces, with its last step, and the
// copy stays this editor's: no offer while the keeper runs, one after.
TEST_F(KeeperTest, OpenLeavesTheCopyWhichIsOfferedOnlyOnceItsEditorEnds) {
    keeper.pauseBetweenWrites = std::chrono::milliseconds(60'000);
    edit(5);
    EXPECT_TRUE(becomes([&] { return fileExists(copy(1)); }));
    edit(5);  // owed until the pause ends, written when the map is replaced
    const MapDocument edited = map;
    FollowOtherMap(keeper, MapDocument(), /*removeCopy=*/false);
    EXPECT_TRUE(becomes([&] { return copyHolds(copy(1), edited); }));
    EXPECT_TRUE(FindRecoveryOffers(folder.file("Recovery")).empty());

    map = MapDocument();
    ClearHistory(history);
    edit(1);  // owed; the end writes it
    StopRecoveryKeeper(keeper);
    keeper.writer = RecoveryWriter();  // the locks go as with the process
    EXPECT_TRUE(copyHolds(copy(2), map));
    std::vector<RecoveryOffer> offers = FindRecoveryOffers(folder.file("Recovery"));
    ASSERT_EQ(offers.size(), 2u);
    EXPECT_EQ(offers[0].path, copy(2)) << "newest first";
    EXPECT_TRUE(FindRecoveryOffers(folder.file("Recovery")).empty()) << "held by the first";
    RemoveRecoveryCopy(offers[0]);
    SetAsideRecoveryCopy(offers[1].path);
    offers.clear();
    EXPECT_TRUE(FindRecoveryOffers(folder.file("Recovery")).empty());
    EXPECT_TRUE(fileExists(copy(1) + ".unreadable"));
}

TEST_F(KeeperTest, AFailedWriteLeavesEditingAloneAndTheNextStepTriesAgain) {
    writeFileBytes(folder.file("Recovery"), "a file where the folder goes");
    edit(5);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_FALSE(fileExists(copy(1)));
    RemoveFile(folder.file("Recovery"));
    edit(5);
    EXPECT_TRUE(becomes([&] { return copyHolds(copy(1), map); }));
}

}  // namespace
