# Ctrl+C on the tree puts the selected node's name on the clipboard as text,
# and so does the tree's context menu.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
main_window_keys Down Down        # the third top-level entry
sleep 0.5
main_window_keys ctrl+c
sleep 0.5
[ "$(probe clipboard)" = "Meeting confirmation" ] || fail "clipboard holds '$(probe clipboard)'"

# A right click on another entry selects it and opens the context menu.
point=$(probe item-point "Customer support") || fail "no such node on screen"
xdotool mousemove $point click 3
sleep 0.7
xdotool key Down Return           # its first item
sleep 0.5
[ "$(probe clipboard)" = "Customer support" ] || fail "context menu copied '$(probe clipboard)'"
