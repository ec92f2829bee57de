# A reply's life as a user lives it, with the library's files read after each
# step: a new folder and its reply named in place, a body typed, a macro and
# a hot key given, Save All; found again after a restart; dragged into another
# folder; deleted, which leaves the library as it was at the start.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
lib="$DATA_DIR/Replies"
[ -f "$lib/index.sub" ] || fail "no library in the data folder"
listing() { (cd "$lib" && find . -print0 | sort -z | xargs -0 -n1 sh -c 'printf "%s %s\n" "$0" "$(cksum < "$0" 2>/dev/null | cut -d" " -f1)"'); }
start_listing=$(listing)
root_index=$(cat "$lib/index.sub")
support_index=$(cat "$lib/2/index.sub")

click_control() {  # control id, button
  local p
  p=$(probe control-point "$1") || fail "no control $1"
  xdotool mousemove $p click "${2:-1}"
  sleep 0.8
}
click_item() {  # label
  local p
  p=$(probe item-point "$1") || fail "no node '$1' on screen"
  xdotool mousemove $p click 1
  sleep 0.8
}
lines() { tr -d '\r' < "$1"; }
# Waits up to 10 s for a file to appear (1) or go (0).
wait_for_file() {  # path 1|0
  local i
  for i in $(seq 1 40); do
    if [ "$2" = 1 ]; then [ -e "$1" ] && return 0; else [ -e "$1" ] || return 0; fi
    sleep 0.25
  done
  return 1
}

# A right click on empty tree space selects nothing; the folder then goes at
# the end of the top level, and its first reply is named in place.
click_control 2001 3
xdotool key Escape
sleep 0.5
main_window_keys ctrl+shift+n
sleep 1
xdotool type --delay 80 "Prices"
xdotool key Return
sleep 1
[ "$(lines "$lib/index.sub" | tail -n1)" = "FOLDER_3?Prices Folder" ] || fail "root index: $(lines "$lib/index.sub")"
[ "$(lines "$lib/3/index.sub")" = "REPLY_1?Prices" ] || fail "folder index: $(lines "$lib/3/index.sub")"
[ "$(od -An -c "$lib/3/1.rep" | tr -s ' ')" = " \r \n \r \n" ] || fail "new reply file: $(od -c "$lib/3/1.rep")"

# The body, then the macro (focus leaving the editor for the macro box
# commits the body; Enter commits the macro), then the hot key box. The
# macro box keeps only what a macro may hold, typed or pasted.
click_control 2016
xdotool type --delay 60 "Hello from Corvane"
click_control 2007
xdotool type --delay 80 "p r"
probe set-clipboard "	c ." >/dev/null || fail "could not fill the clipboard"
xdotool key shift+Insert
sleep 0.5
xdotool key BackSpace
xdotool key Return
sleep 1
[ "$(lines "$lib/3/1.rep" | head -n1)" = "prc" ] || fail "macro line: $(lines "$lib/3/1.rep" | head -n1)"
grep -q "Hello from Corvane" "$lib/3/1.rep" || fail "body not saved: $(cat "$lib/3/1.rep")"
click_control 2010
[ "$(lines "$lib/3/1.rep" | sed -n 2p)" = "0A" ] || fail "hot-key line: $(lines "$lib/3/1.rep" | sed -n 2p)"
click_control 2016
xdotool key End
xdotool type --delay 60 " today"
main_window_keys ctrl+s
sleep 1
grep -q "Hello from Corvane today" "$lib/3/1.rep" || fail "Save All did not save: $(cat "$lib/3/1.rep")"
[ "$(lines "$lib/3/1.rep" | sed -n 3p | cut -c1-5)" = '{\rtf' ] || fail "body is not RTF: $(lines "$lib/3/1.rep" | sed -n 3p)"
[ "$(grep -c $'\r$' "$lib/3/1.rep")" = "$(wc -l < "$lib/3/1.rep")" ] || fail "lines do not end with CR LF"
tr -d '\r\n\t -~' < "$lib/3/1.rep" | od -An -c | grep -q . && fail "reply file holds control bytes: $(od -c "$lib/3/1.rep")"
saved=$(cat "$lib/3/1.rep")
probe list macros | grep -qx "prc" || fail "macro list: $(probe list macros)"
probe list hotkeys | grep -qx "<CTRL>+<ALT>+A" || fail "hot-key list: $(probe list hotkeys)"

