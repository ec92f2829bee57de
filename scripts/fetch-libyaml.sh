#!/usr/bin/env bash
# Fetches the YAML parser's sources (Debian's source package libyaml) for the
# Windows build, which compiles them with mingw; the native build uses the
# system's libyaml-dev. The deb-src lines are made from this machine's own
# apt sources, in a private apt state, so the system's apt is left alone.
# Prints the folder that holds the unpacked sources (its src/ and include/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/build/deps"
dest="$deps/libyaml"
if [ -f "$dest/include/yaml.h" ] && [ -f "$dest/src/parser.c" ]; then
  echo "$dest"
  exit 0
fi
apt_dir="$deps/apt"
rm -rf "$apt_dir" "$dest"
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/src"
: >"$apt_dir/sources.list"
if [ -f /etc/apt/sources.list ]; then
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >>"$apt_dir/sources.list"
fi
for f in /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >>"$apt_dir/sources.list"
done
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/parts/$(basename "$f")"
done
apt_opts=(-q -o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o Debug::NoLocking=1
  -o APT::Sandbox::User=root)
[ "$(id -u)" -eq 0 ] || apt_opts+=(-o APT::Sandbox::User="$(id -un)")
timeout 300 apt-get "${apt_opts[@]}" update >&2
(cd "$apt_dir/src" && timeout 300 apt-get "${apt_opts[@]}" source --download-only libyaml >&2)
orig=$(ls "$apt_dir"/src/libyaml_*.orig.tar.* | head -1)
mkdir -p "$dest"
tar -xf "$orig" -C "$dest" --strip-components=1
# Debian's own changes to the sources, when the package has any.
deb=$(ls "$apt_dir"/src/libyaml_*.debian.tar.* 2>/dev/null | head -1 || true)
if [ -n "$deb" ]; then
  tar -xf "$deb" -C "$dest"
  if [ -f "$dest/debian/patches/series" ]; then
    while read -r p; do
      case "$p" in ''|'#'*) continue ;; esac
      patch -d "$dest" -p1 -s <"$dest/debian/patches/$p" >&2
    done <"$dest/debian/patches/series"
  fi
fi
[ -f "$dest/include/yaml.h" ] || { echo "fetch-libyaml: no yaml.h in the source package" >&2; exit 1; }
echo "$dest"
