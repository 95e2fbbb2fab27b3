#!/usr/bin/env bash
# Unpacks a Debian source package, with Debian's patches applied, under
# build/third_party/NAME so that the MinGW build (and the instrumented fuzz
# build) can compile it. Nothing fetched here is ever committed.
#   scripts/fetch-debian-source.sh SOURCE-PACKAGE NAME FILE-THAT-MUST-EXIST
set -euo pipefail
package="$1"
name="$2"
marker="$3"
root="$(cd "$(dirname "$0")/.." && pwd)"
dest="$root/build/third_party/$name"
[ -f "$dest/$marker" ] && exit 0

# Source entries are made from the machine's own binary entries for its
# release (same addresses, suites, components and keyring), so no package
# host is ever named here.
add_source_entries() {
  local codename list=/etc/apt/sources.list.d/kalmia-deb-src.sources
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  : >"$list.new"
  for file in /etc/apt/sources.list.d/*.sources; do
    [ "$file" = "$list" ] || [ ! -f "$file" ] && continue
    # deb822 stanzas: copy each binary stanza of this release as a source one.
    awk -v codename="$codename" '
      function flush() {
        if (stanza != "" && binary && ours) print stanza "\n"
        stanza = ""; binary = 0; ours = 0
      }
      /^[ \t]*$/ { flush(); next }
      /^#/ { next }
      /^Types:/ { binary = ($0 ~ /(^|[ \t])deb([ \t]|$)/); $0 = "Types: deb-src" }
      /^Suites:/ { ours = ($0 ~ codename) }
      { stanza = stanza (stanza == "" ? "" : "\n") $0 }
      END { flush() }' "$file" >>"$list.new"
  done
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    grep -E "^deb[[:space:]].*[[:space:]]$codename([-[:space:]]|$)" "$file" |
      sed 's/^deb[[:space:]]/deb-src /' >>"$list.new" || true
  done
  mv "$list.new" "$list"
  apt-get update -q
}

if ! apt-get source --print-uris "$package" >/dev/null 2>&1; then
  add_source_entries
fi

work="$root/build/third_party/download-$name"
rm -rf "$work" && mkdir -p "$work"
# The newest version first; a mirror that lacks it (a security archive
# without its sources, say) falls back to the next one.
fetched=
for version in $(apt-cache showsrc "$package" | awk '/^Version:/ {print $2}' | sort -rV | uniq); do
  if (cd "$work" && apt-get source -q "$package=$version" >/dev/null 2>&1); then
    fetched=$version
    break
  fi
  rm -rf "${work:?}"/*
done
[ -n "$fetched" ] || { echo "no source of $package could be fetched" >&2; exit 1; }
unpacked=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n 1)
rm -rf "$dest" && mkdir -p "$(dirname "$dest")"
mv "$unpacked" "$dest"
rm -rf "$work"
test -f "$dest/$marker"
echo "$package $fetched sources in $dest"
