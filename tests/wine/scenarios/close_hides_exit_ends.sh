# Closing the window hides it and the program lives on; a tray click shows it
# again and a second click does not hide it; the tray menu's "Exit" ends the
# program with exit code 0.
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
probe close >/dev/null
sleep 0.5
[ "$(probe visible)" = 0 ] || fail "close did not hide the window"
kill -0 "$CORVANE_PID" 2>/dev/null || fail "close ended the program"

probe tray left >/dev/null; sleep 0.5
[ "$(probe visible)" = 1 ] || fail "tray click did not show the window"
probe tray left >/dev/null; sleep 0.5
[ "$(probe visible)" = 1 ] || fail "a second tray click hid the window"

# The tray menu as the user meets it: right click, then pick "Exit".
probe tray right >/dev/null
sleep 1
xdotool key Up
sleep 0.3
xdotool key Return
code=$(wait_exit "$CORVANE_PID" 20) || fail "tray Exit did not end the program"
[ "$code" = 0 ] || fail "exit code $code"
