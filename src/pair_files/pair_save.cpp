#include "pair_files/pair_save.h"

#include <cerrno>

#include "pair_files/pair_formats.h"
#include "pair_files/pair_recovery.h"
#include "pair_files/save_journal.h"
#include "system/content_hash.h"
#include "system/file_lock.h"
#include "system/file_system.h"
#include "xml/xml_saving.h"

namespace {

// One target of the pair while the new content replaces the old.
struct TargetSave {
    TargetSave(const std::string& target, const std::string& shown, JournalTarget& record)
        : target(target), shown(shown), record(record) {}
    const std::string& target;
    const std::string& shown;  // the target as the caller named it
    JournalTarget& record;
    std::string newFile, oldFile;  // the side files' paths, once named
    bool newMade = false, oldMade = false;
    bool keptAsSecondName = false;  // the old file kept aside is a hard link of the target
    FileStamp found;                // the target as the save found it
    FileStamp placed;               // the target once the save put its file there
    enum class State { Untouched, Renamed, RewrittenInPlace } state = State::Untouched;
};
using Targets = TargetSave[2];  // the parameter file, then the grid file

// The first name of each side file that nothing has yet.
bool nameSideFiles(TargetSave& save, char newLetter, char oldLetter) {
    constexpr int ATTEMPTS = 100;
    for (auto [letter, path] : {std::pair{newLetter, &save.newFile}, {oldLetter, &save.oldFile}}) {
        for (int attempt = 1; path->empty() && attempt <= ATTEMPTS; ++attempt) {
            const std::string candidate = SidePath(save.target, letter, attempt);
            if (KindOfPath(candidate) == PathKind::Missing) *path = candidate;
        }
        if (path->empty()) {
            errno = EEXIST;
            return false;
        }
    }
    save.record.newName = FileNameOf(save.newFile);
    save.record.oldName = FileNameOf(save.oldFile);
    return true;
}

// The side files this save made and that are still side files (a new file
// renamed into place is the target now).
void removeSideFiles(const Targets& targets) {
    for (const TargetSave& save : targets) {
        if (save.newMade && save.state != TargetSave::State::Renamed) RemoveFile(save.newFile);
        if (save.oldMade) RemoveFile(save.oldFile);
    }
}

// Nothing of the save is left beside the pair: the side files go before
// the journal that names them.
void removeOwnFiles(const SaveFiles& files, const Targets& targets) {
    removeSideFiles(targets);
    RemoveSaveJournal(files);
}

// Files the new content goes to are created here and nowhere else, so a
// file of that name that appeared since the names were chosen stays.
Result<void> writeNewFile(TargetSave& save, const std::function<Result<void>(FILE*)>& write) {
    FILE* file = OpenNewForWriting(save.newFile);
    if (!file) return SystemFailure(FailureKind::WriteFailed, save.newFile);
    save.newMade = true;
    if (Result<void> written = write(file); !written) return written;
    return KeepPermissions(save.target, save.newFile);
}

Result<void> writeNewFiles(Targets& targets, const SaveFiles& files, const MapDocument& document,
                           const std::string& parameterText, SaveJournal& journal) {
    ContentHasher gridHash, parameterHash;
    parameterHash.add(parameterText.data(), parameterText.size());
    TargetSave &parameters = targets[0], &grid = targets[1];
    Result<void> written = writeNewFile(parameters, [&](FILE* file) {
        const size_t size = parameterText.size();
        return FinishWriting(file, std::fwrite(parameterText.data(), 1, size, file) == size,
                             parameters.newFile);
    });
    if (written)
        written = writeNewFile(grid, [&](FILE* file) {
            return WriteGridText(file, grid.newFile, document.cells, &gridHash);
        });
    if (written) written = FlushFolderOf(files.grid);
    if (written) written = FlushFolderOf(files.parameters);
    journal.grid.written = gridHash.fingerprint();
    journal.parameters.written = parameterHash.fingerprint();
    return written;
}

// The old file gets a second name, or a copy where the file system has no
// hard links or where another program holds the file open: such a target
// will have to be rewritten in place, which would change a second name too.
Result<void> keepOldFile(TargetSave& save) {
    save.found = StampOfFile(save.target);
    if (!save.found.present) {
        save.record.found = {};
        return {};
    }
    save.keptAsSecondName =
        !IsFileHeldOpen(save.target) && LinkFile(save.target, save.oldFile).ok();
    if (!save.keptAsSecondName) {
        FILE* copy = OpenNewForWriting(save.oldFile);
        if (!copy) return SystemFailure(FailureKind::WriteFailed, save.oldFile);
        save.oldMade = true;
        const Result<void> copied = WriteFileContent(save.target, copy);
        const Result<void> finished = FinishWriting(copy, copied.ok(), save.oldFile);
        if (!copied) return copied;
        if (!finished) return finished;
    }
    save.oldMade = true;
    const auto found = FingerprintFile(save.oldFile);
    if (!found) return found.failure();
    save.record.found = found.value();
    return {};
}

// A target that another program keeps open without letting it be deleted
// cannot be replaced, so it is rewritten in place, from a copy kept aside
// (a program that opened it only after the old file was kept fails the
// save instead). The journal says so before the target changes, since a
// target cut short by a crash then matches neither version.
Result<void> rewriteInPlace(TargetSave& save, const SaveFiles& files, SaveJournal& journal,
                            const Failure& renameFailure) {
    if (!save.record.found.present || save.keptAsSecondName) return renameFailure;
    save.record.rewrittenInPlace = true;
    if (Result<void> recorded = WriteSaveJournal(files, journal); !recorded) return recorded;
    bool targetOpened = false;
    Result<void> copied = CopyFileContent(save.newFile, save.target, &targetOpened);
    if (targetOpened) save.state = TargetSave::State::RewrittenInPlace;
    return copied;
}

Failure replacedMeanwhile(const TargetSave& save) {
    return {FailureKind::WriteFailed, save.shown, 0, 0,
            "another program replaced the file during the save; it was left as it is"};
}

// Only over the very file the save found: one that another program put
// there since (a copy by hand, a checkout) is the user's and stays.
Result<void> putInPlace(TargetSave& save, const SaveFiles& files, SaveJournal& journal) {
    if (!(StampOfFile(save.target) == save.found)) return replacedMeanwhile(save);
    Result<void> placed = MoveFileOver(save.newFile, save.target);
    if (placed)
        save.state = TargetSave::State::Renamed;
    else
        placed = rewriteInPlace(save, files, journal, placed.failure());
    if (placed) save.placed = StampOfFile(save.target);
    return placed;
}

// Puts the old file back where the save had put its own, unless another
// program replaced that since.
bool putBack(const TargetSave& save) {
    if (save.state != TargetSave::State::Untouched && !(StampOfFile(save.target) == save.placed))
        return true;
    switch (save.state) {
        case TargetSave::State::Untouched:
            return true;
        case TargetSave::State::Renamed:
            if (save.record.found.present) return MoveFileOver(save.oldFile, save.target).ok();
            RemoveFile(save.target);
            return KindOfPath(save.target) == PathKind::Missing;
        case TargetSave::State::RewrittenInPlace:
            return CopyFileContent(save.oldFile, save.target).ok();
    }
    return false;
}

// A save's failure is a write that failed, whatever step failed (a copy of
// the old file that could not be read too); it names the pair's file as the
// caller wrote it, with the reason of the step.
Failure saveFailure(const std::string& shown, const Failure& failure) {
    return {FailureKind::WriteFailed, shown, 0, 0, failure.detail};
}

Failure saidOf(const TargetSave& save, const Failure& failure) {
    return saveFailure(save.shown, failure);
}

Failure abandoned(const SaveFiles& files, Targets& targets, Failure failure) {
    removeOwnFiles(files, targets);
    return failure;
}

// A failure after the journal: the journal turns to say "back", and the old
// files go back. Should the folder refuse that, the journal stays and the
// next Open or save finishes the rollback. Should it refuse even the new
// journal, the save is finished instead, if it can be.
Result<void> rollBack(const SaveFiles& files, SaveJournal& journal, Targets& targets,
                      const Failure& failure) {
    journal.direction = SaveJournal::Direction::Back;
    if (!WriteSaveJournal(files, journal)) {
        if (RecoverLockedPair(files) == RecoveryOutcome::Finished) return {};
        return failure;
    }
    for (int i = 1; i >= 0; --i)
        if (!putBack(targets[i])) return failure;
    removeOwnFiles(files, targets);
    return failure;
}

Result<void> placeBoth(const SaveFiles& files, SaveJournal& journal, Targets& targets,
                       const SaveStepObserver& reached) {
    for (int i = 0; i < 2; ++i) {
        const Result<void> placed = putInPlace(targets[i], files, journal);
        if (!placed) return rollBack(files, journal, targets, saidOf(targets[i], placed.failure()));
        reached(i == 0 ? SaveStep::ParameterFileInPlace : SaveStep::GridFileInPlace);
    }
    return {};
}

// The failure of a step that reports through errno: the lock and the
// side files' names.
Failure writeFailure(const SaveFiles& files) {
    return SystemFailure(FailureKind::WriteFailed, files.shownGrid);
}

// Refused before anything is written: a folder where a file goes (it would
// be replaced like a file), and a file that Windows marks read-only (as
// other Windows programs, Kalmia does not replace it).
bool targetsCanBeReplaced(const SaveFiles& files) {
    for (const std::string* target : {&files.grid, &files.parameters}) {
        if (KindOfPath(*target) == PathKind::Other) {
            errno = EISDIR;
            return false;
        }
        if (IsReadOnlyFile(*target)) {
            errno = EACCES;
            return false;
        }
    }
    return true;
}

// "stage.xml" as a map path names its own parameter file: saving it would
// write the grid over the parameters.
bool isOneFile(const SaveFiles& files) {
    return files.grid == files.parameters || IsSameFile(files.grid, files.parameters);
}

// The journal's names are the save's own: a leftover journal or draft of a
// save that stopped goes, anything else there fails the save untouched.
bool clearJournalNames(const SaveFiles& files) {
    for (const std::string* path : {&files.journal, &files.journalDraft}) {
        if (KindOfPath(*path) == PathKind::Missing) continue;
        if (!IsLeftoverJournal(*path)) {
            errno = EEXIST;
            return false;
        }
        RemoveFile(*path);
    }
    return true;
}

}  // namespace

