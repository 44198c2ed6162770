#!/usr/bin/env bash
# Every Windows program in build-win/bin (velmora.exe, velmora-capture.exe and
# any later one) as Explorer shows it, read back from the built file with
# windres: the version record's eight strings (the Details tab) with the
# version of project() in CMakeLists.txt and the program's own names, its
# four version numbers, the icon, and the manifest (asInvoker and the
# supported Windows versions; a console program also UTF-8 as its code
# page). Prints each program's fields; fails on the first that differs.
# Builds the programs when build-win has none.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build-win/bin/velmora.exe ] || ./scripts/build-windows.sh --target velmora velmora-capture
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
[ -n "$version" ] || { echo "check-windows-resources.sh: no project version in build-win" >&2; exit 1; }
IFS=. read -r major minor patch tweak <<<"$version"
numbers="${major:-0}, ${minor:-0}, ${patch:-0}, ${tweak:-0}"
company="The Velmora developers"
copyright="Copyright (c) 2026 $company"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# value NAME: a string of the version record in $resources.
value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"\$/\1/p" <<<"$resources"; }
# expect NAME VALUE
expect() {
  [ "$(value "$1")" = "$2" ] || fail "$exe: $1 is '$(value "$1")', expected '$2'"
}

checked=()
for exe in build-win/bin/*.exe; do
  file=$(basename "$exe")
  resources=$(x86_64-w64-mingw32-windres -i "$exe" -O rc) || fail "$exe: no resources"
  expect CompanyName "$company"
  [ -n "$(value FileDescription)" ] || fail "$exe: no FileDescription"
  expect FileVersion "$version"
  expect InternalName "${file%.exe}"
  expect LegalCopyright "$copyright"
  expect OriginalFilename "$file"
  expect ProductName Velmora
  expect ProductVersion "$version"
  for field in FILEVERSION PRODUCTVERSION; do
    grep -q "^ *$field $numbers\$" <<<"$resources" || fail "$exe: $field is not $numbers"
  done
  grep -q 'Type: group icon' <<<"$resources" || fail "$exe: no icon"
  grep -q 'requestedExecutionLevel level=""asInvoker""' <<<"$resources" || fail "$exe: not asInvoker"
  [ "$(grep -c 'supportedOS Id=' <<<"$resources")" = 4 ] || fail "$exe: not the 4 supported systems"
  case "$(file -b "$exe")" in
    *"(console)"*)
      grep -q '<activeCodePage [^>]*>UTF-8</activeCodePage>' <<<"$resources" ||
        fail "$exe: a console program without UTF-8 as its code page"
      ;;
    *"(GUI)"*)
      grep -q 'PerMonitorV2' <<<"$resources" || fail "$exe: a window not aware of each monitor's DPI"
      ;;
    *) fail "$exe: neither a console nor a GUI program: $(file -b "$exe")" ;;
  esac
  echo "$file:"
  for field in FileDescription FileVersion ProductName ProductVersion LegalCopyright \
    OriginalFilename InternalName CompanyName; do
    printf '  %-16s %s\n' "$field" "$(value "$field")"
  done
  checked+=("$file")
done
for program in velmora.exe velmora-capture.exe; do
  [[ " ${checked[*]} " == *" $program "* ]] || fail "no $program in build-win/bin"
done
echo "version records, icons and manifests of ${#checked[@]} programs: as built from project($version)"
