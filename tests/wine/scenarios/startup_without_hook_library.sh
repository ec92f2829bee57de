# Without the hook library the program says so once and still opens with its
# library loaded.
no_startup_tip
rm -f "$PROGRAM_DIR/Tolvar.dll"
corvane_start
wait_for_dialog Error 1 40 || fail "no error box for the missing hook library"
text=$(probe text Error)
[ "$text" = "Library was not loaded. Please restart Corvane." ] || fail "error box says '$text'"
probe click Error OK
wait_for_dialog Error 0 || fail "the error box did not close"
wait_for_visibility 1 40 || fail "main window was not shown after the error"
sleep 1
[ "$(probe window Error)" = 1 ] && fail "the error box came a second time"
[ -n "$(loaded_tree 40)" ] || fail "library not loaded"
kill -0 "$CORVANE_PID" 2>/dev/null || fail "the program ended"
