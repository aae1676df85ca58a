#!/usr/bin/env bash
# Fails when a header or source of a lower layer includes one of a higher layer. Every library exposes the
# project root to its users, so the compiler alone would accept such an include; the layers are:
#   platform/{runtime,os,usb} <- board (platform/usbhost on platform/usb, used by app only);
#   board and platform/ui <- boardui <- widgets <- shell <- profiles <- sweep; shell <- debug, modulation;
#   app on top. Tests, benchmarks and fuzz targets stand above everything and are not checked.
# Also fails when a file under board/ names a window or a control of one, or includes boardui/form_names.h.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include (itself and the layers below it).
declare -A allowed=(
  [platform/runtime]="platform/runtime"
  [platform/os]="platform/os platform/runtime"
  [platform/ui]="platform/ui platform/os platform/runtime"
  [platform/usb]="platform/usb"
  [platform/usbhost]="platform/usbhost platform/usb"
  [board]="board platform/os platform/usb platform/runtime"
  [boardui]="boardui board platform/ui platform/os platform/usb platform/runtime"
  [widgets]="widgets boardui board platform/ui platform/os platform/usb platform/runtime"
  [shell]="shell widgets boardui board platform/ui platform/os platform/usb platform/runtime"
  [profiles]="profiles shell widgets boardui board platform/ui platform/os platform/usb platform/runtime"
  [sweep]="sweep profiles shell widgets boardui board platform/ui platform/os platform/usb platform/runtime"
  [debug]="debug shell widgets boardui board platform/ui platform/os platform/usb platform/runtime"
  [modulation]="modulation shell widgets boardui board platform/ui platform/os platform/usb platform/runtime"
)
# The folder an include path names (in $layer), or nothing for a path outside the layers.
layer_of() {
  case "$1" in
    platform/runtime/* | platform/os/* | platform/ui/* | platform/usb/* | platform/usbhost/*) layer="${1%/*}" ;;
    board/* | boardui/* | widgets/* | shell/* | profiles/* | sweep/* | debug/* | modulation/* | app/*) layer="${1%%/*}" ;;
    *) layer="" ;;
  esac
}

status=0
for folder in "${!allowed[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -f "$file" ] || continue
    while IFS= read -r line; do
      number=${line%%:*}
      [[ "$line" =~ \"([^\"]+)\" ]] || continue
      included=${BASH_REMATCH[1]}
      layer_of "$included"
      [ -n "$layer" ] || continue
      if [[ " ${allowed[$folder]} " != *" $layer "* ]]; then
        echo "$file:$number: includes \"$included\" from $layer, which $folder may not use"
        status=1
      fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  done
done

# The board module names no window: no file under board/ includes the window names or names a window or a
# control of one (the names declared in boardui/form_names.h and every control a window declares).
names_file=$(mktemp)
trap 'rm -f "$names_file"' EXIT
{
  sed -n '/^\/\/ Windows\./,/^\/\/ Procedures/p' boardui/form_names.h
  grep -h 'ttbForm' boardui/form_names.h
} | grep -oE 'QStringLiteral\("[A-Za-z_][A-Za-z0-9_]*"\)' | sed -E 's/.*"([^"]+)".*/\1/' >"$names_file"
grep -rhoE '\{this, (QStringLiteral\()?"[A-Za-z_][A-Za-z0-9_]*"' --include=*.h --include=*.cpp \
  widgets shell profiles sweep debug modulation | sed -E 's/.*"([^"]+)"/\1/' >>"$names_file"
sort -u -o "$names_file" "$names_file"
if [ "$(wc -l <"$names_file")" -lt 100 ]; then
  echo "the window and control names could not be read from boardui/form_names.h and the windows"
  status=1
fi
while IFS= read -r hit; do
  echo "$hit: the board module names a window or a control, or includes the window names"
  status=1
done < <(
  grep -nwF -f "$names_file" board/*.h board/*.cpp || true
  grep -n 'form_names\.h' board/*.h board/*.cpp || true
)

if [ "$status" -eq 0 ]; then
  echo "layers ok: no folder includes a layer above it, and the board module names no window"
fi
exit "$status"
