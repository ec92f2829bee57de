#!/usr/bin/env bash
# Takes the README's screenshots of Corvane under Wine's virtual desktop (which
# draws window frames like Windows does) on a private Xvfb display.
#   docs/make-screenshots.sh     (needs scripts/build.sh win)
#   docs/make-screenshots.sh installer   the installer's and the uninstaller's
#                                        pages instead (runs scripts/release.sh)
#   docs/make-screenshots.sh scales      the main window and the Options dialog
#                                        at 100, 150 and 200 % display scale
set -uo pipefail
command -v import >/dev/null 2>&1 || { echo "needs ImageMagick's import: apt-get install imagemagick"; exit 1; }
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/docs/images
export CORVANE_ROOT=$root
export CORVANE_BIN=${CORVANE_BIN:-$root/build/win/bin}
# A screen for the 200 % window and its frame.
[ "${1:-}" = scales ] && export CORVANE_SCREEN=${CORVANE_SCREEN:-1700x1200x24}
. "$root/tests/wine/lib.sh"
wine_session_start >/dev/null || exit 1
trap wine_session_end EXIT
scenario_begin screenshots

desktop_shot() {  # file
  local wid
  wid=$(xdotool search --name '^shots - Wine desktop$' | head -1)
  import -window "$wid" "$out/$1" 2>/dev/null
}

if [ "${1:-}" = installer ]; then
  release_artefacts || exit 1
  # Each page: wait until it is drawn, take it, then press keys.
  page() {  # file|- [keys...]
    sleep 2
    [ "$1" != - ] && desktop_shot "$1"
    shift
    xdotool key --delay 300 "$@"
  }
  wine explorer /desktop=shots,640x480 "$SETUP_EXE" >/dev/null 2>&1 &
  wait_for_window 'Corvane Setup.*' 30 || exit 1
  page installer-welcome.png Return
  page installer-folder.png Return
  page installer-autorun.png space Return
  sleep 3
  page installer-finish.png space Return
  sleep 2
  wine explorer /desktop=shots,640x480 "C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Corvane\\Uninstall.exe" >/dev/null 2>&1 &
  wait_for_window 'Corvane Uninstall.*' 30 || exit 1
  page - Return
  page installer-uninstall-data.png Escape
  sleep 1
  scenario_end
  ls -la "$out"/installer-*.png
  exit 0
fi

if [ "${1:-}" = scales ]; then
  # Each scale in a fresh prefix whose display runs at that DPI; the desktop
  # is large enough for the window at 200 %.
  for dpi in 96 144 192; do
    scenario_end
    scenario_begin "screenshots-$dpi"
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
      /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    set_setting ShowTips 0
    # Every process of the prefix on that desktop, so that the probe sees the windows.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shots /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shots /d 1600x1120 /f >/dev/null 2>&1
    corvane_start
    wait_for_main_window 40 || exit 1
    loaded_tree >/dev/null
    main_window_keys Home Down Right Down
    sleep 1
    desktop_shot "main-window-$dpi.png"
    read -r x y <<<"$(probe position)"
    read -r w h <<<"$(probe size)"
    convert "$out/main-window-$dpi.png" -crop "${w}x${h}+$x+$y" +repage "$out/main-window-$dpi.png"
    main_window_keys F10 Right Right Return
    wait_for_dialog 'Corvane - Options' 1
    sleep 0.5
    desktop_shot "options-$dpi.png"
    read -r x y w h <<<"$(probe rect 'Corvane - Options')"
    convert "$out/options-$dpi.png" -crop "${w}x${h}+$x+$y" +repage "$out/options-$dpi.png"
    xdotool key Escape
    sleep 0.5
  done
  scenario_end
  ls -la "$out"/main-window-*.png "$out"/options-*.png
  exit 0
fi

set_setting ShowTips 1
wine explorer /desktop=shots,960x640 "$PROGRAM_WIN" >/dev/null 2>&1 &
wait_for_dialog 'Tip of the Day' 1 30
sleep 1
desktop_shot tip-of-the-day.png
xdotool key Return
sleep 1
main_window_keys Home Down Right Down
sleep 0.5
desktop_shot main-full.png

