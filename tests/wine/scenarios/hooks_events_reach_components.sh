# Keys typed and mouse actions in another program reach the keyboard and mouse
# receiver components decoded; windows created and destroyed there reach the
# shell component.
. "$CORVANE_ROOT/tests/wine/tools/hooks_scenario.sh"
hooks_install_tools
listener_start
target_start "Hooks Target" 100
out=$LISTENER_OUT

wait_line "$out" "^created win=$TARGET_HWND\$" 10 || fail "no shell notification for the target's window"

target_focus
wait_line "$out" '^click .*button=left movement=down' 5 || fail "no left button down"
wait_line "$out" '^click .*button=left movement=up' 5 || fail "no left button up"
xdotool mousemove --window "$TARGET_XID" 150 40
xdotool mousemove --window "$TARGET_XID" 160 45
wait_line "$out" '^move win=[0-9]+ x=[0-9]+ y=[0-9]+' 5 || fail "no mouse move"

xdotool type --delay 100 "ab"
wait_line "$out" '^key vk=66 .*was=1 press=0' 5 || fail "keys did not arrive"
listener_lines '^key vk=65 rep=1 scan=30 ext=0 alt=0 was=0 press=1$' >/dev/null || fail "A down not decoded"
listener_lines '^key vk=65 rep=1 scan=30 ext=0 alt=0 was=1 press=0$' >/dev/null || fail "A up not decoded"

# Held down: auto-repeated presses say the key was down before.
xdotool keydown c
sleep 1.2
xdotool keyup c
wait_line "$out" '^key vk=67 .*was=1 press=0' 5 || fail "C up missing"
listener_lines '^key vk=67 .*was=0 press=1$' >/dev/null || fail "first C press not decoded"
repeats=$(listener_lines '^key vk=67 .*was=1 press=1$' | wc -l)
[ "$repeats" -ge 1 ] || fail "no auto-repeat notification"

# The target got every key: the notifications did not take them away.
sleep 0.3
text=$(target_text)
[[ "$text" == abc* ]] || fail "target holds '$text'"
[ "${#text}" -eq $((3 + repeats)) ] || fail "target holds '$text' for $repeats repeats"
echo "events ok: $repeats repeats"

# A window of another program that goes away.
target_start "Short Target" 600 3
wait_line "$out" "^created win=$TARGET_HWND\$" 10 || fail "no creation notice for the second target"
wait_line "$out" "^destroyed win=$TARGET_HWND\$" 10 || fail "no destruction notice for the second target"
