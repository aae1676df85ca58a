#!/usr/bin/env bash
# The program's windows on a real X server (Xvfb), checked from outside as a user meets them: with a window
# manager (openbox), every kind of modal window minimised (the window manager's iconify request) and
# brought back through the main window, the dialog or Alt+Tab, TRIALS times each from a freshly opened
# window (one kind a dialog that the window manager keeps with another window than the main one); the main
# window minimised alone; the main window un-maximised from its title bar (its whole frame on the screen)
# and maximised again; a click back into a plain text box and into a value box; and without a window
# manager, the main window covering the screen and the keyboard back in it when a modal window closes. Every state is
# awaited with a bounded poll. Exits 77 (skipped) with a line saying so only where no X server can be
# started.
#
# Usage: tests/desktop/desktop_tier.sh <desktop_driver> [trials per kind, default 10]
# TESSARON_DESKTOP_KINDS names the kinds of modal window to try (default: all of them).
set -uo pipefail

driver="$(realpath "$1")"
trials="${2:-${TESSARON_DESKTOP_TRIALS:-10}}"
work="$(mktemp -d)"
failures=0
checks=0
xvfb_pid=""
wm_pid=""
driver_pid=""

if ! command -v Xvfb >/dev/null; then
  echo "desktop tier SKIPPED: no X server can be started here (Xvfb is not installed; scripts/install-deps.sh installs it)"
  exit 77
fi
for tool in openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "desktop tier: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done

