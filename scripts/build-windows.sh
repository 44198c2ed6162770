#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 into build-win/ (release,
# linked statically): build-win/bin/velmora.exe and the test programs.
# Extra configure arguments may come in VELMORA_CMAKE_ARGS.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh windows
jobs=$(nproc 2>/dev/null || echo 2)
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
fi
read -ra args <<<"${VELMORA_CMAKE_ARGS:-}"  # words of their own
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_WERROR=ON "${args[@]}" >/dev/null
cmake --build build-win -j"$jobs" "$@"
