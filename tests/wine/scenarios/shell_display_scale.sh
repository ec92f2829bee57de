# At 100, 150 and 200 % display scale (LogPixels 96, 144, 192), each in a
# fresh prefix: the main window opens at its built-in size times the scale,
# reports that DPI, and no label, check box or button text of the main window
# or of the Options dialog is cut. Stored geometry taken at 96 DPI reopens
# 1.5 times as large at 144 DPI.
# At 200 % the reply picker, opened over another program, is sized and its
# columns are widened at that scale and it lies inside the work area. A
# window told of a new scale (WM_DPICHANGED) zooms its editor's text by the
# new scale over the system's.
# CORVANE_SHOTS=DIR keeps a picture of the main window and the dialog at each
# scale (the README's); the screen must then be large enough for 200 %
# (CORVANE_SCREEN=2000x1300x24).
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
PICKER="Corvane - Find a Reply"

fresh_prefix_at_dpi() {  # dpi
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$WINEPREFIX"
  scenario_begin "$SCENARIO_NAME"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  # Every process reads the display's DPI once, when it starts.
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
}

scaled() {  # units dpi: what the program's rounding gives
  echo $((($1 * $2 + 48) / 96))
}

# Saves the part of the screen a window covers; only with CORVANE_SHOTS.
window_picture() {  # file x y w h
  [ -n "${CORVANE_SHOTS:-}" ] && command -v convert >/dev/null 2>&1 || return 0
  screenshot "$SCENARIO_DIR/screen.png"
  convert "$SCENARIO_DIR/screen.png" -crop "$4x$5+$2+$3" +repage "$CORVANE_SHOTS/$1" || true
}

check_text_fit() {  # what, then the probe's arguments
  local what=$1 report
  shift
  report=$(probe text-fit "$@")
  echo "$report"
  [ -n "$report" ] || fail "$what: no texts read"
  echo "$report" | grep '^cut ' && fail "$what: text cut at $dpi DPI"
  return 0
}

# Ctrl+Alt+Space over a target program at 200 %.
picker_at_200() {
  hooks_install_tools
  target_start "Scale Target" 100
  target_focus
  sleep 1.5 # Wine tells the program late that it is no longer active
  picker_by_chord "$PICKER" "the picker did not open at 200 %"
  sleep 0.5
  local columns px py pw ph wx wy ww wh
  columns=$(probe columns "$PICKER")
  read -r px py pw ph <<<"$(probe rect "$PICKER")"
  read -r wx wy ww wh <<<"$(probe workarea)"
  echo "picker at 200 %: $px $py $pw x $ph, columns $columns, work area $wx $wy $ww x $wh"
  [ "$columns" = "300 200 240 452" ] || fail "picker columns at 200 % are $columns"
  [ "$pw" -gt 1240 ] && [ "$ph" -gt 840 ] || fail "picker is $pw x $ph at 200 %"
  [ "$px" -ge "$wx" ] && [ "$py" -ge "$wy" ] && [ $((px + pw)) -le $((wx + ww)) ] && [ $((py + ph)) -le $((wy + wh)) ] ||
    fail "picker $px $py $pw x $ph is not inside the work area"
  screenshot "$SCENARIO_DIR/picker-192.png"
  window_picture "picker-192.png" "$px" "$py" "$pw" "$ph"
  xdotool key Escape
  wait_for_dialog "$PICKER" 0 5 || fail "Escape did not close the picker"
}

