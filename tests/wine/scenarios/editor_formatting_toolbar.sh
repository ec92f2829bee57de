# The formatting toolbar as a user works it: Bold with the caret inside a
# word bolds that word, the button follows the caret, and a colour chosen
# from the colour menu colours the selection; the editor's copy carries it.
# The toolbar follows a newly selected reply also when the caret stays at its
# start; the editor has the selection bar.
no_startup_tip
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"
main_window_keys Down Down        # "Meeting confirmation", a reply
sleep 0.5
xdotool mousemove $(probe editor-point) click 1
sleep 0.5
xdotool key ctrl+a Delete                   # the reply's own text goes
sleep 0.3
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

# Caret at the start of a bold word, then another reply whose text starts
# plain: the caret stays at 0, and still the toolbar shows the new reply.
xdotool mousemove $(probe editor-point) click 1
xdotool key ctrl+Home Right
sleep 0.3
xdotool mousemove $(probe tool-point Bold) click 1
sleep 0.3
xdotool key ctrl+Home
sleep 0.5
[ "$(probe tool-checked Bold)" = 1 ] || fail "Bold is not down at the start of the bold word"
xdotool mousemove $(probe item-point "Greetings and sign-offs") click 1
sleep 0.5
xdotool key Right Down          # the folder opens; its first reply, Signature
sleep 1
[ "$(probe tool-checked Bold)" = 0 ] || fail "Bold still shows the previous reply's format"

# (RichEdit takes its scroll bars' style bits away while they are hidden.)
editor_id=2016
style=$((16#$(probe style $editor_id)))
[ $((style & 0x01000000)) -ne 0 ] || fail "the editor has no selection bar"
if [ -n "${CORVANE_SCREENSHOT:-}" ]; then screenshot "$CORVANE_SCREENSHOT"; fi
