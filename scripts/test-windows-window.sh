#!/usr/bin/env bash
# The real velmora.exe under Wine on a virtual X display, started the way a
# Windows user starts it (from a folder without Config.Ini), against the
# virtual instrument (the Linux program) on a pseudo-terminal linked into the
# Wine prefix as COM5. Runs the window binding's tests on that display, then
# checks that
#   - the window shows its caption,
#   - the instrument receives the start-up commands in order, then data
#     requests frame after frame,
#   - frames are drawn: a screenshot holds the graticule's grey lines and
#     both traces' pixels on the 0 V line (kept as
#     build-win/artifacts/window-wine.png),
#   - after the window is closed (WM_CLOSE, as the close box sends it),
#     Config.Ini names COM5 as the selected port, in the Linux build's bytes.
# Builds what of build-win it needs when it is missing, and the instrument in
# build/. Every step is bounded in time.
# Skips (exit 0) only when Wine cannot be installed at all.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
caption="Velmora Rev 1.31 Nov 25 2025 16:05:18"

./scripts/install-deps.sh wine || true  # Wine, Xvfb, xdotool, ImageMagick
if ! command -v wine >/dev/null; then
  echo "SKIPPED: Wine cannot be installed here; velmora.exe was not run."
  exit 0
fi

echo "== velmora.exe under Wine and Xvfb"
if [ ! -f build-win/bin/velmora.exe ] || [ ! -f build-win/tests/velmora_gui_win32_tests.exe ]; then
  ./scripts/build-windows.sh --target velmora velmora_gui_win32_tests
fi
source scripts/wine-prefix.sh
source scripts/wine-session.sh
need_instrument

begin_wine_session
# Wine goes first, while its X display is still there.
cleanup() {
  timeout 30 wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  end_wine_session
}
trap cleanup EXIT
start_wine_display || fail "no X display could be started"

# The window binding's own tests need a display too: here they have one.
# The table of the window's life runs again at 144 DPI (Wine's LogPixels,
# read when a program starts), as on a laptop's display at 150 %: the
# controls' places, every fixed text in full in its control.
echo "-- velmora_gui_win32_tests.exe"
timeout -k 10 120 wine build-win/tests/velmora_gui_win32_tests.exe --gtest_brief=1 \
  >"$work/window-tests.log" 2>&1 || { cat "$work/window-tests.log"; fail "the window tests"; }
! grep -q SKIPPED "$work/window-tests.log" || fail "window tests skipped with a display there"
grep -a 'PASSED' "$work/window-tests.log"
timeout 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
VELMORA_TEST_DPI=144 timeout -k 10 120 wine build-win/tests/velmora_gui_win32_tests.exe \
  --gtest_filter='Win32WindowSessionTest.*' --gtest_brief=1 >"$work/window-dpi.log" 2>&1 ||
  { cat "$work/window-dpi.log"; fail "the window tests at 144 DPI"; }
timeout 30 wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null
! grep -q SKIPPED "$work/window-dpi.log" || fail "window tests skipped at 144 DPI"
echo "at 144 DPI: $(grep -a 'PASSED' "$work/window-dpi.log")"

# The instrument on COM5; noise sets the flat traces of the two channels
# apart so that both show. For the README's picture
# (VELMORA_WINDOW_PICTURE=FILE, from scripts/screenshots.sh) it has the demo
# inputs of ./scripts/run.sh instead.
signals=(--noise 40)
if [ -n "${VELMORA_WINDOW_PICTURE:-}" ]; then
  source scripts/demo-inputs.sh
  signals=("${demo_inputs[@]}")
fi
start_com_instrument 5 "${signals[@]}" || fail "the instrument did not start on COM5"
# Wine also registers the host's own serial devices (/dev/ttyS0 as COM1 and
# so on); the list is in ascending order, so COM5 must be the last one. (Its
# DOS devices are these too: Wine's are those its mount manager made.)
ports=$(timeout 30 wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>>"$work/wine.log" | tr -d '\r' |
  grep -o 'COM[0-9]*$' | sed 's/COM//' | sort -n | uniq)
