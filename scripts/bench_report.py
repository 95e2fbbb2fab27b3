#!/usr/bin/env python3
"""Turns the benchmark output into docs/performance.md and docs/performance.png.

usage: bench_report.py BENCH_OUTPUT_FOLDER DOCS_FOLDER
"""
import csv
import json
import os
import subprocess
import sys

EDGES = [50, 1000, 3000, 10000]


def native_medians(path):
    """{benchmark name without _median: real time in ms}"""
    data = json.load(open(path))
    medians = {}
    for row in data["benchmarks"]:
        if row.get("aggregate_name") != "median":
            continue
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[row["time_unit"]]
        # Drop settings such as "/min_time:0.500" from the name.
        name = "/".join(part for part in row["run_name"].split("/") if ":" not in part)
        medians[name] = row["real_time"] * scale
    return medians


def native_counters(path):
    """{benchmark name without _median: its counters (bytes and the like)}"""
    counters = {}
    for row in json.load(open(path))["benchmarks"]:
        name = "/".join(part for part in row["run_name"].split("/") if ":" not in part)
        if row.get("aggregate_name") in (None, "median"):
            counters[name] = {key: value for key, value in row.items() if key.endswith("_bytes")}
    return counters


def wine_medians(path):
    figures = {}
    for name, edge, variant, ms in csv.reader(open(path)):
        figures[(name, int(edge), variant)] = float(ms)
    return figures


def fmt(ms):
    if ms is None:
        return "–"
    return f"{ms:.3f}" if ms < 1 else f"{ms:.1f}" if ms < 100 else f"{ms:.0f}"


def ratio(a, b):
    return "–" if a is None or b is None or b == 0 else f"{a / b:.2f}"


def plot(native, wine, docs):
    data = os.path.join(docs, "performance.dat")
    with open(data, "w") as out:
        out.write("# cells paint_ours paint_literal open_ours open_literal open_raw save_ours save_literal save_raw\n")
        for e in EDGES:
            row = [e * e,
                   wine.get(("paint", e, "origin")), wine.get(("paint_literal", e, "origin")),
                   native.get(f"BM_OpenPair/{e}"), native.get(f"BM_OpenGridByCharacter/{e}"),
                   native.get(f"BM_ReadRawBytes/{e}"),
                   native.get(f"BM_SavePair/{e}"), native.get(f"BM_SaveGridByCharacter/{e}"),
                   native.get(f"BM_WriteRawBytes/{e}")]
            out.write(" ".join("NaN" if v is None else str(v) for v in row) + "\n")
    script = f"""
set terminal pngcairo size 1000,650 font ',11'
set output '{os.path.join(docs, "performance.png")}'
set logscale xy
set xlabel 'cells in the map'
set ylabel 'milliseconds (median)'
set key outside right
set grid
set title 'Kalmia: time against map size (paint under Wine at 1920 x 1080; open and save native)'
plot '{data}' using 1:2 with linespoints lw 2 title 'paint (ours)', \\
     '' using 1:3 with linespoints dt 2 title 'paint (literal: brush per cell)', \\
     '' using 1:4 with linespoints lw 2 title 'open (ours)', \\
     '' using 1:5 with linespoints dt 2 title 'open grid (char per call)', \\
     '' using 1:6 with linespoints dt 3 title 'read raw bytes (one fread)', \\
     '' using 1:7 with linespoints lw 2 title 'save (ours)', \\
     '' using 1:8 with linespoints dt 2 title 'save grid (char per call)', \\
     '' using 1:9 with linespoints dt 3 title 'write raw bytes (one fwrite)'
"""
    terminal = subprocess.run(["gnuplot", "-e", "set terminal"], capture_output=True, text=True)
    if "pngcairo" not in terminal.stdout + terminal.stderr:
        script = script.replace("pngcairo size 1000,650 font ',11'", "png size 1000,650")
    subprocess.run(["gnuplot"], input=script, text=True, check=True)
    os.remove(data)


