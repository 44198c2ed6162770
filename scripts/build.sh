#!/usr/bin/env bash
# Configures and builds the release tree in build/ (programs in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
read -ra args <<<"${VELMORA_CMAKE_ARGS:-}"  # words of their own
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "${args[@]}" >/dev/null
cmake --build build -j"$jobs"
