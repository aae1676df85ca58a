#!/usr/bin/env bash
# Installs what is missing, checks the format, the include direction of the layers and the folders' READMEs,
# builds everything under AddressSanitizer and UndefinedBehaviorSanitizer, replays the fuzz corpora, builds
# the benchmarks, runs clang-tidy and runs every test headless, then the desktop tier on a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Every tracked header and source as clang-format writes it.
scripts/check-format.sh

# No header or source of a lower layer includes a higher one.
scripts/check-layers.sh
# Windows, procedures and other folders' controls are named by their constants wherever they are reached by
# name.
scripts/check-names.sh

# Every folder's README names the files beside it.
scripts/check-readmes.sh

# Fuzz targets: built with clang's libFuzzer, their seed corpora replayed once.
# The builds of the test command treat warnings as errors (CMakePresets.json).
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
for target in build-fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  [ -d "$corpus" ] || continue
  "$target" -runs=0 "$corpus" >/dev/null 2>&1 || { echo "fuzz replay failed: $name"; "$target" -runs=0 "$corpus"; exit 1; }
  echo "fuzz replay ok: $name"
done

# Benchmarks are built so they keep compiling; run them with scripts/bench.sh.
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$jobs"

# The tests under AddressSanitizer and UndefinedBehaviorSanitizer, last, so their summary closes the output.
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

# clang-tidy's bugprone and performance checks (.clang-tidy) over the sources the sanitizer build compiles.
scripts/check-tidy.sh build-asan

# Leaks fail the run; scripts/lsan.supp names the system libraries whose memory is kept until exit (the
# asan test preset sets the sanitizers' options).
ctest --preset asan -j "$jobs" -E '^desktop$'

# The desktop tier alone, so that the window manager's timing does not share the machine with the other
# tests: the program's windows on Xvfb under openbox, driven from outside (tests/desktop/README.md). Its
# lines are printed, a skip (no X server can be started) among them.
ctest --preset asan -R '^desktop$' -V | grep -E '^[0-9]+: |tests passed|Passed|Failed|Skipped'
exit "${PIPESTATUS[0]}"
