#!/usr/bin/env bash
# Helpers for the scripts that run Windows programs under Wine on a virtual
# X display beside the virtual instrument (test-windows-window.sh,
# test-windows-package.sh, bench-windows.sh). Source it after
# wine-prefix.sh; the caller owns $work (a scratch folder) and the array
# `pids`, whose processes its cleanup stops.

# wait_for SECONDS COMMAND...: polls every 0.2 s until the command succeeds.
wait_for() {
  local limit=$(($1 * 5))
  shift
  local _
  for _ in $(seq "$limit"); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# stop_pids: stops the processes in `pids` and waits for them (for the
# caller's cleanup, before it removes $work).
stop_pids() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}

# start_display: a virtual screen of 1600 x 1000 on the first free display
# number, exported as DISPLAY; false when none starts. Without a window
# manager Wine draws the frames itself and maximises a window over the
# whole screen.
start_display() {
  local n
  for n in $(seq 90 150); do
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
    timeout -k 5 900 Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    if wait_for 10 test -e "/tmp/.X11-unix/X$n"; then
      export DISPLAY=":$n"
      timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      return 0
    fi
  done
  return 1
}

# start_com_instrument N [OPTIONS]: the virtual instrument (its port link in
# the scratch folder, every command it receives traced to $work/trace.txt)
# on a pseudo-terminal that becomes COMn: a dosdevices link, declared under
# Wine's Ports key so that the mount manager registers it (SERIALCOMM) when
# the Wine server starts again, which this does. Sets `instrument_pty`.
start_com_instrument() {
  local n=$1
  shift
  XDG_RUNTIME_DIR=$work timeout -k 5 900 build/bin/velmora-instrument --link-name "velmora-com$n" \
    --trace "$work/trace.txt" "$@" >"$work/instrument.out" &
  pids+=($!)
  wait_for 10 test -s "$work/instrument.out" || return 1
  instrument_pty=$(readlink -f "$(head -n 1 "$work/instrument.out")")
  [ -c "$instrument_pty" ] || return 1
  ln -sfn "$instrument_pty" "$WINEPREFIX/dosdevices/com$n"
  timeout 30 wine reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /d "$instrument_pty" /f >/dev/null 2>&1
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
}

# unlink_com N: COMn gone from the prefix again.
unlink_com() {
  rm -f "$WINEPREFIX/dosdevices/com$1"
  timeout 30 wine reg delete 'HKLM\Software\Wine\Ports' /v "COM$1" /f >/dev/null 2>&1 || true
}

# data_requests: how many data requests the instrument has received.
data_requests() { grep -c '^z$' "$work/trace.txt" 2>/dev/null || true; }