stop_driver() {
  if [ -n "$driver_pid" ]; then
    kill "$driver_pid" 2>/dev/null
    wait "$driver_pid" 2>/dev/null
    driver_pid=""
  fi
}
stop_display() {
  stop_driver
  [ -n "$wm_pid" ] && { kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null; }
  [ -n "$xvfb_pid" ] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
  wm_pid=""
  xvfb_pid=""
}
cleanup() {
  stop_display
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { date +%s%3N; }

# poll <seconds> <command...>: true as soon as the command succeeds, false when the time is up.
poll() {
  local limit=$(($(now_ms) + $1 * 1000))
  shift
  while true; do
    "$@" && return 0
    [ "$(now_ms)" -ge "$limit" ] && return 1
    sleep 0.05
  done
}
# holds <milliseconds> <command...>: the command keeps succeeding all that time (a state that stays).
holds() {
  local limit=$(($(now_ms) + $1))
  shift
  while [ "$(now_ms)" -lt "$limit" ]; do
    "$@" || return 1
    sleep 0.05
  done
  "$@"
}

# check <what> <command...>: counts a failure, with what failed, when the command fails.
check() {
  local what="$1"
  shift
  checks=$((checks + 1))
  if ! "$@"; then
    failures=$((failures + 1))
    echo "FAILED: $what"
    return 1
  fi
  return 0
}

# ---- the display ----
start_display() { # with_wm (1 or 0)
  : >"$work/display"
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  if ! poll 20 test -s "$work/display"; then
    echo "desktop tier SKIPPED: no X server can be started here (Xvfb did not start)"
    exit 77
  fi
  DISPLAY=":$(head -1 "$work/display")"
  export DISPLAY
  if [ "$1" = 1 ]; then
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    poll 20 wm_running || { echo "desktop tier: openbox did not start"; exit 1; }
  fi
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# ---- the program ----
start_driver() {
  coproc DRIVER { QT_QPA_PLATFORM=xcb exec "$driver" 2>>"$work/driver.log"; }
  driver_pid=$DRIVER_PID
  main_id=""
  poll 120 main_shown || { echo "desktop tier: the main window did not show"; tail -20 "$work/driver.log"; exit 1; }
}
# ask <command line>: the driver's one-line answer.
ask() {
  local reply=""
  echo "$*" >&"${DRIVER[1]}"
  read -r -t 30 reply <&"${DRIVER[0]}"
  echo "$reply"
}
# Start-up has settled when the splash window has gone: the main window is the program's only window.
only_main_window() { [ "$(ask windows)" = 1 ]; }
main_shown() {
  main_id="$(ask main)"
  [ -n "$main_id" ] && [ "$main_id" != 0 ] && viewable "$main_id"
}

# ---- what the X server and the window manager say ----
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }
# The window manager's states of a window: WM_STATE's and _NET_WM_STATE's, on one line.
states() { xprop -id "$1" WM_STATE _NET_WM_STATE 2>/dev/null | tr '\n' ' '; }
iconic() { local s; s="$(states "$1")"; [[ $s == *"window state: Iconic"* && $s == *HIDDEN* ]]; }
shown() { local s; s="$(states "$1")"; [[ $s == *"window state: Normal"* && $s != *HIDDEN* ]]; }
maximised() { local s; s="$(states "$1")"; [[ $s == *MAXIMIZED_VERT* && $s == *MAXIMIZED_HORZ* ]]; }
active_id() { printf '%d' "$(xprop -root _NET_ACTIVE_WINDOW 2>/dev/null | awk '{ print $NF }')" 2>/dev/null; }
is_active() { [ "$(active_id)" = "$1" ]; }
# The program's windows the window manager manages (its client list, by process id).
program_windows() {
  local id
  for id in $(xprop -root _NET_CLIENT_LIST 2>/dev/null | sed 's/.*# //; s/,/ /g'); do
    xprop -id "$id" _NET_WM_PID 2>/dev/null | grep -q "= $driver_pid\$" && printf '%d\n' "$id"
  done
}
# Every one of the program's windows of the trial ($windows, taken when its modal window showed).
all_iconic() {
  local id
  for id in $windows; do iconic "$id" || return 1; done
}
all_shown() {
  local id
  for id in $windows; do shown "$id" || return 1; done
}
# above <upper> <lower>: the window manager stacks the first above the second.
above() {
  local order
  order="$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g')"
  local position=0 upper=-1 lower=-1 id
  for id in $order; do
    [ "$(printf '%d' "$id")" = "$1" ] && upper=$position
    [ "$(printf '%d' "$id")" = "$2" ] && lower=$position
    position=$((position + 1))
  done
  [ "$upper" -gt "$lower" ] && [ "$lower" -ge 0 ]
}
frame_place() { xwininfo -id "$1" | awk '/Absolute upper-left|Width:|Height:/ { printf "%s ", $NF }'; }

modal_answers() { # the modal window that answers now is shown and active
  modal_id="$(ask modal)"
  [ -n "$modal_id" ] && [ "$modal_id" != 0 ] && shown "$modal_id" && is_active "$modal_id"
}
no_modal() { [ "$(ask modal)" = 0 ]; }
# The main window in the state the trials expect ($main_state: maximised or normal).
main_state_kept() { if [ "$main_state" = maximised ]; then maximised "$main_id"; else ! maximised "$main_id"; fi; }
all_back() { # every window shown, the modal one on top and active, the main window as it was, where it was
  all_shown && is_active "$modal_id" && above "$modal_id" "$main_id" && main_state_kept &&
    [ "$(frame_place "$main_id")" = "$main_place" ]
}
# What a failed check leaves to read: each window of the trial's state and place, and the active window.
describe_windows() {
  local id
  for id in $windows; do echo "  window $id: $(states "$id")place $(frame_place "$id")"; done
  echo "  active window $(active_id), modal window $modal_id, main window $main_id (expected at $main_place)"
}
transient_for() { printf '%d' "$(xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | awk '/window id/ { print $NF }')" 2>/dev/null; }

# ---- with a window manager: minimising modal windows ----
minimise_trial() { # kind trial
  local kind="$1" trial="$2" how under_id="$main_id"
  local label="$kind, trial $trial"
  [ "$(ask open "$kind")" = "opened $kind" ] || { check "$label: the driver opens it" false; return; }
  check "$label: the modal window shows, active" poll 15 modal_answers || return
  windows="$(program_windows)"
  if [ "$kind" = over-window ]; then
    # The window manager keeps the dialog with that window alone: the main window goes and comes back
    # with it only through the program's own handling.
    under_id="$(ask target)"
    check "$label: the dialog belongs to the window it is shown over, not to the main window" \
      [ "$(transient_for "$modal_id")" = "$under_id" ]
  fi
  xdotool windowminimize "$modal_id"
  check "$label: minimising the modal window minimises every window of the program" poll 10 all_iconic &&
    check "$label: and they stay minimised" holds 400 all_iconic &&
    check "$label: the main window keeps its $main_state state" main_state_kept || describe_windows
  case $((trial % 3)) in
    0) how="the main window activated"; xdotool windowactivate "$main_id" ;;
    1) how="the dialog activated"; xdotool windowactivate "$modal_id" ;;
    2) how="Alt+Tab"; xdotool key alt+Tab ;;
  esac
  check "$label: $how brings all back, the modal window on top and active, the main window as it was" \
    poll 10 all_back &&
    check "$label: and they stay so" holds 400 all_back || describe_windows
  local round
  for round in 1 2 3; do
    no_modal && break
    ask close >/dev/null
    poll 10 no_modal_or_other
  done
  check "$label: the modal window closes" poll 10 no_modal &&
    check "$label: the window it was shown over is active again" poll 10 is_active "$under_id"
  # What a failed trial left minimised comes back for the next one.
  all_shown || { xdotool windowactivate "$main_id"; poll 5 shown "$main_id"; }
}
no_modal_or_other() { local now; now="$(ask modal)"; [ "$now" != "$modal_id" ]; }

