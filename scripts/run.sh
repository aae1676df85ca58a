#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it (one emulated board unless
# TESSARON_BOARDS says otherwise).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target tessaron
exec build/app/tessaron "$@"
