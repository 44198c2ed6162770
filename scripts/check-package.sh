#!/usr/bin/env bash
# Builds the Debian package and checks it as a user's desktop would meet it:
# the desktop entry and the AppStream metainfo pass their validators, lintian
# finds no error, the icon the entry names is in the hicolor tree at the sizes
# its folders promise, nothing installed points into the build tree, and the
# unpacked velmora starts on the offscreen platform, keeps running, and on
# SIGTERM closes like a user would, writing Config.Ini in its current
# directory. Quiet on success; every step is bounded in time.
set -euo pipefail
cd "$(dirname "$0")/.."

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
log=$scratch/log
# shellcheck source=scripts/session.sh
source scripts/session.sh
fail_log=$log  # what the failed step said

./scripts/package.sh >"$log" 2>&1 || fail "the package did not build"
deb=$(tail -n 1 "$log")
[ -f "$deb" ] || fail "no package at '$deb'"

root=$scratch/root
dpkg-deb -x "$deb" "$root"
id=org.velmora.Velmora
desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml

desktop-file-validate "$desktop" >"$log" 2>&1 || fail "desktop-file-validate failed"
appstreamcli validate --no-net "$metainfo" >"$log" 2>&1 || fail "appstreamcli validate failed"
# The tree check also finds the desktop entry the metainfo launches.
appstreamcli validate-tree --no-net "$root" >"$log" 2>&1 || fail "appstreamcli validate-tree failed"

# Errors fail; a new warning is shown so that it gets fixed or listed in the
# README with its reason.
timeout 300 lintian --fail-on error "$deb" >"$log" 2>&1 || fail "lintian found errors"
grep '^W:' "$log" >&2 || true

# The menu shows the entry's icon by name from the hicolor theme.
icon=$(sed -n 's/^Icon=//p' "$desktop")
hicolor=$root/usr/share/icons/hicolor
: >"$log"
[ -f "$hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
[ -f "$hicolor/48x48/apps/$icon.png" ] || fail "no 48x48 icon $icon.png"
for png in "$hicolor"/*/apps/"$icon".png; do
  size=$(basename "$(dirname "$(dirname "$png")")")
  file "$png" | grep -q ", ${size/x/ x }," || fail "$png is not $size pixels"
done
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$program" ] || fail "the entry starts '$program', which is not in usr/bin"
if grep -rlF "$PWD/build" "$root" >"$log"; then
  fail "installed files name the build tree"
fi

# Start-up in a scratch current directory, with a port directory of its own so
# that no virtual instrument of another run is opened. After 4 s timeout sends
# SIGTERM; a clean close exits 0 and writes the 18 settings lines (CR LF).
run=$scratch/run
mkdir -p "$run/cwd" "$run/home" "$run/xdg"
chmod 700 "$run/xdg"
(
  cd "$run/cwd"
  HOME=$run/home XDG_RUNTIME_DIR=$run/xdg QT_QPA_PLATFORM=offscreen \
    timeout --preserve-status -k 5 4 "$root/usr/bin/$program" >"$log" 2>&1
) || fail "the installed $program did not close cleanly on SIGTERM (status $?)"
config=$run/cwd/Config.Ini
[ -f "$config" ] || fail "no Config.Ini in the program's current directory"
{ [ "$(grep -c $'\r$' "$config")" -eq 18 ] && [ "$(wc -l <"$config")" -eq 18 ]; } ||
  fail "Config.Ini does not hold 18 CR LF lines"
