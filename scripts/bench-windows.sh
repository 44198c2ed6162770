#!/usr/bin/env bash
# The Windows figures, under Wine (not part of the test command):
#   - one redraw of the picture on the GDI canvas (build-win/bench/
#     DrawFrameGdiBench.exe, a plain timing program);
#   - frames requested per second by the real velmora.exe on a virtual X
#     display against the virtual instrument on COM5, answering at once and
#     then at the pace of a 115200-baud line, each for SECONDS (default 30)
#     after a start-up of 5 s.
# `scripts/bench-windows.sh [SECONDS]`. Builds what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-30}
./scripts/build-windows.sh >/dev/null
./scripts/install-deps.sh wine
source scripts/wine-prefix.sh
source scripts/wine-session.sh
need_instrument
begin_wine_session
trap end_wine_session EXIT

echo "== one redraw on the GDI canvas"
timeout -k 10 600 wine build-win/bench/DrawFrameGdiBench.exe

start_wine_display || fail "no X display could be started"
for pacing in "" --baud-pacing; do
  start_com_instrument 5 ${pacing:+"$pacing"} || fail "the instrument did not start"
  mkdir -p "$work/user"
  (cd "$work/user" && exec timeout -k 5 $((seconds + 30)) wine "$root/build-win/bin/velmora.exe") \
    >/dev/null 2>&1 &
  app=$!
  sleep 5
  first=$(data_requests)
  sleep "$seconds"
  last=$(data_requests)
  timeout 30 wine taskkill /im velmora.exe >/dev/null 2>&1 || true
  wait "$app" 2>/dev/null || true
  awk -v n=$((last - first)) -v s="$seconds" -v p="${pacing:-answering at once}" \
    'BEGIN { printf "velmora.exe against the instrument (%s): %d frames requested in %d s, %.2f per second\n", p, n, s, n / s }'
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true
  rm -f "$work/trace.txt" "$work/instrument.out"
done
