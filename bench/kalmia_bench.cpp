// Native benchmarks of the core at the map sizes a user may reach, with the
// literal algorithms and the raw cost of the hardware measured beside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include <unistd.h>

#include "app/mouse_editing.h"
#include "app/status_bar.h"
#include "bench/map_fixtures.h"
#include "bench/reference_algorithms.h"
#include "recovery/recovery_copy.h"
#include "recovery/recovery_keeper.h"
#include "tests/core/mouse_editing_reset.h"
#include "view/map_view.h"
#include "view/overview.h"
#include "xml/xml_loading.h"

namespace {

const std::vector<long> EDGES = {50, 1000, 3000, 10000};

std::string BenchFolder() {
    static const std::string folder = [] {
        const char* chosen = std::getenv("KALMIA_BENCH_DIR");
        std::string path = chosen ? chosen : "build/bench-files";
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// The far corner: the last position the scroll bars allow at this client size.
std::pair<int, int> FarCorner(int edge) {
    return {std::max(0, edge + 2 - FRAME_WIDTH / 8), std::max(0, edge + 2 - FRAME_HEIGHT / 8)};
}

template <bool literal>
void BM_Compose(benchmark::State& state) {
    const int edge = state.range(0);
    const bool far = state.range(1);
    const MapDocument& document = BenchmarkMap(edge);
    const auto [h, v] = far ? FarCorner(edge) : std::make_pair(0, 0);
    ViewCanvas canvas(FRAME_WIDTH, FRAME_HEIGHT);
    for (auto _ : state) {
        if (literal) {
            const CellGrid copy = document.copyCells();  // the copy every paint took
            DrawMapViewLiterally(canvas, h, v, copy);
        } else {
            DrawMapView(canvas, h, v, document.cells);
        }
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
    state.counters["cells"] = double(edge) * edge;
}

void BM_ComposeFrame(benchmark::State& state) { BM_Compose<false>(state); }
BENCHMARK(BM_ComposeFrame)->ArgsProduct({EDGES, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_ComposeFrameLiterally(benchmark::State& state) { BM_Compose<true>(state); }
BENCHMARK(BM_ComposeFrameLiterally)
    ->ArgsProduct({EDGES, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

void BM_MemsetFrame(benchmark::State& state) {
    std::vector<std::uint32_t> pixels(size_t(FRAME_WIDTH) * FRAME_HEIGHT);
    for (auto _ : state) {
        std::memset(pixels.data(), 0x80, pixels.size() * 4);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetFrame)->Unit(benchmark::kMillisecond);

// A press or a drag step, from the event to the finished frame.
void BM_MouseEdit(benchmark::State& state) {
    const int edge = state.range(0);
    const bool drag = state.range(1);
    MapDocument document = BenchmarkMap(edge);
    const auto [h, v] = FarCorner(edge);
    ViewCanvas canvas(FRAME_WIDTH, FRAME_HEIGHT);
    EditingState editing;
    ForgetMouseEditing();
    HandleMouseEvent(MouseEvent::LeftDown, {h + 3, v + 3}, document, editing);
    int step = 0;
    for (auto _ : state) {
        const CellPosition cell{h + 3 + step % 200, v + 3 + step % 100};
        ++step;
        if (drag) {
            HandleMouseEvent(MouseEvent::Move, cell, document, editing);
        } else {
            HandleMouseEvent(MouseEvent::LeftUp, cell, document, editing);
            HandleMouseEvent(MouseEvent::LeftDown, cell, document, editing);
        }
        DrawMapView(canvas, h, v, document.cells);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
    ForgetMouseEditing();
}
BENCHMARK(BM_MouseEdit)->ArgsProduct({EDGES, {0, 1}})->Unit(benchmark::kMillisecond);

// The drag step as it was before strokes were recorded for undo: the same
// line of cells set directly, and the same frame.
void BM_DragStepUnrecorded(benchmark::State& state) {
    const int edge = state.range(0);
    MapDocument document = BenchmarkMap(edge);
    const auto [h, v] = FarCorner(edge);
    ViewCanvas canvas(FRAME_WIDTH, FRAME_HEIGHT);
    CellPosition previous{h + 3, v + 3};
    int step = 0;
    for (auto _ : state) {
        const CellPosition cell{h + 3 + step % 200, v + 3 + step % 100};
        ++step;
        PaintLineUnrecorded(previous, cell, document);
        previous = cell;
        DrawMapView(canvas, h, v, document.cells);
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_DragStepUnrecorded)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

void BM_ResizeGrow(benchmark::State& state) {
    const int edge = state.range(0);
    for (auto _ : state) {
        MapDocument document;
        document.resizeGrid(edge, edge);
        benchmark::DoNotOptimize(document.cells.back().back());
    }
}
BENCHMARK(BM_ResizeGrow)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ResizeShrink(benchmark::State& state) {
    const int edge = state.range(0);
    for (auto _ : state) {
        state.PauseTiming();
        MapDocument document = BenchmarkMap(edge);
        state.ResumeTiming();
        document.resizeGrid(50, 50);  // the freeing of the cut cells counts too
        benchmark::DoNotOptimize(document.cells.back().back());
    }
}
BENCHMARK(BM_ResizeShrink)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The floor that the grid's layout (a double-ended queue of rows, each a
// double-ended queue of one-byte cells) sets for anything that builds a whole
// grid: making one of clear cells.
void BM_BuildClearGrid(benchmark::State& state) {
    const size_t edge = state.range(0);
    for (auto _ : state) {
        CellGrid grid;
        for (size_t y = 0; y < edge; ++y) grid.emplace_back(edge, 0);
        benchmark::DoNotOptimize(grid.back().back());
    }
}
BENCHMARK(BM_BuildClearGrid)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

void BM_CopyCells(benchmark::State& state) {
    const MapDocument& document = BenchmarkMap(state.range(0));
    for (auto _ : state) {
        CellGrid copy = document.copyCells();
        benchmark::DoNotOptimize(copy.back().back());
    }
}
BENCHMARK(BM_CopyCells)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

void BM_OpenPair(benchmark::State& state) {
    const std::string path = BenchmarkPair(BenchFolder(), state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<MapDocument>();
        state.ResumeTiming();
        if (!ReadMapFilePair(path, *document)) state.SkipWithError("open failed");
        benchmark::DoNotOptimize(document->cells.back().back());
        // Freeing the map just read is not part of opening it.
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenPair)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

// Nine levels of ten references each: a billion "lol"s if it were expanded.
void BM_RefuseBillionLaughs(benchmark::State& state) {
    std::string document = "<!DOCTYPE root [<!ENTITY lol0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        document += "<!ENTITY lol" + std::to_string(level) + " \"";
        for (int k = 0; k < 10; ++k) document += "&lol" + std::to_string(level - 1) + ";";
        document += "\">";
    }
    document += "]><root><name>&lol9;</name></root>";
    for (auto _ : state) {
        if (ReadXMLBytes(document)) state.SkipWithError("expanded");
    }
}
BENCHMARK(BM_RefuseBillionLaughs)->Unit(benchmark::kMillisecond);

void BM_OpenGridByCharacter(benchmark::State& state) {
    const int edge = state.range(0);
    const std::string path = BenchmarkPair(BenchFolder(), edge);
    for (auto _ : state) {
        CellGrid grid = ReadGridFileByCharacter(path, edge, edge);
        benchmark::DoNotOptimize(grid.back().back());
    }
}
BENCHMARK(BM_OpenGridByCharacter)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

void BM_ReadRawBytes(benchmark::State& state) {
    const std::string path = BenchmarkPair(BenchFolder(), state.range(0));
    const size_t size = std::filesystem::file_size(path);
    std::vector<char> bytes(size);  // allocated once: the copy alone is measured
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, size, file));
        std::fclose(file);
    }
}
BENCHMARK(BM_ReadRawBytes)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

void BM_SavePair(benchmark::State& state) {
    const int edge = state.range(0);
    const MapDocument& document = BenchmarkMap(edge);
    const std::string path = BenchFolder() + "/saved" + std::to_string(edge) + ".map";
    for (auto _ : state)
        if (!WriteMapFilePairFiles(path, document)) state.SkipWithError("save failed");
}
BENCHMARK(BM_SavePair)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

void BM_SaveGridByCharacter(benchmark::State& state) {
    const int edge = state.range(0);
    const MapDocument& document = BenchmarkMap(edge);
    const std::string path = BenchFolder() + "/literal" + std::to_string(edge) + ".map";
    for (auto _ : state) WriteGridFileByCharacter(path, document.cells);
}
BENCHMARK(BM_SaveGridByCharacter)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

// The raw copy of a grid file's bytes with one fwrite; made durable, followed
// by fsync as a save does for its files: the floor of any save that survives
// a power cut.
void WriteRawBytes(benchmark::State& state, const char* name, bool durable) {
    const int edge = state.range(0);
    const std::string bytes(size_t(edge) * (edge + 2), '0');
    const std::string path = BenchFolder() + "/" + name + std::to_string(edge) + ".map";
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), file));
        if (durable && std::fflush(file) == 0) fsync(fileno(file));
        std::fclose(file);
    }
}

void BM_WriteRawBytes(benchmark::State& state) { WriteRawBytes(state, "raw", false); }
BENCHMARK(BM_WriteRawBytes)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

void BM_WriteRawBytesDurably(benchmark::State& state) { WriteRawBytes(state, "durable", true); }
BENCHMARK(BM_WriteRawBytesDurably)->ArgsProduct({EDGES})->Unit(benchmark::kMillisecond);

// Undo, then redo, of a whole-map step on the largest map; the bytes the
// history keeps for it, a one-cell stroke and a full-row stroke.
void BM_UndoRedoWholeMap(benchmark::State& state) {
    const int edge = state.range(0);
    const bool redo = state.range(1);
    MapDocument document = BenchmarkMap(edge);
    EditHistory history;
    RecordStep(history, WholeMapStep(edge));
    state.counters["step_bytes"] = static_cast<double>(history.bytes);
    for (auto _ : state) {
        if (redo) {
            state.PauseTiming();
            Undo(history, document);
            state.ResumeTiming();
            Redo(history, document);
        } else {
            Undo(history, document);
            state.PauseTiming();
            Redo(history, document);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_UndoRedoWholeMap)->ArgsProduct({{10000}, {0, 1}})->Unit(benchmark::kMillisecond);

void BM_StrokeBytes(benchmark::State& state) {
    const int edge = state.range(0);
    MapDocument document = BenchmarkMap(edge);
    for (CellRow& row : document.cells) std::fill(row.begin(), row.end(), 0);
    for (auto _ : state) {
        EditingState editing;
        EditHistory& history = editing.history;
        ForgetMouseEditing();
        HandleMouseEvent(MouseEvent::LeftDown, {5, 5}, document, editing);
        HandleMouseEvent(MouseEvent::LeftUp, {5, 5}, document, editing);
        state.counters["one_cell_bytes"] = static_cast<double>(history.bytes);
        HandleMouseEvent(MouseEvent::LeftDown, {0, 7}, document, editing);
        HandleMouseEvent(MouseEvent::Move, {edge - 1, 7}, document, editing);
        HandleMouseEvent(MouseEvent::LeftUp, {edge - 1, 7}, document, editing);
        state.counters["full_row_bytes"] =
            static_cast<double>(history.bytes) - state.counters["one_cell_bytes"];
        Undo(history, document);
        Undo(history, document);
    }
    ForgetMouseEditing();
}
BENCHMARK(BM_StrokeBytes)->Arg(10000)->Iterations(3)->Unit(benchmark::kMillisecond);

// The fill tool on a clear map: every cell is reached and recorded for undo.
void BM_FillWholeMap(benchmark::State& state) {
    const int edge = state.range(0);
    MapDocument document;
    document.resizeGrid(edge, edge);
    for (auto _ : state) {
        EditStep step;
        FillRegion(document, {edge / 2, edge / 2}, 1, step.cells);
        FinishMasks(step.cells);
        state.PauseTiming();
        ApplyMasks(step.cells, document.cells);  // clear again
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FillWholeMap)->Arg(10000)->Unit(benchmark::kMillisecond);

// The line tool across 10000 cells, recorded for undo.
void BM_Line10000Cells(benchmark::State& state) {
    MapDocument document;
    document.resizeGrid(10000, 10000);
    std::uint8_t value = 1;
    for (auto _ : state) {
        EditStep step;
        PaintLine(document, {0, 0}, {9999, 4321}, value, step.cells);
        FinishMasks(step.cells);
        value ^= 1;
    }
}
BENCHMARK(BM_Line10000Cells)->Unit(benchmark::kMillisecond);

// The overview of the largest map: the first count after Open, then one
// update after a stroke (its counts and a new picture of the window).
void BM_OverviewFirst(benchmark::State& state) {
    const MapDocument& document = BenchmarkMap(state.range(0));
    for (auto _ : state) {
        OverviewCounts overview;
        CountOverview(overview, document.cells, 300, 300);
        ViewCanvas canvas(300, 300);
        DrawOverview(canvas.rows(), overview, {0, 0, 239, 134});
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_OverviewFirst)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OverviewAfterAnEdit(benchmark::State& state) {
    MapDocument document = BenchmarkMap(state.range(0));
    OverviewCounts overview;
    CountOverview(overview, document.cells, 300, 300);
    ViewCanvas canvas(300, 300);
    std::uint8_t value = 1;
    for (auto _ : state) {
        CellMasks stroke;  // a line of 8991 cells across the map
        PaintLine(document, {10, 10}, {9000, 2000}, value ^= 1, stroke);
        NoteFlippedCells(overview, stroke, document.cells);
        DrawOverview(canvas.rows(), overview, {0, 0, 239, 134});
        benchmark::DoNotOptimize(canvas.pixels.data());
    }
}
BENCHMARK(BM_OverviewAfterAnEdit)->Arg(10000)->Unit(benchmark::kMillisecond);

// The status bar's count of set cells after a step that changed every cell,
// from the step's masks.
void BM_StatusCountAfterWholeMapStep(benchmark::State& state) {
    const int edge = state.range(0);
    const MapDocument& map = BenchmarkMap(edge);
    const EditStep step = WholeMapStep(edge);
    for (auto _ : state)
        benchmark::DoNotOptimize(SetCellsAfterStep(0, step, StepDirection::Forward, map.cells));
}
BENCHMARK(BM_StatusCountAfterWholeMapStep)->Arg(10000)->Unit(benchmark::kMillisecond);

// The recovery copy. What a step costs the window's thread: handing the
// step's masks to the keeper (a one-cell stroke, a step that changed every
// cell), with the keeper writing copies meanwhile on its own thread.
void BM_RecoveryFollowStep(benchmark::State& state) {
    const int edge = state.range(0);
    const MapDocument& map = BenchmarkMap(edge);
    EditStep step;
    if (state.range(1)) {
        step = WholeMapStep(edge);
    } else {
        FlipCell(step.cells, 5, 5);
        FinishMasks(step.cells);
    }
    RecoveryKeeper keeper;
    std::filesystem::remove_all(BenchFolder() + "/recovery");
    StartRecoveryKeeper(keeper, BenchFolder() + "/recovery", "bench", map);
    bool forward = true;
    for (auto _ : state) {
        FollowStep(keeper, map, step, forward ? StepDirection::Forward : StepDirection::Backward,
                   true);
        forward = !forward;
    }
    StopRecoveryKeeper(keeper);
}
BENCHMARK(BM_RecoveryFollowStep)->ArgsProduct({{10000}, {0, 1}})->Unit(benchmark::kMillisecond);

// The whole map at one bit a cell: once when New or Open puts a map in place.
void BM_RecoveryPackMap(benchmark::State& state) {
    const MapDocument& map = BenchmarkMap(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(PackMap(map));
}
BENCHMARK(BM_RecoveryPackMap)->Arg(10000)->Unit(benchmark::kMillisecond);

// The keeper's thread writing the copy (beside, flushed, renamed in), and
// the start reading it back into the editor's map after Yes.
void BM_RecoveryWriteCopy(benchmark::State& state) {
    const PackedMap packed = PackMap(BenchmarkMap(state.range(0)));
    const std::string path = BenchFolder() + "/bench.kalmia-recovery";
    for (auto _ : state)
        if (!WriteRecoveryCopy(path, packed)) state.SkipWithError("cannot write the copy");
    state.counters["copy_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_RecoveryWriteCopy)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RecoveryReadCopy(benchmark::State& state) {
    const std::string path = BenchFolder() + "/bench-read.kalmia-recovery";
    if (!WriteRecoveryCopy(path, PackMap(BenchmarkMap(state.range(0)))))
        return state.SkipWithError("cannot write the copy");
    for (auto _ : state) {
        Result<PackedMap> read = ReadRecoveryCopy(path);
        if (!read) return state.SkipWithError("cannot read the copy");
        benchmark::DoNotOptimize(UnpackMap(read.value()));
    }
}
BENCHMARK(BM_RecoveryReadCopy)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
