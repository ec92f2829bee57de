# Typing as a user would into Wine's Notepad and WordPad, reading the text and
# the caret back from their controls: Backspace right after an expansion takes
# it back exactly (also held down for a second), but not after a click; a
# capital or all-capital macro gives a capital or all-capital reply (the
# values it brings in keep their case); %Cursor leaves the caret across a line
# break and non-ASCII characters; Tab and Enter end a macro, the reply going
# in before them; %Clipboard brings in what the user had copied.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
started=$(date +%s)

no_startup_tip
set_setting ShowMacroIns 0
set_setting EndKeysTabEnter 1
mkdir -p "$DATA_DIR/Replies"
printf 'REPLY_1?Signature\r\nREPLY_2?Two paragraphs\r\nREPLY_3?Quote\r\n' >"$DATA_DIR/Replies/index.sub"
engine_reply 1.rep sig '' 'Best regards, Ann'
engine_reply 2.rep bp '' '\b first line\par Second %Cursor\u1044?\u1072? line\b0'
engine_reply 3.rep quote '' 'you wrote: %Clipboard.'
(cd "$DATA_DIR/Replies" && md5sum index.sub *.rep) >"$SCENARIO_DIR/library.md5"
hooks_install_tools
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
wait_for_visibility 1 40 || fail "main window was not shown"

# The text and the caret of the text control of window $TITLE, read from outside.
text_now() { probe edit-text "$TITLE"; }
caret_now() { probe caret "$TITLE"; }
expect() {  # title text caret what
  TITLE=$1
  wait_text_of text_now "$2" 10 || { screenshot "$SCENARIO_DIR/failed.png"; fail "$4: text"; }
  wait_text_of caret_now "$3 $3" 5 || fail "$4: caret"
}
clear_all() {
  xdotool key ctrl+Home ctrl+shift+End BackSpace
  sleep 0.3
}

NOTEPAD="Untitled - Notepad"
notepad_start

# 1. Backspace takes the expansion back, held for a second it deletes no more.
xdotool type --delay 60 "Hi sig "
expect "$NOTEPAD" "Hi Best regards, Ann" 20 "plain macro"
xdotool key BackSpace
expect "$NOTEPAD" "Hi sig " 7 "Backspace after the expansion"
xdotool type --delay 60 "sig "
expect "$NOTEPAD" "Hi sig Best regards, Ann" 24 "macro after the undone one"
xdotool keydown BackSpace
sleep 1
xdotool keyup BackSpace
expect "$NOTEPAD" "Hi sig sig " 11 "Backspace held for a second"
# A click between the expansion and the Backspace: an ordinary Backspace.
clear_all
xdotool type --delay 60 "sig "
expect "$NOTEPAD" "Best regards, Ann" 17 "macro before the click"
xdotool mousemove --window "$(visible_windows "$NOTEPAD" | head -1)" 600 150 click 1
sleep 0.5
xdotool key BackSpace
expect "$NOTEPAD" "Best regards, An" 16 "Backspace after a click"

# 2. and 5. The macro's case; the clipboard's text as it was copied.
clear_all
probe set-clipboard "copied {Text}" || fail "could not copy as the user"
xdotool type --delay 60 "QUOTE "
expect "$NOTEPAD" "YOU WROTE: copied {Text}." 25 "macro in capitals"
clear_all
xdotool type --delay 60 "Quote "
expect "$NOTEPAD" "You wrote: copied {Text}." 25 "macro with a capital"
wait_text_of "probe clipboard" "copied {Text}" 10 || fail "the user's clipboard was not given back"

# 3. The cursor after a line break and before non-ASCII characters (an edit
# control counts CR LF as two); taken back exactly from there.
clear_all
xdotool type --delay 60 "bp "
expect "$NOTEPAD" "first line
Second Да line" 19 "cursor in Notepad"
xdotool key BackSpace
expect "$NOTEPAD" "bp " 3 "Backspace after a reply with its cursor"

# 4. Enter and Tab end a macro: the reply, then the key.
clear_all
xdotool type --delay 60 "sig"
xdotool key Return
# (The text's last line break is lost to the shell; the caret tells it.)
expect "$NOTEPAD" "Best regards, Ann" 19 "Enter as the ending key"
xdotool key BackSpace
expect "$NOTEPAD" "sig" 5 "Backspace after an Enter ending"
xdotool type --delay 60 "sig"
xdotool key Tab
expect "$NOTEPAD" "sig
Best regards, Ann	" 23 "Tab as the ending key"

# WordPad: a bold reply of two paragraphs (RichEdit counts a paragraph end as one).
wine "C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe" >"$SCENARIO_DIR/wordpad.out" 2>&1 &
WORDPAD="Document - Wine Wordpad"
wait_for_window "$WORDPAD" 40 || fail "WordPad did not start: $(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
sleep 1
window=$(visible_windows "$WORDPAD" | head -1)
xdotool windowfocus "$window"
xdotool mousemove --window "$window" 300 180 click 1
sleep 1
xdotool type --delay 60 "Bp "
expect "$WORDPAD" "First line
Second Да line" 18 "capital macro and cursor in WordPad"
xdotool key BackSpace
expect "$WORDPAD" "Bp " 3 "Backspace in WordPad"
xdotool type --delay 60 "BP "
expect "$WORDPAD" "Bp FIRST LINE
SECOND ДА LINE" 21 "capitals and cursor in WordPad"

engine_library_unchanged || fail "reply files changed"
echo "scenario took $(($(date +%s) - started)) s"
