# Chords while another program is active: Ctrl+Shift+V inserts the selected
# reply, a reply's hot key delivers it once the key and the modifiers are
# released (in any order), Ctrl+Shift+Q shows the main window. The chord's
# key never reaches the target: its own Ctrl+Shift+V would paste what the
# clipboard held before. The stored replies stay as they were.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start
select_reply "Meeting"
target_focus

# Something of the user's own on the clipboard, copied in the target.
xdotool type OLDCLIP
xdotool key shift+Home ctrl+c
target_clear
wait_target_text "" || fail "target not cleared"
press_chord ctrl shift v
wait_target_text "See you on DAY at TIME." || fail "Ctrl+Shift+V did not insert the selected reply alone"

# The key let go first, Ctrl and Alt a few polls later.
target_clear
xdotool keydown ctrl alt k
sleep 0.6
[ "$(target_text)" = "" ] || fail "delivered while the hot key's key was held: '$(target_text)'"
xdotool keyup k
sleep 0.4
[ "$(target_text)" = "" ] || fail "delivered while Ctrl and Alt were held: '$(target_text)'"
xdotool keyup alt ctrl
wait_target_text "Best regards, Ann" || fail "hot key Ctrl+Alt+K released letter first"

target_clear
probe close >/dev/null   # hides the main window
wait_for_visibility 0 10 || fail "main window did not hide"
target_focus
sleep 1.5 # Wine tells the program late that it is no longer active
press_chord ctrl shift q
wait_for_visibility 1 5 || fail "Ctrl+Shift+Q did not show the main window"

engine_library_unchanged || fail "reply files changed"
