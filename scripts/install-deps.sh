#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the benchmarks (Xvfb for
# the live window's), the scripts' check (shellcheck) and the program need, only when one of them is missing.
# Safe to run again.
# `install-deps.sh windows` installs what the Windows cross build needs
# instead, `install-deps.sh wine` what its tests under Wine need.
set -euo pipefail

packages=(
  build-essential cmake pkg-config git
  qt6-base-dev qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libstb-dev
  fontconfig fonts-dejavu-core xvfb
  librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils
  clang libclang-rt-14-dev
  locales shellcheck
)
case "${1:-}" in
  # The cross build (libstb-dev's header-only PNG writer as well); librsvg2-bin
  # and icoutils make the program's icon, NSIS and zip the installer and the
  # portable zip.
  windows) packages=(cmake googletest g++-mingw-w64-x86-64-posix mingw-w64 binutils-mingw-w64-x86-64
    libstb-dev librsvg2-bin icoutils nsis zip) ;;
  # The Windows tests: Wine, pseudo-terminal peers, the window on a virtual
  # display; lnkinfo and unzip read back the shortcuts and the zip. Wine's
  # own fonts give the window Tahoma, as on Windows, where the font mapper
  # would otherwise substitute a wider one.
  wine) packages=(wine wine64 fonts-wine python3 xvfb xdotool imagemagick liblnk-utils unzip) ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The CSV files are checked in a decimal-comma locale, which Debian has only
# once it is generated.
if [ -z "${1:-}" ] && ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the de_DE.UTF-8 locale"
  "${sudo_cmd[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
