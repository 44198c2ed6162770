#!/usr/bin/env bash
# Configures and builds the release tree in build/ (programs in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release ${VELMORA_CMAKE_ARGS:-} >/dev/null
cmake --build build -j"$jobs"
