# Folders show the folder pictures (closed, open once expanded) and replies
# the reply pictures, plain and selected, as the tree asks the window for them.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
images=$(probe tree-images)
echo "$images" | grep -qx "Meeting confirmation 2 3" || fail "reply pictures: $images"
echo "$images" | grep -qx "Customer support 0 0" || fail "closed folder pictures: $images"
# Expanding the first folder opens its picture.
main_window_keys Home Right
sleep 0.5
images=$(probe tree-images)
echo "$images" | grep -qx "Greetings and sign-offs 1 1" || fail "open folder pictures: $images"
screenshot "$SCENARIO_DIR/tree.png"
