#include "recovery/recovery_folder.h"

#include <algorithm>
#include <cstring>

#include "system/file_system.h"
#include "system/folder_listing.h"

namespace {

constexpr char COPY_SUFFIX[] = ".kalmia-recovery";
constexpr char LOCK_SUFFIX[] = ".lock";
// The names a copy is written under before it is renamed in (see
// ReplaceFileWith).
constexpr int SIDE_FILE_NAMES = 100;

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string lockPathOf(const std::string& copyPath) { return copyPath + LOCK_SUFFIX; }

// Only the editor holding the copy's lock writes these names.
void removeHalfWrittenCopies(const std::string& copyPath) {
    for (int number = 1; number <= SIDE_FILE_NAMES; ++number) {
        const std::string beside = copyPath + "~" + std::to_string(number);
        if (KindOfPath(beside) == PathKind::File) RemoveFile(beside);
    }
}

// A lock left by an editor that is gone, whose copy is gone too: taking it
// and letting it go removes it.
void removeLeftLock(const std::string& lockPath) {
    const std::string copyPath = lockPath.substr(0, lockPath.size() - std::strlen(LOCK_SUFFIX));
    if (KindOfPath(copyPath) != PathKind::Missing) return;
    FileLock lock = LockFile(lockPath, 0);
    if (lock.held()) removeHalfWrittenCopies(copyPath);
}

}  // namespace

std::string RecoveryCopyPath(const std::string& folder, const std::string& instance, int number) {
    return JoinPath(folder, instance + "-" + std::to_string(number) + COPY_SUFFIX);
}

FileLock LockRecoveryCopy(const std::string& copyPath) {
    FileLock lock = LockFile(lockPathOf(copyPath), 0);
    if (lock.held()) removeHalfWrittenCopies(copyPath);
    return lock;
}

std::vector<RecoveryOffer> FindRecoveryOffers(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::vector<RecoveryOffer> offers;
    if (!ListFolder(folder, entries)) return offers;
    for (const FolderEntry& entry : entries) {
        if (entry.isFolder) continue;
        const std::string path = JoinPath(folder, entry.name);
        if (endsWith(entry.name, std::string(COPY_SUFFIX) + LOCK_SUFFIX)) {
            removeLeftLock(path);
            continue;
        }
        if (!endsWith(entry.name, COPY_SUFFIX)) continue;
        FileLock lock = LockRecoveryCopy(path);
        if (!lock.held()) continue;  // its editor runs
        offers.push_back({path, std::move(lock), StampOfFile(path).modified});
    }
    std::stable_sort(
        offers.begin(), offers.end(),
        [](const RecoveryOffer& a, const RecoveryOffer& b) { return a.modified > b.modified; });
    return offers;
}

void SetAsideRecoveryCopy(const std::string& copyPath) {
    for (int number = 1; number <= SIDE_FILE_NAMES; ++number) {
        const std::string aside =
            copyPath + ".unreadable" + (number > 1 ? std::to_string(number) : "");
        if (KindOfPath(aside) != PathKind::Missing) continue;
        static_cast<void>(MoveFileOver(copyPath, aside));
        return;
    }
}

void RemoveRecoveryCopy(RecoveryOffer& offer) {
    RemoveFile(offer.path);
    offer.lock.release();
}
