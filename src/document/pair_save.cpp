#include "document/pair_save.h"

#include <cerrno>

#include "document/pair_formats.h"
#include "document/pair_recovery.h"
#include "document/save_journal.h"
#include "system/content_hash.h"
#include "system/file_lock.h"
#include "system/file_output.h"
#include "xml/xml_saving.h"

namespace {

// One target of the pair while the new content replaces the old.
struct TargetSave {
    const std::string& target;
    const std::string& newFile;
    const std::string& oldFile;
    JournalTarget& record;
    bool keptAsSecondName = false;  // the old file kept aside is a hard link of the target
    enum class State { Untouched, Renamed, RewrittenInPlace } state = State::Untouched;
};

void removeSideFiles(const SaveFiles& files) {
    for (const std::string* side : {&files.newGrid, &files.newParameters, &files.oldGrid,
                                    &files.oldParameters, &files.journalDraft})
        RemoveFile(*side);
}

// Side files of this pair that are still there were left by a save that
// died before its journal, so nothing refers to them any more.
bool writeNewFiles(const SaveFiles& files, const MapDocument& document,
                   const std::string& parameterText, SaveJournal& journal) {
    removeSideFiles(files);
    ContentHasher gridHash, parameterHash;
    parameterHash.add(parameterText.data(), parameterText.size());
    if (!WriteGridFile(files.newGrid, document.cells, &gridHash) ||
        !WriteWholeFile(files.newParameters, parameterText) || !FlushFolderOf(files.grid))
        return false;
    journal.grid.written = gridHash.fingerprint();
    journal.parameters.written = parameterHash.fingerprint();
    return true;
}

// The old file gets a second name, or a copy where the file system has no
// hard links or where another program holds the file open: such a target
// will have to be rewritten in place, which would change a second name too.
bool keepOldFile(TargetSave& save) {
    if (KindOfPath(save.target) == PathKind::Missing) {
        save.record.found = {};
        return true;
    }
    save.keptAsSecondName = !IsFileHeldOpen(save.target) && LinkFile(save.target, save.oldFile);
    if (!save.keptAsSecondName && !CopyFileContent(save.target, save.oldFile)) return false;
    const auto found = FingerprintFile(save.oldFile);
    if (!found) return false;
    save.record.found = found.value();
    return true;
}

// A target that another program keeps open without letting it be deleted
// cannot be replaced, so it is rewritten in place, from a copy kept aside
// (a program that opened it only after the old file was kept fails the
// save instead). The journal says so before the target changes, since a
// target cut short by a crash then matches neither version.
bool rewriteInPlace(TargetSave& save, const SaveFiles& files, SaveJournal& journal) {
    if (!save.record.found.present || save.keptAsSecondName) return false;
    save.record.rewrittenInPlace = true;
    if (!WriteSaveJournal(files, journal)) return false;
    bool targetOpened = false;
    const bool copied = CopyFileContent(save.newFile, save.target, &targetOpened);
    if (targetOpened) save.state = TargetSave::State::RewrittenInPlace;
    return copied;
}

bool putInPlace(TargetSave& save, const SaveFiles& files, SaveJournal& journal) {
    if (MoveFileOver(save.newFile, save.target)) {
        save.state = TargetSave::State::Renamed;
        return true;
    }
    return rewriteInPlace(save, files, journal);
}

bool putBack(const TargetSave& save) {
    switch (save.state) {
        case TargetSave::State::Untouched:
            return true;
        case TargetSave::State::Renamed:
            if (save.record.found.present) return MoveFileOver(save.oldFile, save.target);
            RemoveFile(save.target);
            return KindOfPath(save.target) == PathKind::Missing;
        case TargetSave::State::RewrittenInPlace:
            return CopyFileContent(save.oldFile, save.target);
    }
    return false;
}

void endSave(const SaveFiles& files) {
    FlushFolderOf(files.journal);
    RemoveFile(files.journal);
    FlushFolderOf(files.journal);
}

// The reason of a failed save, from errno as the failing step left it.
Failure writeFailure(const SaveFiles& files) {
    return SystemFailure(FailureKind::WriteFailed, files.grid);
}

// Nothing of the save is left beside the pair.
Failure abandoned(const SaveFiles& files) {
    const Failure failure = writeFailure(files);
    removeSideFiles(files);
    return failure;
}

// A failure after the journal: the journal turns to say "back", and the old
// files go back. Should the folder refuse that, the journal stays and the
// next Open or save finishes the rollback. Should it refuse even the new
// journal, the save is finished instead, if it can be.
Result<void> rollBack(const SaveFiles& files, SaveJournal& journal, TargetSave (&targets)[2]) {
    const Failure failure = writeFailure(files);
    journal.direction = SaveJournal::Direction::Back;
    if (!WriteSaveJournal(files, journal)) {
        if (RecoverLockedPair(files) == RecoveryOutcome::Finished) return {};
        return failure;
    }
    for (int i = 1; i >= 0; --i)
        if (!putBack(targets[i])) return failure;
    endSave(files);
    removeSideFiles(files);
    return failure;
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

}  // namespace

Result<void> WriteMapFilePairFiles(const std::string& mapPath, const MapDocument& document,
                                   const SaveStepObserver& observer) {
    auto reached = [&](SaveStep step) {
        if (observer) observer(step);
    };
    reached(SaveStep::Started);
    const SaveFiles files = SaveFilesFor(mapPath);
    if (!targetsCanBeReplaced(files)) return writeFailure(files);
    const Result<std::string> parameterText = SerializeXMLDocument(BuildParameterTree(document));
    if (!parameterText) return InFile(parameterText.failure(), files.parameters);
    FileLock lock = LockFile(files.lock, PAIR_LOCK_WAIT_MILLISECONDS);
    if (!lock.held())
        return errno == EBUSY ? Failure{FailureKind::Busy, files.grid, 0, 0, ""}
                              : writeFailure(files);
    reached(SaveStep::LockTaken);
    if (RecoverLockedPair(files) == RecoveryOutcome::Failed) return writeFailure(files);

    SaveJournal journal;
    journal.grid.name = FileNameOf(files.grid);
    journal.parameters.name = FileNameOf(files.parameters);
    TargetSave targets[] = {
        {files.parameters, files.newParameters, files.oldParameters, journal.parameters},
        {files.grid, files.newGrid, files.oldGrid, journal.grid}};
    if (!writeNewFiles(files, document, parameterText.value(), journal)) return abandoned(files);
    reached(SaveStep::NewFilesWritten);
    if (!keepOldFile(targets[0]) || !keepOldFile(targets[1])) return abandoned(files);
    reached(SaveStep::OldFilesKept);
    if (!WriteSaveJournal(files, journal, [&] { reached(SaveStep::JournalDrafted); }))
        return abandoned(files);
    reached(SaveStep::JournalWritten);
    if (!putInPlace(targets[0], files, journal)) return rollBack(files, journal, targets);
    reached(SaveStep::ParameterFileInPlace);
    if (!putInPlace(targets[1], files, journal)) return rollBack(files, journal, targets);
    reached(SaveStep::GridFileInPlace);
    endSave(files);
    reached(SaveStep::JournalRemoved);
    removeSideFiles(files);
    reached(SaveStep::SideFilesRemoved);
    return {};
}
