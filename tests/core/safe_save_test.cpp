// A save that fails leaves the previous pair exactly as it was, with no new
// file left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "pair_files/map_file_pair.h"
#include "system/file_lock.h"
#include "system/file_system.h"
#include "test_support.h"

namespace {

MapDocument mapOfSize(int width, int height, const std::string& name) {
    MapDocument document;
    document.resizeGrid(width, height);
    document.setCell(width - 1, height - 1, 1);
    document.setMapName(name);
    return document;
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SafeSave, UnwritableTreeChangesNoFile) {
    TempFolder folder;
    const std::string mapPath = folder.file("stage.map");
    ASSERT_TRUE(WriteMapFilePairFiles(mapPath, mapOfSize(3, 3, "old")));
    const std::string oldGrid = readFileBytes(mapPath);
    const std::string oldXml = readFileBytes(folder.file("stage.xml"));
    // A name XML cannot carry (a control character) fails the save.
    EXPECT_EQ(WriteMapFilePairFiles(mapPath, mapOfSize(9, 9, "bad\x01")).failure().kind,
              FailureKind::WriteFailed);
    EXPECT_EQ(readFileBytes(mapPath), oldGrid);
    EXPECT_EQ(readFileBytes(folder.file("stage.xml")), oldXml);
    EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"stage.map", "stage.xml"}));
}

TEST(SafeSave, OverwritingAPairReplacesBothFiles) {
    TempFolder folder;
    const std::string mapPath = folder.file("stage.map");
    ASSERT_TRUE(WriteMapFilePairFiles(mapPath, mapOfSize(3, 3, "old")));
    ASSERT_TRUE(WriteMapFilePairFiles(mapPath, mapOfSize(4, 2, "new")));
    MapDocument read;
    ASSERT_TRUE(ReadMapFilePair(mapPath, read));
    EXPECT_TRUE(read == mapOfSize(4, 2, "new"));
    EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"stage.map", "stage.xml"}));
}

// Windows without long paths refuses 260 characters or more: the files of a
// save must be no longer than the longest target the file dialogs give.
// And no two pairs share a side file, whatever their names.
std::vector<std::string> filesOfSave(const std::string& mapPath) {
    const SaveFiles files = SaveFilesFor(mapPath);
    return {files.grid,    files.parameters,    files.newGrid,
            files.oldGrid, files.newParameters, files.oldParameters,
            files.journal, files.journalDraft,  files.lock};
}

TEST(SafeSave, SideFilesAreBesideTheirTargetWithinTheLimitAndNoTwoPairsShareOne) {
    // The folder as the program resolves it (natively, below the working folder).
    const std::string given = "C:\\" + std::string(200, 'f') + "\\";
    const std::string resolved = SaveFilesFor(given + "x.map").grid;
    const std::string folder = resolved.substr(0, resolved.size() - 5);
    const std::string longest = folder + std::string(259 - folder.size() - 4, 'n') + ".map";
    for (const std::string& target : {longest, longest.substr(0, 258), longest.substr(0, 257)})
        for (const std::string& path : filesOfSave(target)) {
            EXPECT_LE(path.size(), std::max<size_t>(target.size(), 259)) << path;
            EXPECT_EQ(path.compare(0, folder.size(), folder), 0) << "not beside: " << path;
        }
    std::vector<std::string> all;
    // Pairs with parameter files of their own (stage.map and stage.txt share one).
    for (const char* mapPath : {"ab", "cd", "a", "b", "stage.map", "stage.map~g", "stage1.map"}) {
        const auto files = filesOfSave(mapPath);
        all.insert(all.end(), files.begin() + 2, files.end());  // the side files
    }
    std::sort(all.begin(), all.end());
    const auto shared = std::adjacent_find(all.begin(), all.end());
    EXPECT_EQ(shared, all.end()) << "shared: " << *shared;
}

// Stops a save in this process where a crash would stop it.
struct SaveStopped {};
void saveUntil(const std::string& mapPath, const MapDocument& document, SaveStep stop) {
    try {
        const auto finished = WriteMapFilePairFiles(mapPath, document, [&](SaveStep step) {
            if (step == stop) throw SaveStopped{};
        });
        ADD_FAILURE() << "the save did not reach the step";
    } catch (const SaveStopped&) {
    }
}

// A replacement that fails once the journal is written: the files already
// replaced go back, and the save says it failed.
TEST(SafeSave, AReplacementThatFailsAfterTheJournalPutsBothOldFilesBack) {
    struct Case {
        SaveStep at;
        std::string SaveFiles::*vanishing;  // the new file taken away there
    };
    for (const Case& c : {Case{SaveStep::JournalWritten, &SaveFiles::newParameters},
                          Case{SaveStep::ParameterFileInPlace, &SaveFiles::newGrid}}) {
        TempFolder folder;
        const std::string mapPath = folder.file("stage.map");
        ASSERT_TRUE(WriteMapFilePairFiles(mapPath, mapOfSize(3, 3, "old")));
        const std::string oldGrid = readFileBytes(mapPath);
        const std::string oldXml = readFileBytes(folder.file("stage.xml"));
        const auto outcome =
            WriteMapFilePairFiles(mapPath, mapOfSize(4, 2, "new"), [&](SaveStep step) {
                if (step == c.at) RemoveFile(SaveFilesFor(mapPath).*c.vanishing);
            });
        ASSERT_FALSE(outcome);
        EXPECT_EQ(outcome.failure().kind, FailureKind::WriteFailed);
        EXPECT_EQ(readFileBytes(mapPath), oldGrid);
        EXPECT_EQ(readFileBytes(folder.file("stage.xml")), oldXml);
        EXPECT_EQ(filesIn(folder.path()), (std::vector<std::string>{"stage.map", "stage.xml"}));
    }
}

