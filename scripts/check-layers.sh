#!/usr/bin/env bash
# Keeps the folders in their layers: every #include "..." under src/ and
# instrument/ may name only its own folder or a folder its row of the table
# below names, and every folder a row names must really be included from
# there, so the table stays the picture of the code. Prints each include
# that runs up or sideways (file:line) and each unused permission, and fails.
# `check-layers.sh --describe` prints the table as the architecture page
# shows it; the check fails when that page shows another one.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the folders it includes besides itself, from the bottom up.
order=(controls raster system system/posix system/win32 link acquisition spectrum display
  settings generator capture app gui/qt gui/win32 cli instrument)
declare -A allowed=(
  [controls]=""
  [raster]="controls"
  [system]=""
  [system/posix]="system"
  [system/win32]="system"
  [link]="controls system"
  [acquisition]="controls system link"
  [spectrum]="link"
  [display]="controls link spectrum"
  [settings]="controls system"
  [generator]="controls system link acquisition"
  [capture]="system link spectrum display"
  [app]="controls system link acquisition display settings generator capture"
  [gui/qt]="controls raster system system/posix app"
  [gui/win32]="controls raster system system/win32 app"
  [cli]="controls raster system system/posix system/win32 link display generator capture app"
  [instrument]="system/posix link"
)
doc=docs/ARCHITECTURE.md

describe() {
  local f
  for f in "${order[@]}"; do
    printf '    %-14s %s\n' "$f/" "${allowed[$f]:-(nothing)}"
  done
}

if [ "${1:-}" = "--describe" ]; then
  describe
  exit 0
fi

# The folder of the table a path lies in: the longest entry it begins with.
folder_of() {
  local path=$1 best="" f
  for f in "${!allowed[@]}"; do
    case "$path" in "$f"/*) [ ${#f} -gt ${#best} ] && best=$f ;; esac
  done
  printf '%s' "$best"
}

bad=0
declare -A used=()
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
  used["$from>$to"]=1
  case " ${allowed[$from]} " in
    *" $to "*) ;;
    *) echo "$file:$line: $from/ may not include $to/ (\"$target\")"; bad=1 ;;
  esac
done < <(grep -rnE --include='*.h' --include='*.cpp' --include='*.rc' '^\s*#\s*include\s+"' src instrument)

for from in "${order[@]}"; do
  for to in ${allowed[$from]}; do
    [ -n "${used["$from>$to"]:-}" ] || { echo "$from/ is allowed $to/ but includes nothing of it"; bad=1; }
  done
done

# The architecture page shows this table between its two marker lines.
if [ -f "$doc" ] && ! diff -u <(sed -n '/<!-- layers:begin -->/,/<!-- layers:end -->/p' "$doc" | sed '1d;$d' | sed '/^```/d') <(describe) >/dev/null; then
  echo "$doc: the layer table differs from scripts/check-layers.sh --describe"; bad=1
fi

if [ "$bad" -ne 0 ]; then
  echo "check-layers: includes against the layers above" >&2
  exit 1
fi
echo "check-layers: every include keeps to its layer, and every layer's permission is used"