main_alone_trial() {
  xdotool windowminimize "$main_id"
  check "main window alone: it minimises" poll 10 iconic "$main_id" &&
    check "main window alone: it stays minimised" holds 400 iconic "$main_id"
  xdotool windowactivate "$main_id"
  check "main window alone: it comes back maximised and active" poll 10 main_back
}
main_back() { shown "$main_id" && is_active "$main_id" && maximised "$main_id"; }

# ---- with a window manager: the main window un-maximised and maximised again from its frame ----
numbers() { sed 's/.*= //; s/,/ /g'; }
# The whole frame of a window (its place and the window manager's frame extents) within the work area.
frame_in_work_area() {
  local x y w h left right top bottom wx wy ww wh
  read -r x y w h <<<"$(frame_place "$1")"
  read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | numbers)"
  read -r wx wy ww wh _ <<<"$(xprop -root _NET_WORKAREA 2>/dev/null | numbers)"
  [ -n "$bottom" ] && [ -n "$wh" ] && [ $((x - left)) -ge "$wx" ] && [ $((y - top)) -ge "$wy" ] &&
    [ $((x + w + right)) -le $((wx + ww)) ] && [ $((y + h + bottom)) -le $((wy + wh)) ]
}
unmaximised_in_work_area() { ! maximised "$main_id" && frame_in_work_area "$main_id"; }
maximised_where_it_was() { maximised "$main_id" && [ "$(frame_place "$main_id")" = "$maximised_place" ]; }
# A double click on the middle of a window's title bar (the frame's top extent above the window).
double_click_title_bar() {
  local x y w h top
  read -r x y w h <<<"$(frame_place "$1")"
  read -r _ _ top _ <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | numbers)"
  xdotool mousemove $((x + w / 2)) $((y - ${top:-0} / 2)) click --repeat 2 --delay 80 1
}
offers_maximise() { xprop -id "$main_id" _NET_WM_ALLOWED_ACTIONS 2>/dev/null | grep -q MAXIMIZE_HORZ; }
unmaximise_checks() {
  local trial maximised_place="$main_place"
  # The window manager's animation of the last restore has ended: the title bar is where it stays.
  poll 10 maximised_where_it_was
  double_click_title_bar "$main_id"
  check "un-maximised: its whole frame, title bar included, lies within the screen's work area" \
    poll 10 unmaximised_in_work_area &&
    check "un-maximised: and stays so" holds 600 unmaximised_in_work_area &&
    check "un-maximised: its frame offers to maximise it" offers_maximise
  # A minimised modal window takes the un-maximised main window with it and brings it back as it was.
  main_state=normal
  main_place="$(frame_place "$main_id")"
  for trial in 1 2 3; do minimise_trial about "$trial"; done
  double_click_title_bar "$main_id"
  check "re-maximised from its title bar: it is maximised again, where it was" poll 10 maximised_where_it_was &&
    check "re-maximised: and stays so" holds 400 maximised_where_it_was
  main_state=maximised
  main_place="$maximised_place"
}

