#!/usr/bin/env bash
# Cross-builds the Windows programs and runs their tests under Wine: what
# Explorer shows of each program (check-windows-resources.sh), the core's
# unit tests, the Win32 system layer's unit tests, and the Win32 serial port
# against the virtual instrument (the Linux program) on a pseudo-terminal
# linked into the Wine prefix as a COM port; then the window's
# (test-windows-window.sh), then the installer and the zip
# (package-windows.sh, test-windows-package.sh). Every step is bounded in
# time. Skips (exit 0) only when Wine cannot be installed at all.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "== Windows cross build"
./scripts/build-windows.sh
echo "== what Explorer shows of each program"
./scripts/check-windows-resources.sh

./scripts/install-deps.sh wine || true
if ! command -v wine >/dev/null; then
  echo "SKIPPED: Wine cannot be installed here; the Windows tests did not run."
  exit 0
fi

echo "== Wine prefix"
source scripts/wine-prefix.sh
source scripts/wine-session.sh
echo "$WINEPREFIX"
restart_wineserver

run() {  # run SECONDS PROGRAM.exe [ARGS]: one Windows program, bounded
  local limit=$1
  shift
  echo "-- $(basename "$1")"
  timeout -k 10 "$limit" wine "$@"
}

echo "== unit tests under Wine"
for exe in build-win/tests/velmora_*_tests.exe; do
  case "$exe" in *velmora_system_win32_port_tests.exe) continue ;; esac
  run 300 "$exe" --gtest_brief=1
done

echo "== Win32 serial port against the virtual instrument"
need_instrument
begin_wine_session
trap end_wine_session EXIT

# Both helpers start their program in this shell (not in a command
# substitution), so that the session's end knows and stops it.
start_instrument() {  # start_instrument NAME [OPTIONS]
  local name=$1
  shift
  build/bin/velmora-instrument --link-name "$name" "$@" >"$work/$name.out" &
  pids+=($!)
}

start_deaf_peer() {  # a peer that holds its end open and never reads
  python3 -c '
import os, pty, signal
master, slave = pty.openpty()
print(os.ttyname(slave), flush=True)
signal.pause()' >"$work/deaf.out" &
  pids+=($!)
}

start_vanishing_peer() {  # a device that goes away at the first byte it receives
  python3 -c '
import os, pty, signal
master, slave = pty.openpty()
print(os.ttyname(slave), flush=True)
os.read(master, 1)
os.close(master)
os.close(slave)
signal.pause()' >"$work/vanish.out" &
  pids+=($!)
}

first_line() {  # first_line FILE: waits (10 s at most) for the line a program prints
  wait_for 10 test -s "$1" || true
  head -n 1 "$1"
}

tag="velmora-wintest-$$"
start_instrument "$tag-a"
start_instrument "$tag-b" --flood
start_instrument "$tag-c" --dut lowpass,1000
start_deaf_peer
start_vanishing_peer
# The instrument prints its port link; the link points at its pseudo-terminal.
pty_instrument=$(readlink -f "$(first_line "$work/$tag-a.out")")
pty_flood=$(readlink -f "$(first_line "$work/$tag-b.out")")
pty_circuit=$(readlink -f "$(first_line "$work/$tag-c.out")")
pty_deaf=$(first_line "$work/deaf.out")
pty_vanish=$(first_line "$work/vanish.out")
echo "instrument on $pty_instrument, flood on $pty_flood, deaf peer on $pty_deaf," \
  "vanishing peer on $pty_vanish"
for pty in "$pty_instrument" "$pty_flood" "$pty_circuit" "$pty_deaf" "$pty_vanish"; do
  [ -c "$pty" ] || fail "no pseudo-terminal: '$pty'"
done
link_com 5 "$pty_instrument"
link_com 6 "$pty_flood"
link_com 7 "$pty_deaf"
link_com 8 "$pty_vanish"
link_com 9 "$pty_circuit"
restart_wineserver

VELMORA_TEST_COM=5 VELMORA_TEST_FLOOD_COM=6 VELMORA_TEST_STUCK_COM=7 VELMORA_TEST_VANISH_COM=8 \
  run 120 build-win/tests/velmora_system_win32_port_tests.exe

echo "== velmora-capture.exe against the virtual instrument on COM5"
# A name beyond the system's code page: the manifest makes the command's
# code page UTF-8, in which it reads its arguments.
capture_csv=$(winepath -w "$work/capture-Ω.csv" 2>/dev/null)
run 60 build-win/bin/velmora-capture.exe --port COM5 --quiet -o "$capture_csv"
[ -f "$work/capture-Ω.csv" ] || fail "velmora-capture.exe wrote no capture-Ω.csv: $(ls "$work")"
rows=$(grep -c '^[0-9]' "$work/capture-Ω.csv" || true)
[ "$rows" = 2048 ] || fail "velmora-capture.exe wrote $rows rows, not 2048"
status=0
run 60 build-win/bin/velmora-capture.exe --port COM199 --quiet 2>"$work/capture.err" || status=$?
cat "$work/capture.err"
{ [ "$status" = 1 ] && grep -q 'COM199.*does not exist' "$work/capture.err"; } ||
  fail "a missing COM199 gave status $status"

echo "== velmora-bode.exe against a low-pass of 1 kHz on COM9"
bode_csv=$(winepath -w "$work/bode.csv" 2>/dev/null)
bode_png=$(winepath -w "$work/bode.png" 2>/dev/null)
run 60 build-win/bin/velmora-bode.exe --port COM9 --from 100 --to 10000 --per-decade 1 --quiet \
  -o "$bode_csv" --png "$bode_png"
# Frequency,CH1,CH2,Gain,Phase,...: at 1 kHz -3.01 dB and -45 degrees.
awk -F, '$1 == 1000 { ok = ($4 > -3.2 && $4 < -2.8 && $5 > -47 && $5 < -43) } END { exit !ok }' \
  "$work/bode.csv" || fail "velmora-bode.exe at 1 kHz: $(grep '^1000,' "$work/bode.csv")"
head -c 8 "$work/bode.png" | grep -q PNG || fail "velmora-bode.exe wrote no PNG"
status=0
run 60 build-win/bin/velmora-bode.exe --port COM9 --to 40000 2>"$work/bode.err" || status=$?
{ [ "$status" = 2 ] && grep -q 'too high' "$work/bode.err"; } ||
  fail "velmora-bode.exe --to 40000 gave status $status"

end_wine_session
trap - EXIT

if [ -x scripts/test-windows-window.sh ]; then scripts/test-windows-window.sh; fi

echo "== Windows installer and zip"
./scripts/package-windows.sh
./scripts/test-windows-package.sh
echo "== Windows tests passed"
