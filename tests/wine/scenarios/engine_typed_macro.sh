# Typing a macro and a space in another program replaces them by the reply:
# plain, with Shift, with Caps Lock, after other words, with parameters typed
# in parentheses (with and without the closing one), with today's date, in
# Notepad with characters outside the ANSI code page, typed as keystrokes into
# a console (which ignores Ctrl+V), and not at all in a password field; the
# stored replies stay as they were.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start

xdotool type --delay 60 "Hello sig "
wait_target_text "Hello Best regards, Ann" || fail "plain macro"

target_clear
xdotool type --delay 60 "SIG "
wait_target_text "Best regards, Ann" || fail "macro typed with Shift"

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

# Wine's own console has the class WineConsoleClass; a window registered
# with Windows' console class ConsoleWindowClass stands for one.
target_start "Console Target" 100 0 ConsoleWindowClass
target_focus
xdotool type --delay 60 "sig "
wait_target_text "Best regards, Ann" || fail "reply not typed into the console"
grep -q "ctrl+v" "$TARGET_OUT" && fail "the console was sent Ctrl+V"

target_start "Password Target" 100 0 HooksTarget password
target_focus
xdotool type --delay 60 "sig "
wait_target_text "sig " || fail "password field"
sleep 1
[ "$(target_text)" = "sig " ] || fail "a macro typed into a password field was expanded: '$(target_text)'"

notepad_start
xdotool type --delay 60 "nxt "
wait_text_of notepad_text "Next → step Да" || fail "Unicode reply in Notepad"

engine_library_unchanged || fail "reply files changed"
