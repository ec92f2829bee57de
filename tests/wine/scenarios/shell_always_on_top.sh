# With AlwaysOnTop 1 the window is topmost from the start, also after being
# hidden and shown again.
no_startup_tip
set_setting AlwaysOnTop 1
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
for i in $(seq 1 20); do [ "$(probe topmost)" = 1 ] && break; sleep 0.25; done
[ "$(probe topmost)" = 1 ] || fail "not topmost"
probe close >/dev/null
wait_for_visibility 0 || fail "close did not hide"
probe tray left >/dev/null
wait_for_visibility 1 || fail "tray click did not show"
[ "$(probe topmost)" = 1 ] || fail "not topmost after showing again"
