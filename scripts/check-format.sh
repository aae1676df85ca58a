#!/usr/bin/env bash
# Fails when a tracked header or source differs from what clang-format makes of it with the repository's
# .clang-format. Reformat with: git ls-files '*.h' '*.cpp' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.h' '*.cpp')
if ! printf '%s\0' "${files[@]}" | xargs -0 -n 50 -P 4 clang-format --style=file --dry-run -Werror; then
  echo "format check failed: run clang-format -i on the files above"
  exit 1
fi
echo "format ok: ${#files[@]} files"
