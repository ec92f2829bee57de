# Typing a macro and a space in another program replaces them by the reply:
# plain, typed as a burst (what follows the space lands after the reply),
# with Shift (the reply then in capitals), with Caps Lock, with the right
# Shift still held over the space, after other words, with parameters typed
# in parentheses (with and without the closing one), with today's date, in
# Notepad with characters outside the ANSI code page, typed as keystrokes into
# a console (which ignores Ctrl+V; one line typed without the clipboard, and
# nothing that would run it; several lines left on the clipboard, with no
# box), and not at all in
# a password field of a class derived from the edit control; the stored
# replies stay as they were.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_more_replies() {
  printf 'REPLY_5?Two commands\r\nREPLY_6?Status\r\n' >>"$DATA_DIR/Replies/index.sub"
  engine_reply 5.rep lns '' 'echo one\par echo two'
  engine_reply 6.rep gst '' 'git\tab status'
}
engine_start

xdotool type --delay 60 "Hello sig "
wait_target_text "Hello Best regards, Ann" || fail "plain macro"

# Typed as a burst, the keys after the space land after the reply.
target_clear
xdotool type --delay 1 "sig thanks"
wait_target_text "Best regards, Annthanks" || fail "keys typed right after the space"

target_clear
xdotool type --delay 60 "SIG "
wait_target_text "BEST REGARDS, ANN" || fail "macro typed with Shift, the reply in its capitals"

target_clear
xdotool key Caps_Lock
xdotool type --delay 60 "sig "
xdotool key Caps_Lock
wait_target_text "Best regards, Ann" || fail "macro typed with Caps Lock"

target_clear
xdotool type --delay 60 "meet(Friday,noon) "
wait_target_text "See you on Friday at noon." || fail "parameters typed in parentheses"

target_clear
xdotool type --delay 60 "meet(Friday "
wait_target_text "See you on DAY at TIME." || fail "parameters without the closing parenthesis"

target_clear
xdotool type --delay 60 "today "
wait_target_text "Today is $(date '+%A, %B %d, %Y'), $(date '+%-m/%-d/%Y')." || fail "today's date"

target_clear
xdotool type --delay 60 "si"
xdotool key BackSpace
xdotool type --delay 60 "ig x"
wait_target_text "sig x" || fail "Backspace inside a macro still expanded it"

# The right Shift still held over the space: the paste is Ctrl+V all the
# same (not Ctrl+Shift+V, this program's own chord), and afterwards the
# Shift is the user's as before.
target_clear
xdotool type --delay 60 "sig"
xdotool keydown Shift_R
xdotool key space
wait_target_text "Best regards, Ann" || { xdotool keyup Shift_R; fail "right Shift held over the space gave '$(target_text)'"; }
xdotool type --delay 60 "X"
xdotool keyup Shift_R
xdotool type --delay 60 "y"
wait_target_text "Best regards, AnnXy" || fail "the Shift held was not given back as it was: '$(target_text)'"

# Wine's own console has the class WineConsoleClass; a window registered
# with Windows' console class ConsoleWindowClass stands for one.
target_start "Console Target" 100 0 ConsoleWindowClass
target_focus
xdotool type --delay 60 "sig "
wait_target_text "Best regards, Ann" || fail "reply not typed into the console"
grep -q "ctrl+v" "$TARGET_OUT" && fail "the console was sent Ctrl+V"
target_clear
xdotool type --delay 60 "gst "
wait_target_text "git status" || fail "one line with a tab typed into the console"
tr -d '\r' <"$TARGET_OUT" | grep -q "^clipboard" && fail "a one-line reply for a console went over the clipboard"
# Several lines would run each but the last: none is typed, the reply is on
# the clipboard, and the user is told once, beside the tray icon.
target_clear
xdotool type --delay 60 "lns "
# The notice is a balloon by the tray icon (not shown by Wine without a
# tray here), never a box that would take the keys on their way.
for i in $(seq 1 50); do
  [ "$(probe clipboard)" = $'echo one\necho two' ] && [ "$(target_text)" = "" ] && break
  sleep 0.2
done
[ "$(target_text)" = "" ] || fail "several lines typed into the console: '$(target_text)'"
[ "$(probe clipboard)" = $'echo one\necho two' ] || fail "clipboard: '$(probe clipboard)'"
target_focus
xdotool type --delay 60 "lns "
wait_line "$TARGET_OUT" '^text:lns $' 10 || fail "the console did not get the macro"
for i in $(seq 1 50); do
  [ "$(tr -d '\r' <"$TARGET_OUT" | grep -c '^text:lns $')" -ge 2 ] && [ "$(target_text)" = "" ] && break
  sleep 0.2
done
[ "$(target_text)" = "" ] || fail "several lines typed into the console the second time: '$(target_text)'"
[ "$(probe window Information)" = 0 ] || fail "the notice came as a box"
tr -d '\r' <"$TARGET_OUT" | grep "^control" && fail "the console was sent a key that runs or completes"

target_start "Password Target" 100 0 HooksTarget derived-password
target_focus
xdotool type --delay 60 "sig "
wait_target_text "sig " || fail "password field"
sleep 1
[ "$(target_text)" = "sig " ] || fail "a macro typed into a password field was expanded: '$(target_text)'"

notepad_start
xdotool type --delay 60 "nxt "
wait_text_of notepad_text "Next → step Да" || fail "Unicode reply in Notepad"

engine_library_unchanged || fail "reply files changed"
