# A first start on a clean account writes exactly the four default settings and
# no geometry, shows the tip of the day and opens at the built-in size in Full
# mode. Closing the tip writes its check box.
wine reg query 'HKCU\SOFTWARE\Tarnwick\Corvane 2' >/dev/null 2>&1 && fail "program key exists before the first start"
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
for i in $(seq 1 20); do [ "$(probe window 'Tip of the Day')" = 1 ] && break; sleep 0.5; done
[ "$(probe window 'Tip of the Day')" = 1 ] || fail "no tip of the day"
[ "$(probe checked 'Tip of the Day' '&Show tips at startup')" = 1 ] || fail "tip box unchecked"

settings=$(program_settings)
echo "$settings"
expected="AlwaysOnTop REG_DWORD 0x0
EditMode REG_DWORD 0x1
KeepClipboard REG_DWORD 0x1
ShowMacroIns REG_DWORD 0x1
ShowTips REG_DWORD 0x1"
[ "$settings" = "$expected" ] || fail "first start settings differ"
[ "$(probe size)" = "740 497" ] || fail "built-in size is $(probe size)"

probe click 'Tip of the Day' '&Show tips at startup'
sleep 0.5
probe click 'Tip of the Day' '&Close'
sleep 1
[ "$(probe window 'Tip of the Day')" = 1 ] && fail "tip did not close"
program_settings | grep -q '^ShowTips REG_DWORD 0x0$' || fail "closing the tip did not write ShowTips 0"
