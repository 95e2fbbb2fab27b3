#include "pair_files/pair_recovery.h"

#include <optional>

#include "pair_files/save_journal.h"
#include "system/content_hash.h"
#include "system/file_lock.h"
#include "system/file_system.h"

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

std::string newFileOf(const std::string& target, const JournalTarget& record) {
    return PathBeside(target, record.newName);
}

std::string oldFileOf(const std::string& target, const JournalTarget& record) {
    return PathBeside(target, record.oldName);
}

// Going forward, the target must end up as written, from the new side file;
// going back, as found, from the old file kept aside. The target itself must
// be one of the two versions the save knows, or a file it was rewriting in
// place when it stopped. A save that was still preparing changed no target.
TargetPlan planTarget(SaveJournal::Direction direction, const JournalTarget& record,
                      const std::string& target) {
    if (direction == SaveJournal::Direction::Preparing) return {TargetAction::Keep, target};
    const bool forward = direction == SaveJournal::Direction::Forward;
    const FileFingerprint& wanted = forward ? record.written : record.found;
    const FileFingerprint& other = forward ? record.found : record.written;
    const std::string source = forward ? newFileOf(target, record) : oldFileOf(target, record);
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
    plan.grid = planTarget(journal.direction, journal.grid, files.grid);
    plan.parameters = planTarget(journal.direction, journal.parameters, files.parameters);
    return plan;
}

// A target that cannot be replaced by a rename (another program holds it
// open) is rewritten in place. The journal says so first, since a target
// cut short by a crash then matches neither version; and a side file that
// is a second name of the target becomes a file of its own first, so that
// the copy never writes through to it.
bool rewriteInPlace(const SaveFiles& files, SaveJournal& journal, JournalTarget& record,
                    const std::string& target, const std::string& source) {
    for (const std::string& side : {newFileOf(target, record), oldFileOf(target, record)}) {
        if (!IsSameFile(side, target)) continue;
        const bool separated = ReplaceFileWith(side, [&](FILE* copy) {
                                   return WriteFileContent(target, copy).ok();
                               }).ok();
        if (!separated) return false;
    }
    record.rewrittenInPlace = true;
    return WriteSaveJournal(files, journal).ok() && CopyFileContent(source, target).ok();
}

bool carryOut(const TargetPlan& plan, const std::string& target, const SaveFiles& files,
              SaveJournal& journal, JournalTarget& record) {
    switch (plan.action) {
        case TargetAction::Keep:
            return true;
        case TargetAction::Install:
            return MoveFileOver(plan.source, target).ok() ||
                   rewriteInPlace(files, journal, record, target, plan.source);
        case TargetAction::Remove:
            RemoveFile(target);
            return KindOfPath(target) == PathKind::Missing;
        case TargetAction::Conflict:
            break;
    }
    return false;
}

// Removes the side files the journal names, then the journal. Once the new
// files were complete, only side files that are still exactly what the
// journal recorded go: anything else beside the pair is not the save's own.
// A save that was still preparing had made nothing but those files.
void removeOwnFiles(const SaveFiles& files, const SaveJournal& journal) {
    const bool preparing = journal.direction == SaveJournal::Direction::Preparing;
    const std::pair<std::string, const FileFingerprint*> sides[] = {
        {newFileOf(files.grid, journal.grid), &journal.grid.written},
        {newFileOf(files.parameters, journal.parameters), &journal.parameters.written},
        {oldFileOf(files.grid, journal.grid), &journal.grid.found},
        {oldFileOf(files.parameters, journal.parameters), &journal.parameters.found},
    };
    for (const auto& [path, fingerprint] : sides) {
        if (path == files.grid || path == files.parameters || FileNameOf(path).empty()) continue;
        if (preparing || (fingerprint->present && hasFingerprint(path, *fingerprint)))
            RemoveFile(path);
    }
    RemoveSaveJournal(files);
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
    RecoveryPlan plan = planRecovery(files);
    if (!plan.journal) return RecoveryOutcome::NothingToDo;
    SaveJournal& journal = *plan.journal;
    if (plan.abandoned() || journal.direction == SaveJournal::Direction::Preparing) {
        removeOwnFiles(files, journal);
        return RecoveryOutcome::Abandoned;
    }
    // The parameter file first, as the save does.
    if (!carryOut(plan.parameters, files.parameters, files, journal, journal.parameters) ||
        !carryOut(plan.grid, files.grid, files, journal, journal.grid))
        return RecoveryOutcome::Failed;
    removeOwnFiles(files, journal);
    return journal.direction == SaveJournal::Direction::Forward ? RecoveryOutcome::Finished
                                                                : RecoveryOutcome::RolledBack;
}

RecoveryOutcome RecoverInterruptedSave(const std::string& mapPath) {
    const SaveFiles files = SaveFilesFor(mapPath);
    if (KindOfPath(files.journal) == PathKind::Missing) return RecoveryOutcome::NothingToDo;
    const FileLock lock = LockFile(files.lock, PAIR_LOCK_WAIT_MILLISECONDS);
    if (!lock.held()) return RecoveryOutcome::Failed;
    return RecoverLockedPair(files);
}