# ---- with a window manager: a click back into a text box ----
click_at() { # box n
  local place
  place="$(ask where "$1" "$2")"
  # shellcheck disable=SC2086
  xdotool mousemove $place click 1
}
text_is() { [ "$(ask text "$1")" = "[$2]" ]; }
away_and_back() { # box n: another window becomes active, then a click at the box's character n
  xdotool windowactivate "$elsewhere_id"
  poll 10 is_active "$elsewhere_id"
  click_at "$1" "$2"
  poll 10 is_active "$boxes_id"
}
text_box_checks() {
  local reply
  reply="$(ask boxes)"
  read -r _ boxes_id elsewhere_id <<<"$reply"
  check "text boxes: the window shows, active" poll 15 is_active "$boxes_id" || return
  click_at plain 0
  xdotool type --delay 20 "900.00000"
  check "plain box: typed text" poll 5 text_is plain "900.00000"
  # "90" selected, then another window, then a click after "900.0" and a 7.
  xdotool key Home shift+Right shift+Right
  away_and_back plain 5
  xdotool type --delay 20 "7"
  check "plain box: a click back places the caret where it is (900.070000)" poll 5 text_is plain "900.070000"
  click_at value 0
  xdotool type --delay 20 "900"
  check "value box: typed text" poll 5 text_is value "900"
  away_and_back value 1
  xdotool type --delay 20 "700"
  check "value box: a click back selects the whole text (700)" poll 5 text_is value "700"
}

# ---- without a window manager: the keyboard after a modal window ----
no_wm_checks() {
  local round
  check "no window manager: start-up settles, the main window is the program's only window" \
    poll 60 only_main_window || return
  check "no window manager: the main window covers the screen" [ "$(frame_place "$main_id")" = "0 0 1600 1000 " ]
  for round in 1 2 3; do
    xdotool key alt+h
    poll 5 popup_is "&Help" || { check "no window manager, round $round: Alt+H opens the Help menu" false; return; }
    xdotool key Return
    check "no window manager, round $round: About opens" poll 15 modal_shown_bare || return
    xdotool key Return
    check "no window manager, round $round: Enter closes About" poll 10 no_modal || return
    xdotool key alt+f
    check "no window manager, round $round: Alt+F opens the File menu" poll 5 popup_is "&File" || return
    xdotool key Escape
    poll 5 popup_is none
  done
}
popup_is() { [ "$(ask popup)" = "$1" ]; }
modal_shown_bare() { modal_id="$(ask modal)"; [ -n "$modal_id" ] && [ "$modal_id" != 0 ] && viewable "$modal_id"; }

# ---- the run ----
started=$(now_ms)
start_display 0
start_driver
no_wm_checks
stop_display

start_display 1
start_driver
check "start-up settles: the main window is the program's only window" poll 60 only_main_window
check "the main window starts maximised and active" poll 15 main_back
main_place="$(frame_place "$main_id")"
main_state=maximised
for kind in ${TESSARON_DESKTOP_KINDS:-about edit select msgbox file edit-msgbox over-window}; do
  kind_started=$(now_ms)
  for trial in $(seq 1 "$trials"); do minimise_trial "$kind" "$trial"; done
  [ "$kind" = over-window ] && ask hide-target >/dev/null
  echo "$kind: $trials minimise trials ($((($(now_ms) - kind_started) / 1000)) s)"
done
main_alone_trial
unmaximise_checks
text_box_checks
ask quit >/dev/null
wait "$driver_pid" 2>/dev/null
driver_status=$?
driver_pid=""
check "the program ends cleanly (status $driver_status)" [ "$driver_status" = 0 ]
stop_display

echo "desktop tier: $((checks - failures)) of $checks checks held, $failures failed ($(((($(now_ms) - started)) / 1000)) s)"
if [ "$failures" -gt 0 ]; then
  echo "driver's error output (last lines):"
  tail -20 "$work/driver.log"
  [ -n "${TESSARON_DESKTOP_LOG:-}" ] && cp "$work/driver.log" "$TESSARON_DESKTOP_LOG"
  exit 1
fi
exit 0