echo "COM ports under Wine: $(one_line "$ports")"
[ "$(echo "$ports" | tail -n 1)" = 5 ] || fail "COM5 is not the last COM port"
index=$(($(echo "$ports" | wc -l) - 1))

# VELMORA_WINDOW_DPI=N with VELMORA_WINDOW_PICTURE: the picture at N DPI, as
# on a display scaled to N/96 (Wine's LogPixels, which the cleanup removes).
if [ -n "${VELMORA_WINDOW_PICTURE:-}" ] && [ -n "${VELMORA_WINDOW_DPI:-}" ]; then
  timeout 30 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$VELMORA_WINDOW_DPI" /f >/dev/null
fi

# Started as from the Explorer: its own folder is not the current one.
mkdir "$work/user"
(cd "$work/user" && exec timeout -k 5 120 wine "$root/build-win/bin/velmora.exe") \
  >"$work/velmora.log" 2>&1 &
app=$!
pids+=("$app")

window_shown() { xdotool search --name "^$caption\$" >/dev/null 2>&1; }
wait_for 60 window_shown || fail "no window captioned '$caption'"
echo "window shown: $caption"

requests() { data_requests; }
frames_flowing() { [ "$(requests)" -ge 10 ]; }
wait_for 30 frames_flowing || fail "fewer than 10 data requests: $(requests)"
# ComPortClick's request, SweepSpeedClick's sync command while the sync lists
# have no selection yet (its source and polarity characters are no digits,
# so the instrument rejects it), UpdateSyncClick, Scale1Click, Scale2Click;
# then one request per frame.
expected=$'z\n?\nS 1 1 1024 0\nX 7\nY 7\nz\nz\nz'
actual=$(head -n 8 "$work/trace.txt")
[ "$actual" = "$expected" ] || fail "start-up commands: $(one_line "$actual"), expected $(one_line "$expected")"
echo "start-up commands in order: $(one_line "$actual")"

# The README's picture is the screen as it stands; the checks below count
# grid pixels, which the demo's moving traces may cover, so they are left out.
if [ -n "${VELMORA_WINDOW_PICTURE:-}" ]; then
  sleep 1
  timeout 30 import -window root -strip "$VELMORA_WINDOW_PICTURE"
  echo "picture of the window: $VELMORA_WINDOW_PICTURE"
  exit 0
fi

# check_picture PNG: the screen holds a whole frame; writes where the client
# area lies to $work/client.
check_picture() {
  timeout 30 import -window root "$1"
  timeout 30 convert "$1" -depth 8 ppm:"$work/shot.ppm"
  timeout 60 python3 scripts/check-window-picture.py "$work/shot.ppm" "$work/client"
}
mkdir -p build-win/artifacts
shot=build-win/artifacts/window-wine.png
check_picture "$shot" || fail "the screenshot shows no frame"
echo "screenshot with graticule and traces: $shot"

# A user's clicks and keys, as X input through Wine to the controls: a click
# on Scale1's row (the entry already selected still counts), the Up key on it,
# its scroll arrow and the row again, the right arrow of the position bar, and
# the Enable A check box. Each runs
# its handler once, and the instrument receives its command (the generator's
# waveform list has no selection yet, so its character is the one before '0').
read -r cx cy cw ch <"$work/client"
echo "client area at $cx,$cy, $cw x $ch"
click() {  # click X Y: client coordinates
  timeout 10 xdotool mousemove $((cx + $1)) $((cy + $2)) click 1
  sleep 0.5
}
commands() { grep -v '^z$' "$work/trace.txt" | tail -n +5; }
click 126 66
timeout 10 xdotool key Up
sleep 0.5
click 164 73  # the list's own down arrow: the next entry shows, nothing is sent
click 126 66  # and a click on the row selects it
click $((cw - 6)) $((ch - 6))
click 260 147
got=$(commands | tr '\n' '|')
case "$got" in
  "X 7|X 6|X 7|S 1 1 1025 0|G 0 / 20000 1|") echo "user input reached the handlers: $got" ;;
  *) fail "commands after the user's input: '$got'" ;;
