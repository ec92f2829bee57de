# Ending the program from the tray while the window is minimised or maximised
# stores the restored geometry: the next start opens at the normal size, not
# as a sliver, and the lower panel keeps its height.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
size=$(probe size)
probe minimize >/dev/null
sleep 1
exit_from_tray || fail "did not exit"
corvane_start
wait_for_main_window 40 || fail "main window did not appear again"
wait_for_visibility 1 40 || fail "main window was not shown again"
[ "$(probe size)" = "$size" ] || fail "restarted at '$(probe size)', was '$size'"

probe maximize >/dev/null
sleep 1
[ "$(probe size)" != "$size" ] || fail "the window did not maximise"
exit_from_tray || fail "did not exit when maximised"
corvane_start
wait_for_main_window 40 || fail "main window did not appear a third time"
wait_for_visibility 1 40 || fail "main window was not shown a third time"
[ "$(probe size)" = "$size" ] || fail "restarted at '$(probe size)' after maximised, was '$size'"
sleep 1
read -r width height <<<"$(probe client)"
[ "$(probe pixel $((width / 2)) $((height - 215 - 2)))" = "000000" ] || fail "the lower panel lost its height"
