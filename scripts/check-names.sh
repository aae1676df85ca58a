#!/usr/bin/env bash
# Fails when a window, a procedure or a control of another folder's window is named by a string literal
# where it is reached by name: such names are written once, in form_names.h, and every caller uses those
# constants, so that a misspelt name is a compile error rather than a call that silently finds nothing.
# Tests may name windows and controls as a user reads them and are not checked; platform/ui defines the
# calls and names no window.
set -euo pipefail
cd "$(dirname "$0")/.."

# The names header, wherever the layers keep it.
names_header=
for candidate in $(git ls-files '*/form_names.h') */form_names.h; do
  if [ -f "$candidate" ]; then
    names_header=$candidate
    break
  fi
done
if [ -z "$names_header" ]; then
  echo "names check: no form_names.h in the repository" >&2
  exit 1
fi
folders=(board boardui widgets shell profiles sweep debug modulation app)

# The calls by name with a string literal as one of their arguments, and a window's own name given as a
# literal rather than as its constant.
calls='(callIfLoaded|callOnAll|showByName|isLoaded|Forms::load|Forms::find|callProc|hasProc|registerProc|registerFactory|showBoxEditDialog|showRampRateEditDialog)'
literal='(QStringLiteral|QLatin1String|QString::fromLatin1|QString::fromUtf8|u?")'
pattern="\\b${calls}\\s*\\(([^()]*,\\s*)?${literal}|FormName = ${literal}"

# Every control a window declares (`ui::TextBox txtSysClkTxt{this, "txtSysClkTxt"}`), with the folders
# whose windows declare it.
declaration='\{this, (QStringLiteral\()?"[A-Za-z_][A-Za-z0-9_]*"'
declare -A declared_in=()
for folder in "${folders[@]}"; do
  while IFS= read -r name; do
    declared_in[$name]+=" $folder "
  done < <(cat "$folder"/*.h "$folder"/*.cpp 2>/dev/null | grep -oE "$declaration" | sed -E 's/.*"([^"]+)"$/\1/' |
    sort -u)
done

status=0
files=0
for folder in "${folders[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -f "$file" ] || continue
    [ "$file" != "$names_header" ] || continue
    files=$((files + 1))
    while IFS= read -r hit; do
      code=${hit#*:}
      # Comments may quote a call as an example.
      [[ "$code" =~ ^[[:space:]]*// ]] && continue
      echo "$file:${hit%%:*}: a name written as a literal in a call by name; use $names_header:" >&2
      echo "    ${code#"${code%%[![:space:]]*}"}" >&2
      status=1
    done < <(grep -nE "$pattern" "$file" || true)

    # A literal that names a control only windows of other folders declare: that window is reached by
    # name from here, and the control's name belongs in the names header.
    while IFS= read -r hit; do
      code=${hit#*:}
      [[ "$code" =~ ^[[:space:]]*// ]] && continue
      # Neither a window's own declarations nor a text it shows (`lblAutoSize.setCaption("Label1")`) name
      # a control.
      while [[ "$code" =~ $declaration|(\.|->)set[A-Z][A-Za-z]*\((QStringLiteral\()?\"[A-Za-z0-9_]*\" ]]; do
        code=${code/"${BASH_REMATCH[0]}"/}
      done
      while [[ "$code" =~ \"([A-Za-z_][A-Za-z0-9_]*)\" ]]; do
        name=${BASH_REMATCH[1]}
        code=${code#*\""$name"\"}
        owners=${declared_in[$name]-}
        [ -n "$owners" ] || continue
        [[ "$owners" == *" $folder "* ]] && continue
        read -r -a owner_list <<<"$owners"
        echo "$file:${hit%%:*}: \"$name\", a control of a window in ${owner_list[*]}, written as a literal;" \
          "name it by its constant in $names_header" >&2
        status=1
      done
    done < <(grep -nE '"[A-Za-z_][A-Za-z0-9_]*"' "$file" || true)
  done
done
if [ "$status" -eq 0 ]; then
  echo "names ok: $files files name the windows, procedures and other folders' controls they reach by constant"
fi
exit "$status"
