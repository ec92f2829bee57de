# Two computers (two Wine prefixes, each its own registry and wineserver) on
# one team folder: a reply added and given a macro on B shows in A's tree
# within 5 s and delivers there by its macro; both add a reply a moment apart
# and both are kept; a reply edited on both at once keeps both versions; the
# personal libraries stay as they were; with the folder gone, A still delivers
# from it and refuses to change it with a clear message.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"

shared="$SCENARIO_DIR/shared"
shared_win="Z:$(printf '%s' "$shared" | tr / '\\')"
mkdir -p "$shared"
printf 'REPLY_1?Team hello\r\n' >"$shared/index.sub"
printf 'thello\r\n\r\n{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\pard\\f0\\fs20 Hello from the team\\par\r\n}\r\n' >"$shared/1.rep"
lines() { tr -d '\r' <"$1"; }

# Computer B: a second prefix with the program, its own registry and server.
prefix_a=$WINEPREFIX
prefix_b="$SCENARIO_DIR/prefix-b"
cp -a "$SESSION_DIR/template" "$prefix_b"
mkdir -p "$prefix_b/drive_c/Program Files"
cp -a "$PROGRAM_DIR" "$prefix_b/drive_c/Program Files/"
on_b() { WINEPREFIX=$prefix_b "$@"; }
team_settings() {
  wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v SharedLibrary /t REG_SZ /d "$shared_win" /f >/dev/null 2>&1
  set_setting ShowTips 0
}
cleanup_b() { on_b wineserver -k 2>/dev/null; on_b wineserver -w 2>/dev/null; }
trap cleanup_b EXIT

# A: the engine's personal library, the target program, Corvane at the top left.
team_settings
engine_library
hooks_install_tools
corvane_start
wait_for_main_window 40 || fail "A: main window did not appear"
probe move 0 0 740 450
# B: the starter library, Corvane below A's window.
on_b team_settings
on_b wine "$PROGRAM_WIN" >>"$SCENARIO_DIR/corvane-b.out" 2>&1 &
pid_b=$!
for i in $(seq 1 80); do on_b probe exists >/dev/null && break; sleep 0.5; done
on_b probe exists >/dev/null || fail "B: main window did not appear"
on_b probe move 0 470 740 450
sleep 2
probe tree | grep -q "Team hello" || fail "A: no team library in the tree: $(probe tree)"
on_b probe tree | grep -q "Team hello" || fail "B: no team library in the tree: $(on_b probe tree)"
data_b="$prefix_b/drive_c/users/$(id -un)/AppData/Roaming/Corvane 2/Replies"
(cd "$data_b" && find . -type f | sort | xargs md5sum) >"$SCENARIO_DIR/library-b.md5"

click_item() {  # computer label
  local p
  p=$($1 probe item-point "$2") || fail "no node '$2' on screen"
  xdotool mousemove $p click 1
  sleep 0.8
}
click_control() {  # computer id
  local p
  p=$($1 probe control-point "$2") || fail "no control $2"
  xdotool mousemove $p click 1
  sleep 0.8
}
wait_for_tree() {  # computer pattern seconds
  local i
  for i in $(seq 1 $(($3 * 10))); do
    $1 probe tree | grep -q -E "$2" && return 0
    sleep 0.1
  done
  return 1
}

wait_for_count() {  # computer pattern count seconds
  local i
  for i in $(seq 1 $(($4 * 10))); do
    [ "$($1 probe tree | grep -c -E "$2")" = "$3" ] && return 0
    sleep 0.1
  done
  return 1
}

# The team folder opened on both, as a user opens it.
for computer in "" on_b; do
  click_item "$computer" "Team"
  xdotool key Right
  sleep 0.5
done