// One writer at a time: while another holds the pair's lock, a save waits a
// little, then gives up as busy and changes nothing.
TEST(SafeSave, ASecondWriterWaitsThenGivesUpAsBusy) {
    TempFolder folder;
    const std::string mapPath = folder.file("stage.map");
    ASSERT_TRUE(WriteMapFilePairFiles(mapPath, mapOfSize(3, 3, "old")));
    const std::string oldXml = readFileBytes(folder.file("stage.xml"));
    const FileLock held = LockFile(SaveFilesFor(mapPath).lock, 0);
    ASSERT_TRUE(held.held());
    EXPECT_EQ(WriteMapFilePairFiles(mapPath, mapOfSize(4, 2, "new")).failure().kind,
              FailureKind::Busy);
    EXPECT_EQ(readFileBytes(folder.file("stage.xml")), oldXml);
    EXPECT_EQ(filesIn(folder.path()),
              (std::vector<std::string>{"stage.map", "stage.xml", "stage.xml~l"}));
}

// A journal that is not whole never moves a file, even where the pair it
// would have finished is left mixed.
TEST(SafeSave, ADamagedJournalIsNeverActedOn) {
    const std::function<void(std::string&)> damages[] = {
        [](std::string& journal) { journal.resize(journal.size() / 2); },
        [](std::string& journal) { journal.clear(); },
        [](std::string& journal) { journal[journal.size() / 3] ^= 1; },
    };
    for (const auto& damage : damages) {
        TempFolder folder;
        const std::string mapPath = folder.file("stage.map");
        ASSERT_TRUE(WriteMapFilePairFiles(mapPath, mapOfSize(3, 3, "old")));
        saveUntil(mapPath, mapOfSize(4, 2, "new"), SaveStep::ParameterFileInPlace);
        const std::string journalPath = SaveFilesFor(mapPath).journal;
        std::string journal = readFileBytes(journalPath);
        damage(journal);
        writeFileBytes(journalPath, journal);
        std::map<std::string, std::string> before;
        for (const std::string& name : filesIn(folder.path()))
            before[name] = readFileBytes(folder.file(name));
        EXPECT_EQ(RecoverInterruptedSave(mapPath), RecoveryOutcome::NothingToDo);
        for (const std::string& name : filesIn(folder.path()))
            EXPECT_EQ(readFileBytes(folder.file(name)), before[name]) << name;
        EXPECT_EQ(filesIn(folder.path()).size(), before.size());
        // The next save cannot know the side files as its own without a
        // journal, so they stay as they are; the damaged journal goes.
        EXPECT_TRUE(WriteMapFilePairFiles(mapPath, mapOfSize(5, 5, "next")));
        before.erase(FileNameOf(journalPath));
        before.erase("stage.map"), before.erase("stage.xml");
        for (const auto& [name, bytes] : before) EXPECT_EQ(readFileBytes(folder.file(name)), bytes);
        EXPECT_EQ(filesIn(folder.path()).size(), before.size() + 2);
    }
}

#ifndef _WIN32
// A disk that fills up while the new files are written: a small tmpfs.
TEST(SafeSave, FullDiskLeavesTheOldPairAndNoNewFiles) {
    TempFolder folder;
    const std::string mount = folder.file("small");
    makeFolder(mount);
    const std::string command = "mount -t tmpfs -o size=64k kalmia-test " + mount + " 2>/dev/null";
    if (std::system(command.c_str()) != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
    const std::string mapPath = mount + "/stage.map";
    const bool saved = WriteMapFilePairFiles(mapPath, mapOfSize(20, 20, "old")).ok();
    const std::string oldGrid = readFileBytes(mapPath);
    const std::string oldXml = readFileBytes(mount + "/stage.xml");
    const Result<void> big = WriteMapFilePairFiles(mapPath, mapOfSize(300, 300, "big"));
    const std::string newGrid = readFileBytes(mapPath);
    const std::string newXml = readFileBytes(mount + "/stage.xml");
    const std::vector<std::string> files = filesIn(mount);
    std::system(("umount " + mount).c_str());
    ASSERT_TRUE(saved);
    ASSERT_FALSE(big);
    EXPECT_EQ(big.failure().kind, FailureKind::WriteFailed);
    EXPECT_EQ(newGrid, oldGrid);
    EXPECT_EQ(newXml, oldXml);
    EXPECT_EQ(files, (std::vector<std::string>{"stage.map", "stage.xml"}));
}
#endif

}  // namespace
