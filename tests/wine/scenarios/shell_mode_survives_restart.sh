# Change Mode shrinks the window to the tree in Compact mode; the mode and its
# size come back after a restart, and Full mode's geometry was stored on the way.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
[ "$(probe size)" = "740 497" ] || fail "did not start at the built-in size"

main_window_keys F10 Right Right Right Right Return   # the mode item, right of Help
sleep 1
compact=$(probe size)
echo "compact size: $compact"
[ "$compact" != "740 497" ] || fail "Change Mode did not change the window"
program_settings | grep -q '^EditMode REG_DWORD 0x0$' || fail "EditMode not 0 after Change Mode"
program_settings | grep -q '^MainFormSettings REG_BINARY C201E402E402F101' || fail "Full mode geometry not stored"

exit_from_tray || fail "tray Exit did not end the program"
program_settings | grep -q '^NavMainFormSettings REG_BINARY' || fail "Compact size not stored at exit"

corvane_start
wait_for_main_window 40 || fail "main window did not come back"
wait_for_visibility 1 40 || fail "main window was not shown after restart"
[ "$(probe size)" = "$compact" ] || fail "restart came back at $(probe size) instead of $compact"

main_window_keys F10 Right Right Right Right Return
sleep 1
[ "$(probe size)" = "740 497" ] || fail "Full mode did not restore its stored size: $(probe size)"
