# The tray menu's "Insert the selected reply ..." delivers into the window
# that was active before the menu took the foreground.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start
select_reply "Signature"
target_focus
sleep 1 # the timer sees the target in front: it is the last active window
# The menu opens with its bottom at the pointer: "Exit", a separator,
# "Pause Corvane" and the insert item above it, about 16 pixels each.
eval "$(xdotool getmouselocation --shell)"
probe tray right >/dev/null
sleep 1
xdotool mousemove $((X + 40)) $((Y - 52))
sleep 0.3
xdotool click 1
wait_target_text "Best regards, Ann" || fail "tray insert"
engine_library_unchanged || fail "reply files changed"
