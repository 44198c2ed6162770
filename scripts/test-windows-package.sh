#!/usr/bin/env bash
# The Windows packages as a user gets them (scripts/package-windows.sh makes
# them when they are missing), under Wine in a fresh prefix of their own,
# build-win/wine-install, on a virtual X display:
#   - the zip holds exactly the programs, README.txt and LICENSE.txt, the
#     texts with CRLF line ends; the installer is 64-bit and its version
#     resources carry the project's version;
#   - a silent install puts the programs in place, makes the Start-menu
#     shortcuts (target, working folder, arguments read back with lnkinfo)
#     and the uninstall entry with its values, and no desktop entries;
#   - the installed program, started through its shortcut, opens COM5 (the
#     virtual instrument) and on close writes Config.Ini into the shortcut's
#     working folder; while it runs a silent install fails with a non-zero
#     exit code and changes nothing; once it is closed, one over an older
#     version replaces the programs in place;
#   - a silent uninstall removes programs, shortcuts and entry, the
#     installation folder's Config.Ini (a start by a double click there)
#     and the folder; it leaves the working folder's Config.Ini, and a
#     file of the user's in the installation folder with its folder.
# Every step is bounded in time. Skips (exit 0) only when Wine cannot be
# installed at all.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt 2>/dev/null || true)
if [ -z "$version" ] || [ ! -f "build-win/velmora-$version-setup.exe" ]; then
  ./scripts/package-windows.sh
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
fi
setup=$root/build-win/velmora-$version-setup.exe
zip=$root/build-win/velmora-$version-win64.zip
programs=(velmora.exe velmora-capture.exe velmora-bode.exe)

./scripts/install-deps.sh wine || true  # Wine, Xvfb, lnkinfo, unzip
if ! command -v wine >/dev/null; then
  echo "SKIPPED: Wine cannot be installed here; the installer was not run."
  exit 0
fi
# shellcheck source=scripts/session.sh
source scripts/session.sh
need_instrument

echo "== the portable zip"
listed=$(unzip -Z1 "$zip" | sort)
expected=$(printf '%s\n' "${programs[@]}" README.txt LICENSE.txt | sort)
[ "$listed" = "$expected" ] || fail "the zip holds $(one_line "$listed"), expected $(one_line "$expected")"
for text in README.txt LICENSE.txt; do
  ! unzip -p "$zip" "$text" | grep -q $'[^\r]$' || fail "$text has lines without CRLF"
done
unzip -p "$zip" README.txt | grep -q "Velmora $version for Windows" || fail "README.txt names no version"
echo "$(basename "$zip"): $(one_line "$listed")"

echo "== the installer"
file -b "$setup" | grep -q 'PE32+ executable (GUI) x86-64' || fail "not a 64-bit program: $(file -b "$setup")"
resources=$(x86_64-w64-mingw32-windres -i "$setup" -O rc)
IFS=. read -r major minor _ <<<"$version"
grep -q "PRODUCTVERSION $major, ${minor:-0}, 0, 0" <<<"$resources" || fail "PRODUCTVERSION"
grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resources" || fail "ProductVersion"
echo "$(basename "$setup"): 64-bit, version $version, $(du -k "$setup" | cut -f1) KiB"

# A fresh prefix: nothing of an earlier run, nothing of the other tests.
export VELMORA_WINEPREFIX=$root/build-win/wine-install
rm -rf "$VELMORA_WINEPREFIX"
source scripts/wine-prefix.sh
source scripts/wine-session.sh
begin_wine_session
# A fresh home has no such folder: that is none, not a failure.
home_entries() { { find "$HOME/.local/share/applications" -name '*Velmora*' 2>/dev/null || true; } | wc -l; }
entries_before=$(home_entries)
cleanup() {
  coms=()  # the prefix goes as a whole
  end_wine_session
  rm -rf "$VELMORA_WINEPREFIX"
}
trap cleanup EXIT
start_wine_display || fail "no X display could be started"
start_com_instrument 5 || fail "the instrument did not start on COM5"

user=$(timeout 30 wine cmd /c echo %USERNAME% | tr -d '\r')
c="$WINEPREFIX/drive_c/users/$user"
installed="$c/AppData/Local/Programs/Velmora"
work_dir="$c/AppData/Roaming/Velmora"
menu="$c/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'
install() { timeout -k 10 120 wine "$setup" /S; }

echo "-- silent install"
install || fail "the installer's exit code $?"
for f in "${programs[@]}" uninstall.exe README.txt LICENSE.txt; do
  [ -f "$installed/$f" ] || fail "no $f in the installation folder"
done
for p in "${programs[@]}"; do cmp "$installed/$p" "build-win/bin/$p" || fail "$p differs"; done

