// Saving a map file pair all or nothing, even across a crash or a power cut.
//
// A journal (pair_files/save_journal.h) first names the side files the save
// will make, each a name nothing else had. The new grid and parameter files
// are then written completely beside the targets, with the targets'
// permissions, and the old files are kept aside (a second name for each, or
// a copy). Then the journal records both: from that moment the save counts
// as made. Each target is then replaced in one
// rename, so the pair's files exist at every moment. Last the journal and
// the side files are removed. A save that dies after its journal is finished
// by the next Open or save of the pair (pair_files/pair_recovery.h); before
// the journal exists, the old pair is untouched. A target that another
// program replaced while the save ran is left exactly as it is, and the
// save fails.
//
// One process at a time saves a pair: the save holds the pair's lock from
// start to end, and nothing of it is left beside the pair when it returns.
#pragma once

#include <functional>
#include <string>

#include "document/map_document.h"
#include "pair_files/pair_paths.h"
#include "system/failure.h"

// The moments of a save, in order: each is reported right before the save's
// next change to the folder, for tests that stop a save there.
enum class SaveStep {
    Started,               // next: the lock file is created
    LockTaken,             // next: the journal's draft that names the side files is created
    SideFilesNamed,        // next: the new files are created beside the pair
    NewFilesWritten,       // next: the old files are kept aside
    OldFilesKept,          // next: the journal's draft is created
    JournalDrafted,        // next: the draft becomes the journal; the save counts from then
    JournalWritten,        // next: the new parameter file replaces the old
    ParameterFileInPlace,  // next: the new grid file replaces the old
    GridFileInPlace,       // next: the journal is removed
    JournalRemoved,        // next: the side files are removed
    SideFilesRemoved,      // next: the lock file is removed
};
using SaveStepObserver = std::function<void(SaveStep)>;

// Writes `document` as the pair of mapPath, after finishing or discarding a
// save of that pair that was interrupted. A target that is a folder, or
// read-only on Windows, or a map path that is its own parameter file, fails
// the save before anything is written. Done:
// the new pair is in place. WriteFailed: the old pair is in place, whole.
// Busy: another process kept saving the same pair, and nothing changed.
Result<void> WriteMapFilePairFiles(const std::string& mapPath, const MapDocument& document,
                                   const SaveStepObserver& observer = {});
