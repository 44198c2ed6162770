#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velmora. When no serial
# instrument is attached, the virtual instrument is started first, with a demo
# signal on each input, and stopped when the program ends, so the window shows
# live traces either way.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/demo-inputs.sh
./scripts/install-deps.sh
./scripts/build.sh

has_hardware() {
  local d
  for d in /sys/class/tty/ttyACM* /sys/class/tty/ttyUSB*; do
    [ -e "$d/device/driver" ] && return 0
  done
  return 1
}

instrument_pid=""
cleanup() {
  if [ -n "$instrument_pid" ]; then
    kill "$instrument_pid" 2>/dev/null || true
    wait "$instrument_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

if ! has_hardware && [ -x build/bin/velmora-instrument ]; then
  log=$(mktemp)
  build/bin/velmora-instrument "${demo_inputs[@]}" >"$log" &
  instrument_pid=$!
  # The instrument prints the path of its port once it is registered.
  for _ in $(seq 100); do
    [ -s "$log" ] && break
    sleep 0.1
  done
  port=$(head -n 1 "$log")
  rm -f "$log"
  echo "No instrument attached: this is the virtual instrument on ${port:-?} with demo inputs" \
    "($demo_inputs_text); for a real instrument, plug it in and run ./scripts/run.sh again," \
    "or run build/bin/velmora alone."
fi

build/bin/velmora "$@"
