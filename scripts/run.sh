#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it (one emulated board unless
# TESSARON_BOARDS says otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARON_TESTS=OFF >/dev/null
cmake --build build --target tessaron
exec build/app/tessaron "$@"