# The editor with a reply typed and formatted from the toolbar, as a user
# does it; then the colour menu opened on red text.
main=$(visible_windows Corvane | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"
at() {  # x y inside the main window, then xdotool commands
  local x=$((X + $1)) y=$((Y + $2)); shift 2
  xdotool mousemove "$x" "$y" "$@"
}
toolbar_y=250
at 280 328 click 1
sleep 0.5
xdotool key ctrl+a Delete     # a fresh text in place of the reply's own
xdotool type --delay 20 "Dear Ms Porter,"
xdotool key Return
xdotool type --delay 20 "thank you for your order. It left our warehouse today and should reach you by Friday."
xdotool key Return
xdotool type --delay 20 "Kind regards,"
xdotool key Return
xdotool type --delay 20 "Anna Lindqvist"
xdotool key ctrl+a
at 130 248 click 1
xdotool key ctrl+a
xdotool type --delay 50 "Liberation Sans"
at 235 248 click 1
xdotool key ctrl+a
xdotool type --delay 50 "10"
at 280 398 click 1
xdotool key ctrl+Home shift+End
at 339 $toolbar_y click 1                     # Bold
xdotool key ctrl+Home Down End Left ctrl+shift+Left
at 302 $toolbar_y click 1                     # Color
sleep 1
xdotool key Down Down Down Down Down Down Down Down Down Down Return
xdotool key ctrl+Home Down ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+Right Right Right
at 362 $toolbar_y click 1                     # Italic, on the word at the caret
at 516 $toolbar_y click 1                     # Increase Indentation, twice
sleep 0.2
at 516 $toolbar_y click 1
xdotool key ctrl+End
at 440 $toolbar_y click 1                     # Center
xdotool key ctrl+Home Right Right
at 480 458
sleep 0.5
desktop_shot editor-formatting.png
xdotool key ctrl+Home Down End Left ctrl+shift+Left
at 302 $toolbar_y click 1
sleep 1
desktop_shot color-menu.png
xdotool key Escape
sleep 0.5

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
# Only the dialog and what is around it: the window behind is not the subject.
convert "$out/parameters-dialog.png" -crop 440x200+260+225 +repage "$out/parameters-dialog.png"
xdotool key Escape
sleep 0.5

# The picker over the same program: Ctrl+Alt+Space and a few letters.
xdotool mousemove --window "$desktop" 60 148 click 1
xdotool type --delay 30 "Dear Ms Porter, "
sleep 1.5
xdotool keydown ctrl alt space
sleep 0.3
xdotool keyup space alt ctrl
wait_for_dialog 'Corvane - Find a Reply' 1 10
xdotool type --delay 80 "refund"
sleep 1
desktop_shot picker.png
xdotool key Escape
sleep 0.5
# The team library beside the user's own: a shared folder with a few replies,
# one of whose macros the user's own library already uses; Corvane started
# again on it, the conflict told, the team folder opened.
team="$SCENARIO_DIR/team"
mkdir -p "$team/1"
printf 'FOLDER_1?Billing\r\nREPLY_1?Welcome a new customer\r\nREPLY_2?Our signature\r\n' >"$team/index.sub"
printf 'REPLY_1?Invoice copy\r\nREPLY_2?Payment reminder\r\n' >"$team/1/index.sub"
rtf() { printf '%s\r\n%s\r\n{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\pard\\f0\\fs20 %s\\par\r\n}\r\n' "$1" "$2" "$3"; }
rtf welcome '' 'Welcome aboard! Your account is ready.' >"$team/1.rep"
rtf sig '' 'Kind regards, the Support team' >"$team/2.rep"
rtf invcopy '' 'Please find a copy of your invoice attached.' >"$team/1/1.rep"
rtf remind '' 'This is a friendly reminder about invoice %Date.' >"$team/1/2.rep"
wineserver -k
wineserver -w
set_setting ShowTips 0
wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v SharedLibrary /t REG_SZ /d "Z:$(printf '%s' "$team" | tr / '\\')" /f >/dev/null 2>&1
wine explorer /desktop=shots,960x640 "$PROGRAM_WIN" >/dev/null 2>&1 &
wait_for_dialog Information 1 30
sleep 0.5
desktop_shot team-conflict.png
xdotool key Return
sleep 1
main_window_keys End Right Down Right Down
sleep 1
desktop_shot team-library.png

scenario_end
ls -la "$out"
