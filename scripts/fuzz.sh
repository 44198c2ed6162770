#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each one for the given
# number of seconds (default 60), one after the other, each on a scratch copy
# of its seed corpus so that the repository's corpus stays small. Stops at the
# first finding (a failed check, a sanitizer report, a crash, a hang or a
# leak), prints its report and keeps the input that caused it.
#   ./scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
case "$seconds" in
  '' | *[!0-9]*)
    echo "usage: $0 [seconds]" >&2
    exit 2
    ;;
esac
jobs=$(nproc 2>/dev/null || echo 2)
targets=(receive settings commands number)

echo "== fuzz build (clang, libFuzzer, address + undefined)"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_FUZZ=ON -DVELMORA_QT=OFF -DVELMORA_BENCH=OFF -DVELMORA_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target "${targets[@]/#/velmora_fuzz_}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/velmora-fuzz.XXXXXX")
for target in "${targets[@]}"; do
  echo "== fuzz $target for $seconds s"
  work="$scratch/$target"
  mkdir -p "$work/corpus" "$work/finding"
  cp tests/fuzz/corpus/"$target"/* "$work/corpus/"
  # One input taking more than 10 s is a hang: a finding like any other.
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build-fuzz/fuzz/velmora_fuzz_"$target" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$work/finding/" "$work/corpus" >"$work/log" 2>&1; then
    tail -n 80 "$work/log"
    echo "FINDING in $target: $(ls "$work/finding"/* 2>/dev/null || echo 'see the log above')" >&2
    echo "Reproduce: build-fuzz/fuzz/velmora_fuzz_$target <input>   (log: $work/log)" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' \
    "$work/log" || true
done
rm -rf "$scratch"
echo "== fuzz: no findings"