Result<void> WriteMapFilePairFiles(const std::string& mapPath, const MapDocument& document,
                                   const SaveStepObserver& observer) {
    auto reached = [&](SaveStep step) {
        if (observer) observer(step);
    };
    reached(SaveStep::Started);
    const SaveFiles files = SaveFilesFor(mapPath);
    if (isOneFile(files))
        return Failure{FailureKind::WriteFailed, files.shownGrid, 0, 0,
                       "the map file would be its own parameter file"};
    if (!targetsCanBeReplaced(files)) return writeFailure(files);
    const Result<std::string> parameterText = SerializeXMLDocument(BuildParameterTree(document));
    if (!parameterText) return InFile(parameterText.failure(), files.shownParameters);
    FileLock lock = LockFile(files.lock, PAIR_LOCK_WAIT_MILLISECONDS);
    if (!lock.held())
        return errno == EBUSY ? Failure{FailureKind::Busy, files.shownGrid, 0, 0, ""}
                              : writeFailure(files);
    reached(SaveStep::LockTaken);
    if (RecoverLockedPair(files) == RecoveryOutcome::Failed || !clearJournalNames(files))
        return writeFailure(files);

    SaveJournal journal;
    journal.direction = SaveJournal::Direction::Preparing;
    journal.grid.name = FileNameOf(files.grid);
    journal.parameters.name = FileNameOf(files.parameters);
    Targets targets = {{files.parameters, files.shownParameters, journal.parameters},
                       {files.grid, files.shownGrid, journal.grid}};
    if (!nameSideFiles(targets[0], 'p', 'q') || !nameSideFiles(targets[1], 'g', 'h'))
        return writeFailure(files);
    if (Result<void> named = WriteSaveJournal(files, journal); !named)
        return saveFailure(files.shownGrid, named.failure());
    reached(SaveStep::SideFilesNamed);
    if (Result<void> written =
            writeNewFiles(targets, files, document, parameterText.value(), journal);
        !written)
        return abandoned(files, targets, saveFailure(files.shownGrid, written.failure()));
    reached(SaveStep::NewFilesWritten);
    for (TargetSave& save : targets)
        if (Result<void> kept = keepOldFile(save); !kept)
            return abandoned(files, targets, saidOf(save, kept.failure()));
    reached(SaveStep::OldFilesKept);
    journal.direction = SaveJournal::Direction::Forward;
    if (Result<void> recorded =
            WriteSaveJournal(files, journal, [&] { reached(SaveStep::JournalDrafted); });
        !recorded)
        return abandoned(files, targets, saveFailure(files.shownGrid, recorded.failure()));
    reached(SaveStep::JournalWritten);
    if (Result<void> placed = placeBoth(files, journal, targets, reached); !placed) return placed;
    RemoveSaveJournal(files);
    reached(SaveStep::JournalRemoved);
    removeSideFiles(targets);
    reached(SaveStep::SideFilesRemoved);
    return {};
}
