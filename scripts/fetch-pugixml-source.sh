#!/usr/bin/env bash
# Unpacks Debian's pugixml source package under build/third_party/pugixml so the
# MinGW build can compile it. Nothing fetched here is ever committed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dest="$root/build/third_party/pugixml"
[ -f "$dest/src/pugixml.cpp" ] && exit 0

# The machine's apt sources list binary packages only; add the matching source
# entry (same mirror, suite and keyring as the binary one).
list=/etc/apt/sources.list.d/kalmia-deb-src.sources
if ! apt-get source --print-uris pugixml >/dev/null 2>&1; then
  suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
  cat >"$list" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  apt-get update -q
fi

work="$root/build/third_party/download"
rm -rf "$work" && mkdir -p "$work"
(cd "$work" && apt-get source --download-only pugixml)
tarball=$(ls "$work"/pugixml_*.orig.tar.gz | head -n 1)
rm -rf "$dest" && mkdir -p "$dest"
tar -xzf "$tarball" -C "$dest" --strip-components=1
test -f "$dest/src/pugixml.cpp"
echo "pugixml sources in $dest"