esac

# Text that is no number in the second amplitude box: ticking Enable B shows
# the error box, titled with the application's title; once it is closed the
# window carries on, frames keep coming.
click 244 172
timeout 10 xdotool type x
click 260 171
error_shown() { xdotool search --name '^Velmora$' >/dev/null 2>&1; }
wait_for 20 error_shown || fail "no error box titled 'Velmora'"
timeout 10 xdotool key Return
error_gone() { ! error_shown; }
wait_for 20 error_gone || fail "the error box did not close"
before=$(requests)
more_frames() { [ "$(requests)" -ge $((before + 3)) ]; }
wait_for 10 more_frames || fail "no frames after the error box"
[ "$(commands | tr '\n' '|')" = "$got" ] || fail "the failed handler sent a command"
echo "error box shown and closed; the window carries on"

# With Hold ticked no tick asks for a frame, so each data request now comes
# from a click on the window's surface (ScreenClick): on the picture, and on
# a greyed label, which takes no mouse input; not on an enabled label.
click 422 114
sleep 1
held=$(requests)
click 700 600
click 118 27
click 200 31
sleep 1
[ "$(requests)" = $((held + 2)) ] || fail "surface clicks: $(($(requests) - held)) requests, expected 2"
echo "two surface clicks, two data requests"

# Held, the picture changes no more; another window over it and away again
# must leave it whole (WM_PAINT shows the bitmap), not the background.
timeout -k 5 60 wine notepad >/dev/null 2>&1 &
pids+=($!)
notepad_shown() { xdotool search --name "Notepad" >/dev/null 2>&1; }
wait_for 30 notepad_shown || fail "the covering window did not show"
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name Notepad | head -n 1)")"
echo "covered by a window at $X,$Y, $WIDTH x $HEIGHT"
timeout 30 wine taskkill /im notepad.exe >/dev/null 2>&1 || true
notepad_gone() { ! notepad_shown; }
wait_for 30 notepad_gone || fail "the covering window did not go"
sleep 1
check_picture "$work/uncovered.png" || fail "the picture did not come back whole"
echo "uncovered: the picture is whole"

# The outer rectangle as the X server sees the window (Wine draws the frame
# itself, so it is GetWindowRect's): what the settings file must store.
win=$(xdotool search --name "^$caption\$" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$win")"
echo "window at $X,$Y, $WIDTH x $HEIGHT (outer)"

# WM_CLOSE to the window, as its close box sends it (a taskkill without /f).
timeout 30 wine taskkill /im velmora.exe >/dev/null 2>&1 || true
app_gone() { ! kill -0 "$app" 2>/dev/null; }
wait_for 30 app_gone || fail "velmora.exe did not end after WM_CLOSE"
[ -f "$work/user/Config.Ini" ] || fail "closing wrote no Config.Ini"
# The start-up values with the user's change of the position (one right),
# byte for byte as the Linux build writes them.
line() { printf '%s %s                %s\r\n' "$1" "$2" "${3:-}"; }
{
  line SwpSp 1; line SySrc 1; line SyPol 1; line ComPt "$index" '\\.\COM5'
  line Prob1 1; line Scal1 7; line Prob2 1; line Scal2 7; line SyLev 0; line SyPos 1025
  line Wleft "$X"; line Wtopp "$Y"; line Wwidt "$WIDTH"; line Whigh "$HEIGHT"
  line Scop1 1; line Scop2 1; line Fft1C 0; line Fft2C 0
} >"$work/expected.ini"
cmp "$work/expected.ini" "$work/user/Config.Ini" ||
  fail "Config.Ini differs: $(tr '\r\n' '|' <"$work/user/Config.Ini")"
echo "Config.Ini after closing: $(grep -a ComPt "$work/user/Config.Ini" | tr -d '\r')"
echo "== velmora.exe under Wine: passed"
