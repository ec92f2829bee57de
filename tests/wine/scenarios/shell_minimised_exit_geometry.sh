# Ending the program from the tray while the window is minimised stores the
# restored geometry: the next start opens at the full size, not as a sliver.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 20 || fail "main window was not shown"
size=$(probe size)
probe minimize >/dev/null
sleep 1
exit_from_tray || fail "did not exit"
corvane_start
wait_for_main_window 40 || fail "main window did not appear again"
wait_for_visibility 1 20 || fail "main window was not shown again"
[ "$(probe size)" = "$size" ] || fail "restarted at '$(probe size)', was '$size'"