# 1. B adds "Welcome" with the macro welc; A shows it within 5 s and delivers
# it. The figures: from the file's write time on B to the change seen on A.
mtime_ms() { echo $(($(stat -c %.3Y "$1" | tr -d .))); }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
click_item on_b "Team hello"
on_b probe command 1003
sleep 1
xdotool type --delay 80 "Welcome"
xdotool key Return
wait_for_tree "" "Welcome" 5 || fail "A did not show B's reply within 5 s: $(probe tree)"
echo "figure: B's new reply in A's tree $(($(now_ms) - $(mtime_ms "$shared/index.sub"))) ms after B wrote the index"
click_control on_b 2016
xdotool type --delay 60 "Welcome to the team"
click_control on_b 2007
xdotool type --delay 80 "welc"
xdotool key Return
grep -q "^welc" "$shared"/2.rep || fail "B did not write the reply: $(ls "$shared"; cat "$shared/index.sub")"
for i in $(seq 1 50); do probe list macros | grep -qx welc && break; sleep 0.1; done
probe list macros | grep -qx welc || fail "A did not take B's macro within 5 s: $(probe list macros)"
echo "figure: B's macro in A's list $(($(now_ms) - $(mtime_ms "$shared/2.rep"))) ms after B wrote the reply"
target_start "Team Target" 800
target_focus
xdotool type --delay 60 "welc "
wait_target_text "Welcome to the team" || fail "A did not deliver B's reply by its macro"
target_clear

# 2. Both add a reply a moment apart; both are kept, and each computer shows both.
click_item "" "Welcome"
probe command 1003
sleep 0.3
on_b probe command 1003
sleep 1.5
click_item "" "Team hello"
click_item on_b "Team hello"
[ "$(lines "$shared/index.sub" | grep -c '?New Reply$')" = 2 ] || fail "index after two adds: $(lines "$shared/index.sub")"
for n in $(lines "$shared/index.sub" | sed -n 's/^REPLY_\([0-9]*\)?New Reply$/\1/p'); do
  [ -f "$shared/$n.rep" ] || fail "no file for reply $n"
done
wait_for_count "" "New Reply" 2 5 || fail "A shows: $(probe tree)"
wait_for_count on_b "New Reply" 2 5 || fail "B shows: $(on_b probe tree)"

# 3. "Team hello" edited on both at once: both versions are kept.
click_item "" "Team hello"
click_control "" 2016
xdotool key ctrl+End
xdotool type --delay 60 " from A"
click_item on_b "Team hello"
click_control on_b 2016
xdotool key ctrl+End
xdotool type --delay 60 " from B"
probe command 1005
sleep 1
on_b probe command 1005
sleep 1
lines "$shared/index.sub" | grep -q '?Team hello (my copy)$' || fail "no copy: $(lines "$shared/index.sub")"
copy=$(lines "$shared/index.sub" | sed -n 's/^REPLY_\([0-9]*\)?Team hello (my copy)$/\1/p')
grep -q "from A" "$shared/1.rep" || fail "A's version is not in Team hello: $(cat "$shared/1.rep")"
grep -q "from B" "$shared/$copy.rep" || fail "B's version is not in the copy: $(cat "$shared/$copy.rep")"
wait_for_tree "" "Team hello \\(my copy\\)" 5 || fail "A does not show the copy: $(probe tree)"
screenshot "$SCENARIO_DIR/two-computers.png"

# 4. The personal libraries are as they were.
engine_library_unchanged || fail "A's own library changed"
(cd "$data_b" && md5sum -c --quiet "$SCENARIO_DIR/library-b.md5") || fail "B's own library changed"

# 5. The folder goes away: A delivers from what it read, and refuses changes.
mv "$shared" "$shared-away"
sleep 2.5
target_focus
xdotool type --delay 60 "thello "
wait_target_text "Hello from the team from A" || fail "A did not deliver from the team library while it was away"
target_clear
click_item "" "Welcome"
click_control "" 2016
xdotool type --delay 60 "x"
probe command 1005
wait_for_dialog Error 1 10 || fail "no message when changing the team library while it is away"
probe text Error | grep -q "The team library can't be changed now" || fail "message: $(probe text Error)"
screenshot "$SCENARIO_DIR/offline-refused.png"
probe click Error OK
[ ! -e "$shared" ] || fail "something was written where the team folder was"
mv "$shared-away" "$shared"
wait_for_tree "" "Welcome" 5 || fail "A lost the team library when it came back"
