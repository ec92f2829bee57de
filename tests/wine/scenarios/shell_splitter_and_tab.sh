# The horizontal splitter is a black bar 3 pixels high above the lower panel,
# and Tab walks through the main window's controls both ways.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
sleep 1
read -r width height <<<"$(probe client)"
bar=$((height - 215 - 3))  # the lower panel keeps its 215 pixels
for y in $bar $((bar + 1)) $((bar + 2)); do
  [ "$(probe pixel $((width / 2)) $y)" = "000000" ] || fail "splitter row $y is $(probe pixel $((width / 2)) $y)"
done
[ "$(probe pixel $((width / 2)) $((bar + 3)))" != "000000" ] || fail "the bar is thicker than 3 pixels"

main_window_keys Home
sleep 0.3
[ "$(probe focus)" = 2001 ] || fail "the tree does not have the focus: $(probe focus)"
main_window_keys Tab
[ "$(probe focus)" = 2002 ] || fail "Tab went to $(probe focus), not the macro list"
main_window_keys Tab
[ "$(probe focus)" = 2003 ] || fail "Tab went to $(probe focus), not the hot-key list"
main_window_keys shift+Tab shift+Tab
[ "$(probe focus)" = 2001 ] || fail "Shift+Tab went to $(probe focus), not back to the tree"
