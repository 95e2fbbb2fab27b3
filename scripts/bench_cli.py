#!/usr/bin/env python3
"""Times kalmia-cli as a user runs it and writes a section of docs/performance.md.

Usage: bench_cli.py KALMIA_CLI OPEN_PROBE BENCH_FILES NATIVE_JSON OUT_MARKDOWN
Each figure is the median of five runs of the whole process. The ratios are
to the editor's native Open of the same pair run the same way, as a process of
its own (kalmia_open_memory: process start and first use of the memory
included, as the tool pays them), plus the native suite's Save where a run saves.
"""
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from bench_report import native_medians  # noqa: E402


def timed(command):
    """Median wall time in ms of five runs, and the largest peak memory in MB of a child."""
    times = []
    for _ in range(5):
        start = time.perf_counter()
        subprocess.run(command, check=False, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append((time.perf_counter() - start) * 1000)
    peak_mb = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
    return statistics.median(times), peak_mb


def timed_alone(command):
    """Median wall time in ms of five runs, and the peak memory in MB of this command's own process."""
    times, peak_kb = [], 0
    for _ in range(5):
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, _, usage = os.wait4(child.pid, 0)
        times.append((time.perf_counter() - start) * 1000)
        peak_kb = max(peak_kb, usage.ru_maxrss)
    return statistics.median(times), peak_kb / 1024


def main():
    cli, open_probe, files, native_json, out = sys.argv[1:6]
    save_ms = native_medians(native_json)["BM_SavePair/10000"]
    big = os.path.join(files, "bench10000.map")
    open_ms, _ = timed([open_probe, big])
    work = tempfile.mkdtemp()
    try:
        # The floor: the grid file read into memory in one piece, as dd does it.
        dd_ms, _ = timed(["dd", "if=" + big, "of=/dev/null", "bs=128M"])
        check_ms, _ = timed_alone([cli, "check", big])
        info_ms, _ = timed_alone([cli, "info", big])
        other = os.path.join(work, "other.map")
        shutil.copy(big, other)
        shutil.copy(big[:-4] + ".xml", other[:-4] + ".xml")
        with open(other, "r+b") as changed:  # one cell of the middle row set
            changed.seek(5000 * 10002 + 77)
            changed.write(b"1")
        diff_ms, _ = timed_alone([cli, "diff", big, other])
        diff_png_ms, diff_png_mb = timed_alone([cli, "diff", "--png", os.path.join(work, "d.png"), "--cell", "1",
                                               big, other])
        convert_ms, _ = timed([cli, "convert", big, os.path.join(work, "copy.map")])
        pairs, small = [], os.path.join(work, "small")
        os.mkdir(small)
        for i in range(1000):
            for extension in (".map", ".xml"):
                shutil.copy(os.path.join(files, "bench50" + extension), os.path.join(small, "s%d%s" % (i, extension)))
            pairs.append(os.path.join(small, "s%d.map" % i))
        many_ms, _ = timed([cli, "check", *pairs])
        render_ms, render_peak_mb = timed_alone([cli, "render", big, "-o", os.path.join(work, "big.png"), "--cell", "1"])
        gallery_many_ms, _ = timed_alone([cli, "gallery", small, "-o", os.path.join(work, "site")])
        alone = os.path.join(work, "alone")
        os.mkdir(alone)
        for extension in (".map", ".xml"):
            os.link(os.path.join(files, "bench10000" + extension), os.path.join(alone, "bench10000" + extension))
        gallery_big_ms, gallery_big_mb = timed_alone([cli, "gallery", alone, "-o", os.path.join(work, "site-big")])
    finally:
        shutil.rmtree(work)
    cells_mb = 10000 * 10000 / (1024 * 1024)
    rows = [
        ("`check` of 10000 × 10000", check_ms, f"{check_ms / dd_ms:.2f} × `dd` of the grid file into memory ({dd_ms:.0f} ms)", "≤ 1.5 ×"),
        ("`info` of 10000 × 10000", info_ms, f"{info_ms / dd_ms:.2f} × `dd`", "≤ 1.5 ×"),
        ("`render --cell 1` of 10000 × 10000", render_ms,
         f"{render_ms / check_ms:.2f} × `check`; its own peak memory {render_peak_mb:.0f} MB = "
         f"{render_peak_mb / cells_mb:.2f} × the cells ({cells_mb:.0f} MB)", "≤ 2 ×, ≤ 1.2 ×"),
        ("`diff` of two 10000 × 10000 pairs", diff_ms, f"{diff_ms / check_ms:.2f} × `check` of one", "≤ 3 ×"),
        ("`diff --png --cell 1` of them", diff_png_ms,
         f"{diff_png_ms / check_ms:.2f} × `check` of one; peak memory {diff_png_mb:.0f} MB", "≤ 4 ×"),
        ("`check` of 1,000 pairs of 50 × 50, one call", many_ms, "", "< 1000 ms"),
        ("`gallery` of 1,000 pairs of 50 × 50", gallery_many_ms, "", "≤ 1000 ms"),
        ("`gallery` of one 10000 × 10000 pair", gallery_big_ms,
         f"{gallery_big_ms / check_ms:.2f} × `check` of it; its own peak memory {gallery_big_mb:.0f} MB = "
         f"{gallery_big_mb / cells_mb:.2f} × the cells", "≤ 1.5 ×, ≤ 1.2 ×"),
        ("`convert` of 10000 × 10000", convert_ms,
         f"{convert_ms / (open_ms + save_ms):.2f} × Open as a process + Save ({open_ms + save_ms:.0f} ms)", "≤ 1.5 ×"),
    ]
    lines = ["## kalmia-cli", "",
             "Whole runs of the built tool, process start included (median of five), on the benchmark's",
             "random 10000 × 10000 map (a third of the cells set, the worst case for compressing a PNG).",
             "`check`, `info`, `render` and `diff` read the grid file once, without building the grid; the",
             "floor of `check` and `info` is `dd` reading the grid file into memory in one piece, and the",
             "ratios of `render` and `diff` are to `check` in the same run. Peak memory is each run's own",
             "process's. `convert` is against the editor's native Open as a process plus the suite's Save.", "",
             "| run | ms | against | target |", "|---|---|---|---|"]
    lines += [f"| {name} | {ms:.0f} | {against} | {target} |" for name, ms, against, target in rows]
    open(out, "w").write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
