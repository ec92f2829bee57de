# File, "Import replies...": a CSV file and an AutoHotkey script chosen in the
# file dialog, looked at in the preview and accepted; their replies are in the
# tree under folders named after the files, and a macro of each expands in
# another program. A macro already in use stays with the existing reply.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start

printf '\xEF\xBB\xBFName,Folder,Macro,Text\r\n"Refund",Billing,refund,"Your refund, $20, is on its way."\r\nSecond signature,,sig,Not this one\r\n' \
  >"$SCENARIO_DIR/orders.csv"
printf '; hotstrings\r\n::btw::by the way\r\n::dt::\r\nSend %%A_Now%%\r\nreturn\r\n' >"$SCENARIO_DIR/hotstrings.ahk"

import_file() {  # file caption
  main_window_keys alt+f i || fail "main window not found"
  wait_for_dialog "Import replies" 1 15 || fail "no file dialog"
  sleep 0.5
  xdotool type --delay 20 "Z:$(echo "$1" | tr / '\\')"
  xdotool key Return
  wait_for_dialog "$2" 1 15 || fail "no preview '$2'"
  [ -n "${SHOT:-}" ] && screenshot "$SHOT"
  xdotool key Return
  wait_for_dialog "$2" 0 15 || fail "preview '$2' did not close"
}

import_file "$SCENARIO_DIR/orders.csv" "Import replies - orders"
import_file "$SCENARIO_DIR/hotstrings.ahk" "Import replies - hotstrings"

tree=$(loaded_tree)
echo "$tree" | grep -qx '  Billing' || fail "no Billing folder: $tree"
echo "$tree" | grep -qx '    Refund' || fail "no Refund reply: $tree"
echo "$tree" | grep -qx 'hotstrings' || fail "no hotstrings folder: $tree"
echo "$tree" | grep -qx '  btw' || fail "no btw reply: $tree"

target_focus
xdotool type --delay 60 "refund "
wait_target_text "Your refund, \$20, is on its way." || fail "imported CSV macro"
target_clear
xdotool type --delay 60 "btw "
wait_target_text "by the way" || fail "imported hotstring"
target_clear
xdotool type --delay 60 "sig "
wait_target_text "Best regards, Ann" || fail "the existing reply lost its macro"
