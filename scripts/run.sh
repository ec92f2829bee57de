#!/usr/bin/env bash
# Sets up, builds and runs Corvane under Wine on its starter library.
# Uses your X display when there is one, else a virtual one (Xvfb :93).
# Settings and library live in a Wine prefix of their own: ~/.corvane-wine
# (override with CORVANE_WINEPREFIX).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win

export WINEPREFIX=${CORVANE_WINEPREFIX:-$HOME/.corvane-wine}
export WINEDEBUG=-all
install_dir="$WINEPREFIX/drive_c/Program Files/Corvane"
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  echo "run: creating the Wine prefix $WINEPREFIX (once, about 20 s)"
  wineboot -i >/dev/null 2>&1 || true
fi
mkdir -p "$install_dir"
cmake --install "$root/build/win" --prefix "$install_dir" >/dev/null

if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:93
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  echo "run: no display; Corvane runs on the virtual display $DISPLAY"
fi
echo "run: starting $install_dir/Corvane.exe"
wine "$install_dir/Corvane.exe" "$@"
