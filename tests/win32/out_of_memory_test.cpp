// Memory running out inside the window's handlers: the user is told, the map
// stays whole and the program goes on. Allocations are made to fail on the
// window's thread only, from the moment a watcher presses a dialog's button.
#include <gtest/gtest.h>

#include <atomic>
#include <new>

#include "app/file_commands_win32.h"
#include "core/test_support.h"
#include "document/cell_shapes.h"
#include "pair_files/map_file_pair.h"
#include "resources/resource.h"
#include "win32/window_fixture.h"

namespace {

std::atomic<DWORD> threadWithoutMemory{0};
// On that thread, how many allocations still succeed first.
std::atomic<long> allocationsLeft{0};
// What operator new holds now, and the most it held since the peak was reset.
std::atomic<long long> liveBytes{0}, peakBytes{0};

void resetPeak() { peakBytes = liveBytes.load(); }

}  // namespace

void* operator new(std::size_t size) {
    if (threadWithoutMemory != 0 && GetCurrentThreadId() == threadWithoutMemory &&
        allocationsLeft-- <= 0)
        throw std::bad_alloc();
    void* memory = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (!memory) throw std::bad_alloc();
    const long long now = liveBytes +=
        static_cast<long long>(HeapSize(GetProcessHeap(), 0, memory));
    for (long long peak = peakBytes; now > peak && !peakBytes.compare_exchange_weak(peak, now);) {
    }
    return memory;
}
void operator delete(void* memory) noexcept {
    if (!memory) return;
    liveBytes -= static_cast<long long>(HeapSize(GetProcessHeap(), 0, memory));
    HeapFree(GetProcessHeap(), 0, memory);
}
void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }

namespace {

const std::string ERROR_TITLE = ansi(u8"エラー");
const std::string OUT_OF_MEMORY = ansi(u8"メモリが足りないため、操作を完了できませんでした。");

class OutOfMemoryTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);
        fileDialogPath[0] = '\0';
        currentMap.setCell(3, 4, 1);
        before = currentMap;
    }
    // Should the box never come, the test's own checks need memory again.
    void command(int id) {
        SendMessageA(window, WM_COMMAND, id, 0);
        threadWithoutMemory = 0;
    }
    // Actions of a watcher: allocations fail from the first, and work again
    // once the error box is there.
    std::function<void(HWND)> starveThen(std::function<void(HWND)> action) {
        return [this, action](HWND dialog) {
            threadWithoutMemory = windowThread;
            action(dialog);
        };
    }
    static void closeErrorBox(HWND box) {
        threadWithoutMemory = 0;
        PressButton(box, IDOK);
    }
    void expectOneErrorBoxAndTheMapAsBefore(const DialogWatcher& watcher, size_t boxIndex) {
        ASSERT_GT(watcher.dialogs().size(), boxIndex);
        EXPECT_EQ(watcher.dialogs()[boxIndex].title, ERROR_TITLE);
        EXPECT_EQ(watcher.dialogs()[boxIndex].text, OUT_OF_MEMORY);
        EXPECT_TRUE(currentMap == before);
        EXPECT_TRUE(IsWindow(window));
    }
    HWND window = nullptr;
    DWORD windowThread = GetCurrentThreadId();
    MapDocument before;
    TempFolder folder;
};

TEST_F(OutOfMemoryTest, AnOpenThatRunsOutOfMemoryKeepsTheMap) {
    MapDocument other;
    other.resizeGrid(70, 60);
    const std::string path = folder.file("other.map");
    ASSERT_TRUE(WriteMapFilePairFiles(path, other));
    DialogWatcher watcher(
        {starveThen([&](HWND dialog) { ChooseFile(dialog, path); }), closeErrorBox});
    command(IDM_OPEN);
    ASSERT_TRUE(watcher.handled());
    expectOneErrorBoxAndTheMapAsBefore(watcher, 1);
}

TEST_F(OutOfMemoryTest, AResizeThatRunsOutOfMemoryKeepsTheMapAndTheDialogOpen) {
    DialogWatcher watcher({starveThen([](HWND dialog) {
                               SetDlgItemTextA(dialog, IDC_SIZE_X, "5000");
                               SetDlgItemTextA(dialog, IDC_NAME, "renamed");
                               PressButton(dialog, IDOK);
                           }),
                           closeErrorBox, [](HWND dialog) { PressButton(dialog, IDCANCEL); }});
    command(IDM_PARAMETERS);
    ASSERT_TRUE(watcher.handled());
    expectOneErrorBoxAndTheMapAsBefore(watcher, 1);
}

// Full rows alternating with rows where every other cell is set: a fill of
// the set cells meets a run on every other cell of half the rows.
MapDocument comb(int side) {
    MapDocument map;
    map.cells = CellGrid(side, CellRow(side, 1));
    for (int y = 1; y < side; y += 2)
        for (int x = 1; x < side; x += 2) map.cells[y][x] = 0;
    return map;
}

TEST(FillWithinMemory, AFillOfACombOfTheLargestMapCostsAtMost64MBBeyondTheMap) {
    MapDocument map = comb(10000);
    resetPeak();
    const long long before = liveBytes;
    CellMasks changed;
    FillRegion(map, {0, 0}, 0, changed);
    EXPECT_LE(peakBytes - before, 64LL << 20) << "bytes beyond the map";
    bool allClear = true;
    for (int y = 0; y < 10000; y += 999)
        for (int x = 0; x < 10000; ++x) allClear = allClear && map.cells[y][x] == 0;
    EXPECT_TRUE(allClear) << "the fill did not reach every set cell";
}

TEST(FillWithinMemory, AFillThatRunsOutOfMemoryChangesNothing) {
    const MapDocument before = comb(300);
    int failed = 0;
    for (long allowed : {0L, 1L, 3L, 10L, 30L, 100L, 300L}) {
        MapDocument map = before;
        CellMasks changed;
        allocationsLeft = allowed;
        threadWithoutMemory = GetCurrentThreadId();
        try {
            FillRegion(map, {0, 0}, 0, changed, 16);
        } catch (const std::bad_alloc&) {
            ++failed;
        }
        threadWithoutMemory = 0;
        if (failed == 0) continue;
        EXPECT_TRUE(map == before) << "a fill stopped after " << allowed << " allocations";
        EXPECT_TRUE(changed.blockKeys.empty());
        failed = 0;
    }
}

}  // namespace