# Restart: all of it is there again, and nothing was written by loading.
exit_from_tray || fail "program did not exit"
corvane_start
wait_for_main_window 40 || fail "main window did not come back"
wait_for_visibility 1 40 || fail "main window was not shown again"
# A tree read while the window still fills it lacks its last folders: looked at until whole.
for i in $(seq 1 80); do probe tree | grep -qx "Prices Folder" && break; sleep 0.5; done
probe tree | grep -qx "Prices Folder" || fail "tree after restart: $(probe tree)"
probe list macros | grep -qx "prc" || fail "macro list after restart: $(probe list macros)"
probe list hotkeys | grep -qx "<CTRL>+<ALT>+A" || fail "hot-key list after restart: $(probe list hotkeys)"
[ "$(cat "$lib/3/1.rep")" = "$saved" ] || fail "reply file changed by the restart"

# Drag the reply into another folder, just before one of its replies: the
# emptied folder goes, without a question.
click_item "Customer support"
main_window_keys Right
click_item "Prices Folder"
main_window_keys Right
sleep 0.5
from=$(probe item-point "Prices") || fail "Prices not on screen: $(probe tree)"
to=$(probe item-point "Password reset") || fail "Password reset not on screen"
xdotool mousemove $from click 1
sleep 0.5
xdotool mousemove $from mousedown 1
sleep 0.3
read -r fx fy <<<"$from"
read -r tx ty <<<"$to"
for i in 1 2 3 4 5 6 7 8; do
  xdotool mousemove $((fx + (tx - fx) * i / 8)) $((fy + (ty - fy) * i / 8))
  sleep 0.15
done
sleep 0.3
xdotool mouseup 1
wait_for_file "$lib/3" 0 || fail "the emptied folder's directory is still there: $(ls -R "$lib/3")"
[ "$(probe window Confirm)" = "1" ] && fail "the move asked a question"
lines "$lib/index.sub" | grep -q "^FOLDER_3?" && fail "the emptied folder's line is still there"
[ "$(cat "$lib/index.sub")" = "$root_index" ] || fail "root index: $(lines "$lib/index.sub")"
[ "$(lines "$lib/2/index.sub" | head -n2 | tr '\n' '|')" = "REPLY_1?Order status|REPLY_3?Prices|" ] \
  || fail "support index: $(lines "$lib/2/index.sub")"
[ "$(cat "$lib/2/3.rep")" = "$saved" ] || fail "moved reply file: $(cat "$lib/2/3.rep")"
probe tree | grep -q "Prices Folder" && fail "tree still shows the folder: $(probe tree)"

# Delete it: one question, and the library is as it was at the start.
main_window_keys shift+Delete
wait_for_dialog Confirm 1 10 || fail "no confirmation"
probe text Confirm | grep -qF 'Do you really want to delete "Prices" reply?' || fail "question: $(probe text Confirm)"
probe click Confirm '&Yes' || fail "no Yes button"
wait_for_dialog Confirm 0 10 || fail "confirmation stayed"
wait_for_file "$lib/2/3.rep" 0 || fail "the reply file stayed after Yes"
[ "$(cat "$lib/2/index.sub")" = "$support_index" ] || fail "support index after delete: $(lines "$lib/2/index.sub")"
[ "$(listing)" = "$start_listing" ] || fail "library differs from the start: $(diff <(echo "$start_listing") <(listing))"
probe list macros | grep -qx "prc" && fail "macro still listed"
exit_from_tray || fail "program did not exit at the end"
