#!/usr/bin/env bash
# Builds the Windows deliverables (Release, stripped) and packs them:
#   dist/Corvane-<version>-setup.exe     per-user installer (NSIS)
#   dist/Corvane-<version>-portable.zip  the same files and a README, to unpack anywhere
# The version is the one in project() of CMakeLists.txt.
#   scripts/release.sh              (CORVANE_DIST=<folder> puts the files elsewhere)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win
dist=${CORVANE_DIST:-$root/dist}
jobs=${CORVANE_JOBS:-2}

"$root/scripts/setup.sh"
# The same configuration as scripts/build.sh win, so the two share one tree.
yaml_src=$("$root/scripts/fetch-libyaml.sh")
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DCORVANE_LIBYAML_SOURCE_DIR="$yaml_src" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target deliverables -j "$jobs"
"$root/scripts/build.sh" win32

version=$(tr -d '[:space:]' <"$build/generated/version.txt")
name=Corvane-$version
stage=$build/release/$name
rm -rf "$build/release"
mkdir -p "$stage" "$dist"

# What the build produced for shipping: the program, its dlls, the help files
# when they were built, and the starter library.
bin=$build/bin
for required in Corvane.exe Tolvar.dll Tolvar32.dll Tolvar32Host.exe Replies/index.sub; do
  [ -e "$bin/$required" ] || { echo "release: $bin/$required is missing" >&2; exit 1; }
done
cp "$bin"/Corvane.exe "$bin"/Tolvar32Host.exe "$bin"/*.dll "$stage/"
cp "$bin"/*.chm "$stage/" 2>/dev/null || echo "release: no help files built (chmcmd missing)"
cp -r "$bin/Replies" "$stage/Replies"

setup=$dist/$name-setup.exe
program_kb=$(( ($(stat -c %s "$stage/Corvane.exe" "$stage/Tolvar.dll" "$stage/Tolvar32.dll" "$stage/Tolvar32Host.exe" \
  | awk "{ s += \$1 } END { print s }") + 1023) / 1024 ))
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DPROGRAM_KB="$program_kb" \
  -DICON="$root/src/win32/app/res/Corvane.ico" -DOUTFILE="$setup" \
  "$root/packaging/Corvane.nsi"

# The portable zip: one folder, the same files, and where the data then lives.
sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$root/packaging/README-portable.txt" >"$stage/README.txt"
portable=$dist/$name-portable.zip
rm -f "$portable"
(cd "$build/release" && zip -q -r -X "$portable" "$name")

ls -l "$setup" "$portable" | awk '{ print "release: " $NF " (" $5 " bytes)" }'
