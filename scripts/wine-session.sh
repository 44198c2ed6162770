#!/usr/bin/env bash
# Wine's part of a session (test-windows.sh, test-windows-window.sh,
# test-windows-package.sh, bench-windows.sh): COM ports that lead to
# pseudo-terminals, the Wine server, a virtual X display for the windows.
# Source it after wine-prefix.sh; it brings session.sh along. COM ports
# linked here are kept in the array `coms`, which end_wine_session removes.
# shellcheck source=scripts/session.sh
source "$(dirname "${BASH_SOURCE[0]}")/session.sh"

# begin_wine_session: a session (begin_session) with no COM ports linked yet.
begin_wine_session() {
  begin_session
  coms=()
}

# end_wine_session: COM ports unlinked, the Wine server stopped, then the
# processes (the X display among them, so Wine goes first), then $work.
end_wine_session() {
  local n
  for n in "${coms[@]}"; do unlink_com "$n"; done
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  end_session
}

# restart_wineserver: a fresh Wine server, whose own output (an object dump
# when it is stopped with clients left) goes nowhere; the programs' output
# still shows. Wine's mount manager reads the Ports key when Wine starts.
restart_wineserver() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
  timeout 30 wineserver -p5 >/dev/null 2>&1 || true
}

# start_wine_display: a screen of 1600 x 1000 for Wine. Without a window
# manager Wine draws the frames itself and maximises a window over the whole
# screen.
start_wine_display() {
  start_display 1600x1000 || return 1
  timeout 30 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# link_com N DEVICE: COMn leads to DEVICE: a dosdevices link, declared under
# Wine's Ports key as well so that the mount manager registers it as a serial
# device (SERIALCOMM and the DOS device name), which discovery reads. Takes
# effect when the Wine server starts again (restart_wineserver).
link_com() {
  ln -sfn "$2" "$WINEPREFIX/dosdevices/com$1"
  [[ " ${coms[*]} " == *" $1 "* ]] || coms+=("$1")
  timeout 30 wine reg add 'HKLM\Software\Wine\Ports' /v "COM$1" /d "$2" /f >/dev/null 2>&1
}

# unlink_com N: COMn gone from the prefix again.
unlink_com() {
  rm -f "$WINEPREFIX/dosdevices/com$1"
  timeout 30 wine reg delete 'HKLM\Software\Wine\Ports' /v "COM$1" /f >/dev/null 2>&1 || true
}

# start_com_instrument N [OPTIONS]: the virtual instrument (its port link in
# the scratch folder, every command it receives traced to $work/trace.txt)
# on a pseudo-terminal that becomes COMn, with the Wine server started again.
# Sets `instrument_pty`.
start_com_instrument() {
  local n=$1
  shift
  XDG_RUNTIME_DIR=$work timeout -k 5 900 build/bin/velmora-instrument --link-name "velmora-com$n" \
    --trace "$work/trace.txt" "$@" >"$work/instrument.out" &
  pids+=($!)
  wait_for 10 test -s "$work/instrument.out" || return 1
  instrument_pty=$(readlink -f "$(head -n 1 "$work/instrument.out")")
  [ -c "$instrument_pty" ] || return 1
  link_com "$n" "$instrument_pty"
  restart_wineserver
}

# data_requests: how many data requests the instrument has received.
data_requests() { grep -c '^z$' "$work/trace.txt" 2>/dev/null || true; }
