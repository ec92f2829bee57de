# A left click on the tray icon shows the window as every show does: with
# AlwaysOnTop switched on meanwhile, the window comes back topmost.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
[ "$(probe topmost)" = 0 ] || fail "topmost without the setting"
probe close >/dev/null
wait_for_visibility 0 || fail "close did not hide"
set_setting AlwaysOnTop 1
probe tray left >/dev/null
wait_for_visibility 1 || fail "tray click did not show"
for i in $(seq 1 12); do [ "$(probe topmost)" = 1 ] && break; sleep 0.25; done
[ "$(probe topmost)" = 1 ] || fail "the tray click did not apply Always on Top"
