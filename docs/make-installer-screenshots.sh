#!/usr/bin/env bash
# Takes the screenshots of the installer's and the uninstaller's pages under
# Wine's virtual desktop on a private Xvfb display.
#   docs/make-installer-screenshots.sh     (runs scripts/release.sh first)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/docs/images
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT
scenario_begin installer-screenshots
release_artefacts || exit 1

desktop_shot() {  # file
  local wid
  wid=$(xdotool search --name '^setup - Wine desktop$' | head -1)
  import -window "$wid" "$out/$1" 2>/dev/null
}

# Each page: wait until it is drawn, take it, then press the default button.
page() {  # file|- [keys...]
  sleep 2
  [ "$1" != - ] && desktop_shot "$1"
  shift
  xdotool key --delay 300 "$@"
}

wine explorer /desktop=setup,640x480 "$SETUP_EXE" >/dev/null 2>&1 &
wait_for_dialog 'Corvane Setup ' 1 30 || exit 1
page installer-welcome.png Return
page installer-folder.png Return
page installer-autorun.png space Return
sleep 3
page installer-finish.png space Return
sleep 2

install_win="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Corvane"
wine explorer /desktop=setup,640x480 "$install_win\\Uninstall.exe" >/dev/null 2>&1 &
wait_for_dialog 'Corvane Uninstall ' 1 30 || exit 1
page - Return
page installer-uninstall-data.png Escape
sleep 1
scenario_end
ls -la "$out"/installer-*.png
