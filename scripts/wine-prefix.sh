#!/usr/bin/env bash
# The Wine prefix the Windows tests run in: build-win/wine, never the user's
# home (VELMORA_WINEPREFIX names another, such as the installer test's fresh
# one). Created once (wineboot, bounded in time); later calls only export it.
# Use with `source scripts/wine-prefix.sh`; run directly it prints the prefix.
_velmora_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${VELMORA_WINEPREFIX:-$_velmora_root/build-win/wine}"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko download dialogs: the tests need neither .NET nor HTML.
# No menu builder: shortcuts that programs (the installer) make under Wine
# would otherwise become desktop entries in the home folder.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  timeout 180 wineboot -i >/dev/null 2>&1 || true
  timeout 60 wineserver -w 2>/dev/null || true
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-prefix.sh: could not create the Wine prefix $WINEPREFIX" >&2
  (return 0 2>/dev/null) && return 1 || exit 1
fi
# Tahoma, the window's font, as Windows has it in its Fonts folder: Wine's
# own (Debian's fonts-wine), which this Wine does not find where the package
# puts it, so that the font mapper would substitute a wider face.
for _velmora_font in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf; do
  if [ -f "$_velmora_font" ]; then ln -sf "$_velmora_font" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
done
unset _velmora_font
unset _velmora_root
(return 0 2>/dev/null) || echo "$WINEPREFIX"
