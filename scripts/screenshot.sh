#!/usr/bin/env bash
# Starts the program on a virtual display (1600 x 1000, the default emulated board unless TESSARON_BOARDS
# says otherwise), waits until start-up has settled and saves a picture of the whole screen.
# Usage: scripts/screenshot.sh [out.png] [seconds to wait, default 6]
# TESSARON_SHOT_BUILD names another build folder to use (default build-shot); TESSARON_SHOT_LOG a file for
# the program's error output.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-build-shot/screenshot.png}")"
wait_s="${2:-6}"

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

build="${TESSARON_SHOT_BUILD:-build-shot}"
if [ ! -x "$build/app/tessaron" ]; then
  # The program's own build (the dev preset) in a folder of its own.
  cmake --preset dev -B "$build" >/dev/null
fi
cmake --build "$build" --target tessaron --parallel "${TESSARON_JOBS:-4}" >/dev/null

# A free display number: the first without a lock file.
display=99
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
Xvfb ":${display}" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display}" ] && break
  sleep 0.1
done

mkdir -p "$(dirname "$out")"
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" DISPLAY=":${display}" QT_QPA_PLATFORM=xcb "$build/app/tessaron" >/dev/null 2>"${TESSARON_SHOT_LOG:-/dev/null}" &
app_pid=$!
sleep "$wait_s"
DISPLAY=":${display}" import -window root "$out"
echo "$out"
