# Helpers of the hook scenarios (sourced after tests/wine/lib.sh, inside
# scenario_begin). The helper programs run beside Tolvar.dll in the program's
# folder, so that "Tolvar" is found as the program finds it.

# A running Corvane (or helper) may have the file mapped: Wine maps an image's
# page-aligned sections straight from the file, so writing over it in place
# puts the file's unresolved import slots back under the running program.
# A new copy therefore replaces the name, never the old file's bytes.
install_beside_program() {  # file
  local dest
  dest="$PROGRAM_DIR/$(basename "$1")"
  cp "$1" "$dest.new" && mv -f "$dest.new" "$dest"
}

hooks_install_tools() {
  local file
  for file in "$CORVANE_BIN"/tests/hooks_*.exe "$CORVANE_BIN"/Tolvar.dll; do
    install_beside_program "$file"
  done
}

# Waits until file $1 has a line matching $2 (grep -E; the programs end their
# lines with CR LF); fails after $3 s.
wait_line() {
  local file=$1 pattern=$2 limit=${3:-20} i
  for i in $(seq 1 $((limit * 10))); do
    tr -d '\r' <"$file" 2>/dev/null | grep -q -E "$pattern" && return 0
    sleep 0.1
  done
  return 1
}

# Starts the receiver components in hooks_listener.exe; LISTENER_PID, LISTENER_OUT.
listener_start() {  # [options]
  LISTENER_OUT="$SCENARIO_DIR/listener.$(date +%s%N).out"
  wine "$PROGRAM_DIR/hooks_listener.exe" "$@" >"$LISTENER_OUT" 2>&1 &
  LISTENER_PID=$!
  wait_line "$LISTENER_OUT" '^(started|error)' 30 || fail "listener did not start"
  grep -q '^started' "$LISTENER_OUT" || fail "listener: $(cat "$LISTENER_OUT")"
}

# Starts the target program; TARGET_OUT, TARGET_HWND (Win32), TARGET_XID (X).
# TARGET_PROGRAM names a copy of it under another file name.
target_start() {  # title [left] [seconds until it closes] [window class] [mode]
  TARGET_OUT="$SCENARIO_DIR/target.$1.out"
  local program=${TARGET_PROGRAM:-hooks_target.exe}
  [ -e "$PROGRAM_DIR/$program" ] || cp "$PROGRAM_DIR/hooks_target.exe" "$PROGRAM_DIR/$program"
  wine "$PROGRAM_DIR/$program" "$1" "${2:-100}" "${3:-0}" "${4:-HooksTarget}" ${5:-} >"$TARGET_OUT" 2>&1 &
  wait_line "$TARGET_OUT" '^hwnd' 30 || fail "target did not start"
  TARGET_HWND=$(sed -n 's/^hwnd \([0-9]*\).*/\1/p' "$TARGET_OUT" | head -1)
  wait_for_window "$1" 20 || fail "target window not visible"
  TARGET_XID=$(visible_windows "$1" | head -1)
}

# Clicks into the target's edit control, which gives it the keyboard.
target_focus() {
  xdotool mousemove --window "$TARGET_XID" 200 60 click 1
  sleep 0.5
}

target_text() {
  sed -n 's/^text://p' "$TARGET_OUT" | tail -1 | tr -d '\r'
}

# Lines of the listener's output matching $1 (grep -E), without CR.
listener_lines() {
  tr -d '\r' <"$LISTENER_OUT" | grep -E "$1"
}
