#!/usr/bin/env bash
# Starts the program on a virtual display (1600 x 1000) under a window manager (openbox), with the default
# emulated board unless TESSARON_BOARDS says otherwise, waits until start-up has settled, opens windows
# through the main window's View menu, switches the run mode through the About window when asked, and
# saves a picture of the whole screen.
#
# Usage: scripts/screenshot.sh [options] [out.png] [seconds to wait, default 6]
#   --mode N        start in run mode N (0-5) through its command-line keyword
#   --switch N      once started (and after the --view windows), switch to run mode N by typing its keyword
#                   into the About window; may be given again to switch once more
#   --view "Entry"  open the View menu entry of that caption ("OSK Control Window", "Register Debug
#                   Window", ...); may be given several times, opened in that order
#   --keys "k ..."  xdotool key names sent to the focused window last (e.g. "alt+h Return")
#   --generators "g ..."  installs stand-in generator programs (qam, polar, gmsk, sdpsk) at their default
#                   paths in the program folder for this run only (removed afterwards), so that the toolbar
#                   offers the vector generator window
#   --generator-window    opens the vector generator window from the toolbar (after the --view windows)
#   --no-wm         no window manager (the bare X server)
# TESSARON_SHOT_BUILD names another build folder to use (default build-shot); TESSARON_SHOT_LOG a file for
# the program's error output.
set -euo pipefail
cd "$(dirname "$0")/.."

keywords=("" QUILLFERN TORVASK MARBLEQUINTOSH NOLKRAV WESPIL)
mode=0
switches=()
views=()
keys=""
generators=()
generator_window=""
wm=openbox
positional=()
while [ $# -gt 0 ]; do
  case "$1" in
    --mode) mode="$2"; shift 2 ;;
    --switch) switches+=("$2"); shift 2 ;;
    --view) views+=("$2"); shift 2 ;;
    --keys) keys="$2"; shift 2 ;;
    --generators) read -r -a generators <<<"$2"; shift 2 ;;
    --generator-window) generator_window=1; shift ;;
    --no-wm) wm=""; shift ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) positional+=("$1"); shift ;;
  esac
done
out="$(realpath -m "${positional[0]:-build-shot/screenshot.png}")"
wait_s="${positional[1]:-6}"

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
command -v xdotool >/dev/null || need+=(xdotool)
command -v xwininfo >/dev/null || need+=(x11-utils)
[ -n "$wm" ] && ! command -v openbox >/dev/null && need+=(openbox)
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
wm_pid=""
# Stand-in generators: where the window looks for each program when "ModVectorGen.ini" does not say.
declare -A generator_paths=([qam]=Tovrindir/Tovrin.exe [polar]=Quorlendir/Quorlen.exe
  [gmsk]=Kelmardir/Kelmar.exe [sdpsk]=Sovanedir/Sovane.exe)
installed=()
for generator in "${generators[@]}"; do
  relative="${generator_paths[$generator]:-}"
  if [ -z "$relative" ]; then
    echo "screenshot.sh: no generator \"$generator\" (qam, polar, gmsk, sdpsk)" >&2
    exit 2
  fi
  program="$build/app/$relative"
  [ -e "$program" ] && continue # a real one, or one of the user's: left alone
  [ -d "$(dirname "$program")" ] || installed+=("$(dirname "$program")")
  mkdir -p "$(dirname "$program")"
  printf '#!/bin/sh\necho "stand-in generator: nothing generated"\n' >"$program"
  chmod +x "$program"
  installed+=("$program")
