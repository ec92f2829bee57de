# The user's clipboard survives the paste routes: text and a private format
# copied by another program, then ten replies by typed macro, ten by hot key
# and ten by Ctrl+Shift+V in quick succession; every reply arrives and the
# clipboard ends as the user left it, in both formats. Every change that
# carries a reply is marked out of clipboard history for a listening program.
# A target that reads the clipboard 500 ms after Ctrl+V, while another program
# reads every change of the clipboard at once, still gets the reply, and the
# user's clipboard is back afterwards; a macro typed while another program
# holds the clipboard for 150 ms at a time loses nothing of the user's; a copy
# made 50 ms after a paste stays; with the option off, the reply stays.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
engine_start
select_reply "Signature"
target_focus

user_clipboard_back() {
  wait_text_of "probe clipboard" "USERCLIP" 10 && wait_text_of "probe clipboard-private" "PRIVATE-BYTES" 2
}
replies() {  # count
  local i all=""
  for i in $(seq 1 "$1"); do all="$all""Best regards, Ann"; done
  echo "$all"
}

probe set-clipboard USERCLIP PRIVATE-BYTES || fail "could not copy as the user"
for i in $(seq 1 10); do
  xdotool type --delay 40 "sig "
  wait_target_text "$(replies "$i")" 10 || fail "typed macro $i did not arrive"
done
user_clipboard_back || fail "the clipboard was not given back after typed macros"

target_clear
for i in $(seq 1 10); do
  press_chord ctrl alt k
  wait_target_text "$(replies "$i")" 10 || fail "hot key $i did not arrive"
done
for i in $(seq 11 20); do
  press_chord ctrl shift v
  wait_target_text "$(replies "$i")" 10 || fail "Ctrl+Shift+V $i did not arrive"
done
user_clipboard_back || fail "the clipboard was not given back after chords"

reply_changes=$(tr -d '\r' <"$TARGET_OUT" | grep -c '^clipboard rtf=1')
unmarked=$(tr -d '\r' <"$TARGET_OUT" | grep -c '^clipboard rtf=1 excluded=0')
[ "$reply_changes" -ge 30 ] || fail "the listener saw only $reply_changes changes carrying a reply"
[ "$unmarked" -eq 0 ] || fail "$unmarked changes carrying a reply were not marked out of history"

# A program that reads the clipboard only 500 ms after Ctrl+V, while a
# clipboard manager reads every change at once.
target_start "Clipboard Reader" 520 0 HooksTarget clipboard-reader
READER_OUT=$TARGET_OUT
target_start "Late Target" 100 0 HooksTarget late-paste
target_focus
xdotool type --delay 40 "sig "
wait_target_text "Best regards, Ann" 10 || fail "the late reader got '$(target_text)'"
wait_line "$READER_OUT" '^read:Best regards, Ann' 5 || fail "the clipboard manager did not read the reply"
user_clipboard_back || fail "the clipboard was not given back after the late read"

# Another program holds the clipboard 150 ms at a time, 60 ms apart, while
# the macro is completed: the save waits for it, nothing of the user's is lost.
probe set-clipboard USERCLIP PRIVATE-BYTES
target_start "Held Target" 100
target_focus
xdotool type --delay 40 "sig"
probe hold-clipboard 150 12 60 >"$SCENARIO_DIR/hold.out" 2>&1 &
holder=$!
wait_line "$SCENARIO_DIR/hold.out" '^held' 10 || fail "the clipboard was not held"
xdotool key space
wait_target_text "Best regards, Ann" 10 || fail "with the clipboard held the target got '$(target_text)'"
wait "$holder"
user_clipboard_back || fail "the user's clipboard was lost while another program held it"

# A program that copies something of its own 50 ms after each paste.
target_start "Copying Target" 100 0 HooksTarget copy-after-paste
target_focus
xdotool type --delay 40 "sig "
wait_target_text "Best regards, Ann" 10 || fail "the copying target got '$(target_text)'"
wait_line "$TARGET_OUT" '^copied' 5 || fail "the target did not copy"
sleep 2
[ "$(probe clipboard)" = "MYCOPY" ] || fail "the copy made after the paste was replaced by '$(probe clipboard)'"

# Switched off: the reply stays on the clipboard. The program reads its
# settings at start and after Options, so it is ended and started again.
exit_from_tray || fail "did not end from the tray's Exit after the deliveries"
set_setting KeepClipboard 0
corvane_start
wait_for_main_window 40 || fail "main window did not appear again"
probe set-clipboard USERCLIP PRIVATE-BYTES
target_start "Plain Target" 100
target_focus
xdotool type --delay 40 "sig "
wait_target_text "Best regards, Ann" 10 || fail "with the option off the reply did not arrive"
sleep 2
[ "$(probe clipboard | tr -d '\r')" = "Best regards, Ann" ] || fail "with the option off the clipboard holds '$(probe clipboard)'"

engine_library_unchanged || fail "reply files changed"
