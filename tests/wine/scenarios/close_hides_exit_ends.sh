# Closing the window hides it and the program lives on; a tray click shows it
# again and a second click does not hide it; the tray menu's "Exit" ends the
# program with exit code 0.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
probe close >/dev/null
wait_for_visibility 0 || fail "close did not hide the window"
sleep 1
kill -0 "$CORVANE_PID" 2>/dev/null || fail "close ended the program"
[ "$(probe visible)" = 0 ] || fail "the window came back by itself"

probe tray left >/dev/null
wait_for_visibility 1 || fail "tray click did not show the window"
probe tray left >/dev/null
sleep 1
[ "$(probe visible)" = 1 ] || fail "a second tray click hid the window"

# The tray menu as the user meets it: right click, then pick "Exit".
probe tray right >/dev/null
sleep 1
xdotool key Up
sleep 0.3
xdotool key Return
wait_exit "$CORVANE_PID" 20 || fail "tray Exit did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
