#!/usr/bin/env bash
# Installs the udev rules that let a non-root user open the evaluation boards:
#   scripts/install-udev-rules.sh [VVVV:PPPP]
# VVVV:PPPP (hexadecimal, as lsusb shows them) are the board's identifiers; without them TESSARON_USB_ID
# is used when set, else the built-in ones. The development kit's identifiers are always included.
set -euo pipefail
cd "$(dirname "$0")/.."
ids="${1:-${TESSARON_USB_ID:-7a47:b470}}"
if ! [[ "$ids" =~ ^(0[xX])?([0-9a-fA-F]{1,4}):(0[xX])?([0-9a-fA-F]{1,4})$ ]]; then
  echo "install-udev-rules.sh: \"$ids\" is not VVVV:PPPP (two hexadecimal identifiers, as lsusb shows them)" >&2
  exit 2
fi
vendor=$(printf '%04x' "0x${BASH_REMATCH[2]}")
product=$(printf '%04x' "0x${BASH_REMATCH[4]}")
target=/etc/udev/rules.d/70-tessaron-boards.rules
rules=$(mktemp)
trap 'rm -f "$rules"' EXIT
# The repository's file with its board line set to the identifiers in use.
sed -e "s/ATTR{idVendor}==\"7a47\", ATTR{idProduct}==\"b470\"/ATTR{idVendor}==\"$vendor\", ATTR{idProduct}==\"$product\"/" \
  scripts/udev/70-tessaron-boards.rules >"$rules"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd install -m 0644 "$rules" "$target"
$sudo_cmd udevadm control --reload
echo "Installed $target for $vendor:$product and the development kit (0547:1002)."
echo "Unplug the board and plug it in again so that the rules apply."
