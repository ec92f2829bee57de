#!/usr/bin/env bash
# Builds the native tests and the Windows deliverables.
#   scripts/build.sh [native|win|win32|all]   (default all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
jobs=${CORVANE_JOBS:-2}

if [ "$what" = native ] || [ "$what" = all ]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
if [ "$what" = win ] || [ "$what" = all ]; then
  yaml_src=$("$root/scripts/fetch-libyaml.sh")
  cmake -S "$root" -B "$root/build/win" -DCMAKE_BUILD_TYPE=Release \
    -DCORVANE_LIBYAML_SOURCE_DIR="$yaml_src" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$root/build/win" -j "$jobs"
fi
# The hook library for 32-bit programs and its host, from the same sources
# with the i686 compiler, beside the 64-bit deliverables (alone: win32).
if [ "$what" = win ] || [ "$what" = all ] || [ "$what" = win32 ]; then
  cmake -S "$root" -B "$root/build/win32" -DCMAKE_BUILD_TYPE=Release -DCORVANE_HOOKS32=ON \
    -DCORVANE_OUTPUT_DIR="$root/build/win/bin" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" >/dev/null
  cmake --build "$root/build/win32" -j "$jobs"
fi
