#!/usr/bin/env bash
# Builds the Windows build's programs (scripts/build-windows.sh) and packs
# them for Windows users, with the version of project() in CMakeLists.txt:
#   build-win/velmora-<version>-setup.exe  the installer (NSIS, 64-bit, per
#                                          user; packaging/windows/velmora.nsi)
#   build-win/velmora-<version>-win64.zip  the portable zip: the programs,
#                                          README.txt and LICENSE.txt (CRLF)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build-windows.sh
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
[ -n "$version" ] || { echo "package-windows.sh: no project version in build-win" >&2; exit 1; }
IFS=. read -r major minor patch tweak <<<"$version"
version4="${major:-0}.${minor:-0}.${patch:-0}.${tweak:-0}"

stage=$PWD/build-win/package
rm -rf "$stage"
mkdir -p "$stage"
programs=(velmora.exe velmora-capture.exe velmora-bode.exe)
for program in "${programs[@]}"; do cp "build-win/bin/$program" "$stage/"; done
# Windows text files: CRLF line ends.
sed -e "s/@VERSION@/$version/g" -e 's/\r*$/\r/' packaging/windows/README.txt >"$stage/README.txt"
sed -e 's/\r*$/\r/' LICENSE >"$stage/LICENSE.txt"

setup=build-win/velmora-$version-setup.exe
makensis -V2 -DVERSION="$version" -DVERSION4="$version4" -DSTAGE="$stage" \
  -DICON="$PWD/build-win/icon/velmora.ico" -DOUTFILE="$PWD/$setup" \
  packaging/windows/velmora.nsi

zip=build-win/velmora-$version-win64.zip
rm -f "$zip"
(cd "$stage" && zip -q -X "../$(basename "$zip")" "${programs[@]}" README.txt LICENSE.txt)
echo "$setup ($(du -k "$setup" | cut -f1) KiB)"
echo "$zip ($(du -k "$zip" | cut -f1) KiB)"
