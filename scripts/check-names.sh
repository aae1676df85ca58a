#!/usr/bin/env bash
# Fails when a window or procedure is named by a string literal in a call that reaches it by name: such
# names are written once, in boardui/form_names.h, and every caller uses those constants, so that a misspelt
# name is a compile error rather than a call that silently finds nothing. Tests may name windows as a user
# reads them and are not checked; platform/ui defines the calls and names no window.
set -euo pipefail
cd "$(dirname "$0")/.."

# The calls by name with a string literal as one of their arguments, and a window's own name given as a
# literal rather than as its constant.
calls='(callIfLoaded|callOnAll|showByName|isLoaded|Forms::load|Forms::find|callProc|hasProc|registerProc|registerFactory|showBoxEditDialog|showRampRateEditDialog)'
literal='(QStringLiteral|QLatin1String|QString::fromLatin1|QString::fromUtf8|u?")'
pattern="\\b${calls}\\s*\\(([^()]*,\\s*)?${literal}|FormName = ${literal}"

status=0
for folder in board widgets shell profiles sweep debug modulation app; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -f "$file" ] || continue
    while IFS= read -r hit; do
      code=${hit#*:}
      # Comments may quote a call as an example.
      [[ "$code" =~ ^[[:space:]]*// ]] && continue
      echo "$file:${hit%%:*}: a name written as a literal in a call by name; use boardui/form_names.h:" >&2
      echo "    ${code#"${code%%[![:space:]]*}"}" >&2
      status=1
    done < <(grep -nE "$pattern" "$file" || true)
  done
done
exit $status
