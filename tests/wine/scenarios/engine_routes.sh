# The routes that start in the program: paste into the last active window,
# copy the entire reply (rich text and plain text on the clipboard), drag a
# reply from the tree onto the other program. The stored replies stay as they were.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start
sleep 2 # the timer sees the target in front: it is the last active window
select_reply "Signature"
probe command $CMD_PASTE_LAST_ACTIVE >/dev/null
wait_target_text "Best regards, Ann" || fail "paste into the last active window"

target_focus
target_clear
select_reply "Dated"
probe command $CMD_COPY_ENTIRE >/dev/null
sleep 1
expected="Today is $(date '+%A, %B %d, %Y'), $(date '+%-m/%-d/%Y')."
[ "$(probe clipboard | head -1)" = "$expected" ] || fail "clipboard text '$(probe clipboard)'"
probe clipboard-rtf | grep -q '^{\\rtf1' || fail "no rich text on the clipboard"
probe clipboard-rtf | grep -qF "$expected" || fail "rich text without the filled-in date"
[ "$(target_text)" = "" ] || fail "copying pasted into the target: $(target_text)"

# Drag "Signature" from the tree and drop it on the target's edit box: over
# the target the pointer shows the program's drop cursor instead of the drag's own.
drag_signature() {
  point=$(probe item-point "Signature") || fail "no node on screen"
  xdotool mousemove $point mousedown 1
  sleep 0.3
  read -r x y <<<"$point"
  for step in 10 20 40 80; do xdotool mousemove $((x + step)) $((y + step)); sleep 0.1; done
  inside=$(probe cursor)
  xdotool mousemove --window "$TARGET_XID" 150 60
  sleep 0.3
  xdotool mousemove --window "$TARGET_XID" 160 60
  sleep 0.3
  outside=$(probe cursor)
  xdotool mouseup 1
}
drag_signature
case $outside in
  drop) ;;
  # Wine lets no process read another's cursor image: the swap shows as another cursor.
  handle*) [ "$outside" != "$inside" ] || fail "the drag's cursor over the target is the one inside ($outside)" ;;
  *) fail "cursor over the target: $outside" ;;
esac
# Under a loaded Wine a drop is now and then lost between the button and the
# target; a second drag tells a lost drop from a route that does not deliver.
if ! wait_target_text "Best regards, Ann"; then
  echo "drop lost once; dragging again"
  drag_signature
  wait_target_text "Best regards, Ann" || fail "drag and drop"
fi

engine_library_unchanged || fail "reply files changed"
