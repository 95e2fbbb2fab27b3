#!/usr/bin/env bash
# Makes dist/kalmia-1.0-win64.zip: the statically linked kalmia.exe, a short
# read-me in Japanese and English, and the licence.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh windows
x86_64-w64-mingw32-strip -o build/windows/kalmia-release.exe build/windows/kalmia.exe
# The executable must need nothing beyond the system's own DLLs.
if x86_64-w64-mingw32-objdump -p build/windows/kalmia-release.exe | grep -i 'DLL Name' |
  grep -viE 'kernel32|user32|gdi32|gdiplus|comdlg32|msvcrt|advapi32|shell32|ole32|version|api-ms-win'; then
  echo "kalmia.exe needs a DLL that Windows does not have" >&2
  exit 1
fi
stage=build/release/kalmia-1.0
rm -rf "$stage" && mkdir -p "$stage" dist
cp build/windows/kalmia-release.exe "$stage/kalmia.exe"
cp LICENSE "$stage/LICENSE.txt"
sed 's/$/\r/' docs/release-readme.txt >"$stage/README.txt"
rm -f dist/kalmia-1.0-win64.zip
(cd build/release && zip -q -r "../../dist/kalmia-1.0-win64.zip" kalmia-1.0)
echo "dist/kalmia-1.0-win64.zip"
