# A second instance ends at once with exit code 0; the first keeps running and
# stays as it was.
no_startup_tip
corvane_start
first=$CORVANE_PID
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "first instance is not visible"

corvane_start
wait_exit "$CORVANE_PID" 20 || fail "second instance did not end"
[ "$EXIT_CODE" = 0 ] || fail "second instance ended with $EXIT_CODE instead of 0"
kill -0 "$first" 2>/dev/null || fail "first instance ended"
[ "$(probe visible)" = 1 ] || fail "first instance changed its visibility"

# The same for a hidden first instance: the second start does not show it.
probe close >/dev/null
wait_for_visibility 0 || fail "closing did not hide the window"
corvane_start
wait_exit "$CORVANE_PID" 20 || fail "second instance did not end"
[ "$EXIT_CODE" = 0 ] || fail "second instance ended with $EXIT_CODE"
[ "$(probe visible)" = 0 ] || fail "a second start showed the hidden window"
