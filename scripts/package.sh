#!/usr/bin/env bash
# Installs what is missing, builds the release tree in build/, and packs what
# its install rules install into build/velmora_<version>_<arch>.deb. Prints
# the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh

rm -f build/velmora_*.deb
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! cpack --config build/CPackConfig.cmake -G DEB >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
ls build/velmora_*.deb
