# A 32-bit program is served as a 64-bit one is: Corvane starts its 32-bit
# host beside it, whose hooks run inside the 32-bit program, so a macro typed
# there expands once, a hot key delivers, and a password field is seen as
# the program sees it (the 64-bit hooks, run on Corvane's own thread for a
# 32-bit program, would ask Corvane's focus). The host ends with Corvane,
# also when Corvane is killed.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo "no 32-bit Wine on this machine (CORVANE_WINE32=1 scripts/setup.sh installs it where 32-bit programs run): not shown"
  exit 77
fi
TARGET_PROGRAM=hooks_target32.exe
engine_start
i686-w64-mingw32-objdump -f "$PROGRAM_DIR/hooks_target32.exe" | grep -q 'pei-i386' || fail "the target is not a 32-bit program"
wait_host32 1 20 || fail "the 32-bit host was not started"

xdotool type --delay 60 "Hello sig "
wait_target_text "Hello Best regards, Ann" || fail "macro typed in a 32-bit program"

target_clear
press_chord ctrl alt k
wait_target_text "Best regards, Ann" || fail "hot key in a 32-bit program"

target_start "Password Target" 100 0 HooksTarget derived-password
target_focus
xdotool type --delay 60 "sig "
wait_target_text "sig " || fail "password field of a 32-bit program"
sleep 1
[ "$(target_text)" = "sig " ] || fail "a macro typed into a 32-bit password field was expanded: '$(target_text)'"

# Killed, Corvane takes its host with it.
kill -9 "$CORVANE_PID"
wait "$CORVANE_PID" 2>/dev/null
wait_host32 0 15 || fail "the 32-bit host outlived a killed Corvane"
