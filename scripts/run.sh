#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it with one emulated board, so that the whole
# program shows on a machine without a board. With --usb it talks to the real boards on USB instead
# (TESSARON_BOARDS, when set, chooses as well: "demo", "none" or a list of emulated boards).
set -euo pipefail
cd "$(dirname "$0")/.."
usb=0
args=()
for arg in "$@"; do
  if [ "$arg" = "--usb" ]; then usb=1; else args+=("$arg"); fi
done
scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target tessaron
if [ "$usb" -eq 1 ]; then
  unset TESSARON_BOARDS
else
  export TESSARON_BOARDS="${TESSARON_BOARDS:-demo}"
fi
exec build/app/tessaron ${args[@]+"${args[@]}"}
