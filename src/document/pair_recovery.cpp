#include "document/pair_recovery.h"

#include <optional>

#include "document/save_journal.h"
#include "system/content_hash.h"
#include "system/file_lock.h"
#include "system/file_output.h"

namespace {

enum class TargetAction { Keep, Install, Remove, Conflict };

struct TargetPlan {
    TargetAction action = TargetAction::Keep;
    std::string source;  // the file that holds the target's content after recovery
};

struct RecoveryPlan {
    std::optional<SaveJournal> journal;
    TargetPlan grid, parameters;
    bool abandoned() const {
        return grid.action == TargetAction::Conflict || parameters.action == TargetAction::Conflict;
    }
};

bool hasFingerprint(const std::string& path, const FileFingerprint& expected) {
    const auto fingerprint = FingerprintFile(path);
    return fingerprint && fingerprint.value() == expected;
}

// Going forward, the target must end up as written, from the new side file;
// going back, as found, from the old file kept aside. The target itself must
// be one of the two versions the save knows, or a file it was rewriting in
// place when it stopped.
TargetPlan planTarget(SaveJournal::Direction direction, const JournalTarget& record,
                      const std::string& target, const std::string& newFile,
                      const std::string& oldFile) {
    const bool forward = direction == SaveJournal::Direction::Forward;
    const FileFingerprint& wanted = forward ? record.written : record.found;
    const FileFingerprint& other = forward ? record.found : record.written;
    const std::string& source = forward ? newFile : oldFile;
    const auto now = FingerprintFile(target);
    if (!now) return {TargetAction::Conflict, target};
    if (now.value() == wanted) return {TargetAction::Keep, target};
    if (now.value() != other && !record.rewrittenInPlace) return {TargetAction::Conflict, target};
    if (!wanted.present) return {TargetAction::Remove, ""};
    if (hasFingerprint(source, wanted)) return {TargetAction::Install, source};
    return {TargetAction::Conflict, target};
}

RecoveryPlan planRecovery(const SaveFiles& files) {
    RecoveryPlan plan{ReadSaveJournal(files),
                      {TargetAction::Keep, files.grid},
                      {TargetAction::Keep, files.parameters}};
    if (!plan.journal) return plan;
    const SaveJournal& journal = *plan.journal;
    plan.grid =
        planTarget(journal.direction, journal.grid, files.grid, files.newGrid, files.oldGrid);
    plan.parameters = planTarget(journal.direction, journal.parameters, files.parameters,
                                 files.newParameters, files.oldParameters);
    return plan;
}

bool carryOut(const TargetPlan& plan, const std::string& target) {
    switch (plan.action) {
        case TargetAction::Keep:
            return true;
        case TargetAction::Install:
            // Rewritten in place where another program keeps the target open.
            if (MoveFileOver(plan.source, target)) return true;
            return CopyFileContent(plan.source, target);
        case TargetAction::Remove:
            RemoveFile(target);
            return KindOfPath(target) == PathKind::Missing;
        case TargetAction::Conflict:
            break;
    }
    return false;
}

// Removes the side files that are still exactly what the journal recorded,
// then the journal; anything else beside the pair is not the save's own.
void removeOwnFiles(const SaveFiles& files, const SaveJournal& journal) {
    const std::pair<const std::string*, const FileFingerprint*> sides[] = {
        {&files.newGrid, &journal.grid.written},
        {&files.newParameters, &journal.parameters.written},
        {&files.oldGrid, &journal.grid.found},
        {&files.oldParameters, &journal.parameters.found},
    };
    FlushFolderOf(files.journal);
    RemoveFile(files.journal);
    FlushFolderOf(files.journal);
    for (const auto& [path, fingerprint] : sides)
        if (fingerprint->present && hasFingerprint(*path, *fingerprint)) RemoveFile(*path);
}

}  // namespace

PairSources PairSourcesToRead(const SaveFiles& files) {
    if (KindOfPath(files.journal) == PathKind::Missing) return {files.grid, files.parameters};
    const RecoveryPlan plan = planRecovery(files);
    if (plan.abandoned()) return {files.grid, files.parameters};
    return {plan.grid.source, plan.parameters.source};
}

RecoveryOutcome RecoverLockedPair(const SaveFiles& files) {
    if (KindOfPath(files.journal) == PathKind::Missing) return RecoveryOutcome::NothingToDo;
    const RecoveryPlan plan = planRecovery(files);
    if (!plan.journal) return RecoveryOutcome::NothingToDo;
    if (plan.abandoned()) {
        removeOwnFiles(files, *plan.journal);
        return RecoveryOutcome::Abandoned;
    }
    // The parameter file first, as the save does.
    if (!carryOut(plan.parameters, files.parameters) || !carryOut(plan.grid, files.grid))
        return RecoveryOutcome::Failed;
    removeOwnFiles(files, *plan.journal);
    return plan.journal->direction == SaveJournal::Direction::Forward ? RecoveryOutcome::Finished
                                                                      : RecoveryOutcome::RolledBack;
}

RecoveryOutcome RecoverInterruptedSave(const std::string& mapPath) {
    const SaveFiles files = SaveFilesFor(mapPath);
    if (KindOfPath(files.journal) == PathKind::Missing) return RecoveryOutcome::NothingToDo;
    const FileLock lock = LockFile(files.lock, PAIR_LOCK_WAIT_MILLISECONDS);
    if (!lock.held()) return RecoveryOutcome::Failed;
    return RecoverLockedPair(files);
}
