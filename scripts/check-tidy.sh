#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over every source of the repository that a build folder
# compiles, in parallel, and fails on any finding. The build folder must have been built (its generated moc
# files are part of the sources' includes).
# A source found clean is remembered in <build>/tidy-clean/ by a hash of its preprocessed text, the
# configuration and the clang-tidy version: it is checked again only when one of them changes.
# Usage: scripts/check-tidy.sh [build folder, default build-asan]; TESSARON_JOBS sets the parallel runs.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-asan}"
jobs="${TESSARON_JOBS:-$(nproc)}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy check: $build/compile_commands.json is missing; configure and build $build first"
  exit 1
fi
exec python3 - "$build" "$jobs" <<'PYTHON'
import concurrent.futures, hashlib, json, os, re, shlex, subprocess, sys, time

build, jobs = sys.argv[1], int(sys.argv[2])
root = os.getcwd()
# The repository's own sources; the generated files of the build folder are not ours to tidy.
ours = re.compile("^" + re.escape(root) + r"/(app|bench|board|boardui|debug|fuzz|modulation|platform|profiles"
                  r"|shell|sweep|tests|widgets)/")
entries = [e for e in json.load(open(os.path.join(build, "compile_commands.json"))) if ours.match(e["file"])]
clean_dir = os.path.join(build, "tidy-clean")
os.makedirs(clean_dir, exist_ok=True)
with open(".clang-tidy", "rb") as config:
    salt = config.read() + subprocess.run(["clang-tidy", "--version"], capture_output=True).stdout
finding = re.compile(r"^\S+:\d+:\d+: (warning|error):", re.M)
colour = re.compile(r"\x1b\[[0-9;]*m")

def key(entry):
    args = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
    if "-o" in args:
        at = args.index("-o")
        del args[at:at + 2]
    text = subprocess.run(args + ["-E", "-o", "-"], cwd=entry["directory"], capture_output=True).stdout
    return hashlib.sha256(salt + entry["file"].encode() + text).hexdigest()

def check(entry):
    stamp = os.path.join(clean_dir, key(entry))
    if os.path.exists(stamp):
        return entry["file"], True, ""
    run = subprocess.run(["clang-tidy", "-p", build, "--quiet", entry["file"]], capture_output=True, text=True)
    out = colour.sub("", run.stdout + run.stderr)
    if run.returncode == 0 and not finding.search(out):
        open(stamp, "w").close()
        return entry["file"], False, ""
    return entry["file"], False, out

start = time.time()
reports, remembered, places = [], 0, set()
print(f"tidy check: {len(entries)} sources, {jobs} at a time", flush=True)
# A count of the sources done, every twentieth of the way and at the first source done after a minute
# without one, so that a long run is seen to go on.
step, shown, shown_at = max(1, len(entries) // 20), 0, start
with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
    # Findings are shown as each source finishes, so a long run shows its findings early.
    for finished, done in enumerate(
            concurrent.futures.as_completed([pool.submit(check, entry) for entry in entries]), 1):
        file, cached, out = done.result()
        remembered += cached
        now = time.time()
        if finished - shown >= step or now - shown_at >= 60 or finished == len(entries):
            print(f"tidy check: {finished} of {len(entries)} sources done ({now - start:.0f} s)", flush=True)
            shown, shown_at = finished, now
        if out:
            reports.append(out)
            kept = [line for line in out.splitlines() if not re.match(
                r"^(\d+ warnings?( and \d+ errors?)? generated|Suppressed \d+ warnings|Use -header-filter)", line)]
            print("\n".join(kept), flush=True)
            places.update(m.group(0) for m in re.finditer(r"^\S+:\d+:\d+: (warning|error):.*$", out, re.M))
took = time.time() - start
if reports:
    print(f"tidy check failed: {len(places)} findings in {len(reports)} of {len(entries)} sources ({took:.0f} s)")
    sys.exit(1)
print(f"tidy ok: {len(entries)} sources ({remembered} unchanged since found clean) in {took:.0f} s")
PYTHON
