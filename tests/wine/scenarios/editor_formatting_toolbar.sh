# The formatting toolbar as a user works it: Bold with the caret inside a
# word bolds that word, the button follows the caret, and a colour chosen
# from the colour menu colours the selection; the editor's copy carries it.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 20 || fail "main window was not shown"
main_window_keys Down Down        # "Meeting confirmation", a reply
sleep 0.5
xdotool mousemove $(probe editor-point) click 1
sleep 0.5
xdotool key ctrl+a                # selecting the node loaded its text: overtype it
xdotool type --delay 30 "Hello world again"
xdotool key Home ctrl+Right Right Right     # hello wo|rld
sleep 0.3
xdotool mousemove $(probe tool-point Bold) click 1
sleep 0.5
[ "$(probe tool-checked Bold)" = 1 ] || fail "Bold is not down in the word just made bold"
xdotool key End
sleep 0.5
[ "$(probe tool-checked Bold)" = 0 ] || fail "Bold stays down after the caret left the bold word"

xdotool key ctrl+shift+Left                 # "again"
xdotool mousemove $(probe tool-point Color) click 1
sleep 1
xdotool key Down Down Down Down Down Down Down Down Down Down Return   # the tenth item, Red
sleep 0.5
xdotool key ctrl+a ctrl+c
sleep 0.5
rtf=$(probe clipboard-rtf) || fail "no rich text on the clipboard"
echo "$rtf"
plain=$(probe clipboard)
[ "$plain" = "Hello world again" ] || fail "the editor holds '$plain'"
# Bold is switched on right before "world" and off right after it.
echo "$rtf" | tr -d '\r\n' | grep -Eq '\\b( |\\[a-z0-9]+ ?)*world\\b0' || fail "'world' is not bold alone"
echo "$rtf" | tr -d '\r\n' | grep -Eq 'Hello ?\\b[^0]' || fail "bold does not start at 'world'"
# The colour table holds red and "again" is written in it.
echo "$rtf" | grep -q '\\red255\\green0\\blue0' || fail "red is not in the colour table"
echo "$rtf" | tr -d '\r\n' | grep -Eq '\\cf[1-9]( |\\[a-z0-9]+ ?)*again' || fail "'again' is not coloured"
