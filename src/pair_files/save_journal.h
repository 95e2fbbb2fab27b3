// The journal of a save: written beside the pair before the save creates
// anything else, and removed last. It names the side files the save makes,
// and, once both new files are complete, records what the save found at
// each target and what it wrote, so that whoever meets it after a crash can
// tell the save's own files from files someone else changed since.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "pair_files/pair_paths.h"
#include "system/content_hash.h"

// One target of the pair as the save left it.
struct JournalTarget {
    std::string name;               // the target's file name
    std::string newName, oldName;   // the save's side files for it, in the target's folder
    FileFingerprint found;          // the old file, or present == false where there was none
    FileFingerprint written;        // the new file
    bool rewrittenInPlace = false;  // its content is being copied over the old file in place
};

struct SaveJournal {
    // Preparing: the side files are being made, and the pair is untouched.
    // Forward: the new files are being put in place. Back: the save failed
    // after the journal, and the old files are being put back.
    enum class Direction { Preparing, Forward, Back } direction = Direction::Forward;
    JournalTarget grid, parameters;
};

// Writes the journal complete, then puts it in place in one rename, so that
// the journal file is never seen half-written. On failure no journal
// changed. `beforeRename` runs between the two, for tests that stop a save
// there.
Result<void> WriteSaveJournal(const SaveFiles& files, const SaveJournal& journal,
                              const std::function<void()>& beforeRename = {});

// The journal beside the pair, if there is a complete one that names this
// pair's files; nullopt where there is none, or one that is cut short,
// damaged or of another pair: such a file is never acted on.
std::optional<SaveJournal> ReadSaveJournal(const SaveFiles& files);

// Removes the journal, its removal put on the disk after everything the
// save did before it (renames, removed side files).
void RemoveSaveJournal(const SaveFiles& files);

// Whether the file at `path` can only be a journal or a draft of one that a
// save left when it stopped: empty, or starting as a journal does (a grid
// or a parameter file never does). Anything else there is not Kalmia's.
bool IsLeftoverJournal(const std::string& path);
