#!/usr/bin/env bash
# Makes dist/kalmia-VERSION-win64.zip (VERSION from project() in
# CMakeLists.txt): the statically linked kalmia.exe and
# kalmia-cli.exe, a short read-me in Japanese and English, and the licence.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh windows
version=$(cat build/windows/version.txt)
stage=build/release/kalmia-$version
rm -rf "$stage" && mkdir -p "$stage" dist
for program in kalmia.exe src/cli/kalmia-cli.exe; do
  name=$(basename "$program")
  x86_64-w64-mingw32-strip -o "$stage/$name" "build/windows/$program"
  # Each executable must need nothing beyond the system's own DLLs; a failing
  # objdump fails the release rather than passing the check unread.
  imports=$(x86_64-w64-mingw32-objdump -p "$stage/$name") || { echo "objdump failed on $name" >&2; exit 1; }
  if grep -i 'DLL Name' <<<"$imports" |
    grep -viE 'kernel32|user32|gdi32|gdiplus|comdlg32|msvcrt|advapi32|shell32|ole32|version|api-ms-win'; then
    echo "$name needs a DLL that Windows does not have" >&2
    exit 1
  fi
done
cp LICENSE "$stage/LICENSE.txt"
sed 's/$/\r/' docs/release-readme.txt >"$stage/README.txt"
rm -f "dist/kalmia-$version-win64.zip"
(cd build/release && zip -q -r "../../dist/kalmia-$version-win64.zip" "kalmia-$version")
echo "dist/kalmia-$version-win64.zip"
