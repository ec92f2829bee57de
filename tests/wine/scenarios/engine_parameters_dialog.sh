# With the dialog enabled, a reply hot key of a parametric macro asks for the
# values: Accept pastes the reply filled in into the last active window,
# Escape delivers nothing and leaves the clipboard alone. Typing the macro
# never asks. The stored replies stay as they were.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
DIALOG="Corvane - Do Macro Insertions and Replacements "
engine_start 1
sleep 2

press_chord ctrl alt shift m
wait_for_dialog "$DIALOG" 1 10 || fail "no parameters dialog"
sleep 0.5
[ -n "${CORVANE_SCREENSHOT:-}" ] && screenshot "$CORVANE_SCREENSHOT"
[ "$(probe checked "$DIALOG" "Show the Dialog")" = 1 ] || fail "Show the Dialog not checked"
xdotool type --delay 60 "Friday"
xdotool key Tab
xdotool type --delay 60 "noon"
xdotool key Return
wait_for_dialog "$DIALOG" 0 5 || fail "Enter did not close the dialog"
wait_target_text "See you on Friday at noon." || fail "accepted values not delivered"

target_focus
target_clear
sleep 1
before=$(probe clipboard)
press_chord ctrl alt shift m
wait_for_dialog "$DIALOG" 1 10 || fail "no parameters dialog the second time"
xdotool key Escape
wait_for_dialog "$DIALOG" 0 5 || fail "Escape did not close the dialog"
sleep 1
[ "$(target_text)" = "" ] || fail "cancelled dialog delivered '$(target_text)'"
[ "$(probe clipboard)" = "$before" ] || fail "cancel changed the clipboard: '$(probe clipboard)'"

# The typed macro takes its values from the parentheses and never asks.
target_focus
xdotool type --delay 60 "meet(Monday,ten) "
wait_target_text "See you on Monday at ten." || { screenshot "$SCENARIO_DIR/fail.png"; fail "typed parametric macro"; }
[ "$(probe window "$DIALOG")" != 1 ] || fail "typing the macro opened the dialog"

engine_library_unchanged || fail "reply files changed"
