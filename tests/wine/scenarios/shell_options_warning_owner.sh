# Switching Always on Top off in the options dialog warns in a box that belongs
# to the dialog, so the dialog waits below it.
no_startup_tip
set_setting AlwaysOnTop 1
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
probe command 1014 >/dev/null  # "Options"
wait_for_dialog "Corvane - Options" 1 10 || fail "no options dialog"
probe click "Corvane - Options" "Always on Top" >/dev/null
wait_for_dialog "Warning" 1 10 || fail "no warning"
[ "$(probe owner Warning)" = "Corvane - Options" ] || fail "warning owned by '$(probe owner Warning)'"
probe click "Warning" "OK" >/dev/null
wait_for_dialog "Warning" 0 10 || fail "warning did not close"
probe click "Corvane - Options" "Cancel" >/dev/null
wait_for_dialog "Corvane - Options" 0 10 || fail "options did not close"
