#!/usr/bin/env bash
# Builds and runs every benchmark in bench/ and prints their figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)"
for b in build-bench/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  case "$b" in
    # The libusb benchmark runs the real driver against an emulated board on a umockdev bus.
    *libusb*) QT_QPA_PLATFORM=offscreen TESSARON_BOARDS=none umockdev-wrapper "$b" ;;
    *) QT_QPA_PLATFORM=offscreen "$b" ;;
  esac
done
