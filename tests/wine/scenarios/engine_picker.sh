# Ctrl+Alt+Space over another program opens the picker: a few letters of a
# word found only in one reply's text and Enter put that reply into the
# program, which is in front again; Escape delivers nothing; a parametric
# reply asks for its values first. The chord's keys never reach the program.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"
PICKER="Corvane - Find a Reply"
DIALOG="Corvane - Do Macro Insertions and Replacements "

# Without a window manager the X server gives the keyboard to the window
# under the pointer once another window had it: where the pointer rests
# decides where xdotool's keys go, whatever the program in front is.
pointer_onto() {  # window title
  xdotool mousemove --window "$(visible_windows "$1" | head -1)" 100 10
  sleep 0.3
}

no_startup_tip
set_setting ShowMacroIns 1
engine_library
engine_reply 4.rep '' '' 'Your parcel left our depot today.'
printf 'REPLY_4?Delay notice\r\n' >>"$DATA_DIR/Replies/index.sub"
(cd "$DATA_DIR/Replies" && md5sum index.sub *.rep) >"$SCENARIO_DIR/library.md5"
hooks_install_tools
corvane_start
wait_for_main_window 40 || fail "main window did not appear"
target_start "Engine Target" 100
probe close >/dev/null # the picker works with the main window hidden
wait_for_visibility 0 10 || fail "main window did not hide"
target_focus
sleep 1.5 # Wine tells the program late that it is no longer active

xdotool type --delay 60 "Hello "
wait_target_text "Hello " || fail "typing before the picker"
picker_by_chord "$PICKER" "Ctrl+Alt+Space did not open the picker"
xdotool type --delay 80 "to"
sleep 1
[ -n "${CORVANE_SCREENSHOT:-}" ] && screenshot "$CORVANE_SCREENSHOT"
xdotool key BackSpace BackSpace
xdotool type --delay 80 "parc"
sleep 0.5
xdotool key Return
wait_for_dialog "$PICKER" 0 5 || fail "Enter did not close the picker"
wait_target_text "Hello Your parcel left our depot today." || fail "the chosen reply was not delivered"
[ "$(probe foreground)" = "Engine Target" ] || fail "the program is not in front again: '$(probe foreground)'"

# The user's clipboard comes back within 3 s of a paste; read it after that.
sleep 3.5
clipboard_before=$(probe clipboard)
press_chord ctrl alt space
wait_for_dialog "$PICKER" 1 10 || fail "the picker did not open a second time"
pointer_onto "$PICKER"
xdotool type --delay 80 "best"
xdotool key Escape
wait_for_dialog "$PICKER" 0 5 || fail "Escape did not close the picker"
sleep 1
[ "$(target_text)" = "Hello Your parcel left our depot today." ] || fail "Escape delivered: '$(target_text)'"
[ "$(probe clipboard)" = "$clipboard_before" ] || fail "Escape changed the clipboard"
[ "$(probe foreground)" = "Engine Target" ] || fail "after Escape the program is not in front: '$(probe foreground)'"

target_focus
target_clear
press_chord ctrl alt space
wait_for_dialog "$PICKER" 1 10 || fail "the picker did not open a third time"
pointer_onto "$PICKER"
xdotool type --delay 80 "meeting"
xdotool key Return
wait_for_dialog "$DIALOG" 1 10 || fail "a parametric reply chosen in the picker did not ask for its values"
pointer_onto "$DIALOG"
xdotool type --delay 60 "Friday"
xdotool key Tab
xdotool type --delay 60 "noon"
xdotool key Return
wait_target_text "See you on Friday at noon." || fail "the parametric reply was not delivered"

engine_library_unchanged || fail "reply files changed"
