# Corvane starts the host of its 32-bit hook library, from its own folder,
# and the host ends with Corvane: when Corvane exits, and when it is killed.
# Wine here runs no 32-bit program, so the host and its library in the
# program folder are their 64-bit builds (tests/twin); no key is typed
# (with two 64-bit libraries every key would be told twice).
cp "$CORVANE_BIN"/tests/twin/Tolvar32Host.exe "$CORVANE_BIN"/tests/twin/Tolvar32.dll "$PROGRAM_DIR/"
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_host32 1 20 || fail "Corvane did not start the host beside it"
[ "$(host32_processes | wc -l)" = 1 ] || fail "more than one host"
tr '\0' ' ' <"/proc/$(host32_processes)/cmdline" | grep -q -- "--owner [0-9]" || fail "the host was not told whom it serves"
main_window_keys alt+F4
wait_exit "$CORVANE_PID" 20 || fail "Alt+F4 did not end the program"
wait_host32 0 5 || fail "the host outlived Corvane's exit"

corvane_start
wait_for_main_window 40 || fail "main window did not appear the second time"
wait_host32 1 20 || fail "the host was not started the second time"
kill -9 "$CORVANE_PID"
wait "$CORVANE_PID" 2>/dev/null
wait_host32 0 10 || fail "the host outlived a killed Corvane"
