# A filtering keyboard receiver that replies 1 takes the keystroke away from
# the program it was typed into; its reply 0 lets the others through.
. "$CORVANE_ROOT/tests/wine/tools/hooks_scenario.sh"
hooks_install_tools
listener_start --filter 88 --quiet-moves   # X
target_start "Hooks Target" 100
target_focus
xdotool type --delay 100 "axbx"
wait_line "$LISTENER_OUT" '^key vk=88 .*was=1 press=0 filtered' 5 || fail "X not notified"
sleep 0.3
[ "$(target_text)" = "ab" ] || fail "target holds '$(target_text)' instead of 'ab'"
[ "$(listener_lines '^key vk=88 .*press=1 filtered$' | wc -l)" -eq 2 ] || fail "X presses not all filtered"

# Without filtering, the same key reaches the program.
kill "$LISTENER_PID"
wait "$LISTENER_PID" 2>/dev/null
listener_start --quiet-moves
target_focus
xdotool type --delay 100 "x"
wait_line "$TARGET_OUT" '^text:abx$' 5 || fail "X did not pass without filtering: '$(target_text)'"
