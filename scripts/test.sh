#!/usr/bin/env bash
# Installs what is missing, checks the include direction of the layers, builds everything under
# AddressSanitizer and UndefinedBehaviorSanitizer, replays the fuzz corpora, builds the benchmarks and runs
# every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# No header or source of a lower layer includes a higher one.
scripts/check-layers.sh
# Windows and procedures are named by their constants wherever they are reached by name.
scripts/check-names.sh


# Fuzz targets: built with clang's libFuzzer, their seed corpora replayed once.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DTESSARON_TESTS=OFF -DTESSARON_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
for target in build-fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  [ -d "$corpus" ] || continue
  "$target" -runs=0 "$corpus" >/dev/null 2>&1 || { echo "fuzz replay failed: $name"; "$target" -runs=0 "$corpus"; exit 1; }
  echo "fuzz replay ok: $name"
done

# Benchmarks are built so they keep compiling; run them with scripts/bench.sh.
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSARON_TESTS=OFF -DTESSARON_BENCH=ON >/dev/null
cmake --build build-bench -j "$jobs"

# The tests under AddressSanitizer and UndefinedBehaviorSanitizer, last, so their summary closes the output.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTESSARON_SANITIZE=ON -DTESSARON_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
# Leaks fail the run; scripts/lsan.supp names the system libraries whose memory is kept until exit.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"
