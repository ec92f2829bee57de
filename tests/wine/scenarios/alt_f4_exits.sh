# Alt+F4 is File, "E&xit": it ends the program instead of hiding the window,
# and the library and geometry are saved on the way out.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
main_window_keys alt+F4
wait_exit "$CORVANE_PID" 20 || fail "Alt+F4 did not end the program"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
program_settings | grep -q '^MainFormSettings REG_BINARY' || fail "geometry not saved at exit"
