# Two computers (two Wine prefixes, each its own registry and wineserver),
# each with its own team folder, the two joined by a copying loop that stands
# in for a sync client (new and changed files copied each way every 0.5 s;
# paused for "offline"). A team folder in the older layout is taken in; a
# reply added and given a macro on B shows on A and delivers there; two adds
# at the same moment are both kept; adds made offline arrive once back; one
# reply edited on both while offline shows both versions everywhere; the
# personal libraries stay as they were; with its folder gone, A delivers from
# its copy and keeps an edit, which reaches B once the folder is back.
. "$CORVANE_ROOT/tests/wine/tools/engine_scenario.sh"

team_a="$SCENARIO_DIR/team-a"
team_b="$SCENARIO_DIR/team-b"
mkdir -p "$team_a" "$team_b"
printf 'REPLY_1?Team hello\r\n' >"$team_a/index.sub"
printf 'thello\r\n\r\n{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\pard\\f0\\fs20 Hello from the team\\par\r\n}\r\n' >"$team_a/1.rep"
win_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# The sync stand-in: a file new or newer on one side is copied to the other
# (through a temporary name, as sync clients do).
sync_pass() {  # from to
  local f rel
  (cd "$1" && find . -type f ! -name '*.part') | while read -r f; do
    rel=${f#./}
    if [ ! -e "$2/$rel" ] || { [ "$1/$rel" -nt "$2/$rel" ] && ! cmp -s "$1/$rel" "$2/$rel"; }; then
      mkdir -p "$(dirname "$2/$rel")"
      cp -p "$1/$rel" "$2/$rel.part" 2>/dev/null && mv "$2/$rel.part" "$2/$rel"
    fi
  done
}
offline="$SCENARIO_DIR/offline"
( while [ ! -e "$SCENARIO_DIR/stop-sync" ]; do
    if [ ! -e "$offline" ] && [ -d "$team_a" ] && [ -d "$team_b" ]; then
      sync_pass "$team_a" "$team_b"; sync_pass "$team_b" "$team_a"
    fi
    sleep 0.5
  done ) &

prefix_b="$SCENARIO_DIR/prefix-b"
cp -a "$SESSION_DIR/template" "$prefix_b"
mkdir -p "$prefix_b/drive_c/Program Files"
cp -a "$PROGRAM_DIR" "$prefix_b/drive_c/Program Files/"
on_b() { WINEPREFIX=$prefix_b "$@"; }
team_settings() {  # folder
  wine reg add 'HKCU\SOFTWARE\Tarnwick\Corvane 2' /v SharedLibrary /t REG_SZ /d "$(win_path "$1")" /f >/dev/null 2>&1
  set_setting ShowTips 0
}
cleanup_b() { touch "$SCENARIO_DIR/stop-sync"; on_b wineserver -k 2>/dev/null; on_b wineserver -w 2>/dev/null; }
trap cleanup_b EXIT

team_settings "$team_a"
engine_library
hooks_install_tools
corvane_start
wait_for_main_window 40 || fail "A: main window did not appear"
probe move 0 0 740 450
on_b team_settings "$team_b"
on_b wine "$PROGRAM_WIN" >>"$SCENARIO_DIR/corvane-b.out" 2>&1 &
for i in $(seq 1 80); do on_b probe exists >/dev/null && break; sleep 0.5; done
on_b probe exists >/dev/null || fail "B: main window did not appear"
on_b probe move 0 470 740 450
data_b="$prefix_b/drive_c/users/$(id -un)/AppData/Roaming/Corvane 2/Replies"
(cd "$data_b" && find . -type f | sort | xargs md5sum) >"$SCENARIO_DIR/library-b.md5"

click_item() {  # computer label
  local p
  p=$($1 probe item-point "$2") || fail "no node '$2' on screen: $($1 probe tree)"
  xdotool mousemove $p click 1
  sleep 0.8
}
click_control() {  # computer id
  local p
  p=$($1 probe control-point "$2") || fail "no control $2"
  xdotool mousemove $p click 1
  sleep 0.8
}
wait_for_count() {  # computer pattern count seconds
  local i
  for i in $(seq 1 $(($4 * 10))); do
    [ "$($1 probe tree | grep -c -E "$2")" = "$3" ] && return 0
    sleep 0.1
  done
  return 1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The older layout taken in on A, and on B through the sync stand-in.
wait_for_count "" "Team hello" 1 15 || fail "A: the team folder was not taken in: $(probe tree)"
wait_for_count on_b "Team hello" 1 15 || fail "B: no team library: $(on_b probe tree)"
for computer in "" on_b; do
  click_item "$computer" "Team"
  xdotool key Right
  sleep 0.5
done

# 1. B adds "Welcome" with the macro welc; A shows it and delivers it.
click_item on_b "Team hello"
on_b probe command 1003
sleep 1
xdotool type --delay 80 "Welcome"
xdotool key Return
named=$(now_ms)
wait_for_count "" "Welcome" 1 15 || fail "A did not show B's reply: $(probe tree)"
echo "figure: B's new reply in A's tree $(($(now_ms) - named)) ms after B named it (sync stand-in every 0.5 s)"
click_control on_b 2016
xdotool type --delay 60 "Welcome to the team"
click_control on_b 2007
xdotool type --delay 80 "welc"
xdotool key Return
for i in $(seq 1 150); do probe list macros | grep -qx welc && break; sleep 0.1; done
probe list macros | grep -qx welc || fail "A did not take B's macro: $(probe list macros)"
target_start "Team Target" 800
target_focus
xdotool type --delay 60 "welc "
wait_target_text "Welcome to the team" || fail "A did not deliver B's reply by its macro"
target_clear

# 2. Both add a reply at the same moment: both are kept on both.
click_item "" "Welcome"
click_item on_b "Welcome"
probe command 1003 & on_b probe command 1003; wait
sleep 1
xdotool key Escape
click_item "" "Team hello"
click_item on_b "Team hello"
wait_for_count "" "New Reply" 2 15 || fail "A shows: $(probe tree)"
wait_for_count on_b "New Reply" 2 15 || fail "B shows: $(on_b probe tree)"

# 3. Offline: A adds a reply, and both edit "Team hello".
touch "$offline"
click_item "" "Team hello"
probe command 1003
sleep 1
xdotool type --delay 80 "Made offline"
xdotool key Return
click_item "" "Team hello"
click_control "" 2016
xdotool key ctrl+End
xdotool type --delay 60 " from A"
click_item "" "Welcome"
click_item on_b "Team hello"
click_control on_b 2016
xdotool key ctrl+End
xdotool type --delay 60 " from B"
click_item on_b "Welcome"
sleep 2
on_b probe tree | grep -q "Made offline" && fail "B saw A's offline add while offline"
rm -f "$offline"
wait_for_count on_b "Made offline" 1 15 || fail "B did not get A's offline add: $(on_b probe tree)"
wait_for_count "" "Team hello \\(.*'s version\\)" 2 15 || fail "A does not show both versions: $(probe tree)"
wait_for_count on_b "Team hello \\(.*'s version\\)" 2 15 || fail "B does not show both versions: $(on_b probe tree)"
screenshot "$SCENARIO_DIR/two-computers.png"

# 4. The personal libraries are as they were.
engine_library_unchanged || fail "A's own library changed"
(cd "$data_b" && md5sum -c --quiet "$SCENARIO_DIR/library-b.md5") || fail "B's own library changed"

# 5. A's folder goes away: A delivers from its copy and keeps an edit, which
# reaches B once the folder is back.
mv "$team_a" "$team_a-away"
sleep 2.5
target_focus
xdotool type --delay 60 "welc "
wait_target_text "Welcome to the team" || fail "A did not deliver from its copy while the folder was away"
target_clear
click_item "" "Welcome"
probe command 1003
sleep 1
xdotool type --delay 80 "Kept while away"
xdotool key Return
sleep 1
probe exists Error >/dev/null 2>&1 && fail "an error box while the folder was away: $(probe text Error)"
[ ! -e "$team_a" ] || fail "something was written where the team folder was"
mv "$team_a-away" "$team_a"
wait_for_count on_b "Kept while away" 1 20 || fail "B did not get the edit made while A's folder was away: $(on_b probe tree)"
