# File, "Import replies...": a CSV file and an AutoHotkey script chosen in the
# file dialog, looked at in the preview and accepted; their replies are in the
# tree under folders named after the files, and a macro of each expands in
# another program. A macro already in use stays with the existing reply.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start

printf '\xEF\xBB\xBFName,Folder,Macro,Text\r\n"Refund",Billing,refund,"Your refund, $20, is on its way."\r\nSecond signature,,sig,Not this one\r\n' \
  >"$SCENARIO_DIR/orders.csv"
printf '; hotstrings\r\n::btw::by the way\r\n::dt::\r\nSend %%A_Now%%\r\nreturn\r\n' >"$SCENARIO_DIR/hotstrings.ahk"

# The File menu opened with the mouse, as keyboard menu mode needs a window
# manager that this display does not have; then the item's mnemonic.
menu_keys() {  # keys after the File menu is open
  local wid
  wid=$(visible_windows Corvane | head -1)
  [ -n "$wid" ] || fail "main window not found"
  xdotool mousemove --window "$wid" 14 9 click 1
  sleep 0.7
  xdotool key --delay 200 "$@"
}

# CORVANE_SHOTS names a folder for the README's pictures.
shot() {  # name
  [ -n "${CORVANE_SHOTS:-}" ] && screenshot "$CORVANE_SHOTS/$1.png"
  return 0
}

import_file() {  # file caption
  menu_keys i
  wait_for_dialog "Import replies" 1 15 || { screenshot /tmp/i28shots/nodialog.png; fail "no file dialog"; }
  sleep 0.5
  xdotool type --delay 20 "Z:$(echo "$1" | tr / '\\')"
  xdotool key Return
  wait_for_dialog "$2" 1 15 || fail "no preview '$2'"
  shot "import-preview-$(basename "$1")"
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

# Each delivery is counted, by reply and route, and nothing of its text.
usage="$DATA_DIR/Usage.txt"
usage_lines() { grep -c . "$usage"; }
wait_text_of usage_lines 3 10 || fail "usage figures: $(cat "$usage" 2>&1)"
grep -q "refund" "$usage" && fail "the figures hold text of a reply"
# Help, "Statistics": its command id counted in the command table's enum.
statistics_id=$(awk '/CmdExit = 1001/ { n = 1001; next } n && /^ *Cmd[A-Za-z]+,/ { n++; if ($1 == "CmdStatistics,") print n }' \
  "$CORVANE_ROOT/src/shell/CommandTable.h")
probe command "$statistics_id" >/dev/null
wait_for_dialog "Statistics" 1 15 || fail "no Statistics window"
sleep 1
shot statistics
xdotool mousemove --window "$(visible_windows Statistics | head -1)" 20 20 click 1
xdotool key Return
wait_for_dialog "Statistics" 0 15 || fail "Statistics did not close"
