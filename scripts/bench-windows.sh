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
if [ ! -x build/bin/velmora-instrument ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release ${VELMORA_CMAKE_ARGS:-} >/dev/null
  cmake --build build -j2 --target velmora-instrument
fi
source scripts/wine-prefix.sh
source scripts/wine-session.sh
work=$(mktemp -d)
pids=()
cleanup() {
  unlink_com 5
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  stop_pids
  rm -rf "$work"
}
trap cleanup EXIT

echo "== one redraw on the GDI canvas"
timeout -k 10 600 wine build-win/bench/DrawFrameGdiBench.exe

start_display || { echo "no X display could be started" >&2; exit 1; }
for pacing in "" --baud-pacing; do
  start_com_instrument 5 $pacing || { echo "the instrument did not start" >&2; exit 1; }
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
