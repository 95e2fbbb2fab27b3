#include "recovery/recovery_keeper.h"

#include <new>

#include "recovery/recovery_copy.h"
#include "system/file_system.h"
#include "system/folder_listing.h"

namespace {

using Clock = std::chrono::steady_clock;

// The copy on disk follows the map: written while the map has unsaved
// changes, absent otherwise. A failed write leaves editing alone; the next
// order tries again.
void bringCopyUpToDate(RecoveryKeeper& keeper) {
    RecoveryWriter& writer = keeper.writer;
    writer.owed = false;
    if (writer.mapLost) return;
    if (!writer.unsaved) {
        RemoveFile(writer.copyPath);
    } else {
        if (!writer.copyLock.held() && MakeFolders(keeper.folder))
            writer.copyLock = LockRecoveryCopy(writer.copyPath);
        if (writer.copyLock.held())
            static_cast<void>(WriteRecoveryCopy(writer.copyPath, writer.map));
    }
    writer.nextWrite = Clock::now() + keeper.pauseBetweenWrites;
}

// Another map takes the place of the one the copy is of. New removes its
// copy; Open and an adopted copy leave it, up to date, and it stays this
// editor's until the end.
void moveToAnotherCopy(RecoveryKeeper& keeper, bool removeCopy) {
    RecoveryWriter& writer = keeper.writer;
    if (removeCopy) {
        RemoveFile(writer.copyPath);
        writer.copyLock.release();
        return;
    }
    if (writer.owed) bringCopyUpToDate(keeper);
    if (writer.copyLock.held()) writer.leftCopies.push_back(std::move(writer.copyLock));
}

void carryOut(RecoveryKeeper& keeper, RecoveryOrder& order) {
    RecoveryWriter& writer = keeper.writer;
    switch (order.kind) {
        case RecoveryOrder::Kind::Step:
            if (!writer.mapLost) ApplyStepTo(writer.map, order.step, order.direction);
            break;
        case RecoveryOrder::Kind::Rebase:
            writer.map = std::move(order.map);
            writer.mapLost = false;
            break;
        case RecoveryOrder::Kind::Saved:
            break;
        case RecoveryOrder::Kind::OtherMap:
            moveToAnotherCopy(keeper, order.removeCopy);
            writer.copyPath = RecoveryCopyPath(keeper.folder, keeper.instance, ++writer.copyNumber);
            writer.map = std::move(order.map);
            writer.mapLost = writer.map.rowWords == 0;  // it could not be packed
            writer.unsaved = order.unsaved;
            writer.owed = false;  // a map just opened needs no copy
            return;
        case RecoveryOrder::Kind::Adopt:
            moveToAnotherCopy(keeper, false);
            writer.copyPath = order.adopted.path;
            writer.copyLock = std::move(order.adopted.lock);
            writer.map = std::move(order.map);
            writer.mapLost = false;
            writer.unsaved = order.unsaved;
            writer.owed = false;  // the copy holds the map already
            return;
    }
    writer.unsaved = order.unsaved;
    writer.owed = true;
}

// Waits for orders, and between writes for the pause to end, so that a
// burst of steps costs one write; the last order is on disk within the
// pause and one write.
void keepCopies(RecoveryKeeper& keeper) {
    RecoveryWriter& writer = keeper.writer;
    for (;;) {
        std::deque<RecoveryOrder> orders;
        bool stopping = false;
        {
            std::unique_lock<std::mutex> lock(keeper.mutex);
            auto due = [&] {
                return !keeper.orders.empty() || keeper.stopping ||
                       (writer.owed && Clock::now() >= writer.nextWrite);
            };
            if (writer.owed)
                keeper.wake.wait_until(lock, writer.nextWrite, due);
            else
                keeper.wake.wait(lock, due);
            orders.swap(keeper.orders);
            stopping = keeper.stopping;
        }
        try {
            for (RecoveryOrder& order : orders) carryOut(keeper, order);
            if (writer.owed && (stopping || Clock::now() >= writer.nextWrite))
                bringCopyUpToDate(keeper);
        } catch (const std::bad_alloc&) {
            writer.mapLost = true;
            writer.owed = false;
            keeper.rebaseOwed = true;
        }
        if (stopping) {
            std::lock_guard<std::mutex> lock(keeper.mutex);
            if (keeper.orders.empty()) return;
        }
    }
}

void hand(RecoveryKeeper& keeper, RecoveryOrder order) {
    {
        std::lock_guard<std::mutex> lock(keeper.mutex);
        keeper.orders.push_back(std::move(order));
    }
    keeper.wake.notify_one();
}

// The whole map instead of a step that could not be handed over.
void rebase(RecoveryKeeper& keeper, const MapDocument& map, bool unsaved) {
    try {
        RecoveryOrder order;
        order.kind = RecoveryOrder::Kind::Rebase;
        order.unsaved = unsaved;
        order.map = PackMap(map);
        hand(keeper, std::move(order));
        keeper.rebaseOwed = false;
    } catch (const std::bad_alloc&) {
        keeper.rebaseOwed = true;
    }
}

}  // namespace

