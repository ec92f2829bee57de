# The options dialog: Cancel writes nothing; Ok with autorun writes the Run
# value with the program path in quotes and " -hidden"; Always on Top makes the
# window topmost; switching it off warns that a restart is needed.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
[ "$(probe topmost)" = 0 ] || fail "topmost without the setting"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

open_options() {
  main_window_keys F10 Right Right Return
  wait_for_dialog 'Corvane - Options' 1
}

open_options || fail "Options did not open"
screenshot "$SCENARIO_DIR/options.png"
[ "$(probe checked 'Corvane - Options' 'Give the clipboard back after pasting a reply')" = 1 ] ||
  fail "the clipboard is not given back by default"
probe click 'Corvane - Options' 'Autorun Corvane on windows startup'
sleep 0.3
probe click 'Corvane - Options' 'Cancel'
wait_for_dialog 'Corvane - Options' 0 || fail "Cancel did not close the options"
wine reg query "$run_key" /v 'Corvane 2' >/dev/null 2>&1 && fail "Cancel wrote the autorun value"

open_options || fail "Options did not open again"
probe click 'Corvane - Options' 'Autorun Corvane on windows startup'
sleep 0.3
probe click 'Corvane - Options' 'Always on Top'
sleep 0.5
[ "$(probe window 'Warning')" = 1 ] && fail "switching Always on Top on warned"
probe click 'Corvane - Options' 'Ok'
wait_for_dialog 'Corvane - Options' 0 || fail "Ok did not close the options"
value=$(wine reg query "$run_key" /v 'Corvane 2' 2>/dev/null | tr -d '\r' | grep 'Corvane 2' | sed -E 's/^ *Corvane 2 +REG_SZ +//')
echo "Run value: $value"
[ "$value" = '"C:\Program Files\Corvane\Corvane.exe" -hidden' ] || fail "autorun value is '$value'"
program_settings | grep -q '^AlwaysOnTop REG_DWORD 0x1$' || fail "AlwaysOnTop not written"
for i in $(seq 1 20); do [ "$(probe topmost)" = 1 ] && break; sleep 0.25; done
[ "$(probe topmost)" = 1 ] || fail "window not topmost after Always on Top"

# Switching it off again cannot take effect before a restart: the user is told.
open_options || fail "Options did not open a third time"
probe click 'Corvane - Options' 'Always on Top'
wait_for_dialog Warning 1 || fail "no restart warning when switching Always on Top off"
probe click 'Warning' 'OK'
wait_for_dialog Warning 0 || fail "the warning did not close"
sleep 0.5
probe click 'Corvane - Options' 'Ok'
wait_for_dialog 'Corvane - Options' 0 || fail "Ok did not close the options"
program_settings | grep -q '^AlwaysOnTop REG_DWORD 0x0$' || fail "AlwaysOnTop 0 not written"
[ "$(probe topmost)" = 1 ] || fail "topmost was switched off while running"
