// A save killed at any moment: the next Open of the pair gives exactly the
// old map or exactly the new one. The child process saves and is killed
// (SIGKILL) either at a random time over the whole save or stopped exactly
// at one of its steps, which reaches the short windows between them.
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "core/test_support.h"
#include "kill/save_child.h"
#include "kill/save_kill_maps.h"
#include "pair_files/map_file_pair.h"

namespace {

constexpr int STEP_COUNT = static_cast<int>(SaveStep::SideFilesRemoved) + 1;

// Where a save was when it died, named by the last step it reported.
const char* phaseAfter(int lastStep) {
    static const char* const names[] = {
        "before the save started",
        "taking the lock",
        "naming the side files in a journal",
        "writing the new files",
        "keeping the old files aside",
        "drafting the journal",
        "putting the journal in place",
        "putting the new parameter file in place",
        "between the replacements: putting the new grid file in place",
        "removing the journal",
        "removing the side files",
        "releasing the lock",
    };
    static_assert(sizeof names / sizeof *names == STEP_COUNT + 1);
    return names[lastStep + 1];
}

// Waits for the child's first step: its save has started.
int waitForTheStart(int output) {
    char step = -1;
    return read(output, &step, 1) == 1 ? step : -1;
}

std::chrono::microseconds timeOneSave(const std::string& mapPath, const MapDocument& oldMap) {
    std::chrono::microseconds longest{0};
    for (int run = 0; run < 3; ++run) {
        EXPECT_TRUE(WriteMapFilePairFiles(mapPath, oldMap));
        const SaveChild child = StartSaveChild(mapPath, -1);
        waitForTheStart(child.output);
        const auto start = std::chrono::steady_clock::now();
        LastStepReported(child.output);
        KillChild(child);
        longest = std::max(longest, std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::steady_clock::now() - start));
    }
    return longest;
}

TEST(InterruptedSave, AKillAtAnyMomentLeavesExactlyTheOldOrTheNewMap) {
    TempFolder folder;
    const std::string mapPath = folder.file("stage.map");
    const MapDocument oldMap = saveKillMap(false);
    const MapDocument newMap = saveKillMap(true);
    const auto saveTime = timeOneSave(mapPath, oldMap);

    std::mt19937 random(20261209);
    std::map<int, int> killsAfterStep;
    int kills = 0, oldMaps = 0, newMaps = 0;
    // A kill at a random time misses a save that has already ended, more often
    // in the slower sanitizer build: attempts go on until 320 saves died.
    for (int attempt = 0; attempt < 1000 && kills < 320; ++attempt) {
        ASSERT_TRUE(WriteMapFilePairFiles(mapPath, oldMap));
        // Every other kill stops the child at a step, the others land at a
        // random time between the start and the end of a typical save.
        const bool atAStep = attempt % 2 == 1;
        const int stopAt = atAStep ? static_cast<int>(random() % STEP_COUNT) : -1;
        const SaveChild child = StartSaveChild(mapPath, stopAt);
        ASSERT_GT(child.pid, 0);
        int firstStep = -1;
        if (atAStep) {
            WaitUntilStopped(child);
        } else {
            firstStep = waitForTheStart(child.output);
            std::this_thread::sleep_for(std::chrono::microseconds(
                std::uniform_int_distribution<long>(0, saveTime.count())(random)));
        }
        const bool killed = KillChild(child);
        const int lastStep = LastStepReported(child.output, firstStep);
        if (!killed) continue;  // it finished before the kill
        ++kills;
        ++killsAfterStep[lastStep];

        MapDocument read;
        ASSERT_TRUE(ReadMapFilePair(mapPath, read)) << "killed " << phaseAfter(lastStep);
        const bool isOld = read == oldMap, isNew = read == newMap;
        ASSERT_TRUE(isOld || isNew) << "a mixed pair after a kill " << phaseAfter(lastStep);
        oldMaps += isOld;
        newMaps += isNew;
    }

    std::ofstream report(KALMIA_KILL_REPORT);
    report << kills << " saves killed (one save takes about " << saveTime.count() / 1000
           << " ms); the next Open gave the old map " << oldMaps << " times, the new map "
           << newMaps << " times, anything else 0 times.\n";
    for (int step = 0; step < STEP_COUNT; ++step)
        report << "  " << killsAfterStep[step] << " killed " << phaseAfter(step) << "\n";
    EXPECT_GE(kills, 300);
    for (int step = static_cast<int>(SaveStep::Started); step < STEP_COUNT; ++step)
        EXPECT_GT(killsAfterStep[step], 0) << "no kill " << phaseAfter(step);
}

}  // namespace
