#!/usr/bin/env bash
# Configures and builds the given CMake presets (native, windows, ...).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in "$@"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
