#!/usr/bin/env bash
# Runs the benchmark suite and writes docs/performance.md and its plot:
# the native Google Benchmark suite of the core (with the literal algorithms
# and the raw hardware costs beside it), the peak memory of opening the
# largest map, and the real window of kalmia under Wine at a 1920 x 1080
# client. Takes about ten minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
command -v gnuplot >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends gnuplot-nox
bash scripts/build.sh native windows
out=build/bench
mkdir -p "$out" build/bench-files

KALMIA_BENCH_DIR=build/bench-files build/native/bench/kalmia_bench \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$out/native.json" --benchmark_out_format=json

# Peak memory of opening a 10000 x 10000 pair over the default map.
build/native/bench/kalmia_open_memory build/bench-files/bench10000.map >"$out/open_memory.txt"
# The shell's raw copy of the same bytes, for comparison with Open.
start=$(date +%s%N); cat build/bench-files/bench10000.map >/dev/null; end=$(date +%s%N)
echo $(((end - start) / 1000)) >"$out/cat_microseconds.txt"

# kalmia-cli as a user runs it, against the native Open and Save above.
python3 scripts/bench_cli.py build/native/src/cli/kalmia-cli build/native/bench/kalmia_open_memory build/bench-files "$out/native.json" "$out/cli.md"

source scripts/wine-env.sh
prepare_wine_prefix
trap stop_wine_and_display EXIT
start_virtual_display
run_wine 1800 build/windows/kalmia_bench_win32.exe "Z:$(pwd | tr / '\\')\\build\\bench-files" >"$out/wine.csv"

python3 scripts/bench_report.py "$out" docs
echo "wrote docs/performance.md and docs/performance.png"
