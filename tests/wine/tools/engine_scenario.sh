# Helpers of the expansion engine's scenarios (sourced inside scenario_begin):
# a small library of known replies in the data folder, the program started on
# it, and the target program of tests/wine/tools/hooks_scenario.sh.
. "$CORVANE_ROOT/tests/wine/tools/hooks_scenario.sh"

# rep file: macro, hot-key code, then the RTF body as RichEdit writes it.
engine_reply() {  # file macro code body
  printf '%s\r\n%s\r\n{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 %s\\par\r\n}\r\n' \
    "$2" "$3" "$4" >"$DATA_DIR/Replies/$1"
}

engine_library() {
  mkdir -p "$DATA_DIR/Replies"
  printf 'REPLY_1?Signature\r\nREPLY_2?Meeting\r\nREPLY_3?Dated\r\nREPLY_4?Next step\r\n' >"$DATA_DIR/Replies/index.sub"
  engine_reply 1.rep sig 0K 'Best regards, Ann'
  engine_reply 2.rep 'meet(DAY,TIME)' 1M 'See you on \b DAY\b0  at TIME.'
  engine_reply 3.rep today '' 'Today is %Date, %ShortDate.'
  engine_reply 4.rep nxt '' 'Next \u8594? step \u1044?\u1072?'  # outside the ANSI code page
  # A scenario's own replies, numbered on from 5.
  if declare -F engine_more_replies >/dev/null; then engine_more_replies; fi
  (cd "$DATA_DIR/Replies" && md5sum index.sub *.rep) >"$SCENARIO_DIR/library.md5"
}

# The stored replies are byte for byte what they were.
engine_library_unchanged() {
  (cd "$DATA_DIR/Replies" && md5sum -c --quiet "$SCENARIO_DIR/library.md5")
}

# Corvane on that library, then the target program active with the keyboard in its edit box.
engine_start() {  # [ShowMacroIns]
  no_startup_tip
  set_setting ShowMacroIns "${1:-0}"
  engine_library
  hooks_install_tools
  corvane_start
  wait_for_main_window 40 || fail "main window did not appear"
  wait_for_visibility 1 20 || fail "main window was not shown"
  target_start "Engine Target" 100
  target_focus
}

# Waits until command $1 prints exactly $2; fails after $3 s.
wait_text_of() {  # reader text [seconds]
  local reader=$1 want=$2 limit=${3:-10} i
  for i in $(seq 1 $((limit * 10))); do
    [ "$($reader)" = "$want" ] && return 0
    sleep 0.1
  done
  echo "$reader: '$($reader)', expected '$want'" >&2
  return 1
}

# Waits until the target's edit box holds exactly $1; fails after $2 s.
wait_target_text() {  # text [seconds]
  wait_text_of target_text "$@"
}

# Wine's own Notepad, a Unicode program nobody here wrote, with the keyboard in its text.
notepad_start() {
  wine notepad >"$SCENARIO_DIR/notepad.out" 2>&1 &
  wait_for_window "Untitled - Notepad" 40 || fail "Notepad did not start"
  local window
  window=$(visible_windows "Untitled - Notepad" | head -1)
  xdotool windowfocus "$window"
  xdotool mousemove --window "$window" 200 150 click 1
  sleep 1
}

notepad_text() {
  probe edit-text "Untitled - Notepad" | tr -d '\r'
}

# Empties the target's edit box as a user would.
target_clear() {
  xdotool key End shift+Home BackSpace
  sleep 0.3
}

# Clicks a node of the main window's tree, which selects it.
select_reply() {  # name
  local point
  point=$(probe item-point "$1") || fail "no node '$1' on screen"
  xdotool mousemove $point click 1
  sleep 0.5
}

# Command ids of the main window (src/win32/app/CommandIds.h).
CMD_COPY_ENTIRE=1010
CMD_PASTE_LAST_ACTIVE=1012

# Presses a chord as a person does, held long enough for the 50 ms poll to see it.
press_chord() {  # keys...
  xdotool keydown "$@"
  sleep 0.3
  local reversed=() k
  for k in "$@"; do reversed=("$k" "${reversed[@]}"); done
  xdotool keyup "${reversed[@]}"
}

# Ctrl+Alt+Space over the program in front opens window $1; fails with $2.
# On a loaded machine Wine may tell Corvane late that another program is in
# front; a second chord shows whether the picker opens at all.
picker_by_chord() {  # title failure
  press_chord ctrl alt space
  wait_for_dialog "$1" 1 10 && return 0
  echo "the first Ctrl+Alt+Space opened nothing; pressed again"
  press_chord ctrl alt space
  wait_for_dialog "$1" 1 10 || fail "$2"
}
