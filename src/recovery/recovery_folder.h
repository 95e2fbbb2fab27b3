// The folder of recovery copies: each copy's name and its lock, which the
// editor that keeps the copy holds while it runs, and the copies left by
// editors that no longer run, which the next start offers.
#pragma once

#include <string>
#include <vector>

#include "system/file_lock.h"

// <folder>/<instance>-<number>.kalmia-recovery: `instance` tells one
// running editor from another, `number` the maps it has kept copies of.
std::string RecoveryCopyPath(const std::string& folder, const std::string& instance, int number);

// The lock of a copy, held by the editor that keeps it; taking it fails
// while that editor runs (the lock dies with its process).
FileLock LockRecoveryCopy(const std::string& copyPath);

struct RecoveryOffer {
    std::string path;
    FileLock lock;  // held: no other editor takes the copy meanwhile
    unsigned long long modified = 0;
};

// The copies in `folder` whose editor no longer runs, newest first, each
// with its lock now held by the caller. On the way it removes what those
// editors left beside their copies: a copy half written, and locks of
// copies that are gone.
std::vector<RecoveryOffer> FindRecoveryOffers(const std::string& folder);

// A copy that cannot be read is renamed, never deleted, and not offered
// again.
void SetAsideRecoveryCopy(const std::string& copyPath);

// Removes the copy, then its lock.
void RemoveRecoveryCopy(RecoveryOffer& offer);
