// Keeps a recovery copy of the editor's map while it has unsaved changes:
// a thread of its own follows the map at one bit a cell, step by step from
// the history's masks, and writes the copy, so the window never waits for
// the disk. The window's thread only hands over what changed.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "document/edit_history.h"
#include "recovery/packed_map.h"
#include "recovery/recovery_folder.h"
#include "system/file_lock.h"

// What the window's thread hands the keeper's thread.
struct RecoveryOrder {
    enum class Kind {
        Step,      // `step` went `direction`
        Rebase,    // the map is now `map`, changed in a way no step tells
        Saved,     // the map is as saved: no copy is kept
        OtherMap,  // New or Open: `map` from now on, in a copy of its own
        Adopt,     // the map of the copy `adopted`, which the keeper keeps from now on
    };
    Kind kind = Kind::Step;
    bool unsaved = false;  // whether the map then differs from what was saved
    EditStep step;
    StepDirection direction = StepDirection::Forward;
    PackedMap map;
    bool removeCopy = false;  // OtherMap: New removes the copy, Open leaves it
    RecoveryOffer adopted;
};

// What the keeper's thread alone touches.
struct RecoveryWriter {
    PackedMap map;
    bool unsaved = false;
    bool owed = false;     // the copy on disk (or its absence) is behind the map
    bool mapLost = false;  // memory ran out while following: no writes until a rebase
    int copyNumber = 1;
    std::string copyPath;
    FileLock copyLock;
    std::vector<FileLock> leftCopies;  // copies of maps opened over, kept until the end
    std::chrono::steady_clock::time_point nextWrite;
};

struct RecoveryKeeper {
    // Set before the thread starts.
    std::string folder, instance;
    std::chrono::milliseconds pauseBetweenWrites{500};

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<RecoveryOrder> orders;  // guarded by `mutex`
    bool stopping = false;             // guarded by `mutex`

    RecoveryWriter writer;
    std::thread thread;
    // A step could not be handed over or followed: the window's thread hands
    // over the whole map next time.
    std::atomic<bool> rebaseOwed{false};

    RecoveryKeeper() = default;
    RecoveryKeeper(const RecoveryKeeper&) = delete;
    RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;
    ~RecoveryKeeper();
};

// Starts the keeper's thread on `map` as saved. Copies go to `folder`,
// named after `instance`.
void StartRecoveryKeeper(RecoveryKeeper& keeper, const std::string& folder,
                         const std::string& instance, const MapDocument& map);
bool IsKeepingRecovery(const RecoveryKeeper& keeper);

// The history's news, from the window's thread; nothing while the keeper
// has not started. None throws: where memory runs out, the next one
// hands over the whole `map` instead.
void FollowStep(RecoveryKeeper& keeper, const MapDocument& map, const EditStep& step,
                StepDirection direction, bool unsaved);
void FollowUntrackedChange(RecoveryKeeper& keeper, const MapDocument& map);
void FollowSave(RecoveryKeeper& keeper);
void FollowOtherMap(RecoveryKeeper& keeper, const MapDocument& map, bool removeCopy);
void FollowAdoptedCopy(RecoveryKeeper& keeper, PackedMap map, RecoveryOffer offer);

// Writes what is owed, at once, and ends the thread. The copies stay.
void StopRecoveryKeeper(RecoveryKeeper& keeper);
