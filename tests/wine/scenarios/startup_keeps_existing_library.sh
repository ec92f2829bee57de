# When the data folder already has a library, the one beside the program is
# left alone (only an empty leftover would be removed), and the existing
# library is the one shown.
no_startup_tip
mkdir -p "$DATA_DIR/Replies"
printf 'REPLY_1?Mine\r\n' > "$DATA_DIR/Replies/index.sub"
printf '\r\n\r\n' > "$DATA_DIR/Replies/1.rep"

corvane_start
wait_for_main_window 40 || fail "main window did not appear"
[ -f "$PROGRAM_DIR/Replies/index.sub" ] || fail "the library beside the program was touched"
tree=$(loaded_tree)
[ "$tree" = "Mine" ] || fail "tree shows '$tree' instead of the existing library"