# field LINK NAME: a field of lnkinfo's report.
field() { lnkinfo "$1" | sed -n "s/^[[:space:]]*$2[[:space:]]*: //p"; }
winpath() { printf '%s\n' "C:\\users\\$user\\$1"; }
# expect LINK NAME VALUE WHAT: the field has that value, or the test fails.
expect() {
  local got
  got=$(field "$1" "$2")
  [ "$got" = "$3" ] || fail "$4: $got"
}
link="$menu/Velmora.lnk"
[ -f "$link" ] || fail "no Start-menu shortcut Velmora"
expect "$link" 'Local path' "$(winpath 'AppData\Local\Programs\Velmora\velmora.exe')" "the shortcut's target"
expect "$link" 'Working directory' "$(winpath 'AppData\Roaming\Velmora')" "the shortcut's working folder"
expect "$link" 'Icon location' "$(winpath 'AppData\Local\Programs\Velmora\velmora.exe')" "the shortcut's icon"
echo "shortcut Velmora: $(field "$link" 'Local path') in $(field "$link" 'Working directory')"
prompt="$menu/Velmora capture prompt.lnk"
[ -f "$prompt" ] || fail "no Start-menu shortcut Velmora capture prompt"
expect "$prompt" 'Local path' 'C:\windows\system32\cmd.exe' "the prompt's target"
expect "$prompt" 'Working directory' "$(winpath 'AppData\Roaming\Velmora')" "the prompt's working folder"
field "$prompt" 'Command line arguments' |
  grep -qF "/k set \"PATH=$(winpath 'AppData\Local\Programs\Velmora');%PATH%\"" ||
  fail "the prompt's arguments: $(field "$prompt" 'Command line arguments')"
for program in velmora-capture velmora-bode; do
  timeout 60 wine "$installed/$program.exe" --version >/dev/null ||
    fail "the installed $program.exe --version"
done
echo "shortcut Velmora capture prompt: cmd.exe $(field "$prompt" 'Command line arguments')"
[ "$(home_entries)" = "$entries_before" ] || fail "desktop entries written into the home folder"

value() { timeout 30 wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
for name in DisplayName DisplayVersion Publisher DisplayIcon UninstallString QuietUninstallString \
  EstimatedSize NoModify NoRepair; do
  echo "  $name = $(value "$name")"
done
[ "$(value DisplayName)" = Velmora ] || fail "DisplayName"
[ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion"
[ "$(value Publisher)" = "The Velmora developers" ] || fail "Publisher"
[ "$(value DisplayIcon)" = "$(winpath 'AppData\Local\Programs\Velmora\velmora.exe'),0" ] ||
  fail "DisplayIcon"
uninstaller=$(winpath 'AppData\Local\Programs\Velmora\uninstall.exe')
[ "$(value UninstallString)" = "\"$uninstaller\"" ] || fail "UninstallString"
[ "$(value QuietUninstallString)" = "\"$uninstaller\" /S" ] || fail "QuietUninstallString"
[ $(($(value EstimatedSize))) -ge $(($(du -k "$installed/velmora.exe" | cut -f1) - 1)) ] ||
  fail "EstimatedSize"
{ [ "$(value NoModify)" = 0x1 ] && [ "$(value NoRepair)" = 0x1 ]; } || fail "NoModify, NoRepair"

echo "-- the installed program, started through its shortcut"
(cd "$work" && timeout -k 5 60 wine start /unix "$link") >"$work/start.log" 2>&1
frames_flowing() { [ "$(data_requests)" -ge 5 ]; }
wait_for 60 frames_flowing || fail "the installed program asks COM5 for no frames"
echo "COM5 opened: $(data_requests) data requests"

# An older version is installed, and it is running: a silent install must
# leave everything as it is.
timeout 30 wine reg add "$key" /v DisplayVersion /d 0.9 /f >/dev/null
rc=0
install || rc=$?
[ "$rc" -ne 0 ] || fail "a silent install while Velmora runs succeeded"
[ "$(value DisplayVersion)" = 0.9 ] || fail "a silent install while Velmora runs changed the entry"
echo "while it runs, a silent install ends with exit code $rc and changes nothing"

timeout 30 wine taskkill /im velmora.exe >/dev/null 2>&1 || true
wait_for 30 test -f "$work_dir/Config.Ini" || fail "closing wrote no Config.Ini in the working folder"
timeout 60 wineserver -w || true
grep -aq 'ComPt [0-9]* *\\\\.\\COM5' "$work_dir/Config.Ini" || fail "Config.Ini names no COM5"
echo "Config.Ini in the shortcut's working folder: $(grep -a ComPt "$work_dir/Config.Ini" | tr -d '\r')"

printf 'old' >>"$installed/velmora.exe"  # the older version's program
install || fail "the update's exit code $?"
cmp "$installed/velmora.exe" build-win/bin/velmora.exe || fail "the update did not replace velmora.exe"
[ "$(value DisplayVersion)" = "$version" ] || fail "the update's DisplayVersion"
echo "an update over version 0.9 replaced the programs in place"

echo "-- silent uninstall"
uninstall() {
  timeout -k 10 120 wine "$installed/uninstall.exe" /S || fail "the uninstaller's exit code $?"
  timeout 60 wineserver -w || true  # it goes on in a copy of itself, which removes the original
}
# The settings of a start by a double click in the installation folder.
cp "$work_dir/Config.Ini" "$installed/Config.Ini"
uninstall
[ ! -e "$installed" ] || fail "left in the installation folder: $(ls "$installed")"
{ [ ! -e "$link" ] && [ ! -e "$prompt" ]; } || fail "a shortcut is left"
! timeout 30 wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry is left"
[ -f "$work_dir/Config.Ini" ] || fail "the uninstaller removed Config.Ini"
echo "removed programs, shortcuts, entry and the installation folder's Config.Ini;" \
  "kept $(basename "$work_dir")/Config.Ini"

# A file of the user's in the installation folder keeps it, with that file.
install || fail "the second install's exit code $?"
printf 'mine\r\n' >"$installed/frame.csv"
uninstall
[ "$(ls -A "$installed" 2>&1)" = frame.csv ] || fail "the installation folder holds: $(ls -A "$installed" 2>&1)"
echo "a file of the user's keeps the installation folder: $(ls -A "$installed")"
echo "== Windows packages: passed"