done
remove_stand_ins() {
  local i
  # Files first, then the folders made for them; the window's parameter files go with those folders.
  for ((i = ${#installed[@]} - 1; i >= 0; i--)); do
    if [ -d "${installed[$i]}" ]; then rm -rf "${installed[$i]}"; else rm -f "${installed[$i]}"; fi
  done
}
cleanup() {
  # The program first: a window it closes on its way out writes its files beside the stand-ins.
  if [ -n "$app_pid" ]; then
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  remove_stand_ins
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X${display}" ] && break
  sleep 0.1
done
export DISPLAY=":${display}"
if [ -n "$wm" ]; then
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
fi

# The emulated board unless the caller chose boards ("none", a list of emulated boards).
export TESSARON_BOARDS="${TESSARON_BOARDS:-demo}"
args=()
[ "$mode" != 0 ] && args+=("-${keywords[$mode]}")
mkdir -p "$(dirname "$out")"
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}" QT_QPA_PLATFORM=xcb "$build/app/tessaron" "${args[@]}" \
  >/dev/null 2>"${TESSARON_SHOT_LOG:-/dev/null}" &
app_pid=$!
sleep "$wait_s"

# The main window: the one whose title starts with the application title and is not the About window.
main_window() {
  xdotool search --onlyvisible --name '^ZR4470 Evaluation Software' 2>/dev/null | head -1
}
focus_main() {
  local id
  id="$(main_window)"
  [ -n "$id" ] && xdotool windowactivate --sync "$id" 2>/dev/null || xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.3
}

# View entries in menu order, and which of them each run mode shows (the others are hidden and skipped by
# the arrow keys): FIFO Debug, Register Debug, ADC and Watch Dog Timer come and go with the run mode.
view_entries=("Control Window" "Profile Window" "OSK Control Window" "QDUC RAM Control Window"
  "FIFO Control Window" "Multi-Chip Sync Window" "RAM I/O Window" "GPIO Window" "ADC Window"
  "Watch Dog Timer Window" "Debug Window" "FIFO Debug Window" "Register Debug Window" "Register Map Values")
shown_in_mode() { # entry mode
  case "$1" in
    "FIFO Debug Window") [ "$2" = 1 ] || [ "$2" = 3 ] ;;
    "Register Debug Window") [ "$2" = 3 ] ;;
    "ADC Window" | "Watch Dog Timer Window") [ "$2" = 5 ] ;;
    *) true ;;
  esac
}
open_view() { # caption
  local steps=0 found=""
  for entry in "${view_entries[@]}"; do
    shown_in_mode "$entry" "$mode" || continue
    if [ "$entry" = "$1" ]; then found=1; break; fi
    steps=$((steps + 1))
  done
  if [ -z "$found" ]; then
    echo "screenshot.sh: no View entry \"$1\" in run mode $mode" >&2
    return
  fi
  focus_main
  xdotool key alt+v
  sleep 0.3
  for _ in $(seq "$steps"); do xdotool key Down; done
  xdotool key Return
  sleep 0.8
}
switch_mode() { # mode
  focus_main
  xdotool key alt+h
  sleep 0.3
  xdotool key Return
  sleep 1
  local word="${keywords[$1]:-NORMAL}"
  # Ctrl and Alt held down through the whole word, as a user types it: pressing either again starts the
  # keyword anew.
  xdotool keydown ctrl alt
  for ((k = 0; k < ${#word}; k++)); do xdotool key "$(echo "${word:$k:1}" | tr 'A-Z' 'a-z')"; done
  xdotool keyup alt ctrl
  xdotool key Return
  mode="$1"
  sleep 1
}

# The toolbar's "MVG" button, the last of its six, clicked where it lies in the main window's client area
# (measured with the default style and font; the client's corner from xwininfo, which counts no frame).
open_generator_window() {
  local id x y
  focus_main
  id="$(main_window)"
  [ -z "$id" ] && return
  x=$(($(xwininfo -id "$id" | awk '/Absolute upper-left X/ { print $4 }') + 355))
  y=$(($(xwininfo -id "$id" | awk '/Absolute upper-left Y/ { print $4 }') + 33))
  xdotool mousemove "$x" "$y" click 1
  sleep 1.5
}

for view in "${views[@]}"; do open_view "$view"; done
[ -n "$generator_window" ] && open_generator_window
for next in "${switches[@]}"; do switch_mode "$next"; done
if [ -n "$keys" ]; then
  # shellcheck disable=SC2086
  xdotool key --delay 200 $keys
  sleep 1
fi
import -window root "$out"
echo "$out"
