#!/usr/bin/env bash
# Keeps the folders in their layers: every #include "..." under src/ and
# instrument/ may name only its own folder or a folder of the table below.
# Prints each include that runs up or sideways (file:line) and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the folders it may include besides itself, from the bottom up.
declare -A allowed=(
  [controls]="system"
  [system]="controls"
  [system/posix]="system controls"
  [system/win32]="system controls"
  [link]="system controls"
  [acquisition]="link system controls"
  [settings]="link system controls"
  [generator]="acquisition link system controls"
  [capture]="generator settings acquisition link system controls"
  [app]="capture generator settings acquisition link system controls"
  [gui/qt]="app capture generator settings acquisition link system/posix system controls"
  [gui/win32]="app capture generator settings acquisition link system/win32 system controls"
  [cli]="app capture generator settings acquisition link system/posix system/win32 system controls"
  [instrument]="link system/posix system"
)

# The folder of the table a path lies in: the longest entry it begins with.
folder_of() {
  local path=$1 best="" f
  for f in "${!allowed[@]}"; do
    case "$path" in "$f"/*) [ ${#f} -gt ${#best} ] && best=$f ;; esac
  done
  printf '%s' "$best"
}

bad=0
while IFS=: read -r file line text; do
  target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$text")
  from=$(folder_of "${file#src/}")
  [ -n "$from" ] || { echo "$file:$line: folder not in the layer table"; bad=1; continue; }
  to=$(folder_of "$target")
  if [ -z "$to" ]; then
    # A bare name is a file beside the includer (or a generated one).
    [[ "$target" != */* ]] && continue
    echo "$file:$line: includes \"$target\", which is in no layer"; bad=1; continue
  fi
  [ "$to" = "$from" ] && continue
  case " ${allowed[$from]} " in
    *" $to "*) ;;
    *) echo "$file:$line: $from/ may not include $to/ (\"$target\")"; bad=1 ;;
  esac
done < <(grep -rnE --include='*.h' --include='*.cpp' --include='*.rc' '^\s*#\s*include\s+"' src instrument)

if [ "$bad" -ne 0 ]; then
  echo "check-layers: includes against the layers above" >&2
  exit 1
fi
echo "check-layers: every include keeps to its layer"
