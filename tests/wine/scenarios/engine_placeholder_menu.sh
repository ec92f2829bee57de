# The editor's "Predefined Reply Insertions" menu puts a placeholder into the
# reply; the stored reply keeps the placeholder and every delivery fills in
# the date of that moment.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start
select_reply "Signature"
xdotool mousemove $(probe editor-point) click 1
xdotool key ctrl+Home
point=$(probe tool-point "Predefined Reply Insertions") || fail "no insertions button"
xdotool mousemove $point click 1
sleep 0.7
xdotool key Down Return           # the first item: %Date
sleep 0.5
select_reply "Meeting"            # commits the edited reply
grep -q '%Date' "$DATA_DIR/Replies/1.rep" || fail "the stored reply has no placeholder"

target_focus
sleep 1
xdotool type --delay 60 "sig "
wait_target_text "$(date '+%A, %B %d, %Y')Best regards, Ann" || fail "placeholder not filled in"
grep -q '%Date' "$DATA_DIR/Replies/1.rep" || fail "delivery changed the stored placeholder"
