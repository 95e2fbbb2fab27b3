#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Kalmia needs,
# generates the Japanese locale, and fetches the sources of the libraries that the
# Windows build compiles itself. Safe to run again: it only installs what is missing.
set -euo pipefail

PACKAGES=(
  cmake make g++ clang libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev libexpat1-dev libxml2-dev
  libcli11-dev nlohmann-json3-dev libxxhash-dev libpng-dev libz-mingw-w64-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool x11-utils xclip imagemagick fonts-ipafont-gothic fonts-wine
  locales dpkg-dev python3 zip git chromium chromium-driver python3-selenium
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine needs the glibc locale itself, not just LANG, to choose code page 932
# (and, for the Western run of the tests, 1252).
for wanted in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8$"; then
    sed -i "s/^# *\($wanted.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" >>/etc/locale.gen
    locale-gen
  fi
done

# The Windows build compiles Expat and libpng from Debian's source packages,
# and takes xxHash's header from its own.
"$(dirname "$0")/fetch-debian-source.sh" expat expat expat/lib/xmlparse.c
"$(dirname "$0")/fetch-debian-source.sh" xxhash xxhash xxhash.h
"$(dirname "$0")/fetch-debian-source.sh" libpng1.6 libpng1.6 png.c
