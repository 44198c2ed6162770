#!/usr/bin/env bash
# Makes the README's pictures again, from the real programs at their start-up
# settings (started from a folder without Config.Ini) against the virtual
# instrument with the demo inputs of ./scripts/run.sh:
#   assets/velmora-linux.png    build/bin/velmora, the Qt window, on a virtual
#                               X display (Xvfb)
#   assets/velmora-windows.png  build-win/bin/velmora.exe under Wine, taken by
#                               scripts/test-windows-window.sh on its way (its
#                               start-up checks run, the later ones do not)
#   assets/velmora-bode-lowpass.png  velmora-bode's plot of the virtual
#                               instrument's low-pass of 1 kHz
# Installs what is missing and builds what is not built. Every step is bounded
# in time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/demo-inputs.sh
caption="Velmora Rev 1.31 Nov 25 2025 16:05:18"

./scripts/install-deps.sh
./scripts/install-deps.sh wine # Xvfb, xdotool, ImageMagick; Wine for the second picture
./scripts/build.sh >/dev/null

source scripts/session.sh
begin_session
trap end_session EXIT

echo "== the Qt window"
start_display 1600x1200 || fail "no X display could be started"

# Port directory and settings of their own: nothing of the user's is read.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR" "$work/user"
timeout -k 5 300 build/bin/velmora-instrument "${demo_inputs[@]}" --trace "$work/trace.txt" \
  >"$work/instrument.out" &
pids+=($!)
wait_for 10 test -s "$work/instrument.out" || fail "the instrument did not start"
(cd "$work/user" && QT_QPA_PLATFORM=xcb exec timeout -k 5 120 "$root/build/bin/velmora") \
  >"$work/velmora.log" 2>&1 &
pids+=($!)

window() { xdotool search --name "^$caption\$" 2>/dev/null | head -n 1; }
window_shown() { [ -n "$(window)" ]; }
wait_for 30 window_shown || fail "no window captioned '$caption'"
frames_flowing() { [ "$(grep -c '^z$' "$work/trace.txt")" -ge 10 ]; }
wait_for 30 frames_flowing || fail "fewer than 10 frames requested"
mkdir -p assets
timeout 30 import -window "$(window)" -strip assets/velmora-linux.png
echo "assets/velmora-linux.png: $(identify -format '%w x %h' assets/velmora-linux.png)"

echo "== velmora-bode against a low-pass of 1 kHz"
XDG_RUNTIME_DIR=$work/runtime timeout -k 5 120 build/bin/velmora-instrument --dut lowpass,1000 \
  --link-name lowpass >"$work/lowpass.out" &
pids+=($!)
wait_for 10 test -s "$work/lowpass.out" || fail "the instrument with the low-pass did not start"
XDG_RUNTIME_DIR=$work/runtime timeout -k 5 120 build/bin/velmora-bode --port lowpass --quiet \
  -o "$work/lowpass.csv" --png assets/velmora-bode-lowpass.png || fail "velmora-bode"
echo "assets/velmora-bode-lowpass.png: $(identify -format '%w x %h' assets/velmora-bode-lowpass.png)"

echo "== velmora.exe under Wine"
if [ ! -f build-win/bin/velmora.exe ]; then
  ./scripts/build-windows.sh
fi
VELMORA_WINDOW_PICTURE=$root/assets/velmora-windows.png ./scripts/test-windows-window.sh \
  >"$work/wine.log" 2>&1 || {
  cat "$work/wine.log"
  fail "velmora.exe under Wine"
}
grep -q '^picture of the window' "$work/wine.log" || fail "no picture: $(tail -n 1 "$work/wine.log")"
echo "assets/velmora-windows.png: $(identify -format '%w x %h' assets/velmora-windows.png)"