RecoveryKeeper::~RecoveryKeeper() { StopRecoveryKeeper(*this); }

void StartRecoveryKeeper(RecoveryKeeper& keeper, const std::string& folder,
                         const std::string& instance, const MapDocument& map) {
    keeper.folder = folder;
    keeper.instance = instance;
    keeper.writer.copyPath = RecoveryCopyPath(folder, instance, keeper.writer.copyNumber);
    keeper.writer.map = PackMap(map);
    keeper.thread = std::thread(keepCopies, std::ref(keeper));
}

bool IsKeepingRecovery(const RecoveryKeeper& keeper) { return keeper.thread.joinable(); }

void FollowStep(RecoveryKeeper& keeper, const MapDocument& map, const EditStep& step,
                StepDirection direction, bool unsaved) {
    if (!IsKeepingRecovery(keeper)) return;
    if (keeper.rebaseOwed) return rebase(keeper, map, unsaved);
    try {
        RecoveryOrder order;
        order.kind = RecoveryOrder::Kind::Step;
        order.unsaved = unsaved;
        order.step = step;  // finished masks: no lookup to copy
        order.direction = direction;
        hand(keeper, std::move(order));
    } catch (const std::bad_alloc&) {
        rebase(keeper, map, unsaved);
    }
}

void FollowUntrackedChange(RecoveryKeeper& keeper, const MapDocument& map) {
    if (IsKeepingRecovery(keeper)) rebase(keeper, map, true);
}

void FollowSave(RecoveryKeeper& keeper) {
    if (!IsKeepingRecovery(keeper)) return;
    try {
        RecoveryOrder order;
        order.kind = RecoveryOrder::Kind::Saved;
        hand(keeper, std::move(order));
    } catch (const std::bad_alloc&) {
    }
}

// The copy moves on even where the map cannot be packed, so that the next
// steps, or the whole map after them, never go into the old map's copy.
void FollowOtherMap(RecoveryKeeper& keeper, const MapDocument& map, bool removeCopy) {
    if (!IsKeepingRecovery(keeper)) return;
    try {
        RecoveryOrder order;
        order.kind = RecoveryOrder::Kind::OtherMap;
        order.removeCopy = removeCopy;
        try {
            order.map = PackMap(map);
            keeper.rebaseOwed = false;
        } catch (const std::bad_alloc&) {
            keeper.rebaseOwed = true;
        }
        hand(keeper, std::move(order));
    } catch (const std::bad_alloc&) {
        keeper.rebaseOwed = true;
    }
}

void FollowAdoptedCopy(RecoveryKeeper& keeper, PackedMap map, RecoveryOffer offer) {
    if (!IsKeepingRecovery(keeper)) return;
    RecoveryOrder order;
    order.kind = RecoveryOrder::Kind::Adopt;
    order.unsaved = true;
    order.map = std::move(map);
    order.adopted = std::move(offer);
    hand(keeper, std::move(order));
}

void StopRecoveryKeeper(RecoveryKeeper& keeper) {
    if (!IsKeepingRecovery(keeper)) return;
    {
        std::lock_guard<std::mutex> lock(keeper.mutex);
        keeper.stopping = true;
    }
    keeper.wake.notify_one();
    keeper.thread.join();
}
