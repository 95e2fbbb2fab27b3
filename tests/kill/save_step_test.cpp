// A save stopped right before each of its changes to the folder, for every
// change in turn. At each stop, a read gives exactly the old or the new map
// and changes nothing, and the grid file is there; then the save is resumed,
// or killed and followed by a pair put in place by hand, or killed beside
// another pair whose name differs only in its last characters.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/test_support.h"
#include "kill/save_child.h"
#include "kill/save_kill_maps.h"
#include "pair_files/map_file_pair.h"

namespace {

constexpr int STEP_COUNT = static_cast<int>(SaveStep::SideFilesRemoved) + 1;

using Folder = std::map<std::string, std::string>;  // file name -> content

Folder folderContent(const std::string& folder) {
    Folder content;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        content[entry.path().filename().string()] = readFileBytes(entry.path().string());
    return content;
}

MapDocument handPlacedMap() {
    MapDocument document;
    document.resizeGrid(7, 3);
    document.setCell(6, 2, 1);
    document.setMapName("by hand");
    return document;
}

MapDocument readPair(const std::string& mapPath) {
    MapDocument read;
    EXPECT_TRUE(ReadMapFilePair(mapPath, read)) << mapPath;
    return read;
}

enum class Then { Resumed, KilledAndReplacedByHand, KilledBesideAnotherPair };

// Names without a folder are given as the user types them in the pair's
// own folder: their parameter file is then "abxml" beside them.
struct StepCase {
    const char* mapName;
    const char* neighbourName;  // another pair in the same folder
    Then then;
    bool relative;
};

const StepCase CASES[] = {
    {"stage1.map", "stage2.map", Then::Resumed, false},
    {"stage1.map", "stage2.map", Then::KilledAndReplacedByHand, false},
    {"stage1.map", "stage2.map", Then::KilledBesideAnotherPair, false},
    {"ab", "cd", Then::KilledBesideAnotherPair, true},
    {"a", "b", Then::KilledAndReplacedByHand, true},
};

// Runs the test inside the folder for relative names, and goes back after.
struct WorkingFolder {
    std::filesystem::path before = std::filesystem::current_path();
    explicit WorkingFolder(const std::string& folder) { std::filesystem::current_path(folder); }
    ~WorkingFolder() { std::filesystem::current_path(before); }
};

void checkStop(const StepCase& stepCase, int step) {
    SCOPED_TRACE(std::string(stepCase.mapName) + " stopped at step " + std::to_string(step) +
                 ", then case " + std::to_string(static_cast<int>(stepCase.then)));
    TempFolder folder, elsewhere;
    const WorkingFolder workingFolder(stepCase.relative ? folder.path() : ".");
    auto inFolder = [&](const char* name) {
        return stepCase.relative ? std::string(name) : folder.file(name);
    };
    const std::string mapPath = inFolder(stepCase.mapName);
    const std::string neighbour = inFolder(stepCase.neighbourName);
    const MapDocument oldMap = saveKillMap(false), newMap = saveKillMap(true);
    ASSERT_TRUE(WriteMapFilePairFiles(mapPath, oldMap));
    ASSERT_TRUE(WriteMapFilePairFiles(neighbour, handPlacedMap()));

    const SaveChild child = StartSaveChild(mapPath, step);
    ASSERT_TRUE(WaitUntilStopped(child));
    const Folder atTheStop = folderContent(folder.path());
    const MapDocument read = readPair(mapPath);
    EXPECT_TRUE(read == oldMap || read == newMap) << "a mixed pair";
    EXPECT_EQ(folderContent(folder.path()), atTheStop) << "the read changed the folder";
    EXPECT_TRUE(atTheStop.count(FileNameOf(mapPath))) << "no grid file";

    if (stepCase.then == Then::Resumed) {
        EXPECT_EQ(ResumeChild(child), 0) << "the resumed save did not say saved";
        LastStepReported(child.output);
        EXPECT_TRUE(readPair(mapPath) == newMap);
        EXPECT_EQ(folderContent(folder.path()).size(), 4u) << "files of the save are left";
        return;
    }
    ASSERT_TRUE(KillChild(child));
    LastStepReported(child.output);
    if (stepCase.then == Then::KilledBesideAnotherPair) {
        const Folder neighbourBefore = {{"grid", readFileBytes(neighbour)},
                                        {"xml", readFileBytes(MakeXmlPath(neighbour))}};
        // Opening the other pair must not act on this pair's save.
        EXPECT_TRUE(readPair(neighbour) == handPlacedMap());
        RecoverInterruptedSave(neighbour);
        RecoverInterruptedSave(mapPath);
        const MapDocument recovered = readPair(mapPath);
        EXPECT_TRUE(recovered == oldMap || recovered == newMap);
        EXPECT_EQ(readFileBytes(neighbour), neighbourBefore.at("grid"));
        EXPECT_EQ(readFileBytes(MakeXmlPath(neighbour)), neighbourBefore.at("xml"));
        return;
    }
    // Someone puts another stage in place by hand before anything reads the pair.
    const std::string handMade = elsewhere.file("hand.map");
    ASSERT_TRUE(WriteMapFilePairFiles(handMade, handPlacedMap()));
    writeFileBytes(mapPath, readFileBytes(handMade));
    writeFileBytes(MakeXmlPath(mapPath), readFileBytes(MakeXmlPath(handMade)));
    EXPECT_TRUE(readPair(mapPath) == handPlacedMap());
    RecoverInterruptedSave(mapPath);
    EXPECT_TRUE(readPair(mapPath) == handPlacedMap()) << "recovery overwrote the hand-placed pair";
    EXPECT_TRUE(WriteMapFilePairFiles(mapPath, newMap));
    EXPECT_TRUE(readPair(mapPath) == newMap);
}

TEST(SaveSteps, AtEveryStepReadsAreExactAndChangeNothingAndNoOneElsesFileIsTouched) {
    for (const StepCase& stepCase : CASES)
        for (int step = 0; step < STEP_COUNT; ++step) checkStop(stepCase, step);
}

}  // namespace
