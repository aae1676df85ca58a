#!/usr/bin/env bash
# Fails when a folder's README.md does not name one of the folder's tracked headers, sources or scripts.
# A file counts as named when its name appears in the README, spelt out ("evalbd.h") or with its sibling
# extensions after a slash ("evalbd.h/.cpp"). A class lives in one header and one source, so naming the
# header ("evalbd.h") names the source of the same stem (evalbd.cpp) too.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
checked=0
declare -A named_in=()
while IFS= read -r file; do
  folder=$(dirname "$file")
  readme="$folder/README.md"
  checked=$((checked + 1))
  if [ ! -f "$readme" ]; then
    echo "$file: $folder has no README.md"
    status=1
    continue
  fi
  if [ -z "${named_in[$folder]+set}" ]; then
    # Every name the README spells, its slash-joined extensions expanded.
    named_in[$folder]=" $( (grep -oE '[A-Za-z0-9_+-]+(\.[A-Za-z0-9]+)(/\.[A-Za-z0-9]+)*' "$readme" || true) |
      awk -F/ '{ stem = $1; sub(/\.[^.]*$/, "", stem); printf "%s %s.* ", $1, stem }') "
  fi
  name=$(basename "$file")
  stem=${name%.*}
  if [[ "${named_in[$folder]}" != *" $name "* && "${named_in[$folder]}" != *" $stem.h "* &&
        "${named_in[$folder]}" != *" $stem.* "* ]]; then
    echo "$file: not named in $readme"
    status=1
  fi
done < <(git ls-files '*.h' '*.cpp' '*.sh' '*.cmake')
if [ "$status" -eq 0 ]; then
  echo "readmes ok: every README names the $checked headers, sources and scripts beside it"
fi
exit "$status"