for dpi in 96 144 192; do
  fresh_prefix_at_dpi "$dpi"
  no_startup_tip
  corvane_start
  wait_for_main_window 40 || fail "main window did not appear at $dpi DPI"
  wait_for_visibility 1 40 || fail "main window was not shown at $dpi DPI"
  loaded_tree >/dev/null
  [ "$(probe dpi)" = "$dpi" ] || fail "window DPI is $(probe dpi), not $dpi"
  size=$(probe size)
  echo "$dpi DPI: size $size"
  read -r w h <<<"$size"
  read -r _ _ screen_w screen_h <<<"$(probe workarea)"
  # A window larger than the screen is held to the screen's size (Windows adds the frame).
  want_w=$(scaled 740 "$dpi") want_h=$(scaled 497 "$dpi")
  if [ "$want_w" -le "$screen_w" ] && [ "$want_h" -le "$screen_h" ]; then
    [ "$size" = "$want_w $want_h" ] || fail "size at $dpi DPI is $size"
  else
    [ "$w" -ge "$screen_w" ] && [ "$h" -ge "$((want_h < screen_h ? want_h : screen_h))" ] ||
      fail "size at $dpi DPI is $size on a screen of $screen_w x $screen_h"
  fi
  [ "$dpi" = 96 ] && size96=$size
  check_text_fit "main window"
  read -r x y <<<"$(probe position)"
  window_picture "main-window-$dpi.png" "$x" "$y" "$w" "$h"

  main_window_keys F10 Right Right Return
  wait_for_dialog 'Corvane - Options' 1 || fail "Options did not open at $dpi DPI"
  sleep 0.5
  check_text_fit "Options" 'Corvane - Options'
  read -r x y w h <<<"$(probe rect 'Corvane - Options')"
  window_picture "options-$dpi.png" "$x" "$y" "$w" "$h"
  probe click 'Corvane - Options' 'Cancel'
  wait_for_dialog 'Corvane - Options' 0 || fail "Options did not close"
  [ "$dpi" = 144 ] && size144=$size
  # The editor draws at the system's scale, which is the window's here: no zoom.
  [ "$(probe editor-zoom)" = "0/0" ] || fail "editor zoomed $(probe editor-zoom) at the system's scale"
  [ "$dpi" = 192 ] && picker_at_200
done
read -r w96 h96 <<<"$size96"
read -r w144 h144 <<<"$size144"
[ "$w144" = $((w96 * 3 / 2)) ] && [ $((h144 - h96 * 3 / 2)) -le 1 ] || fail "150 % is not 1.5 times 100 %"

# A window stored at 96 DPI (an earlier version's record, without its DPI)
# opens at 144 DPI 1.5 times as large: 800 x 520 becomes 1200 x 780.
fresh_prefix_at_dpi 144
no_startup_tip
record="f401f401200308020e0104015a00"  # min 500x500, 800x520, upper 270, lists 260 and 90
wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v MainFormSettings /t REG_BINARY /d "$record" /f >/dev/null 2>&1
set_setting EditMode 1
corvane_start
wait_for_main_window 40 || fail "main window did not appear with a stored size"
wait_for_visibility 1 40 || fail "main window was not shown with a stored size"
[ "$(probe size)" = "1200 780" ] || fail "stored 96-DPI size opened as $(probe size) at 144 DPI"
exit_from_tray || fail "did not exit"
wait_exit "$CORVANE_PID" 30 || fail "did not end"
registry_value 'HKCU\SOFTWARE\Tarnwick\Corvane 2' MainFormDpi | grep -qi '0x90' || fail "DPI 144 not stored"

# Moved to a display of 150 % (WM_DPICHANGED, as Windows sends it): the window
# takes the suggested rectangle and its texts grow with it without being cut.
fresh_prefix_at_dpi 96
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear for the scale change"
wait_for_visibility 1 40 || fail "main window was not shown for the scale change"
loaded_tree >/dev/null
read -r x y <<<"$(probe position)"
probe dpi-changed 144 "$x" "$y" 1110 746 || fail "could not tell the window of the new scale"
[ "$(probe size)" = "1110 746" ] || fail "after the scale change the size is $(probe size)"
dpi=144
check_text_fit "main window after the scale change" 144
[ "$(probe client | cut -d' ' -f1)" -gt 1000 ] || fail "client area did not grow"
[ "$(probe editor-zoom)" = "3/2" ] || fail "editor text zoomed $(probe editor-zoom) at 144 DPI on a 96-DPI system"
read -r x y <<<"$(probe position)"
screenshot "$SCENARIO_DIR/dpi-changed-144.png"
window_picture "main-window-dpi-changed-144.png" "$x" "$y" 1110 746
