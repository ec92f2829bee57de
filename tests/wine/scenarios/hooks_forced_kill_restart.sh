# A receiver process ended by force leaves its windows and hook in the shared
# blocks, which live on while another process has the library loaded. The next
# start still gets working hooks.
. "$CORVANE_ROOT/tests/wine/tools/hooks_scenario.sh"
hooks_install_tools

# Another process keeps the library (and so the shared blocks) alive.
holder_in="$SCENARIO_DIR/holder.in"
mkfifo "$holder_in"
wine "$PROGRAM_DIR/hooks_peer.exe" <"$holder_in" >"$SCENARIO_DIR/holder.out" 2>&1 &
holder=$!
exec 7>"$holder_in"
echo 'load Tolvar.dll' >&7
wait_line "$SCENARIO_DIR/holder.out" '^0$' 20 || fail "holder could not load the library"
block() {  # type -> "hook=.. count=.. alive=.."
  local before
  before=$(wc -l <"$SCENARIO_DIR/holder.out")
  echo "block $1" >&7
  for _ in $(seq 1 50); do
    [ "$(wc -l <"$SCENARIO_DIR/holder.out")" -gt "$before" ] && break
    sleep 0.1
  done
  tail -1 "$SCENARIO_DIR/holder.out" | tr -d '\r'
}

target_start "Hooks Target" 100

# The receiver components, killed while registered.
listener_start --quiet-moves
kill -9 "$LISTENER_PID"
wait "$LISTENER_PID" 2>/dev/null
sleep 0.5
b=$(block 1)
echo "keyboard block after the kill: $b"
[[ "$b" == *"count=1 alive=0"* ]] || fail "expected the killed receiver left in the block: $b"

listener_start --quiet-moves
b=$(block 1)
echo "keyboard block after the restart: $b"
[[ "$b" == *"count=1 alive=1"* ]] || fail "restart did not leave one live receiver: $b"
[[ "$b" != *"hook=0 "* ]] || fail "no hook installed: $b"
target_focus
xdotool type --delay 100 "q"
wait_line "$LISTENER_OUT" '^key vk=81 .*press=1' 5 || fail "keys do not arrive after the restart"

# The program itself: killed and started again, without the error box.
if [ -f "$PROGRAM_DIR/Corvane.exe" ]; then
  kill "$LISTENER_PID"; wait "$LISTENER_PID" 2>/dev/null
  corvane_start
  wait_for_main_window 40 || fail "Corvane did not start"
  sleep 1
  for t in 0 1 2; do
    b=$(block $t)
    [[ "$b" == *"count=1 alive=1"* && "$b" != *"hook=0 "* ]] || fail "type $t after start: $b"
  done
  kill -9 "$CORVANE_PID"
  wait "$CORVANE_PID" 2>/dev/null
  sleep 0.5
  [[ "$(block 1)" == *"alive=0"* ]] || fail "killed program's receiver not left behind: $(block 1)"
  corvane_start
  wait_for_main_window 40 || fail "Corvane did not start again"
  sleep 2
  visible_windows "Error" | grep -q . && fail "the error box appeared after the forced kill"
  for t in 0 1 2; do
    b=$(block $t)
    echo "type $t after the restart: $b"
    [[ "$b" == *"count=1 alive=1"* && "$b" != *"hook=0 "* ]] || fail "type $t after restart: $b"
  done
  # Its keyboard hook works: a listener started now sees keys typed elsewhere.
  listener_start --quiet-moves
  target_focus
  xdotool type --delay 100 "w"
  wait_line "$LISTENER_OUT" '^key vk=87 .*press=1' 5 || fail "keys do not arrive with Corvane restarted"
fi
echo 'exit' >&7
exec 7>&-
