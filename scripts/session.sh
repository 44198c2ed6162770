#!/usr/bin/env bash
# What the scripts that run the programs share: a scratch folder, the
# processes they start, a virtual X display, the virtual instrument's build
# and the way they fail. Source it from the repository's root; the caller owns
# $work (a scratch folder, made by begin_session) and the array `pids`, whose
# processes stop_pids stops. wine-session.sh adds Wine's part.

# fail MESSAGE: the script ends with MESSAGE on standard error, followed by
# the file $fail_log when the script names one and it is not empty.
fail() {
  echo "FAILED: $*" >&2
  if [ -n "${fail_log:-}" ] && [ -s "$fail_log" ]; then cat "$fail_log" >&2; fi
  exit 1
}

# one_line TEXT: the lines of TEXT joined by spaces, for a message.
one_line() { paste -sd' ' <<<"$1"; }

# begin_session: a fresh scratch folder in $work and no processes yet.
begin_session() {
  work=$(mktemp -d)
  pids=()
}

# end_session: the processes stopped, the scratch folder removed.
end_session() {
  stop_pids
  rm -rf "$work"
}

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

# start_display WIDTHxHEIGHT: a virtual screen on a display number that Xvfb
# picks itself (no race with another script's), exported as DISPLAY; false
# when none starts. -noreset keeps the server as it is when its last client
# leaves, so a probe that disconnects while a program connects breaks nothing.
start_display() {
  timeout -k 5 900 Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -noreset \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  wait_for 10 test -s "$work/display" || return 1
  DISPLAY=":$(head -n 1 "$work/display")"
  export DISPLAY
}

# need_instrument: build/bin/velmora-instrument, built when it is missing
# (scripts/test.sh has built it already; a script run on its own may not).
need_instrument() {
  [ -x build/bin/velmora-instrument ] && return 0
  local args
  read -ra args <<<"${VELMORA_CMAKE_ARGS:-}"
  ./scripts/install-deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${args[@]}" >/dev/null
  cmake --build build -j2 --target velmora-instrument
}
