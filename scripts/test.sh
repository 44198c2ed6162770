#!/usr/bin/env bash
# Installs what is missing, checks the layers and the scripts, builds
# everything with warnings as errors, runs every test, then builds the unit
# tests with AddressSanitizer and UndefinedBehaviorSanitizer and runs them
# too, fuzzes, and runs the Windows tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)

echo "== layers"
./scripts/check-layers.sh

echo "== scripts (shellcheck, following what they source)"
shellcheck -x scripts/*.sh

echo "== build (warnings are errors)"
VELMORA_CMAKE_ARGS="-DVELMORA_WERROR=ON" ./scripts/build.sh

echo "== tests"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300
./scripts/check-package.sh

echo "== sanitizer build (address + undefined)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_QT=OFF \
  -DVELMORA_BENCH=OFF -DVELMORA_WERROR=ON >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
./scripts/fuzz.sh 15
./scripts/test-windows.sh
