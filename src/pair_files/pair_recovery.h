// What to do about a save that was interrupted after its journal was
// written. Reading a pair never changes a file: it takes the files that
// recovery would leave in place. Recovery itself is a step of its own, which
// the editor's Open and every save of the pair take, under the pair's lock.
//
// Recovery acts only on files that are exactly what the journal recorded.
// A target or side file that differs was changed by someone else since (a
// copy by hand, a checkout): the interrupted save is then abandoned, only
// its own side files are removed, and the pair stays as it now is.
#pragma once

#include <string>

#include "pair_files/pair_paths.h"

// The files a read of the pair takes. An empty path stands for a file that
// recovery would remove (the pair did not exist before a failed save).
struct PairSources {
    std::string grid, parameters;
};

// Changes nothing: the pair itself, or where a journal stands beside it,
// the files that recovery would put in place.
PairSources PairSourcesToRead(const SaveFiles& files);

enum class RecoveryOutcome {
    NothingToDo,  // no journal of this pair
    Finished,     // the new pair of the interrupted save is in place
    RolledBack,   // the old pair of a save that had failed is back in place
    Abandoned,    // files had changed since: the pair stays as it is
    Failed,       // the folder refused a change; the journal stays for a later try
};

// For a caller that holds the pair's lock (files.lock).
RecoveryOutcome RecoverLockedPair(const SaveFiles& files);

// Takes the pair's lock and recovers. Failed when another process holds the
// lock or the folder cannot be written; a read still sees the right pair.
RecoveryOutcome RecoverInterruptedSave(const std::string& mapPath);

// How long a save or a recovery waits for another process's save of the
// same pair to end.
constexpr int PAIR_LOCK_WAIT_MILLISECONDS = 2000;