def main(bench, docs):
    native = native_medians(os.path.join(bench, "native.json"))
    wine = wine_medians(os.path.join(bench, "wine.csv"))
    memory_before, memory_peak, cells = map(int, open(os.path.join(bench, "open_memory.txt")).read().split())
    cat_ms = int(open(os.path.join(bench, "cat_microseconds.txt")).read()) / 1000
    memset = native.get("BM_MemsetFrame")
    os.makedirs(docs, exist_ok=True)
    plot(native, wine, docs)

    lines = []
    add = lines.append
    add("# Performance")
    add("")
    add("Figures of one run of `bash scripts/bench.sh` (medians; the native suite with five")
    add("repetitions, the Wine figures over 100 paints or 50 mouse events, 3 to 5 opens and saves).")
    add("The client area is 1920 × 1080 throughout; maps are square, a third of their cells set.")
    add("The command rewrites this page and the plot from its own output.")
    add("")
    add("![time against cell count](performance.png)")
    add("")
    add("## Composing a frame (native, `DrawMapView`)")
    add("")
    add(f"The raw cost of the hardware: `memset` of the frame's 8 MB of pixels takes {fmt(memset)} ms.")
    add("")
    add("| map | ours, origin (ms) | ours, far corner (ms) | literal, origin (ms) | literal, far corner (ms) | ours ÷ memset | literal ÷ ours (far) |")
    add("|---|---|---|---|---|---|---|")
    for e in EDGES:
        o, f = native.get(f"BM_ComposeFrame/{e}/0"), native.get(f"BM_ComposeFrame/{e}/1")
        lo, lf = native.get(f"BM_ComposeFrameLiterally/{e}/0"), native.get(f"BM_ComposeFrameLiterally/{e}/1")
        add(f"| {e} × {e} | {fmt(o)} | {fmt(f)} | {fmt(lo)} | {fmt(lf)} | {ratio(max(o, f), memset)} | {ratio(lf, f)} |")
    add("")
    add("## The real window under Wine")
    add("")
    add("`kalmia_bench_win32.exe` creates the main window exactly as `kalmia.exe` does (same class,")
    add("window procedure and resources), sizes its client to 1920 × 1080 and times")
    add("`RedrawWindow(RDW_INVALIDATE | RDW_UPDATENOW)`: a whole `WM_PAINT` through GDI+, up to the")
    add("moment Wine has handed the window's pixels to the display server.")
    add("")
    add("The floor is measured in the same run, alternating with the paints: the same window with")
    add("only its `WM_PAINT` replaced by one `SetDIBitsToDevice` of the same frame, already composed")
    add("(same invalidation, `BeginPaint`, `EndPaint` and hand-over to the display). Beside them,")
    add("without the paint message: our `PaintMapView` on a window DC (compose, then GDI+ draws the")
    add("frame) against the bare `SetDIBitsToDevice` of the finished frame.")
    add("")
    add("| map | view at | paint (ms) | floor (ms) | paint ÷ floor | our drawing (ms) | bare copy (ms) | drawing ÷ copy |")
    add("|---|---|---|---|---|---|---|---|")
    for e in EDGES:
        for where, label in (("origin", "origin"), ("far", "far corner")):
            p, f = wine.get(("paint", e, where)), wine.get(("paint_floor", e, where))
            w, c = wine.get(("paint_work", e, where)), wine.get(("dib_copy", e, where))
            add(f"| {e} × {e} | {label} | {fmt(p)} | {fmt(f)} | {ratio(p, f)} | {fmt(w)} | {fmt(c)} | {ratio(w, c)} |")
    add("")
    add("A mouse press and a drag step are timed from `SendMessage` of the mouse message to the end")
    add("of the paint that follows (`UpdateWindow`), with the view at the far corner; their floor is")
    add("the floor paint there. The literal paint takes a copy of the grid and fills one GDI+ brush")
    add("per visited cell into an off-screen image. Open and save are the same calls as natively,")
    add("through Wine's file system.")
    add("")
    add("| map | press (ms) | drag step (ms) | drag ÷ floor | literal paint, origin (ms) | open (ms) | save (ms) |")
    add("|---|---|---|---|---|---|---|")
    for e in EDGES:
        drag, floor = wine.get(('drag_step', e, 'far')), wine.get(('paint_floor', e, 'far'))
        add(f"| {e} × {e} | {fmt(wine.get(('mouse_press', e, 'far')))} | {fmt(drag)} | {ratio(drag, floor)} | "
            f"{fmt(wine.get(('paint_literal', e, 'origin')))} | {fmt(wine.get(('open', e, 'pair')))} | {fmt(wine.get(('save', e, 'pair')))} |")
    p1, p10 = wine.get(("paint", 1000, "far")), wine.get(("paint", 10000, "far"))
    d1, d10 = wine.get(("drag_step", 1000, "far")), wine.get(("drag_step", 10000, "far"))
    add("")
    add(f"Paint on 10000 × 10000 ÷ paint on 1000 × 1000: {ratio(p10, p1)}; drag step: {ratio(d10, d1)}.")
    add("")
    add("## Open and save of a pair (native)")
    add("")
    add("Baselines: a reader and a writer of the grid file that take one character per library")
    add("call (`fgetc`, `fputc`), and the raw copy of the same bytes (one `fread` into a buffer")
    add(f"allocated once, one `fwrite`). `cat` of the 10000 × 10000 grid file took {cat_ms:.1f} ms.")
    add("")
    add("| map | open (ms) | open grid, char per call (ms) | raw read (ms) | open ÷ raw | save (ms) | save grid, char per call (ms) | raw write (ms) | save ÷ raw | durable raw write (ms) | save ÷ durable |")
    add("|---|---|---|---|---|---|---|---|---|---|---|")
    for e in EDGES:
        o, ol, orw = native.get(f"BM_OpenPair/{e}"), native.get(f"BM_OpenGridByCharacter/{e}"), native.get(f"BM_ReadRawBytes/{e}")
        s, sl, srw = native.get(f"BM_SavePair/{e}"), native.get(f"BM_SaveGridByCharacter/{e}"), native.get(f"BM_WriteRawBytes/{e}")
        sd = native.get(f"BM_WriteRawBytesDurably/{e}")
        add(f"| {e} × {e} | {fmt(o)} | {fmt(ol)} | {fmt(orw)} | {ratio(o, orw)} | {fmt(s)} | {fmt(sl)} | {fmt(srw)} | {ratio(s, srw)} | {fmt(sd)} | {ratio(s, sd)} |")
    add("")
    laughs = native.get("BM_RefuseBillionLaughs")
    add(f"A parameter file of nine nested entity levels (\"billion laughs\") is refused in {fmt(laughs)} ms:")
    add("Expat stops the expansion once it outgrows its amplification limit.")
    add("")
    add("The save writes both files beside the pair, flushes them to the disk and then replaces the")
    add("old files, so its figure includes `fsync` calls that the raw write does not make. The")
    add("durable raw write is the same `fwrite` followed by one `fsync`: the floor of any save that")
    add("survives a power cut.")
    add("")
    add("## The grid's layout")
    add("")
    add("| map | build a clear grid (ms) | `copyCells` (ms) | `resizeGrid` from 50 × 50 (ms) | `resizeGrid` to 50 × 50 (ms) |")
    add("|---|---|---|---|---|")
    for e in EDGES:
        add(f"| {e} × {e} | {fmt(native.get(f'BM_BuildClearGrid/{e}'))} | {fmt(native.get(f'BM_CopyCells/{e}'))} | "
            f"{fmt(native.get(f'BM_ResizeGrow/{e}'))} | {fmt(native.get(f'BM_ResizeShrink/{e}'))} |")
    add("")
    add("A grid is a double-ended queue of rows, each a double-ended queue of one-byte cells, so a")
    add("10000 × 10000 map lives in about 200,000 separately allocated 512-byte blocks. Open reads")
    add("the grid file in 64 KB blocks, translates each block to cells in one pass and appends them")
    add("to a row a run at a time; Save composes 64 KB blocks of text. Both stay within a few times")
    add("a raw copy of the file's bytes, which moves one contiguous buffer.")
    add("")
    counters = native_counters(os.path.join(bench, "native.json"))
    add("## Undo and redo")
    add("")
    add("A step keeps XOR masks of the 64 × 64 blocks it changed, one bit a cell. Bytes the history")
    add("keeps on a 10000 × 10000 map:")
    add("")
    strokes = counters.get("BM_StrokeBytes/10000", {})
    whole = counters.get("BM_UndoRedoWholeMap/10000/0", {})
    add("| step | bytes |")
    add("|---|---|")
    add(f"| a one-cell stroke | {strokes.get('one_cell_bytes', 0):,.0f} |")
    add(f"| a stroke along a whole row | {strokes.get('full_row_bytes', 0):,.0f} |")
    add(f"| a step that changed every cell | {whole.get('step_bytes', 0):,.0f} |")
    add("")
    undo, redo = native.get("BM_UndoRedoWholeMap/10000/0"), native.get("BM_UndoRedoWholeMap/10000/1")
    wine_undo = wine.get(("undo_redo_whole_map", 10000, "far"))
    add(f"Undo of that whole-map step: {fmt(undo)} ms natively, redo {fmt(redo)} ms; under Wine, undo or")
    add(f"redo up to the end of the paint that shows it: {fmt(wine_undo)} ms.")
    add("")
    add("The drag step (a move with the button held, then the frame composed), natively, with the")
    add("stroke recorded for undo and, as before recording existed, with the cells set directly:")
    add("")
    add("| map | recorded (ms) | unrecorded (ms) | recorded ÷ unrecorded |")
    add("|---|---|---|---|")
    for e in EDGES:
        recorded, bare = native.get(f"BM_MouseEdit/{e}/1"), native.get(f"BM_DragStepUnrecorded/{e}")
        add(f"| {e} × {e} | {fmt(recorded)} | {fmt(bare)} | {ratio(recorded, bare)} |")
    add("")
    add("## Drawing tools")
    add("")
    fill, line = native.get("BM_FillWholeMap/10000"), native.get("BM_Line10000Cells")
    wine_fill = wine.get(("fill_whole_map", 10000, "far"))
    add(f"A fill that reaches every cell of a clear 10000 × 10000 map, recorded for undo: {fmt(fill)} ms")
    add(f"natively; under Wine, from the click to the end of the paint that shows it: {fmt(wine_fill)} ms.")
    add(f"A line across 10000 columns (and 4322 rows), recorded: {fmt(line)} ms.")
    add("")
    add("## The overview")
    add("")
    first, update = native.get("BM_OverviewFirst/10000"), native.get("BM_OverviewAfterAnEdit/10000")
    add(f"On 10000 × 10000 in a 300 × 300 overview: the first count and picture after Open {fmt(first)} ms;")
    add(f"after an edit (a line of 8991 cells, its counts and a new picture) {fmt(update)} ms. An edit")
    add("updates the counts of the cells it changed and never has the map counted again.")
    add("")
    status_count = native.get("BM_StatusCountAfterWholeMapStep/10000")
    add(f"While the status bar shows, its count of set cells follows each step from the step's masks,")
    add(f"64 cells of a row at a time: {fmt(status_count)} ms after a step that changed every cell of")
    add("10000 × 10000. While it is hidden nothing is counted; showing it counts the map once.")
    add("")
    add("## Recovery copy of unsaved work")
    add("")
    one, whole_step = native.get("BM_RecoveryFollowStep/10000/0"), native.get("BM_RecoveryFollowStep/10000/1")
    pack, write = native.get("BM_RecoveryPackMap/10000"), native.get("BM_RecoveryWriteCopy/10000")
    read = native.get("BM_RecoveryReadCopy/10000")
    copy_bytes = counters.get("BM_RecoveryWriteCopy/10000", {}).get("copy_bytes", 0)
    wine_yes = wine.get(("recovery_yes", 10000, "copy"))
    add("On 10000 × 10000, natively. What a step costs the window's thread, which hands the step's masks")
    add(f"to the keeper's thread (target ≤ 16 ms): a one-cell stroke {fmt(one)} ms, a step that changed")
    add(f"every cell {fmt(whole_step)} ms. Packing the whole map to one bit a cell, once when New or Open")
    add(f"puts a map in place: {fmt(pack)} ms. On the keeper's thread, writing the copy ({copy_bytes / 1e6:.1f} MB,")
    add(f"beside, flushed, renamed in): {fmt(write)} ms. At start, reading it back into the map: {fmt(read)} ms;")
    add(f"under Wine, from Yes to the end of the paint that shows it (target ≤ 3000 ms): {fmt(wine_yes)} ms.")
    add("")
    add("## Memory")
    add("")
    add(f"Opening the 10000 × 10000 pair over the default map: peak resident size {memory_before / 1e6:.1f} MB")
    add(f"before, {memory_peak / 1e6:.1f} MB after, for {cells / 1e6:.0f} MB of cells "
        f"({memory_peak / cells:.2f} times the size of the cells).")
    cli_section = os.path.join(bench, "cli.md")
    if os.path.exists(cli_section):
        add("")
        add(open(cli_section).read().rstrip())
    add("")
    add("## Rerunning")
    add("")
    add("    bash scripts/bench.sh")
    add("")
    add("builds both presets, runs the native suite (`build/native/bench/kalmia_bench`, Google")
    add("Benchmark), the memory probe (`kalmia_open_memory`) and the Wine benchmark")
    add("(`build/windows/kalmia_bench_win32.exe` under Wine on a virtual display), and rewrites")
    add("this page and `performance.png`. Raw output lands in `build/bench/`.")
    open(os.path.join(docs, "performance.md"), "w").write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
