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
        check_ms, _ = timed([cli, "check", big])
        convert_ms, _ = timed([cli, "convert", big, os.path.join(work, "copy.map")])
        pairs, small = [], os.path.join(work, "small")
        os.mkdir(small)
        for i in range(1000):
            for extension in (".map", ".xml"):
                shutil.copy(os.path.join(files, "bench50" + extension), os.path.join(small, "s%d%s" % (i, extension)))
            pairs.append(os.path.join(small, "s%d.map" % i))
        many_ms, _ = timed([cli, "check", *pairs])
        render_ms, render_peak_mb = timed([cli, "render", big, "-o", os.path.join(work, "big.png"), "--cell", "1"])
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
        ("`check` of 10000 × 10000", check_ms, f"{check_ms / open_ms:.2f} × the editor's Open as a process ({open_ms:.0f} ms)", "≤ 1.5 ×"),
        ("`check` of 1,000 pairs of 50 × 50, one call", many_ms, "", "< 1000 ms"),
        ("`render --cell 1` of 10000 × 10000", render_ms,
         f"peak memory {render_peak_mb:.0f} MB = {render_peak_mb / cells_mb:.2f} × the cells ({cells_mb:.0f} MB)",
         "< 3000 ms, < 2 ×"),
        ("`gallery` of 1,000 pairs of 50 × 50", gallery_many_ms, "", "≤ 2000 ms"),
        ("`gallery` of one 10000 × 10000 pair", gallery_big_ms,
         f"{gallery_big_ms / check_ms:.2f} × `check` of it; its own peak memory {gallery_big_mb:.0f} MB = "
         f"{gallery_big_mb / cells_mb:.2f} × the cells", "≤ 1.5 ×, ≤ 1.2 ×"),
        ("`convert` of 10000 × 10000", convert_ms,
         f"{convert_ms / (open_ms + save_ms):.2f} × Open as a process + Save ({open_ms + save_ms:.0f} ms)", "≤ 1.5 ×"),
    ]
    lines = ["## kalmia-cli", "",
             "Whole runs of the built tool, process start included (median of five). The ratios are to",
             "the editor's native Open of the same pair run as a process of its own (`kalmia_open_memory`),",
             "plus the suite's Save for `convert`, all in this run. The peak memory is the largest of",
             "any child process of the benchmark, so it bounds `render`'s from above.", "",
             "| run | ms | against | target |", "|---|---|---|---|"]
    lines += [f"| {name} | {ms:.0f} | {against} | {target} |" for name, ms, against, target in rows]
    open(out, "w").write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
