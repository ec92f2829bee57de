# "-hidden" starts without a visible main window; only the exact switch does.
no_startup_tip
corvane_start -hidden extra-argument
wait_for_main_window 40 || fail "main window was not created"
sleep 1
[ "$(probe visible)" = 0 ] || fail "-hidden start shows the main window"
[ -n "$(loaded_tree 40)" ] || fail "library not loaded in the hidden start"
probe tray left >/dev/null
wait_for_visibility 1 || fail "tray click did not show the hidden window"
wineserver -k; wineserver -w

for arg in -Hidden /hidden; do
  corvane_start "$arg"
  wait_for_main_window 40 || fail "main window was not created for $arg"
  wait_for_visibility 1 40 || fail "'$arg' hid the main window"
  wineserver -k; wineserver -w
done
