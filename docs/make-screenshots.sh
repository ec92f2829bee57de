#!/usr/bin/env bash
# Takes the README's screenshots of Corvane under Wine's virtual desktop (which
# draws window frames like Windows does) on a private Xvfb display.
#   docs/make-screenshots.sh     (needs scripts/build.sh win)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/docs/images
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT
scenario_begin screenshots

desktop_shot() {  # file
  local wid
  wid=$(xdotool search --name '^shots - Wine desktop$' | head -1)
  import -window "$wid" "$out/$1" 2>/dev/null
}

set_setting ShowTips 1
wine explorer /desktop=shots,960x640 "$PROGRAM_WIN" >/dev/null 2>&1 &
wait_for_dialog 'Tip of the Day' 1 30
sleep 1
desktop_shot tip-of-the-day.png
xdotool key Return
sleep 1
main_window_keys Down Down Right Down
sleep 0.5
desktop_shot main-full.png

# The tray icon sits at the right end of the virtual desktop's taskbar.
desktop=$(xdotool search --name '^shots - Wine desktop$' | head -1)
xdotool mousemove --window "$desktop" 950 630 click 3
sleep 1
desktop_shot tray-menu.png
xdotool key Escape
sleep 0.5

main_window_keys F10 Right Right Return
wait_for_dialog 'Corvane - Options' 1
sleep 0.5
desktop_shot options.png
xdotool key Escape
sleep 0.5

main_window_keys F10 Right Right Right Down Down Down Down Down Down Down Return
wait_for_dialog 'Corvane - About' 1
sleep 0.5
desktop_shot about.png
xdotool key Return
sleep 0.5

main_window_keys F10 Right Right Right Right Return
sleep 1
desktop_shot main-compact.png
main_window_keys F10 Right Right Right Right Return
sleep 0.5

# The parameters dialog, asked for by a reply's hot key (Ctrl+Alt+Shift+M of
# the starter library's "Meeting confirmation") while another program is active.
cp "$CORVANE_BIN"/tests/hooks_target.exe "$PROGRAM_DIR/"
wine explorer /desktop=shots,960x640 "$PROGRAM_DIR/hooks_target.exe" "Notes" 20 >/dev/null 2>&1 &
sleep 3
desktop=$(xdotool search --name '^shots - Wine desktop$' | head -1)
xdotool mousemove --window "$desktop" 60 148 click 1
sleep 2
xdotool keydown ctrl alt shift m
sleep 0.3
xdotool keyup m shift alt ctrl
wait_for_dialog 'Corvane - Do Macro Insertions and Replacements ' 1 10
sleep 0.5
desktop_shot parameters-dialog.png
xdotool key Escape
sleep 0.5
scenario_end
ls -la "$out"
