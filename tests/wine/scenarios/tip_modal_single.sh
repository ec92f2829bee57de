# The tip of the day belongs to the main window and is modal; asking for it
# again while it is open ("Tip of the Day" from the Help menu) brings the open
# one forward instead of running a second one, and "&Close" then ends it.
set_setting ShowTips 1
corvane_start
wait_for_dialog "Tip of the Day" 1 40 || fail "the start-up tip did not appear"
[ "$(probe owner "Tip of the Day")" = "Corvane" ] || fail "tip owned by '$(probe owner "Tip of the Day")'"
probe command 1017 >/dev/null  # Help, "Tip of the &Day"
sleep 1
[ "$(probe windows "Tip of the Day")" = "1" ] || fail "$(probe windows "Tip of the Day") tip dialogs open"
probe click "Tip of the Day" "&Close" >/dev/null
wait_for_dialog "Tip of the Day" 0 10 || fail "the tip could not be closed"
