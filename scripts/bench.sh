#!/usr/bin/env bash
# Builds and runs every benchmark in bench/ and prints their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
for b in build-bench/bench/bench_*; do
  if [ -f "$b" ] && [ -x "$b" ]; then QT_QPA_PLATFORM=offscreen "$b"; fi
done
