#!/usr/bin/env bash
# Starts the real program (offscreen, the emulated demonstration board) from a copy in a fresh folder, so that
# its program folder is writable, waits a bounded time for "Software Ready!" in its "startup.log", checks
# the log line by line, then ends it the way a desktop session does (SIGTERM, handled as File > Exit) and
# expects it to be gone, with exit code 0, within a bounded time.
set -u
program="${1:?usage: end_to_end_startup.sh path/to/tessaron}"
folder="$(mktemp -d)"
trap 'kill -KILL "${pid:-0}" 2>/dev/null; rm -rf "$folder"' EXIT

cp "$program" "$folder/tessaron"
log="$folder/startup.log"
export TESSARON_BOARDS=demo
QT_QPA_PLATFORM=offscreen "$folder/tessaron" >"$folder/output.txt" 2>&1 &
pid=$!

fail() {
    echo "FAILED: $*"
    echo "--- startup.log"; cat "$log" 2>/dev/null
    echo "--- program output"; tail -n 20 "$folder/output.txt"
    echo "0 passed, 1 failed"
    exit 1
}

for _ in $(seq 1 600); do
    grep -q "Software Ready!" "$log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended before start-up was done"
    sleep 0.2
done
grep -q "Software Ready!" "$log" 2>/dev/null || fail "no \"Software Ready!\" within 120 s"

expected=$(printf '%s\n' \
    "ZR4470 Evaluation Software Startup Log File" \
    "CREATED" \
    "" \
    "Checking for USB Drivers..." \
    "   USB Driver Found." \
    "Searching for Evaluation Board..." \
    "   Using Evaluation Board - Ezssp-0." \
    "" \
    "Loading Main Window..." \
    "" \
    "Detecting DUT..." \
    "   Silicon Revision:  SR3" \
    "" \
    "Resetting Hardware and Software..." \
    "Loading Control Window..." \
    "Loading Profile Window..." \
    "" \
    "Software Ready!")
# Every line ends in carriage return and line feed; the second line carries the date and time.
grep -qv $'\r$' "$log" && fail "a line of the log does not end in CR LF"
actual=$(tr -d '\r' <"$log" | sed '2s/^Created: .\+  .\+$/CREATED/')
[ "$actual" = "$expected" ] || fail "the log's lines differ: $(diff <(echo "$expected") <(echo "$actual"))"
# An emulated board never passes for a real one: the program says which kind it uses.
grep -q "^Boards: emulated, not real (TESSARON_BOARDS=demo)." "$folder/output.txt" ||
    fail "the standard error does not say that the board is emulated"

kill -TERM "$pid"
for _ in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end within 30 s of SIGTERM"
wait "$pid"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code"
echo "1 passed, 0 failed"
