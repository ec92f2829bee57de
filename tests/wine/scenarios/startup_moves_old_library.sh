# A first start moves the library from beside the program into the data folder
# and shows its entries in the tree.
no_startup_tip
[ -f "$PROGRAM_DIR/Replies/index.sub" ] || fail "no library beside the program"
[ -e "$DATA_DIR/Replies" ] && fail "data folder has a library before the first start"

corvane_start
wait_for_main_window 40 || fail "main window did not appear"

[ -f "$DATA_DIR/Replies/index.sub" ] || fail "library was not moved into the data folder"
[ -e "$PROGRAM_DIR/Replies" ] && fail "old library folder is still beside the program"
[ -f "$DATA_DIR/Replies/2/1/2.rep" ] || fail "nested reply files did not move with the folder"

tree=$(loaded_tree)
echo "$tree"
expected="Greetings and sign-offs
  Signature
  Thanks for your message
  Out of office
Customer support
  Order status
  Password reset
  Refunds
    Refund approved
    Refund needs more details
Meeting confirmation"
[ "$tree" = "$expected" ] || fail "tree shows other labels than the library"

macros=$(probe list macros | tr '\n' ' ')
echo "macros: $macros"
[ "$macros" = "meet(MEETING_DAY,MEETING_TIME) ooo order(ORDER_NO,SHIP_DATE) pwreset refinfo(ORDER_NO) refok sig ty " ] \
  || fail "macro list is not the sorted macros of the library"
hotkeys=$(probe list hotkeys | tr '\n' ' ')
echo "hot keys: $hotkeys"
[ "$hotkeys" = "<CTRL>+<ALT>+O <CTRL>+<ALT>+S <CTRL>+<ALT>+<SHIFT>+M <CTRL>+<ALT>+<SHIFT>+O " ] \
  || fail "hot-key list is not the sorted hot keys of the library"
